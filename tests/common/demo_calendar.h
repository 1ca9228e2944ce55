#pragma once

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "adapters/fake/memory_settings_store.h"
#include "core/app/clock.h"
#include "core/app/file_system.h"
#include "core/common/date_time.h"
#include "core/common/format_date_time.h"
#include "core/page/html_text.h"
#include "core/page/page_context.h"
#include "core/settings/setting_values.h"

// A filled calendar for the golden pages and the screenshots: a December 2004 with weekly
// meetings, a birthday, holidays, a two-day fair and open tasks. The day texts are written as
// the page's day texts are, line for line: an opening link per entry that stays open, the time,
// the subject, then the closing lines. User text is escaped.
namespace planwarte::demo {

// The fixed moment every demo page is built at: Wednesday, 8 December 2004, 10:30.
inline DateTime DemoNow() {
    return EncodeDateTime(2004, 12, 8, 10, 30);
}

// The settings of the demo pages: larger text than the default, Monday first, the month padded
// with full weeks, the x-days view one day back and five ahead.
inline void PlantDemoSettings(MemorySettingsStore& settings, int view_kind) {
    settings.SetInteger(kSettingsKeyPath, "VORLAGE", view_kind);
    settings.SetInteger(kSettingsKeyPath, "FontSize", 10);
    settings.SetInteger(kSettingsKeyPath, "FirstDayOfWeek", 0);
    settings.SetInteger(kSettingsKeyPath, "showFullWeeksInMonthView", 1);
    settings.SetInteger(kSettingsKeyPath, "xTage", 5);
    settings.SetInteger(kSettingsKeyPath, "daysBack", 1);
}

// Value-initialised entries are of normal importance.
enum class Importance { kNormal, kLow, kHigh };

struct DemoEntry {
    DateTime start;
    DateTime end;
    std::string subject;
    std::string location;
    std::string body;
    Importance importance{};
    bool all_day = false;
    bool holiday = false;
    std::string age;  // tooltip line of a birthday
};

inline constexpr int kFontSize = 10;
inline constexpr const char* kFolderKey = "Default";
inline constexpr const char* kTaskFolderKey = "0000000038A1BB1005E5101AA1BB08002B2A56C20100";

inline std::string EntryId(int number) {
    std::string id = "00000000C5A1F0D1D2E3F4A5B6C7D8E9F0A1B2C3D4E5";
    const std::string digits = std::to_string(1000 + number);
    return id.replace(id.size() - digits.size(), digits.size(), digits);
}

inline std::string IconImage(Importance importance, const std::string& template_folder) {
    if (importance == Importance::kNormal) {
        return {};
    }
    const char* file = importance == Importance::kHigh ? "high.gif" : "low.gif";
    return "<img border=\"0\"  src=\"" + FileUrl(template_folder + file) + "\" height=\"" +
           std::to_string(kFontSize) + "\" align=\"absmiddle\">";
}

// The opening line of an entry: its tooltip and the link that opens it.
inline std::string ItemLine(const std::string& prefix, const std::string& tooltip,
                            const std::string& entry_id, const std::string& folder_key) {
    return prefix + "<span TITLE=\"" + EscapeHtml(tooltip) +
           "\" ><a CLASS=\"Item\" style=\"font-family: ; font-size: " + std::to_string(kFontSize) +
           "pt; color:#000000;\" language=\"VBScript\"  OnMouseOver=\"rollon()\" "
           "OnMouseOut=\"rollout()\" OnClick=\"OpenOLWindow('" +
           entry_id + "," + folder_key + "')\">";
}

inline std::string Tooltip(const DemoEntry& entry) {
    std::string date_text;
    if (entry.all_day) {
        date_text = FormatDateTime("c", entry.start);
    } else {
        date_text = FormatDateTime("d.m.yy hh:mm 'Uhr'", entry.start) +
                    FormatDateTime("' bis: 'd.m.yy hh:mm 'Uhr'", entry.end);
    }
    std::string details = entry.body;
    if (!entry.location.empty()) {
        details = entry.location + "\n" + details;
    }
    if (!entry.age.empty()) {
        details = entry.age + "\n" + details;
    }
    if (details.empty()) {
        details = "keine weiteren Informationen";
    }
    return date_text + "\n" + details;
}

inline std::vector<DemoEntry> DemoAppointments() {
    const auto at = [](int month, int day, int hour, int minute) {
        const int year = month == 1 ? 2005 : 2004;
        return EncodeDateTime(year, month, day, hour, minute);
    };
    const auto whole_day = [](int month, int day) {
        const int year = month == 1 ? 2005 : 2004;
        return EncodeDate(year, month, day);
    };
    std::vector<DemoEntry> entries = {
        {at(12, 1, 14, 0),
         at(12, 1, 14, 45),
         "Friseur",
         "Salon Haarmonie",
         "",
         {},
         false,
         false,
         ""},
        {whole_day(12, 6), whole_day(12, 7), "Nikolaus", "", "", {}, true, false, ""},
        {at(12, 8, 8, 30), at(12, 8, 9, 0), "Zahnarzt Dr. Lenz", "Praxis am Markt",
         "Kontrolle, Versichertenkarte mitnehmen", Importance::kHigh, false, false, ""},
        {at(12, 8, 12, 30),
         at(12, 8, 13, 30),
         "Mittagessen mit Jana & Tom",
         "Caf\u00e9 Rosa",
         "",
         {},
         false,
         false,
         ""},
        {at(12, 8, 15, 0),
         at(12, 8, 16, 30),
         "Quartalsplanung mit Vertrieb und Marketing: Zahlen <Q4> vorbereiten und Unterlagen "
         "mitbringen",
         "Raum 2.14",
         "Tagesordnung folgt per Mail",
         {},
         false,
         false,
         ""},
        {at(12, 9, 18, 30), at(12, 9, 20, 0), "Volleyball", "Sporthalle Nord", "", Importance::kLow,
         false, false, ""},
        {whole_day(12, 10),
         whole_day(12, 11),
         "35. Geburtstag Max",
         "",
         "",
         {},
         true,
         false,
         "Alter 35 Jahre"},
        {at(12, 10, 16, 0),
         at(12, 10, 17, 0),
         "Reifenwechsel",
         "Autohaus Berger",
         "",
         {},
         false,
         false,
         ""},
        {at(12, 11, 20, 0),
         at(12, 11, 22, 30),
         "Konzert im Stadtpark",
         "",
         "",
         {},
         false,
         false,
         ""},
        {whole_day(12, 12), whole_day(12, 13), "3. Advent", "", "", {}, true, false, ""},
        {at(12, 15, 10, 0), at(12, 15, 11, 30), "Kundentermin Fa. Berger", "Bahnhofstra\u00dfe 4",
         "", Importance::kHigh, false, false, ""},
        {at(12, 17, 19, 0),
         at(12, 17, 23, 0),
         "Weihnachtsfeier",
         "Ratskeller",
         "",
         {},
         false,
         false,
         ""},
        {at(12, 20, 9, 0),
         at(12, 21, 17, 0),
         "Messe Hannover",
         "Halle 9, Stand B12",
         "",
         {},
         false,
         false,
         ""},
        {whole_day(12, 24), whole_day(12, 25), "Heiligabend", "", "", {}, true, true, ""},
        {whole_day(12, 25), whole_day(12, 26), "1. Weihnachtstag", "", "", {}, true, true, ""},
        {whole_day(12, 26), whole_day(12, 27), "2. Weihnachtstag", "", "", {}, true, true, ""},
        {at(12, 31, 19, 30),
         at(1, 1, 2, 0),
         "Silvester bei Schmidts",
         "",
         "",
         {},
         false,
         false,
         ""},
        {whole_day(1, 1), whole_day(1, 2), "Neujahr", "", "", {}, true, true, ""},
    };
    // The weekly meeting on every Monday of the shown weeks.
    for (DateTime monday = EncodeDate(2004, 11, 29); monday < EncodeDate(2005, 1, 10);
         monday = DateTime(monday.value + 7)) {
        const CalendarDate date = DecodeDate(monday);
        entries.push_back({EncodeDateTime(date.year, date.month, date.day, 9, 0),
                           EncodeDateTime(date.year, date.month, date.day, 10, 0),
                           "Teambesprechung",
                           "Raum 2.14",
                           "",
                           {},
                           false,
                           false,
                           ""});
    }
    return entries;
}

struct DemoTask {
    DateTime due;  // zero: no due date
    std::string subject;
    Importance importance = Importance::kNormal;
};

inline std::vector<DemoTask> DemoTasks() {
    return {
        {EncodeDate(2004, 12, 8), "Weihnachtskarten schreiben", Importance::kHigh},
        {EncodeDate(2004, 12, 10), "Reisekosten abrechnen", Importance::kNormal},
        {EncodeDate(2004, 12, 16), "Geschenk f\u00fcr Oma besorgen", Importance::kNormal},
        {DateTime(), "Steuerunterlagen sortieren", Importance::kLow},
    };
}

inline void AddLine(std::string& text, const std::string& line) {
    text += line + "\r\n";
}

inline bool StartsOn(const DemoEntry& entry, DateTime day) {
    return DateOf(entry.start) == DateOf(day);
}

// Whether the entry is shown on the day: it starts that day, or it started before and runs
// past the day's midnight.
inline bool ShownOn(const DemoEntry& entry, DateTime day) {
    const DateTime midnight = DateOf(day);
    return StartsOn(entry, day) || (entry.start <= midnight && entry.end > midnight);
}

inline void AddAppointmentLines(std::string& text, const DemoEntry& entry, DateTime day, int number,
                                const std::string& template_folder) {
    const std::string subject =
        IconImage(entry.importance, template_folder) + EscapeHtml(entry.subject) + "<br>";
    const std::string prefix = entry.all_day ? "<li  style=\"color:#000000\";>" : "";
    AddLine(text, ItemLine(prefix, Tooltip(entry), EntryId(number), kFolderKey));
    if (entry.holiday) {
        AddLine(text,
                "<font style=\"color:Red ; font-size: " + std::to_string(kFontSize) + "pt\">");
        AddLine(text, "  " + subject);
        AddLine(text, "</font>");
        return;
    }
    if (entry.all_day) {
        AddLine(text, subject);
        AddLine(text, "</font></span>");
        AddLine(text, "</li>");
        return;
    }
    // A timed entry shows its start, or when it ends if it began on an earlier day.
    const bool same_day = DecodeDate(entry.start).day == DecodeDate(entry.end).day ||
                          DecodeDate(entry.start).day == DecodeDate(day).day;
    AddLine(text, same_day ? FormatDateTime("hh:mm 'Uhr'", entry.start)
                           : FormatDateTime("' bis: 'd.m.yy hh:mm 'Uhr'", entry.end));
    AddLine(text, subject);
    AddLine(text, "</font></span>");
}

inline void AddTaskLines(std::string& text, const DemoTask& task, int number,
                         const std::string& template_folder) {
    const std::string due_text = task.due.value == 0 ? "" : FormatDateTime("c", task.due) + "\n";
    const std::string tooltip = due_text + "keine weiteren Informationen";
    AddLine(text, ItemLine("<li type=\"circle\" style=\"color:#000000\";>", tooltip,
                           EntryId(500 + number), kTaskFolderKey));
    AddLine(text, IconImage(task.importance, template_folder) + EscapeHtml(task.subject) + "<br>");
    AddLine(text, "</font></span>");
    AddLine(text, "</li>");
}

// The appointments of the day, then its open tasks. template_folder ends with "/".
inline std::string DayText(DateTime day, const std::string& template_folder) {
    std::string text;
    AddLine(text, "<br>");
    const std::vector<DemoEntry> entries = DemoAppointments();
    std::vector<int> shown;
    for (int number = 0; number < static_cast<int>(entries.size()); ++number) {
        if (ShownOn(entries[number], day)) {
            shown.push_back(number);
        }
    }
    // In order of their start, as the calendar hands them out.
    std::stable_sort(shown.begin(), shown.end(),
                     [&entries](int a, int b) { return entries[a].start < entries[b].start; });
    for (const int number : shown) {
        AddAppointmentLines(text, entries[number], day, number, template_folder);
    }
    AddLine(text, "<br>");
    const std::vector<DemoTask> tasks = DemoTasks();
    for (int number = 0; number < static_cast<int>(tasks.size()); ++number) {
        if (tasks[number].due.value != 0 && DateOf(tasks[number].due) == DateOf(day)) {
            AddTaskLines(text, tasks[number], number, template_folder);
        }
    }
    return text;
}

// Every open task, whatever its due date.
inline std::string AllTasks(const std::string& template_folder) {
    std::string text;
    AddLine(text, "<br>");
    const std::vector<DemoTask> tasks = DemoTasks();
    for (int number = 0; number < static_cast<int>(tasks.size()); ++number) {
        AddTaskLines(text, tasks[number], number, template_folder);
    }
    return text;
}

// A page over the demo calendar: the design's files, a window of the given size filling a screen
// of the same size, and the window frame shown or hidden.
inline PageContext DemoPageContext(const FileSystem& files, SettingsStore& settings,
                                   const Clock& clock, TemplateSet templates, PixelSize window,
                                   bool frame_shown) {
    const std::string folder = templates.folder;
    return PageContext{
        .files = files,
        .settings = settings,
        .clock = clock,
        .templates = std::move(templates),
        .window_frame_shown = frame_shown,
        .window = window,
        .screen = window,
        .day_text = [folder](DateTime day) { return DayText(day, folder); },
        .all_tasks = [folder] { return AllTasks(folder); },
    };
}

// The six views with the names their pages are kept under.
struct DemoView {
    int view_kind;
    const char* name;
};

inline void PrintTo(const DemoView& view, std::ostream* out) {
    *out << view.name;
}

inline constexpr DemoView kDemoViews[] = {
    {0, "month"}, {1, "week"}, {2, "xdays"}, {3, "today"}, {4, "two_weeks"}, {5, "three_weeks"},
};

}  // namespace planwarte::demo
