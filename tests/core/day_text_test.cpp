#include "core/page/day_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/fake_services.h"
#include "core/app/main_form.h"
#include "core/common/date_time.h"
#include "core/settings/setting_values.h"
#include "day_text_world.h"

namespace planwarte {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using testing_support::At;
using testing_support::DayTextWorld;
using testing_support::OnlyEntry;
using testing_support::PlainStyle;

constexpr const char* kLinkEvents =
    "\" language=\"VBScript\"  OnMouseOver=\"rollon()\" OnMouseOut=\"rollout()\" ";

TEST(DayTextTest, TimedAppointmentGivesItsLinkTimeAndSubjectLines) {
    DayTextWorld world;
    auto calendar = world.AddCalendar("Kalender");
    calendar->AddAppointment({.subject = "Zahnarzt",
                              .start = At(2004, 12, 8, 14, 30),
                              .end = At(2004, 12, 8, 15, 0),
                              .entry_id = "A1"});
    const std::string opening =
        "<span TITLE=\"8.12.04 14:30 Uhr bis: 8.12.04 15:00 Uhr\nkeine weiteren Informationen\" "
        "><a CLASS=\"Item\" style=\"font-family: Arial; font-size: 10pt; color:#000000;" +
        std::string(kLinkEvents) + "OnClick=\"OpenOLWindow('A1," + calendar->EntryID() + "')\">";
    EXPECT_THAT(
        world.DayLines(At(2004, 12, 8)),
        ElementsAre("<br>", opening, "14:30 Uhr", "Zahnarzt<br>", "</a></font></span>", "<br>"));
    EXPECT_THAT(world.progress, ElementsAre("Kalender lesen"));
    EXPECT_TRUE(world.traces.empty());
}

TEST(DayTextTest, QueriesEachCalendarForTheDayInStartOrderWithOccurrences) {
    DayTextWorld world;
    world.AddCalendar("Kalender");
    world.outlook->State().ClearCallLog();
    world.DayLines(At(2004, 12, 8));
    EXPECT_THAT(
        world.outlook->State().CallLog(),
        ElementsAre("Items",
                    "SetColumns([Body],[Location],[Categories],[Importance],[IsRecurring],"
                    "[AllDayEvent])",
                    "Sort([Start],false)", "SetIncludeRecurrences(true)",
                    "Find(([Start] >= '#08.12.2004 0:00#' AND [Start] <= '#08.12.2004 23:59#') OR "
                    "([Start] <= '#08.12.2004 0:00#' AND [End] > '#08.12.2004 0:00#'))"));
}

TEST(DayTextTest, EntriesFollowTheCalendarsOrderAndTheirOwnStyles) {
    DayTextWorld world;
    FolderStyle large = PlainStyle();
    large.font = "Verdana";
    large.font_size = 12;
    large.font_color_html = "#0000FF";
    auto first = world.AddCalendar("Privat");
    auto second = world.AddCalendar("Arbeit", large);
    second->AddAppointment(
        {.subject = "Sitzung", .start = At(2004, 12, 8, 8, 0), .end = At(2004, 12, 8, 9, 0)});
    first->AddAppointment(
        {.subject = "Laufen", .start = At(2004, 12, 8, 18, 0), .end = At(2004, 12, 8, 19, 0)});
    first->AddAppointment(
        {.subject = "Kino", .start = At(2004, 12, 8, 20, 0), .end = At(2004, 12, 8, 22, 0)});

    const auto lines = world.DayLines(At(2004, 12, 8));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_THAT(lines[1], HasSubstr("font-family: Arial; font-size: 10pt; color:#000000;"));
    EXPECT_THAT(lines[1], HasSubstr("," + first->EntryID() + "')"));
    EXPECT_EQ(lines[3], "Laufen<br>");
    EXPECT_EQ(lines[7], "Kino<br>");
    EXPECT_THAT(lines[9], HasSubstr("font-family: Verdana; font-size: 12pt; color:#0000FF;"));
    EXPECT_THAT(lines[9], HasSubstr("," + second->EntryID() + "')"));
    EXPECT_EQ(lines[11], "Sitzung<br>");
    EXPECT_THAT(world.progress, ElementsAre("Privat lesen", "Arbeit lesen"));
}

struct EntryCase {
    const char* name;
    FakeAppointmentData appointment;
    DateTime day;
    bool show_clock;
    bool holiday_in_use;
    std::string opening_begin;
    std::vector<std::string> rest;
};

TEST(DayTextTest, EntryLinesFollowTheKindOfAppointment) {
    const std::string timed_tip = "<span TITLE=\"8.12.04 14:30 Uhr bis: 8.12.04 15:00 Uhr\n";
    const std::string list_item = "<li  style=\"color:#000000\";><span TITLE=\"08.12.2004\n";
    const FakeAppointmentData dentist{
        .subject = "Zahnarzt", .start = At(2004, 12, 8, 14, 30), .end = At(2004, 12, 8, 15, 0)};
    FakeAppointmentData fair{
        .subject = "Messe", .start = At(2004, 12, 8), .end = At(2004, 12, 9), .all_day = true};
    FakeAppointmentData two_days{
        .subject = "Tagung", .start = At(2004, 12, 8, 10, 0), .end = At(2004, 12, 9, 12, 0)};
    FakeAppointmentData overnight{
        .subject = "Nachtschicht", .start = At(2004, 11, 30, 20, 0), .end = At(2004, 12, 1, 8)};
    FakeAppointmentData holiday = fair;
    holiday.subject = "Nikolaus";
    holiday.categories = "Familie, feiertag";
    FakeAppointmentData high = dentist;
    high.importance = kImportanceHigh;
    FakeAppointmentData low = dentist;
    low.importance = kImportanceLow;
    FakeAppointmentData detailed = dentist;
    detailed.location = "Praxis";
    detailed.body = "Bohrer mitbringen\r\n";
    FakeAppointmentData hostile = dentist;
    hostile.subject = "\"><img src=x onerror=alert(1)>";
    hostile.location = "<b>\"Keller\"</b>";
    hostile.body = "a & b";

    const std::vector<EntryCase> cases = {
        {"timed",
         dentist,
         At(2004, 12, 8),
         true,
         false,
         timed_tip,
         {"14:30 Uhr", "Zahnarzt<br>", "</a></font></span>"}},
        {"timed without clock",
         dentist,
         At(2004, 12, 8),
         false,
         false,
         timed_tip,
         {"Zahnarzt<br>", "</a></font></span>"}},
        {"all-day",
         fair,
         At(2004, 12, 8),
         true,
         false,
         list_item,
         {"Messe<br>", "</a></font></span>", "</li>"}},
        {"all-day without clock",
         fair,
         At(2004, 12, 8),
         false,
         false,
         "<span TITLE=\"08.12.2004",
         {"Messe<br>", "</a></font></span>"}},
        {"first of two days",
         two_days,
         At(2004, 12, 8),
         true,
         false,
         "<span TITLE=\"8.12.04 10:00 Uhr bis: 9.12.04 12:00 Uhr",
         {"10:00 Uhr", "Tagung<br>", "</a></font></span>"}},
        {"second of two days",
         two_days,
         At(2004, 12, 9),
         true,
         false,
         "<span TITLE=",
         {" bis: 9.12.04 12:00 Uhr", "Tagung<br>", "</a></font></span>"}},
        {"night into the next month",
         overnight,
         At(2004, 11, 30),
         true,
         false,
         "<span TITLE=",
         {"20:00 Uhr", "Nachtschicht<br>", "</a></font></span>"}},
        {"holiday shown",
         holiday,
         At(2004, 12, 8),
         true,
         true,
         list_item,
         {"<font style=\"color:Red ; font-size: 10pt\">", "  Nikolaus<br>", "</font>",
          "</a></span>", "</li>"}},
        {"high importance",
         high,
         At(2004, 12, 8),
         true,
         false,
         timed_tip,
         {"14:30 Uhr",
          "<img border=\"0\"  src=file:///opt/planwarte/vorlagen/high.gif height=\"10\" "
          "align=\"absmiddle\">Zahnarzt<br>",
          "</a></font></span>"}},
        {"low importance",
         low,
         At(2004, 12, 8),
         false,
         false,
         timed_tip,
         {"<img border=\"0\"  src=file:///opt/planwarte/vorlagen/low.gif height=\"10\" "
          "align=\"absmiddle\">Zahnarzt<br>",
          "</a></font></span>"}},
        {"location and body in the tooltip",
         detailed,
         At(2004, 12, 8),
         false,
         false,
         timed_tip + "Praxis\nBohrer mitbringen\" >",
         {"Zahnarzt<br>", "</a></font></span>"}},
        {"outside text escaped",
         hostile,
         At(2004, 12, 8),
         false,
         false,
         timed_tip + "&lt;b&gt;&quot;Keller&quot;&lt;/b&gt;\na &amp; b\" >",
         {"&quot;&gt;&lt;img src=x onerror=alert(1)&gt;<br>", "</a></font></span>"}},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name);
        DayTextWorld world;
        FolderStyle style = PlainStyle();
        style.show_clock = c.show_clock;
        style.holiday_in_use = c.holiday_in_use;
        world.AddCalendar("Kalender", style)->AddAppointment(c.appointment);
        const auto entry = OnlyEntry(world.DayLines(c.day));
        EXPECT_TRUE(entry.opening.starts_with(c.opening_begin)) << entry.opening;
        EXPECT_EQ(entry.rest, c.rest);
    }
}

// A holiday of a folder that does not show holidays leaves no trace: its opening line alone
// would be an empty list item. The entries around it are written as usual.
TEST(DayTextTest, HolidayOfAFolderThatHidesHolidaysWritesNoLines) {
    for (const bool show_clock : {true, false}) {
        SCOPED_TRACE(show_clock);
        DayTextWorld world;
        FolderStyle style = PlainStyle();
        style.show_clock = show_clock;
        style.holiday_in_use = false;
        auto calendar = world.AddCalendar("Kalender", style);
        calendar->AddAppointment({.subject = "Nikolaus",
                                  .start = At(2004, 12, 6),
                                  .end = At(2004, 12, 7),
                                  .categories = "Feiertag",
                                  .all_day = true});
        calendar->AddAppointment(
            {.subject = "Kino", .start = At(2004, 12, 6, 20), .end = At(2004, 12, 6, 22)});
        const auto entry = OnlyEntry(world.DayLines(At(2004, 12, 6)));
        EXPECT_THAT(entry.opening, HasSubstr("TITLE=\"6.12.04 20:00 Uhr"));
        if (show_clock) {
            EXPECT_THAT(entry.rest, ElementsAre("20:00 Uhr", "Kino<br>", "</a></font></span>"));
        } else {
            EXPECT_THAT(entry.rest, ElementsAre("Kino<br>", "</a></font></span>"));
        }
    }
}

TEST(DayTextTest, HostileIdsCannotLeaveTheScriptStringOfTheLink) {
    DayTextWorld world;
    world.AddCalendar("Kalender")
        ->AddAppointment({.subject = "Zahnarzt",
                          .start = At(2004, 12, 8, 14, 30),
                          .end = At(2004, 12, 8, 15, 0),
                          .entry_id = "x');alert(\"1\");('<"});
    const auto entry = OnlyEntry(world.DayLines(At(2004, 12, 8)));
    EXPECT_THAT(entry.opening,
                HasSubstr("OnClick=\"OpenOLWindow('x\\x27);alert(\\x221\\x22);(\\x27\\x3C,"));
    EXPECT_THAT(entry.opening, Not(HasSubstr("alert(\"")));
}

TEST(DayTextTest, TooSmallFontIsWrittenInEightPointsWithoutChangingTheFolder) {
    DayTextWorld world;
    FolderStyle tiny = PlainStyle();
    tiny.font_size = 4;
    world.AddCalendar("Kalender", tiny)
        ->AddAppointment({.subject = "Zahnarzt",
                          .start = At(2004, 12, 8, 14, 30),
                          .end = At(2004, 12, 8, 15, 0),
                          .importance = kImportanceHigh});
    for (int build = 1; build <= 2; ++build) {
        SCOPED_TRACE(build);
        const auto entry = OnlyEntry(world.DayLines(At(2004, 12, 8)));
        EXPECT_THAT(entry.opening, HasSubstr("font-size: 8pt;"));
        ASSERT_EQ(entry.rest.size(), 3u);
        EXPECT_THAT(entry.rest[1], HasSubstr("height=\"8\""));
        EXPECT_EQ(world.calendars[0].object->style.font_size, 4);
    }
}

TEST(DayTextTest, LongBodyIsCutInTheTooltipBetweenCharacters) {
    struct Case {
        const char* name;
        std::string body;
        std::string shown;
    };
    std::string umlauts;
    for (int i = 0; i < 1500; ++i) {
        umlauts += "ä";
    }
    const std::vector<Case> cases = {
        {"1500 letters", std::string(1500, 'x'), std::string(1000, 'x') + "..."},
        {"exactly 1000", std::string(1000, 'y'), std::string(1000, 'y')},
        {"two-byte letters", umlauts, umlauts.substr(0, 2000) + "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DayTextWorld world;
        world.AddCalendar("Kalender")
            ->AddAppointment({.subject = "Lesen",
                              .start = At(2004, 12, 8),
                              .end = At(2004, 12, 9),
                              .body = c.body,
                              .all_day = true});
        const auto entry = OnlyEntry(world.DayLines(At(2004, 12, 8)));
        EXPECT_THAT(entry.opening, HasSubstr("TITLE=\"08.12.2004\n" + c.shown + "\" >"));
    }
}

TEST(DayTextTest, BirthdaySeriesShowsTheAgeOfTheCurrentDate) {
    struct Case {
        const char* name;
        DateTime now;
        DateTime day;
        std::string subject;
        std::string categories;
        bool recurring;
        std::string text;
        std::string tooltip;
    };
    const std::vector<Case> cases = {
        {"on the birthday", At(2004, 6, 12, 9), At(2004, 6, 12), "Geburtstag Max", "", true,
         "35. Geburtstag Max<br>", "12.06.2004\nAlter 35 Jahre\""},
        {"the day before", At(2004, 6, 11, 9), At(2004, 6, 12), "Geburtstag Max", "", true,
         "35. Geburtstag Max<br>", "12.06.2004\nAlter 34 Jahre\""},
        {"named by the category", At(2004, 6, 12, 9), At(2004, 6, 12), "Max", "Geburtstag", true,
         "35. Max<br>", "12.06.2004\nAlter 35 Jahre\""},
        {"not a series", At(2004, 6, 12, 9), At(2004, 6, 12), "Geburtstag Max", "", false,
         "Geburtstag Max<br>", "12.06.2004\nkeine weiteren Informationen\""},
        {"word in other case", At(2004, 6, 12, 9), At(2004, 6, 12), "geburtstag Max", "", true,
         "geburtstag Max<br>", "12.06.2004\nkeine weiteren Informationen\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DayTextWorld world(c.now);
        FakeAppointmentData birthday{.subject = c.subject,
                                     .start = At(c.recurring ? 1969 : 2004, 6, 12),
                                     .end = At(c.recurring ? 1969 : 2004, 6, 13),
                                     .categories = c.categories,
                                     .all_day = true};
        if (c.recurring) {
            birthday.recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Yearly};
        }
        world.AddCalendar("Geburtstage")->AddAppointment(birthday);
        const auto entry = OnlyEntry(world.DayLines(c.day));
        EXPECT_THAT(entry.opening, HasSubstr("TITLE=\"" + c.tooltip));
        EXPECT_THAT(entry.rest, ElementsAre(c.text, "</a></font></span>", "</li>"));
    }
}

TEST(DayTextTest, BirthdaySeriesStartingThisYearHasNoAge) {
    DayTextWorld world;
    world.AddCalendar("Geburtstage")
        ->AddAppointment({.subject = "Geburtstag Lea",
                          .start = At(2004, 3, 1),
                          .end = At(2004, 3, 2),
                          .all_day = true,
                          .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Yearly}});
    const auto entry = OnlyEntry(world.DayLines(At(2004, 3, 1)));
    EXPECT_THAT(entry.opening, HasSubstr("TITLE=\"01.03.2004\nkeine weiteren Informationen\""));
    EXPECT_EQ(entry.rest.front(), "Geburtstag Lea<br>");
}

TEST(DayTextTest, LabelColoursColourTheEntriesOfAFolderThatAsksForThem) {
    struct Item {
        const char* subject;
        std::optional<int> label;
    };
    struct Case {
        const char* name;
        bool use_label_colours;
        std::vector<Item> items;
        std::vector<std::string> colours;
    };
    const std::vector<Case> cases = {
        {"labels used",
         true,
         {{"a", 2}, {"b", 42}, {"c", 10}, {"d", 0}, {"e", std::nullopt}},
         {"#849CE7", "#849CE7", "#FFE773", "#000000", "#000000"}},
        {"labels ignored", false, {{"a", 2}, {"b", 5}}, {"#008000", "#008000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DayTextWorld world;
        FolderStyle style = PlainStyle();
        style.use_ol_font_color = c.use_label_colours;
        style.font_color_html = "#008000";
        auto calendar = world.AddCalendar("Kalender", style);
        int hour = 8;
        for (const Item& item : c.items) {
            calendar->AddAppointment({.subject = item.subject,
                                      .start = At(2004, 12, 8, hour),
                                      .end = At(2004, 12, 8, hour, 30),
                                      .label_colour = item.label});
            ++hour;
        }
        for (int build = 1; build <= 2; ++build) {
            SCOPED_TRACE(build);
            const auto lines = world.DayLines(At(2004, 12, 8));
            std::vector<std::string> colours;
            for (const std::string& line : lines) {
                const auto at = line.find("pt; color:");
                if (at != std::string::npos) {
                    colours.push_back(line.substr(at + 10, 7));
                }
            }
            EXPECT_EQ(colours, c.colours);
            EXPECT_EQ(world.calendars[0].object->style.font_color_html, "#008000");
        }
    }
}

TEST(DayTextTest, MissingSafeItemLibraryLeavesEntriesWithoutLinkAndTellsOnce) {
    DayTextWorld world;
    world.safe_items.SetAvailable(FakeSafeClass::Appointment, false);
    auto calendar = world.AddCalendar("Kalender");
    calendar->AddAppointment(
        {.subject = "Zahnarzt", .start = At(2004, 12, 8, 14, 30), .end = At(2004, 12, 8, 15)});
    calendar->AddAppointment(
        {.subject = "Kino", .start = At(2004, 12, 8, 20), .end = At(2004, 12, 8, 22)});
    for (int build = 1; build <= 2; ++build) {
        SCOPED_TRACE(build);
        EXPECT_THAT(world.DayLines(At(2004, 12, 8)),
                    ElementsAre("<br>", "", "14:30 Uhr", "Zahnarzt<br>", "</font></span>", "",
                                "20:00 Uhr", "Kino<br>", "</font></span>", "<br>"));
    }
    EXPECT_THAT(world.notice.messages, ElementsAre("ViRoriDll.dll ist nicht registriert"));
}

TEST(DayTextTest, FolderWithoutReferenceChecksTheSessionAndAddsNothing) {
    DayTextWorld world;
    world.calendars.push_back(DayTextWorld::UsedLine(nullptr, PlainStyle()));
    world.tasks.push_back(DayTextWorld::UsedLine(nullptr, PlainStyle()));
    world.calendars.push_back(UsedFolderLine{.name = "without object", .object = nullptr});
    EXPECT_THAT(world.DayLines(At(2004, 12, 8)), ElementsAre("<br>", "<br>"));
    EXPECT_EQ(world.session_checks, 2);
    EXPECT_TRUE(world.progress.empty());
}

TEST(DayTextTest, FirstBuildAnnouncesTodaysComingRunningAndAllDayAppointments) {
    struct Case {
        const char* name;
        bool first_page_build;
        DateTime day;
        std::vector<std::pair<std::string, std::string>> announced;
    };
    const std::vector<std::pair<std::string, std::string>> today = {
        {"", "Messe"}, {"08:00 Uhr", "Sitzung"}, {"14:30 Uhr", "Zahnarzt"}};
    const std::vector<Case> cases = {
        {"first build today", true, At(2004, 12, 8), today},
        {"later build", false, At(2004, 12, 8), {}},
        {"another day", true, At(2004, 12, 9), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DayTextWorld world;  // now: 9:00
        world.first_page_build = c.first_page_build;
        auto calendar = world.AddCalendar("Kalender");
        calendar->AddAppointment({.subject = "Messe",
                                  .start = At(2004, 12, 8),
                                  .end = At(2004, 12, 9),
                                  .all_day = true});
        calendar->AddAppointment(
            {.subject = "Frühstück", .start = At(2004, 12, 8, 7), .end = At(2004, 12, 8, 8)});
        calendar->AddAppointment(
            {.subject = "Sitzung", .start = At(2004, 12, 8, 8), .end = At(2004, 12, 8, 10)});
        calendar->AddAppointment(
            {.subject = "Zahnarzt", .start = At(2004, 12, 8, 14, 30), .end = At(2004, 12, 8, 15)});
        calendar->AddAppointment(
            {.subject = "Kino", .start = At(2004, 12, 9, 20), .end = At(2004, 12, 9, 22)});
        world.DayLines(c.day);
        EXPECT_EQ(world.announced, c.announced);
    }
}

// The main window hands the page its day texts over the folders it loaded at the first build.
TEST(DayTextTest, PageOfTheMainWindowShowsTheUsedFoldersEntries) {
    testing_support::FakeServices fakes;
    fakes.settings.SetInteger(kSettingsKeyPath, "VORLAGE", 1);
    fakes.files.AddFile(std::string(testing_support::kProgramFolder) + "vorlagen/woche.mkf",
                        "<#DAYTEXT DATEOFFSET=2>|<#TASKS>");
    auto calendar = fakes.outlook->DefaultFolder(kDefaultFolderCalendar);
    calendar->AddAppointment(
        {.subject = "Zahnarzt", .start = At(2004, 12, 8, 14, 30), .end = At(2004, 12, 8, 15)});
    std::shared_ptr<FakeFolder> tasks;
    for (const auto& folder : fakes.outlook->DefaultStore()->Subfolders()) {
        if (folder->Name() == "Aufgaben") {
            tasks = folder;
        }
    }
    ASSERT_NE(tasks, nullptr);
    tasks->AddTask({.subject = "Steuer", .due_date = At(2004, 12, 8)});
    tasks->AddTask({.subject = "Fenster putzen"});
    fakes.settings.SetInteger(std::string(kSettingsKeyPath) + "\\UsedTasks\\" + tasks->EntryID(),
                              "isUsed", 1);

    Services services = fakes.Page();
    TForm1 form(services, StartMode::PageOnly, {}, nullptr);
    form.FormCreate();
    const std::string page = form.BuildPageText(At(2004, 12, 8), {800, 600}, {1024, 768});
    const auto day_part = page.substr(0, page.find('|'));
    const auto tasks_part = page.substr(page.find('|'));
    EXPECT_THAT(day_part, HasSubstr("14:30 Uhr\r\nZahnarzt<br>\r\n"));
    EXPECT_THAT(day_part, HasSubstr("Steuer<br>"));
    EXPECT_THAT(day_part, Not(HasSubstr("Fenster putzen")));
    EXPECT_THAT(tasks_part, HasSubstr("Steuer<br>"));
    EXPECT_THAT(tasks_part, HasSubstr("Fenster putzen<br>"));
    EXPECT_THAT(tasks_part, Not(HasSubstr("Zahnarzt")));
}

}  // namespace
}  // namespace planwarte
