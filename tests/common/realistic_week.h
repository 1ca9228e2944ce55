#pragma once

#include <ostream>
#include <string>
#include <utility>

#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/memory_settings_store.h"
#include "core/common/date_time.h"
#include "core/outlook/object_model.h"
#include "core/settings/setting_values.h"

// A filled calendar source for the golden pages and the screenshots: the week of Wednesday,
// 8 December 2004 and the weeks around it, in three calendars and a task folder of the fake
// source, each folder with its own look in the settings, as a user would have set them up.
//
// It holds what the page has to get right: timed, all-day and multi-day appointments, a weekly
// series coloured by its label, yearly birthday series (age shown), a birthday party that is
// no series (no age), holidays, high and low importance, open, completed and overdue tasks,
// tasks without due date, and subjects, places and bodies that the page has to show as text.
namespace planwarte::realistic_week {

// The moment every page of the week is built at: Wednesday, 8 December 2004, 10:30.
inline DateTime Now() {
    return EncodeDateTime(2004, 12, 8, 10, 30);
}

// One page of the week: the view, and whether the holiday calendar shows its holidays in red
// (off, a holiday shows only its tooltip).
struct WeekView {
    int view_kind;
    bool holidays_in_red;
    const char* name;  // the page's file name without ".htm"
};

inline void PrintTo(const WeekView& view, std::ostream* out) {
    *out << view.name;
}

inline constexpr WeekView kWeekViews[] = {
    {0, true, "month"},       {0, false, "month_holidays_hidden"},
    {1, true, "week"},        {2, true, "xdays"},
    {3, true, "today"},       {4, true, "two_weeks"},
    {5, true, "three_weeks"},
};

// The settings sub-key values of one used folder.
struct FolderLook {
    const char* font;
    int font_size;
    int font_color;  // 0x00BBGGRR
    bool show_clock;
    bool use_label_colours;  // calendars only
    bool holidays_in_red;    // calendars only
};

inline std::string UsedFolderKey(const char* list_name, const FakeFolder& folder) {
    return std::string(kSettingsKeyPath) + "\\" + list_name + "\\" + folder.EntryID();
}

inline void PlantUsedCalendar(MemorySettingsStore& settings, const FakeFolder& folder,
                              const FolderLook& look) {
    const std::string key = UsedFolderKey("UsedCalendars", folder);
    settings.SetInteger(key, "isUsed", 1);
    settings.SetString(key, "SID", folder.StoreID());
    settings.SetString(key, "Font", look.font);
    settings.SetInteger(key, "FontSize", look.font_size);
    settings.SetInteger(key, "FontColor", look.font_color);
    settings.SetInteger(key, "ShowClock", look.show_clock ? 1 : 0);
    settings.SetInteger(key, "UseOLFontColor", look.use_label_colours ? 1 : 0);
    settings.SetInteger(key, "HolidayInUse", look.holidays_in_red ? 1 : 0);
}

inline void PlantUsedTaskFolder(MemorySettingsStore& settings, const FakeFolder& folder,
                                const FolderLook& look) {
    const std::string key = UsedFolderKey("UsedTasks", folder);
    settings.SetInteger(key, "isUsed", 1);
    settings.SetString(key, "SID", folder.StoreID());
    settings.SetString(key, "Font", look.font);
    settings.SetInteger(key, "FontSize", look.font_size);
    settings.SetInteger(key, "FontColor", look.font_color);
    settings.SetInteger(key, "ShowClock", look.show_clock ? 1 : 0);
}

inline DateTime At(int year, int month, int day, int hour, int minute = 0) {
    return EncodeDateTime(year, month, day, hour, minute);
}
inline DateTime Day(int year, int month, int day) {
    return EncodeDate(year, month, day);
}

// Entry IDs of one folder's items, fixed so that a change of the week shifts no other item's ID.
class ItemIds {
  public:
    explicit ItemIds(std::string prefix) : prefix_(std::move(prefix)) {}
    std::string Next() {
        const std::string number = std::to_string(next_++);
        return prefix_ + std::string(4 - number.size(), '0') + number;
    }

  private:
    std::string prefix_;
    int next_ = 1;
};

// The private calendar, which is the default calendar.
inline void FillPrivateCalendar(FakeFolder& calendar) {
    ItemIds ids("00000000C5A1F0D1D2E3F4A5B6C7D8E9F0A1B2C3D4E5A");
    const auto add = [&calendar, &ids](FakeAppointmentData data) {
        data.entry_id = ids.Next();
        calendar.AddAppointment(std::move(data));
    };
    // Born this year: the series has no age yet.
    add({.subject = "Geburtstag Paul",
         .start = Day(2004, 12, 3),
         .end = Day(2004, 12, 4),
         .all_day = true,
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Yearly}});
    add({.subject = "Friseur",
         .start = At(2004, 12, 1, 14),
         .end = At(2004, 12, 1, 14, 45),
         .location = "Salon Haarmonie"});
    add({.subject = "Nikolaus",
         .start = Day(2004, 12, 6),
         .end = Day(2004, 12, 7),
         .all_day = true});
    add({.subject = "Elternabend",
         .start = At(2004, 12, 7, 19),
         .end = At(2004, 12, 7, 21, 30),
         .location = "Grundschule am Park",
         .importance = kImportanceLow});
    add({.subject = "Zahnarzt Dr. Lenz",
         .start = At(2004, 12, 8, 8, 30),
         .end = At(2004, 12, 8, 9),
         .location = "Praxis am Markt",
         .body = "Kontrolle, Versichertenkarte mitnehmen",
         .importance = kImportanceHigh});
    add({.subject = "Mittagessen mit M\u00fcller & S\u00f6hne",
         .start = At(2004, 12, 8, 12, 30),
         .end = At(2004, 12, 8, 13, 30),
         .location = "Caf\u00e9 \"Rosa\" <Innenhof>",
         .body = "Tisch auf \"M\u00fcller\" bestellt\r\n"});
    add({.subject = "\"><img src=x onerror=alert(1)>",
         .start = At(2004, 12, 8, 17),
         .end = At(2004, 12, 8, 17, 30),
         .location = "<script>alert(2)</script>",
         .body = "Einladung von au\u00dfen: </span><b>fett</b>"});
    add({.subject = "Messe Hannover",
         .start = At(2004, 12, 9, 10),
         .end = At(2004, 12, 11, 16),
         .location = "Halle 9, Stand B12"});
    add({.subject = "Geburtstag Max",
         .start = Day(1969, 12, 10),
         .end = Day(1969, 12, 11),
         .categories = "Geburtstag",
         .all_day = true,
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Yearly}});
    add({.subject = "Geburtstagsfeier Jana",
         .start = At(2004, 12, 11, 15),
         .end = At(2004, 12, 11, 18),
         .location = "Kegelbahn Sonne"});
    add({.subject = "Konzert im Stadtpark",
         .start = At(2004, 12, 12, 20),
         .end = At(2004, 12, 12, 22, 30)});
    add({.subject = "Oma Hilde",
         .start = Day(1924, 12, 21),
         .end = Day(1924, 12, 22),
         .categories = "Familie, Geburtstag",
         .all_day = true,
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Yearly}});
    add({.subject = "Skiurlaub",
         .start = Day(2004, 12, 27),
         .end = Day(2005, 1, 1),
         .location = "Oberstdorf",
         .all_day = true});
    add({.subject = "Silvester bei Schmidts",
         .start = At(2004, 12, 31, 19, 30),
         .end = At(2005, 1, 1, 2)});
}

// The team calendar, coloured by the appointments' labels.
inline void FillTeamCalendar(FakeFolder& calendar) {
    ItemIds ids("00000000C5A1F0D1D2E3F4A5B6C7D8E9F0A1B2C3D4E5B");
    const auto add = [&calendar, &ids](FakeAppointmentData data) {
        data.entry_id = ids.Next();
        calendar.AddAppointment(std::move(data));
    };
    add({.subject = "Teambesprechung",
         .start = At(2004, 11, 29, 9),
         .end = At(2004, 11, 29, 10),
         .location = "Raum 2.14",
         .body = "Wochenplan und offene Punkte",
         .label_colour = 3,
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Weekly, .count = 8}});
    add({.subject = "Quartalsplanung",
         .start = At(2004, 12, 8, 14),
         .end = At(2004, 12, 8, 15, 30),
         .location = "Raum 2.14",
         .body = "Tagesordnung folgt per Mail",
         .label_colour = 1});
    add({.subject = "R\u00fcckruf Fa. Berger",
         .start = At(2004, 12, 8, 16),
         .end = At(2004, 12, 8, 16, 15)});
    add({.subject = "Projekt-Review",
         .start = At(2004, 12, 10, 11),
         .end = At(2004, 12, 10, 12),
         .importance = kImportanceHigh,
         .label_colour = 8});
    add({.subject = "Weihnachtsfeier",
         .start = At(2004, 12, 17, 19),
         .end = At(2004, 12, 17, 23),
         .location = "Ratskeller",
         .label_colour = 5});
}

inline void FillHolidayCalendar(FakeFolder& calendar) {
    ItemIds ids("00000000C5A1F0D1D2E3F4A5B6C7D8E9F0A1B2C3D4E5D");
    const auto holiday = [&calendar, &ids](const char* subject, DateTime day,
                                           const char* categories) {
        calendar.AddAppointment({.subject = subject,
                                 .start = day,
                                 .end = DateTime(day.value + 1),
                                 .categories = categories,
                                 .all_day = true,
                                 .entry_id = ids.Next()});
    };
    holiday("Mari\u00e4 Empf\u00e4ngnis", Day(2004, 12, 8), "Feiertag");
    holiday("Heiligabend", Day(2004, 12, 24), "");
    holiday("1. Weihnachtstag", Day(2004, 12, 25), "Feiertag");
    holiday("2. Weihnachtstag", Day(2004, 12, 26), "feiertag");
    holiday("Neujahr", Day(2005, 1, 1), "Feiertage, Familie");
}

inline void FillTasks(FakeFolder& tasks) {
    ItemIds ids("00000000C5A1F0D1D2E3F4A5B6C7D8E9F0A1B2C3D4E5C");
    const auto add = [&tasks, &ids](FakeTaskData data) {
        data.entry_id = ids.Next();
        tasks.AddTask(std::move(data));
    };
    add({.subject = "Winterreifen bestellen", .due_date = Day(2004, 12, 6)});
    add({.subject = "Urlaubsantrag abgeben", .due_date = Day(2004, 12, 7), .complete = true});
    add({.subject = "Weihnachtskarten schreiben",
         .due_date = Day(2004, 12, 8),
         .body = "an Familie und Kunden",
         .importance = kImportanceHigh});
    add({.subject = "Bericht Q4 abgeben", .due_date = Day(2004, 12, 8), .complete = true});
    add({.subject = "Reisekosten <November> abrechnen", .due_date = Day(2004, 12, 8)});
    add({.subject = "Angebot f\u00fcr M\u00fcller & S\u00f6hne", .due_date = Day(2004, 12, 10)});
    add({.subject = "Geschenk f\u00fcr Oma besorgen", .due_date = Day(2004, 12, 16)});
    add({.subject = "Steuerunterlagen sortieren", .importance = kImportanceLow});
}

// Fills the source and the settings for one page of the week: larger text than the default,
// Monday first, the month padded with full weeks, the x-days view one day back and five ahead.
inline void PlantWeek(FakeOutlook& outlook, MemorySettingsStore& settings, const WeekView& view) {
    settings.SetInteger(kSettingsKeyPath, "VORLAGE", view.view_kind);
    settings.SetString(kSettingsKeyPath, "Font", "Verdana");
    settings.SetInteger(kSettingsKeyPath, "FontSize", 10);
    settings.SetInteger(kSettingsKeyPath, "FirstDayOfWeek", 0);
    settings.SetInteger(kSettingsKeyPath, "showFullWeeksInMonthView", 1);
    settings.SetInteger(kSettingsKeyPath, "xTage", 5);
    settings.SetInteger(kSettingsKeyPath, "daysBack", 1);

    auto private_calendar = outlook.AddCalendar("Kalender");
    FillPrivateCalendar(*private_calendar);
    PlantUsedCalendar(settings, *private_calendar,
                      {.font = "Georgia",
                       .font_size = 10,
                       .font_color = 0x663300,
                       .show_clock = true,
                       .use_label_colours = false,
                       .holidays_in_red = false});
    auto team_calendar = outlook.AddCalendar("Team");
    FillTeamCalendar(*team_calendar);
    PlantUsedCalendar(settings, *team_calendar,
                      {.font = "Trebuchet MS",
                       .font_size = 9,
                       .font_color = 0x006400,
                       .show_clock = true,
                       .use_label_colours = true,
                       .holidays_in_red = false});
    auto holiday_calendar = outlook.AddCalendar("Feiertage");
    FillHolidayCalendar(*holiday_calendar);
    PlantUsedCalendar(settings, *holiday_calendar,
                      {.font = "Verdana",
                       .font_size = 10,
                       .font_color = 0x000080,
                       .show_clock = true,
                       .use_label_colours = false,
                       .holidays_in_red = view.holidays_in_red});
    auto tasks = outlook.AddTaskFolder("Aufgaben");
    FillTasks(*tasks);
    PlantUsedTaskFolder(settings, *tasks,
                        {.font = "Verdana",
                         .font_size = 9,
                         .font_color = 0x800000,
                         .show_clock = true,
                         .use_label_colours = false,
                         .holidays_in_red = false});
}

}  // namespace planwarte::realistic_week
