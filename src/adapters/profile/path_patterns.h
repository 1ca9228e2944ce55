#pragma once

#include <string>
#include <vector>

namespace planwarte {

// "~" and "~/..." as the home folder, as the calendar tools' configurations write them.
std::string ExpandHome(const std::string& path, const std::string& home);

// The existing folders a path with shell wildcards (*, ?, [...]) names, sorted; the path
// itself when it is an existing folder without wildcards; "~" expanded first.
std::vector<std::string> MatchingFolders(const std::string& pattern, const std::string& home);

// The path in a normal form for comparing: absolute, without "." and "..", without a
// trailing "/", symbolic links resolved where the path exists.
std::string NormalPath(const std::string& path);

// Appends the paths that are not there yet (compared in normal form).
void AppendUnique(std::vector<std::string>& paths, const std::vector<std::string>& more);

}  // namespace planwarte
