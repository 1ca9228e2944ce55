#include "adapters/profile/tool_configs.h"

#include <cctype>
#include <filesystem>
#include <sstream>

#include "adapters/profile/path_patterns.h"
#include "core/common/ini_file.h"

namespace planwarte {

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A value as the configurations write it: bare, or in single or double quotes.
std::string Unquoted(const std::string& value) {
    const std::string trimmed = Trimmed(value);
    if (trimmed.size() >= 2 && (trimmed.front() == '"' || trimmed.front() == '\'') &&
        trimmed.back() == trimmed.front()) {
        return trimmed.substr(1, trimmed.size() - 2);
    }
    return trimmed;
}

// The folders a configured path names; traced when it names none.
std::vector<std::string> ConfiguredFolders(const std::string& path, const std::string& home,
                                           const std::string& tool, const ProfileTrace& trace) {
    std::vector<std::string> folders = MatchingFolders(path, home);
    if (folders.empty() && trace) {
        trace(tool + ": " + path + " names no folder");
    }
    return folders;
}

}  // namespace

ToolCalendars ReadKhalConfig(const std::string& text, const std::string& home,
                             const ProfileTrace& trace) {
    // The configuration nests sections: [calendars] holds one [[name]] per calendar.
    struct Calendar {
        std::string path;
        std::string type = "calendar";
    };
    std::vector<std::pair<std::string, Calendar>> calendars;
    std::string top;
    std::string default_name;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            std::size_t depth = 0;
            while (depth < line.size() && line[depth] == '[') {
                ++depth;
            }
            const std::size_t close = line.find(']', depth);
            const std::string name = Trimmed(line.substr(depth, close - depth));
            if (depth == 1) {
                top = name;
            } else if (top == "calendars") {
                calendars.push_back({name, Calendar{}});
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = Trimmed(line.substr(0, equals));
        const std::string value = Unquoted(line.substr(equals + 1));
        if (top == "calendars" && !calendars.empty()) {
            if (key == "path") {
                calendars.back().second.path = value;
            } else if (key == "type") {
                calendars.back().second.type = value;
            }
        } else if (top == "default" && key == "default_calendar") {
            default_name = value;
        }
    }
    ToolCalendars result;
    for (const auto& [name, calendar] : calendars) {
        if (calendar.path.empty() || calendar.type == "birthdays") {
            continue;
        }
        const std::vector<std::string> folders =
            ConfiguredFolders(calendar.path, home, "khal", trace);
        AppendUnique(result.collections, folders);
        // A discovered calendar is named after its folder.
        if (!default_name.empty() && result.default_calendar.empty()) {
            if (calendar.type != "discover" && name == default_name && !folders.empty()) {
                result.default_calendar = folders.front();
            }
            for (const std::string& folder : folders) {
                if (calendar.type == "discover" &&
                    std::filesystem::path(folder).filename() == default_name) {
                    result.default_calendar = folder;
                }
            }
        }
    }
    return result;
}

ToolCalendars ReadTodomanConfig(const std::string& text, const std::string& home,
                                const ProfileTrace& trace) {
    ToolCalendars result;
    result.names_task_lists = true;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        const std::size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos ||
            Trimmed(line.substr(0, equals)) != "path") {
            continue;
        }
        AppendUnique(result.collections,
                     ConfiguredFolders(Unquoted(line.substr(equals + 1)), home, "todoman", trace));
    }
    return result;
}

ToolCalendars ReadVdirsyncerConfig(const std::string& text, const std::string& home,
                                   const ProfileTrace& trace) {
    ToolCalendars result;
    result.names_collections = false;
    const IniFile config(text);
    for (const std::string& section : config.SectionNames()) {
        if (section.rfind("storage ", 0) != 0 ||
            config.Value(section, "type", "") != "filesystem" ||
            config.Value(section, "fileext", "") != ".ics") {
            continue;
        }
        const std::string path = config.Value(section, "path", "");
        if (!path.empty()) {
            AppendUnique(result.collections, ConfiguredFolders(path, home, "vdirsyncer", trace));
        }
    }
    return result;
}

}  // namespace planwarte
