#pragma once

#include <string>
#include <string_view>

namespace planwarte {

class FileSystem;

enum class EntryKind { kFile, kFolder };

// Designs are made on systems whose file names ignore letter case, so a name written as
// "Haupt.MKF" must still find "haupt.mkf". Resolves a relative path (parts separated by "/"
// or "\") below folder (ending with "/"): each part is taken as written when that entry
// exists, else the first entry of its folder whose name matches without regard to case.
// The last part must be of the given kind, the others folders. A part that nothing matches
// is kept as written, so the caller's existence check fails on it. An empty relative path
// gives the folder itself.
std::string ResolvePathIgnoringCase(const FileSystem& files, const std::string& folder,
                                    std::string_view relative, EntryKind kind);

}  // namespace planwarte
