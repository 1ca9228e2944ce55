#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/date_time.h"

namespace planwarte {

inline constexpr const char* kUsage =
    "usage: planwarte [DATA OPTIONS] [neuzeichnen]\n"
    "       planwarte [DATA OPTIONS] --render [--date YYYY-MM-DD] [-o FILE]\n"
    "       planwarte [DATA OPTIONS] --list-folders\n"
    "       planwarte --help\n"
    "data options:\n"
    "  --data DIR      a folder of calendar and task collections (repeatable)\n"
    "  --maildir DIR   the Maildir whose new mail is announced\n"
    "without them the profile file, khal, todoman and vdirsyncer tell where the data is;\n"
    "else a demo calendar is made.\n";

// What the command line asks for. Arguments that are not options go to the program as they
// are (the desktop start knows "neuzeichnen").
struct CommandLine {
    enum class Mode { kDesktop, kRender, kListFolders, kHelp };
    Mode mode = Mode::kDesktop;
    std::optional<DateTime> date;
    std::string output;  // empty: standard output
    std::vector<std::string> program_arguments;
    std::vector<std::string> data_dirs;  // in the order given
    std::string maildir;
    std::string error;  // set when the command line cannot be used
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace planwarte
