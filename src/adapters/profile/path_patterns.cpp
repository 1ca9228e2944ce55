#include "adapters/profile/path_patterns.h"

#include <glob.h>

#include <algorithm>
#include <filesystem>

namespace planwarte {

std::string ExpandHome(const std::string& path, const std::string& home) {
    if (path == "~") {
        return home;
    }
    if (path.rfind("~/", 0) == 0) {
        return home + path.substr(1);
    }
    return path;
}

std::vector<std::string> MatchingFolders(const std::string& pattern, const std::string& home) {
    const std::string expanded = ExpandHome(pattern, home);
    std::vector<std::string> folders;
    glob_t found{};
    // GLOB_ONLYDIR is only a hint; each match is checked below.
    if (::glob(expanded.c_str(), GLOB_ONLYDIR, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i) {
            std::error_code error;
            if (std::filesystem::is_directory(found.gl_pathv[i], error)) {
                folders.emplace_back(found.gl_pathv[i]);
            }
        }
    }
    ::globfree(&found);
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::string NormalPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path normal = std::filesystem::weakly_canonical(path, error);
    if (error) {
        normal = std::filesystem::absolute(path, error).lexically_normal();
    }
    std::string text = normal.string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

void AppendUnique(std::vector<std::string>& paths, const std::vector<std::string>& more) {
    for (const std::string& path : more) {
        const std::string normal = NormalPath(path);
        if (std::none_of(paths.begin(), paths.end(),
                         [&](const std::string& known) { return NormalPath(known) == normal; })) {
            paths.push_back(path);
        }
    }
}

}  // namespace planwarte
