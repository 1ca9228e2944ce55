#include "core/common/ini_file.h"

#include <algorithm>

#include "core/settings/key_names.h"

namespace planwarte {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view WithoutEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The next line of the text, without its line end; the text is advanced past it.
std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

IniFile::IniFile(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    Section* current = nullptr;
    while (!text.empty()) {
        const std::string_view line = Trim(NextLine(text));
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            // A header without its closing bracket is not a header; its keys stay where they
            // were, as with the Windows functions.
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                current = &SectionNamed(Trim(line.substr(1, close - 1)));
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty()) {
            continue;
        }
        const bool known =
            std::any_of(current->entries.begin(), current->entries.end(),
                        [&](const Entry& entry) { return SameName(entry.key, key); });
        if (!known) {
            const std::string_view value = WithoutEnclosingQuotes(Trim(line.substr(equals + 1)));
            current->entries.push_back(Entry{std::string(key), std::string(value)});
        }
    }
}

IniFile::Section& IniFile::SectionNamed(std::string_view name) {
    for (Section& section : sections_) {
        if (SameName(section.name, name)) {
            return section;
        }
    }
    return sections_.emplace_back(Section{std::string(name), {}});
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const Section& section : sections_) {
        if (SameName(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        names.push_back(section.name);
    }
    return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries) {
            keys.push_back(entry.key);
        }
    }
    return keys;
}

std::string IniFile::Value(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries) {
            if (SameName(entry.key, key)) {
                return entry.value;
            }
        }
    }
    return std::string(fallback);
}

bool IniFile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

}  // namespace planwarte
