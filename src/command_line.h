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
    "       planwarte [DATA OPTIONS] --headless\n"
    "       planwarte --help\n"
    "--headless runs the whole program without window, tray and dialogs: the page is rebuilt\n"
    "(and written when CreateHtmlFile is set), the assistant speaks through espeak-ng; it ends\n"
    "on SIGINT or SIGTERM.\n"
    "data options:\n"
    "  --data DIR      a folder of calendar and task collections (repeatable)\n"
    "  --maildir DIR   the Maildir whose new mail is announced\n"
    "without them the profile file, khal, todoman and vdirsyncer tell where the data is;\n"
    "else a demo calendar is made.\n"
    "environment:\n"
    "  PLANWARTE_SPEECH_LOG=FILE     every request to the assistant's speech (speaking,\n"
    "                                animations, show, hide) is also written to FILE, one a line\n"
    "  PLANWARTE_SPEECH_OUTPUT=none  the assistant speaks into nothing\n"
    "  PLANWARTE_SPEECH_OUTPUT=FILE  the assistant speaks into the WAV file FILE\n"
    "                                (else through the sound device, or into nothing without "
    "one)\n";

// What the command line asks for. Arguments that are not options go to the program as they
// are (the desktop start knows "neuzeichnen").
struct CommandLine {
    enum class Mode { kDesktop, kRender, kListFolders, kHeadless, kHelp };
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
