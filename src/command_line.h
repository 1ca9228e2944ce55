#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/date_time.h"

namespace planwarte {

inline constexpr const char* kUsage =
    "usage: planwarte [neuzeichnen]\n"
    "       planwarte --render [--date YYYY-MM-DD] [-o FILE]\n"
    "       planwarte --help\n";

// What the command line asks for. Arguments that are not options go to the program as they
// are (the desktop start knows "neuzeichnen").
struct CommandLine {
    enum class Mode { kDesktop, kRender, kHelp };
    Mode mode = Mode::kDesktop;
    std::optional<DateTime> date;
    std::string output;  // empty: standard output
    std::vector<std::string> program_arguments;
    std::string error;  // set when the command line cannot be used
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace planwarte
