#include "adapters/profile/profile_shell_launcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "common/wait_for_file.h"
#include "core/outlook/outlook_commands.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using testing_support::AppearsSoon;
using testing_support::TempFolder;

// A command that writes its argument into a file, which appears complete or not at all.
std::string WriteArgumentTo(const std::string& file) {
    return "sh -c \"echo $1 > " + file + ".part && mv " + file + ".part " + file + "\" sh %f";
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

TEST(ProfileShellLauncherTest, CommandThatCannotStartIsTraced) {
    std::vector<std::string> traces;
    RunProfileCommand("/nonexistent/planwarte-no-such-program %f", "/x",
                      [&](const std::string& text) { traces.push_back(text); });
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_NE(traces[0].find("nicht gestartet"), std::string::npos);
}

}  // namespace
}  // namespace planwarte
