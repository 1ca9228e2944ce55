#include "command_line.h"

#include <cstdio>
#include <stdexcept>

namespace planwarte {

namespace {

std::optional<DateTime> ParseIsoDate(const std::string& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    char tail = 0;
    if (text.size() != 10 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3) {
        return std::nullopt;
    }
    try {
        return EncodeDate(year, month, day);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

// The mode an option chooses; none for the other options.
std::optional<CommandLine::Mode> ModeOfOption(const std::string& argument) {
    if (argument == "--render") {
        return CommandLine::Mode::kRender;
    }
    if (argument == "--list-folders") {
        return CommandLine::Mode::kListFolders;
    }
    if (argument == "--headless") {
        return CommandLine::Mode::kHeadless;
    }
    return std::nullopt;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    bool render_only_option_seen = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool has_value = i + 1 < arguments.size();
        if (argument == "--help" || argument == "-h") {
            command.mode = CommandLine::Mode::kHelp;
            return command;
        }
        if (const auto mode = ModeOfOption(argument)) {
            if (command.mode != CommandLine::Mode::kDesktop && command.mode != *mode) {
                command.error = "--render, --list-folders and --headless exclude each other";
                return command;
            }
            command.mode = *mode;
        } else if (argument == "--data" || argument == "--maildir") {
            if (!has_value || arguments[i + 1].empty()) {
                command.error = argument + " needs a folder";
                return command;
            }
            if (argument == "--data") {
                command.data_dirs.push_back(arguments[++i]);
            } else {
                command.maildir = arguments[++i];
            }
        } else if (argument == "--date") {
            render_only_option_seen = true;
            command.date = has_value ? ParseIsoDate(arguments[++i]) : std::nullopt;
            if (!command.date) {
                command.error = "--date needs an existing date as YYYY-MM-DD";
                return command;
            }
        } else if (argument == "-o" || argument == "--output") {
            render_only_option_seen = true;
            if (!has_value || arguments[i + 1].empty()) {
                command.error = argument + " needs a file name";
                return command;
            }
            command.output = arguments[++i];
        } else if (argument.starts_with("-")) {
            command.error = "unknown option " + argument;
            return command;
        } else {
            command.program_arguments.push_back(argument);
        }
    }
    if (render_only_option_seen && command.mode != CommandLine::Mode::kRender) {
        command.error = "--date and -o belong to --render";
    }
    return command;
}

}  // namespace planwarte
