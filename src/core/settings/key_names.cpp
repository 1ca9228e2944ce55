#include "core/settings/key_names.h"

#include <algorithm>

namespace planwarte {

namespace {

char FoldChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string FoldCase(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldChar);
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    while (!path.empty()) {
        const std::size_t end = path.find('\\');
        const std::string_view part = path.substr(0, end);
        if (!part.empty()) {
            parts.emplace_back(part);
        }
        if (end == std::string_view::npos) {
            break;
        }
        path.remove_prefix(end + 1);
    }
    return parts;
}

}  // namespace planwarte
