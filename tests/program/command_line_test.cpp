#include "command_line.h"

#include <gtest/gtest.h>

namespace planwarte {
namespace {

using Mode = CommandLine::Mode;

TEST(CommandLineTest, ReadsTheModesAndTheirOptions) {
    struct Case {
        std::vector<std::string> arguments;
        Mode mode;
        std::optional<DateTime> date;
        std::string output;
        std::vector<std::string> program_arguments;
    };
    const std::vector<Case> cases = {
        {{}, Mode::kDesktop, std::nullopt, "", {}},
        {{"neuzeichnen"}, Mode::kDesktop, std::nullopt, "", {"neuzeichnen"}},
        {{"--render"}, Mode::kRender, std::nullopt, "", {}},
        {{"--render", "--date", "2004-12-08", "-o", "page.htm"},
         Mode::kRender,
         EncodeDate(2004, 12, 8),
         "page.htm",
         {}},
        {{"--date", "2024-02-29", "--render"}, Mode::kRender, EncodeDate(2024, 2, 29), "", {}},
        {{"--render", "--help"}, Mode::kHelp, std::nullopt, "", {}},
        {{"--list-folders"}, Mode::kListFolders, std::nullopt, "", {}},
        {{"--headless"}, Mode::kHeadless, std::nullopt, "", {}},
        {{"--headless", "neuzeichnen"}, Mode::kHeadless, std::nullopt, "", {"neuzeichnen"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const CommandLine command = ParseCommandLine(c.arguments);
        EXPECT_EQ(command.error, "");
        EXPECT_EQ(command.mode, c.mode);
        EXPECT_EQ(command.date, c.date);
        EXPECT_EQ(command.output, c.output);
        EXPECT_EQ(command.program_arguments, c.program_arguments);
    }
}

TEST(CommandLineTest, DataOptionsGoWithEveryMode) {
    const CommandLine command = ParseCommandLine(
        {"--data", "/home/a/cal", "--maildir", "/home/a/Mail/INBOX", "--render", "--data", "x y"});
    EXPECT_EQ(command.error, "");
    EXPECT_EQ(command.mode, Mode::kRender);
    EXPECT_EQ(command.data_dirs, (std::vector<std::string>{"/home/a/cal", "x y"}));
    EXPECT_EQ(command.maildir, "/home/a/Mail/INBOX");
}

TEST(CommandLineTest, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> cases = {
        {"--render", "--date"},
        {"--render", "--date", "2004-13-01"},
        {"--render", "--date", "2023-02-29"},
        {"--render", "--date", "08.12.2004"},
        {"--render", "--date", "2004-12-08x"},
        {"--render", "-o"},
        {"--render", "-o", ""},
        {"--date", "2004-12-08"},
        {"--verbose"},
        {"--data"},
        {"--maildir", ""},
        {"--render", "--list-folders"},
        {"--headless", "--render"},
        {"--list-folders", "--headless"},
        {"--headless", "-o", "page.htm"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_NE(ParseCommandLine(arguments).error, "");
    }
}

}  // namespace
}  // namespace planwarte
