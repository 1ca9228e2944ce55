#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/page/day_text.h"
#include "day_text_world.h"

namespace planwarte {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing_support::At;
using testing_support::DayTextWorld;
using testing_support::PlainStyle;

// The subject lines among the lines of a text, in their order.
std::vector<std::string> SubjectLines(const std::vector<std::string>& lines) {
    std::vector<std::string> subjects;
    for (const std::string& line : lines) {
        if (line.ends_with("<br>") && line != "<br>") {
            subjects.push_back(line);
        }
    }
    return subjects;
}

class TaskLinesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto folder = world.AddTaskFolder("Aufgaben");
        folder->AddTask({.subject = "Später heute", .due_date = At(2004, 12, 8, 15)});
        folder->AddTask({.subject = "Erledigt", .due_date = At(2004, 12, 8), .complete = true});
        folder->AddTask({.subject = "Ohne Termin"});
        folder->AddTask({.subject = "Morgen", .due_date = At(2004, 12, 9)});
        folder->AddTask({.subject = "Früh heute", .due_date = At(2004, 12, 8, 7)});
    }

    DayTextWorld world;
};

TEST_F(TaskLinesTest, DayListsTheOpenTasksDueThatDayInDueOrder) {
    world.outlook->State().ClearCallLog();
    const auto lines = world.DayLines(At(2004, 12, 8));
    EXPECT_THAT(SubjectLines(lines), ElementsAre("Früh heute<br>", "Später heute<br>"));
    EXPECT_EQ(lines[0], "<br>");
    EXPECT_EQ(lines[1], "<br>");
    EXPECT_THAT(world.outlook->State().CallLog(),
                ElementsAre("Items", "Sort([DueDate],false)",
                            "Find([DueDate] = '#08.12.2004#' AND [Complete] = False)", "FindNext",
                            "FindNext"));
    EXPECT_THAT(world.progress, ElementsAre("Aufgaben lesen"));
}

TEST_F(TaskLinesTest, AllOpenTasksWhateverTheirDueDate) {
    world.outlook->State().ClearCallLog();
    EXPECT_THAT(SubjectLines(world.AllTaskLines()),
                ElementsAre("Früh heute<br>", "Später heute<br>", "Morgen<br>", "Ohne Termin<br>"));
    EXPECT_EQ(world.outlook->State().CallLog().at(2), "Find([Complete] = False)");
}

TEST_F(TaskLinesTest, EachFoundTaskCostsTheSourcesPause) {
    for (const int pause_ms : {2, 0}) {
        world.pause_between_tasks_ms = pause_ms;
        const auto before = world.clock.ElapsedMs();
        world.AllTaskLines();
        EXPECT_EQ(world.clock.ElapsedMs() - before, 4 * pause_ms) << pause_ms;
    }
}

TEST(TaskEntryTest, LinesOfATaskFollowTheFolderStyle) {
    struct Case {
        const char* name;
        bool show_clock;
        int importance;
        std::int16_t font_size;
        std::vector<std::string> lines;
    };
    const std::string tip = "<span TITLE=\"08.12.2004\nkeine weiteren Informationen\" >";
    const std::string list_item = "<li type=\"circle\" style=\"color:#000000\";>";
    const std::vector<Case> cases = {
        {"list form",
         true,
         kImportanceNormal,
         10,
         {list_item + tip, "Steuer<br>", "</a></font></span>", "</li>"}},
        {"plain form", false, kImportanceNormal, 10, {tip, "Steuer<br>", "</a></font></span>"}},
        {"high importance",
         false,
         kImportanceHigh,
         12,
         {tip,
          "<img border=\"0\"  src=file:///opt/planwarte/vorlagen/high.gif height=\"12\" "
          "align=\"absmiddle\">Steuer<br>",
          "</a></font></span>"}},
        {"too small font",
         false,
         kImportanceLow,
         5,
         {tip,
          "<img border=\"0\"  src=file:///opt/planwarte/vorlagen/low.gif height=\"8\" "
          "align=\"absmiddle\">Steuer<br>",
          "</a></font></span>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DayTextWorld world;
        FolderStyle style = PlainStyle();
        style.show_clock = c.show_clock;
        style.font_size = c.font_size;
        auto folder = world.AddTaskFolder("Aufgaben", style);
        folder->AddTask({.subject = "Steuer",
                         .due_date = At(2004, 12, 8),
                         .importance = c.importance,
                         .entry_id = "T1"});
        const auto lines = world.AllTaskLines();
        ASSERT_EQ(lines.size(), c.lines.size() + 1);
        EXPECT_EQ(lines[0], "<br>");
        const std::string opening_end =
            "<a CLASS=\"Item\" style=\"font-family: Arial; font-size: " +
            std::to_string(c.font_size < 6 ? 8 : c.font_size) +
            "pt; color:#000000;\" language=\"VBScript\"  OnMouseOver=\"rollon()\" "
            "OnMouseOut=\"rollout()\" OnClick=\"OpenOLWindow('T1," +
            folder->EntryID() + "')\">";
        EXPECT_EQ(lines[1], c.lines[0] + opening_end);
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()),
                  std::vector<std::string>(c.lines.begin() + 1, c.lines.end()));
    }
}

TEST(TaskEntryTest, BodyShowsInTheTooltipEscaped) {
    DayTextWorld world;
    world.AddTaskFolder("Aufgaben")
        ->AddTask({.subject = "<Steuer>", .due_date = At(2004, 12, 8), .body = "Belege \"2004\""});
    const auto lines = world.DayLines(At(2004, 12, 8));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_THAT(lines[2], HasSubstr("TITLE=\"08.12.2004\nBelege &quot;2004&quot;\" >"));
    EXPECT_EQ(lines[3], "&lt;Steuer&gt;<br>");
}

// The object model gives a task without due date the stand-in 1 January 4501; the tooltip
// must not claim the task is due then.
TEST(TaskEntryTest, TaskWithoutDueDateHasNoDateInItsTooltip) {
    DayTextWorld world;
    auto folder = world.AddTaskFolder("Aufgaben");
    folder->AddTask({.subject = "Ablage"});
    folder->AddTask({.subject = "Steuer", .body = "Belege sammeln"});
    const auto lines = world.AllTaskLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_THAT(lines[1], HasSubstr("<span TITLE=\"keine weiteren Informationen\" >"));
    EXPECT_THAT(lines[5], HasSubstr("<span TITLE=\"Belege sammeln\" >"));
}

TEST(TaskEntryTest, MissingSafeTaskClassLeavesTheLinkOutSilently) {
    DayTextWorld world;
    world.safe_items.SetAvailable(FakeSafeClass::Task, false);
    world.AddTaskFolder("Aufgaben")->AddTask({.subject = "Steuer", .due_date = At(2004, 12, 8)});
    EXPECT_THAT(world.AllTaskLines(),
                ElementsAre("<br>", "", "Steuer<br>", "</font></span>", "</li>"));
    EXPECT_TRUE(world.notice.messages.empty());
}

TEST(TaskEntryTest, WithoutTaskFolderTheDayEndsWithItsLineBreak) {
    DayTextWorld world;
    world.AddCalendar("Kalender")
        ->AddAppointment(
            {.subject = "Kino", .start = At(2004, 12, 8, 20), .end = At(2004, 12, 8, 22)});
    const auto lines = world.DayLines(At(2004, 12, 8));
    EXPECT_EQ(lines.back(), "<br>");
    EXPECT_EQ(lines[lines.size() - 2], "</a></font></span>");
    EXPECT_THAT(world.AllTaskLines(), ElementsAre("<br>"));
}

}  // namespace
}  // namespace planwarte
