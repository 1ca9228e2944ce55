#include "adapters/profile/data_profile.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "adapters/profile/config_file_text.h"
#include "adapters/profile/demo_data.h"
#include "adapters/profile/path_patterns.h"
#include "adapters/profile/tool_configs.h"
#include "core/common/ini_file.h"

namespace planwarte {

namespace {

constexpr const char* kDefaultCommand = "xdg-open %f";
// A new mail is written in the mail program, not in the Maildir's folder.
constexpr const char* kDefaultNewMailCommand = "xdg-open mailto:";

void Trace(const ProfileTrace& trace, const std::string& line) {
    if (trace) {
        trace(line);
    }
}

// What the profile file says; every field may be empty.
struct ProfileFile {
    std::string path;
    std::vector<std::string> stores;
    std::string default_calendar;
    std::string maildir;
    DataProfile::Commands commands;
};

std::optional<ProfileFile> ReadProfileFile(const ProfileEnvironment& environment,
                                           const ProfileTrace& trace) {
    ProfileFile file;
    file.path = environment.config_home + "/planwarte/profile.ini";
    const std::optional<std::string> text = ReadConfigFile(file.path, trace);
    if (!text) {
        return std::nullopt;
    }
    const IniFile ini(*text);
    for (const std::string& key : ini.Keys("data")) {
        if (key.rfind("store", 0) != 0) {
            continue;
        }
        const std::string pattern = ini.Value("data", key, "");
        if (pattern.empty()) {
            continue;
        }
        std::vector<std::string> folders = MatchingFolders(pattern, environment.home);
        if (folders.empty()) {
            // Kept as written: the user named it, and the calendar reader says it is missing.
            Trace(trace,
                  "profile: " + file.path + ": " + key + " = " + pattern + " names no folder");
            folders.push_back(ExpandHome(pattern, environment.home));
        }
        AppendUnique(file.stores, folders);
    }
    file.default_calendar = ExpandHome(ini.Value("data", "default_calendar", ""), environment.home);
    file.maildir = ExpandHome(ini.Value("data", "maildir", ""), environment.home);
    DataProfile::Commands& commands = file.commands;
    commands.open = ini.Value("commands", "open", "");
    commands.calendar = ini.Value("commands", "calendar", "");
    commands.new_appointment = ini.Value("commands", "new_appointment", "");
    commands.new_task = ini.Value("commands", "new_task", "");
    commands.new_mail = ini.Value("commands", "new_mail", "");
    return file;
}

void FillDefaultCommands(DataProfile::Commands& commands) {
    for (std::string* command :
         {&commands.open, &commands.calendar, &commands.new_appointment, &commands.new_task}) {
        if (command->empty()) {
            *command = kDefaultCommand;
        }
    }
    if (commands.new_mail.empty()) {
        commands.new_mail = kDefaultNewMailCommand;
    }
}

// khal, todoman and vdirsyncer together: many people keep events in one and tasks in another.
bool ReadToolConfigs(const ProfileEnvironment& environment, const ProfileTrace& trace,
                     DataProfile& profile) {
    struct Tool {
        const char* name;
        const char* file;
        ToolCalendars (*read)(const std::string&, const std::string&, const ProfileTrace&);
    };
    const Tool tools[] = {{"khal", "/khal/config", ReadKhalConfig},
                          {"todoman", "/todoman/config.py", ReadTodomanConfig},
                          {"vdirsyncer", "/vdirsyncer/config", ReadVdirsyncerConfig}};
    for (const Tool& tool : tools) {
        const std::optional<std::string> text =
            ReadConfigFile(environment.config_home + tool.file, trace);
        if (!text) {
            continue;
        }
        const ToolCalendars found = tool.read(*text, environment.home, trace);
        const std::size_t known = profile.store_roots.size();
        AppendUnique(profile.store_roots, found.collections);
        if (found.names_collections) {
            AppendUnique(profile.collection_roots, found.collections);
        }
        if (found.names_task_lists) {
            AppendUnique(profile.task_list_roots, found.collections);
        }
        if (profile.store_roots.size() == known) {
            continue;  // nothing of its own
        }
        if (profile.default_calendar.empty()) {
            profile.default_calendar = found.default_calendar;
        }
        profile.source += (profile.source.empty() ? "" : ", ") + std::string(tool.name);
    }
    return !profile.store_roots.empty();
}

}  // namespace

ProfileEnvironment ProfileEnvironment::FromProcess() {
    ProfileEnvironment environment;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        environment.home = home;
    } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr) {
        environment.home = user->pw_dir;
    }
    // Relative XDG folders are invalid and to be ignored.
    const auto xdg = [&](const char* name, const char* fallback) {
        const char* value = std::getenv(name);
        return value != nullptr && value[0] == '/' ? std::string(value)
                                                   : environment.home + fallback;
    };
    environment.config_home = xdg("XDG_CONFIG_HOME", "/.config");
    environment.data_home = xdg("XDG_DATA_HOME", "/.local/share");
    return environment;
}

DataProfile FindDataProfile(const ProfileOptions& options, const ProfileEnvironment& environment,
                            DateTime now, const ProfileTrace& trace) {
    const std::optional<ProfileFile> file = ReadProfileFile(environment, trace);
    DataProfile profile;
    if (file) {
        profile.commands = file->commands;
    }
    FillDefaultCommands(profile.commands);
    profile.maildir = !options.maildir.empty() ? options.maildir
                      : file                   ? file->maildir
                                               : std::string();

    if (!options.data_dirs.empty()) {
        AppendUnique(profile.store_roots, options.data_dirs);
        profile.source = "--data";
        return profile;
    }
    if (file && !file->stores.empty()) {
        profile.store_roots = file->stores;
        profile.default_calendar = file->default_calendar;
        profile.source = file->path;
        return profile;
    }
    if (ReadToolConfigs(environment, trace, profile)) {
        return profile;
    }
    profile.demo = true;
    profile.source = "demo";
    const std::optional<DemoData> demo = EnsureDemoData(environment.data_home, now, trace);
    if (!demo) {
        return profile;
    }
    profile.store_roots = {demo->collections};
    profile.default_calendar = demo->default_calendar;
    if (profile.maildir.empty()) {
        profile.maildir = demo->maildir;
    }
    return profile;
}

}  // namespace planwarte
