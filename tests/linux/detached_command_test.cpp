#include "adapters/linux/detached_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "adapters/linux/profile_shell_launcher.h"
#include "common/temp_folder.h"
#include "core/outlook/outlook_commands.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;
using testing_support::TempFolder;

TEST(SplitCommandLineTest, WordsQuotesAndEscapes) {
    struct Case {
        const char* line;
        Words words;
    };
    const Case cases[] = {
        {"xdg-open %f", {"xdg-open", "%f"}},
        {"  khal   new  ", {"khal", "new"}},
        {"sh -c 'echo a; echo b'", {"sh", "-c", "echo a; echo b"}},
        {"open \"My Calendar\"/%f", {"open", "My Calendar/%f"}},
        {"a\\ b \"x\\\"y\" ''", {"a b", "x\"y", ""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line;
    }
    EXPECT_EQ(SplitCommandLine("open 'unclosed"), std::nullopt);
}

TEST(SplitCommandLineTest, FileReplacesEveryPlaceholderAsPartOfItsWord) {
    EXPECT_EQ(WithFile({"open", "--in=%f", "%f%f"}, "/a b"),
              (Words{"open", "--in=/a b", "/a b/a b"}));
    EXPECT_EQ(WithFile({"%f"}, "100%f"), Words{"100%f"});  // the file's own text stays
}

// Waits a bounded time for a file the started program writes.
bool AppearsSoon(const fs::path& path) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (fs::exists(path)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(StartDetachedTest, FileNameWithShellCharactersStaysOneArgumentAndRunsNothing) {
    TempFolder folder;
    const fs::path odd = fs::path(folder.Path()) / "a b; touch pwned 'x'.ics";
    const auto words = SplitCommandLine("touch %f");
    ASSERT_TRUE(words);
    EXPECT_EQ(StartDetached(WithFile(*words, odd.string())), "");
    EXPECT_TRUE(AppearsSoon(odd));
    EXPECT_FALSE(fs::exists(fs::path(folder.Path()) / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));
}

TEST(StartDetachedTest, MissingProgramAndEmptyCommandAreReported) {
    EXPECT_NE(StartDetached({"/nonexistent/planwarte-no-such-program"}).find("No such file"),
              std::string::npos);
    EXPECT_EQ(StartDetached({}), "no command");
}

// A command that writes its argument into a file, which appears complete or not at all.
std::string WriteArgumentTo(const std::string& file) {
    return "sh -c 'echo \"$1\" > " + file + ".part && mv " + file + ".part " + file + "' sh %f";
}

TEST(ProfileShellLauncherTest, EachSwitchRunsItsCommandWithItsFolder) {
    TempFolder folder;
    const std::string out = folder.Path();
    std::vector<std::string> traces;
    ProfileShellLauncher launcher({.calendar = "touch " + out + "/calendar",
                                   .new_appointment = WriteArgumentTo(out + "/appointment"),
                                   .new_task = WriteArgumentTo(out + "/task"),
                                   .new_mail = "touch " + out + "/mail",
                                   .calendar_folder = "/cal",
                                   .task_folder = "/tasks"},
                                  [&](const std::string& text) { traces.push_back(text); });
    for (const CalendarProgramStart& start :
         {NewAppointmentStart(), NewTaskStart(), NewMailStart(), SelectCalendarStart()}) {
        launcher.Open(kCalendarProgramFile, start.parameters, start.show_state);
    }
    launcher.Open(kCalendarProgramFile, "/c ipm.note", 5);
    for (const char* name : {"calendar", "appointment", "task", "mail"}) {
        EXPECT_TRUE(AppearsSoon(fs::path(out) / name)) << name;
    }
    std::ifstream task(fs::path(out) / "task");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(task), {}), "/tasks\n");
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_NE(traces[0].find("/c ipm.note"), std::string::npos);
}

}  // namespace
}  // namespace planwarte
