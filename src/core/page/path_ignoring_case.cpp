#include "core/page/path_ignoring_case.h"

#include <vector>

#include "core/app/file_system.h"
#include "core/settings/key_names.h"

namespace planwarte {

namespace {

bool Exists(const FileSystem& files, const std::string& path, EntryKind kind) {
    return kind == EntryKind::kFile ? files.FileExists(path) : files.DirectoryExists(path);
}

std::vector<std::string_view> SplitParts(std::string_view relative) {
    std::vector<std::string_view> parts;
    while (!relative.empty()) {
        const std::size_t end = relative.find_first_of("/\\");
        if (end != 0) {
            parts.push_back(relative.substr(0, end));
        }
        if (end == std::string_view::npos) {
            break;
        }
        relative.remove_prefix(end + 1);
    }
    return parts;
}

// The entry name of folder that stands for part: as written when it exists, else a match
// without regard to case, else as written.
std::string ResolvePart(const FileSystem& files, const std::string& folder, std::string_view part,
                        EntryKind kind) {
    std::string exact(part);
    if (Exists(files, folder + exact, kind)) {
        return exact;
    }
    for (const std::string& entry : files.ListDirectory(folder)) {
        if (SameName(entry, part) && Exists(files, folder + entry, kind)) {
            return entry;
        }
    }
    return exact;
}

}  // namespace

std::string ResolvePathIgnoringCase(const FileSystem& files, const std::string& folder,
                                    std::string_view relative, EntryKind kind) {
    const std::vector<std::string_view> parts = SplitParts(relative);
    std::string path = folder;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        path += ResolvePart(files, path, parts[i], last ? kind : EntryKind::kFolder);
        if (!last) {
            path += '/';
        }
    }
    return path;
}

}  // namespace planwarte
