#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/common/date_time.h"

// Where the user's calendars, task lists and mail are, and how to open them.
namespace planwarte {

struct DataProfile {
    std::vector<std::string> store_roots;  // folders of iCalendar collections (vdir)
    // Those store roots that are one calendar or task list each (as khal and todoman name
    // them), so that one without entries yet is still offered.
    std::vector<std::string> collection_roots;
    // Those that are task lists (as todoman names them), also while empty.
    std::vector<std::string> task_list_roots;
    std::string default_calendar;  // a collection path; may be empty
    std::string maildir;           // may be empty
    // Command lines; "%f" stands for the file or folder concerned.
    struct Commands {
        std::string open, calendar, new_appointment, new_task, new_mail;
    } commands;
    std::string source;  // where it came from, for the trace: "--data", the file, "khal", ...
    bool demo = false;
};

// The --data (in order, repeatable) and --maildir options of the command line.
struct ProfileOptions {
    std::vector<std::string> data_dirs;
    std::string maildir;
};

// The folders the search starts from.
struct ProfileEnvironment {
    std::string home;
    std::string config_home;  // $XDG_CONFIG_HOME, else ~/.config
    std::string data_home;    // $XDG_DATA_HOME, else ~/.local/share

    // From the process environment ($HOME, else the user database).
    static ProfileEnvironment FromProcess();
};

using ProfileTrace = std::function<void(const std::string&)>;

// The first source that names calendars wins: the --data options, then the profile file
// $XDG_CONFIG_HOME/planwarte/profile.ini, then the khal, todoman and vdirsyncer
// configurations together, and else the demo data, generated when missing and dated from
// `now` (local time). The Maildir comes from --maildir, else the profile file, else the demo when
// the demo is used; the commands always from the profile file, else their defaults. A path reached
// twice is kept once. Configurations that cannot be read are traced and skipped.
DataProfile FindDataProfile(const ProfileOptions& options, const ProfileEnvironment& environment,
                            DateTime now, const ProfileTrace& trace);

}  // namespace planwarte
