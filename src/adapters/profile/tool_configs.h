#pragma once

#include <string>
#include <vector>

#include "adapters/profile/data_profile.h"

// The calendar folders that the usual command-line calendar tools are set up with.
namespace planwarte {

struct ToolCalendars {
    std::vector<std::string> collections;  // existing folders, in the order configured
    std::string default_calendar;          // a path; empty when none is named
    // khal and todoman name the calendars themselves; vdirsyncer names folders of them.
    bool names_collections = true;
    // todoman's are task lists.
    bool names_task_lists = false;
};

// $XDG_CONFIG_HOME/khal/config: [calendars] [[name]] path = ..., type = calendar or discover
// (the path then a wildcard pattern); birthday calendars of address books are left out.
// [default] default_calendar = name.
ToolCalendars ReadKhalConfig(const std::string& text, const std::string& home,
                             const ProfileTrace& trace);

// $XDG_CONFIG_HOME/todoman/config.py: path = "pattern".
ToolCalendars ReadTodomanConfig(const std::string& text, const std::string& home,
                                const ProfileTrace& trace);

// $XDG_CONFIG_HOME/vdirsyncer/config: [storage x] with type = "filesystem", path = ... and
// fileext = ".ics" (address books are left out).
ToolCalendars ReadVdirsyncerConfig(const std::string& text, const std::string& home,
                                   const ProfileTrace& trace);

}  // namespace planwarte
