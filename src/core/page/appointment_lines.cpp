#include "core/page/appointment_lines.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "core/app/clock.h"
#include "core/common/format_date_time.h"
#include "core/common/string_table.h"
#include "core/outlook/item_access.h"
#include "core/page/age_text.h"
#include "core/page/day_filters.h"
#include "core/page/found_items_walk.h"
#include "core/page/item_line.h"
#include "core/page/item_text.h"

namespace planwarte {

namespace {

constexpr int kReadingFolderId = 1301;  // "lesen"
constexpr int kTimePatternId = 1302;    // "hh:mm 'Uhr'"
constexpr int kUntilPatternId = 1304;   // "' bis: 'd.m.yy hh:mm 'Uhr'"
constexpr int kHolidayWordId = 1305;    // "FEIERTAG"
constexpr int kBirthdayWordId = 1306;   // "Geburtstag"

constexpr const char* kAppointmentColumns =
    "[Body],[Location],[Categories],[Importance],[IsRecurring],[AllDayEvent]";

std::string UpperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return text;
}

// One calendar folder walked for one day. The style is the folder's own copy, which the
// entries may change for the entries after them (font size, label colour).
class CalendarWalk {
  public:
    CalendarWalk(const DayTextSources& sources, const TMAPIFolderObject& folder,
                 std::string folder_entry_id, DateTime day, std::vector<std::string>& lines)
        : sources_(sources),
          folder_(folder),
          folder_entry_id_(std::move(folder_entry_id)),
          style_(folder.style),
          day_(day),
          lines_(lines) {}

    void Run();

  private:
    void AddEntry(const std::shared_ptr<OlItem>& item);
    std::string BirthdayAge(OlAppointmentItem& appointment, std::string& text);
    std::string TimeText(const OlAppointmentItem& appointment) const;
    void AddClosingLines(bool holiday, const std::string& time_text, const std::string& text,
                         bool has_opening);
    void Announce(const OlAppointmentItem& appointment, const std::string& time_text) const;
    void Trace(const std::string& marker, const std::exception& error) const {
        sources_.trace(marker + error.what());
    }

    const DayTextSources& sources_;
    const TMAPIFolderObject& folder_;
    std::string folder_entry_id_;
    FolderStyle style_;
    DateTime day_;
    std::vector<std::string>& lines_;
};

void CalendarWalk::Run() {
    if (!folder_.folder) {
        sources_.ensure_session();
        return;
    }
    OlFolder& folder = *folder_.folder;
    sources_.progress_step(folder.Name() + " " + LoadStr(kReadingFolderId));
    const std::string filter = AppointmentsOfDayFilter(day_);

    std::shared_ptr<OlItems> items;
    try {
        items = folder.Items();
        if (!items) {
            throw OutlookError("Items", "no collection");
        }
    } catch (const std::exception& error) {
        Trace("_8_", error);
        return;
    }
    try {
        items->SetColumns(kAppointmentColumns);
    } catch (const std::exception& error) {
        Trace("_897_", error);
    }
    std::shared_ptr<OlItem> item;
    try {
        // Sorted before the recurrences are included: each occurrence is then found as an
        // item of its own, in start order.
        items->Sort("[Start]", false);
        items->SetIncludeRecurrences(true);
        item = items->Find(filter);
    } catch (const std::exception& error) {
        Trace("_9_", error);
        return;
    }
    WalkFoundItems(
        *items, std::move(item), [this](const std::shared_ptr<OlItem>& found) { AddEntry(found); },
        [this](const std::exception& error) { Trace("_11_", error); },
        [this](const std::exception& error) { Trace("_12_", error); });
}

void CalendarWalk::AddEntry(const std::shared_ptr<OlItem>& item) {
    const auto appointment = std::dynamic_pointer_cast<OlAppointmentItem>(item);
    if (!appointment) {
        throw OutlookError("AppointmentItem", "the item is not an appointment");
    }
    const bool holiday =
        UpperAscii(appointment->Categories()).find(LoadStr(kHolidayWordId)) != std::string::npos;
    style_.font_size = ReadableFontSize(style_.font_size);
    std::string text = EntryText(appointment->Importance(), appointment->Subject(),
                                 style_.font_size, sources_.template_folder);
    const ItemLink link{.item_entry_id = appointment->EntryID(),
                        .folder_entry_id = folder_entry_id_};
    const std::string age = BirthdayAge(*appointment, text);
    const std::string opening = ItemLine(sources_, age, appointment, style_, link);
    const std::string time_text = TimeText(*appointment);
    // A folder that does not show its holidays leaves them out altogether: their opening line
    // alone would show as an empty list item and hold a tooltip nobody can point at.
    if (!holiday || style_.holiday_in_use) {
        lines_.push_back(opening);
        AddClosingLines(holiday, time_text, text, !opening.empty());
    }
    Announce(*appointment, time_text);
}

// For a birthday series: puts the age reached this year in front of the text and answers the
// age on the current date; answers the empty text for other appointments.
std::string CalendarWalk::BirthdayAge(OlAppointmentItem& appointment, std::string& text) {
    try {
        const std::string birthday = LoadStr(kBirthdayWordId);
        const bool named_birthday = appointment.Categories().find(birthday) != std::string::npos ||
                                    appointment.Subject().find(birthday) != std::string::npos;
        if (!named_birthday || !appointment.IsRecurring()) {
            return {};
        }
        const DateTime born = SeriesStartDate(appointment, *folder_.folder, sources_.trace);
        if (born == DateTime{}) {
            return {};
        }
        const DateTime today = sources_.clock.Now();
        const std::string reached =
            AgeText(born, today, AgeForm::kNumberOnly, sources_.english_edition);
        std::string age = AgeText(born, today, AgeForm::kFull, sources_.english_edition);
        // A series that starts this year has no age yet; a bare ". " in front of the subject
        // would only look like a typing error.
        if (!reached.empty()) {
            text = reached + ". " + text;
        }
        return age;
    } catch (const std::exception& error) {
        Trace("_10_", error);
        return {};
    }
}

// The start time, or for an appointment that began on an earlier day, when it ends; nothing
// for an all-day appointment.
std::string CalendarWalk::TimeText(const OlAppointmentItem& appointment) const {
    try {
        if (appointment.AllDayEvent()) {
            return {};
        }
        const DateTime start = appointment.Start();
        const DateTime end = appointment.End();
        const int start_day = DecodeDate(start).day;
        if (start_day == DecodeDate(end).day || start_day == DecodeDate(day_).day) {
            return FormatDateTime(LoadStr(kTimePatternId), start);
        }
        return FormatDateTime(LoadStr(kUntilPatternId), end);
    } catch (const std::exception&) {
        return {};
    }
}

void CalendarWalk::AddClosingLines(bool holiday, const std::string& time_text,
                                   const std::string& text, bool has_opening) {
    // The opening line's link is closed with the entry; an entry left open would take the
    // following entries into its link and tooltip.
    const std::string close_link = has_opening ? "</a>" : "";
    // An entry without time text is an all-day one, which the list form opens as a list item.
    const bool closes_list_item = time_text.empty() && style_.show_clock;
    if (holiday) {
        lines_.push_back(
            "<font style=\"color:Red ; font-size: " + std::to_string(style_.font_size) + "pt\">");
        lines_.push_back("  " + TrimRight(text));
        lines_.push_back("</font>");
        if (has_opening) {
            lines_.push_back("</a></span>");
        }
        // Closed like any other all-day entry, so the entries after it are not taken into it.
        if (closes_list_item) {
            lines_.push_back("</li>");
        }
        return;
    }
    if (!time_text.empty() && style_.show_clock) {
        lines_.push_back(time_text);
    }
    lines_.push_back(TrimRight(text));
    lines_.push_back(close_link + "</font></span>");
    if (closes_list_item) {
        lines_.push_back("</li>");
    }
}

// The first page build since start-up speaks today's appointments that are still to come or
// running, and the all-day ones.
void CalendarWalk::Announce(const OlAppointmentItem& appointment,
                            const std::string& time_text) const {
    if (!sources_.first_page_build || !sources_.announce_appointment) {
        return;
    }
    const DateTime now = sources_.clock.Now();
    if (DateOf(day_) != DateOf(now)) {
        return;
    }
    if (appointment.End() >= now || appointment.Start() >= now || appointment.AllDayEvent()) {
        sources_.announce_appointment(time_text, appointment.Subject());
    }
}

}  // namespace

void AppendAppointmentsOfDay(const DayTextSources& sources, DateTime day,
                             std::vector<std::string>& lines) {
    lines.push_back("<br>");
    for (const UsedFolderLine& line : sources.calendars) {
        if (!line.object) {
            continue;
        }
        try {
            CalendarWalk(sources, *line.object, line.name, day, lines).Run();
        } catch (const std::exception& error) {
            sources.trace(std::string("_19_") + error.what());
        }
    }
}

}  // namespace planwarte
