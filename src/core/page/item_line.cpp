#include "core/page/item_line.h"

#include <array>
#include <cstdint>

#include "core/common/format_date_time.h"
#include "core/common/string_table.h"
#include "core/outlook/item_access.h"
#include "core/page/html_text.h"
#include "core/page/item_text.h"
#include "core/page/script_text.h"
#include "core/settings/setting_values.h"

namespace planwarte {

namespace {

constexpr int kStartPatternId = 1303;  // "d.m.yy hh:mm 'Uhr'"
constexpr int kUntilPatternId = 1304;  // "' bis: 'd.m.yy hh:mm 'Uhr'"
constexpr int kNoDetailsId = 1212;     // "keine weiteren Informationen"

// The appointment label colours (0x00BBGGRR), by label index.
constexpr std::array<std::int32_t, 11> kLabelColours{
    0x000000, 0x7F97E4, 0xE79C84, 0x63DEA5, 0xD6E7E7, 0x9BB5FF,
    0xF7EF84, 0x84CED6, 0xF7A5C6, 0xC6CEA5, 0x73E7FF,
};

enum class EntryKind { kAppointment, kTask };

// The object model's "no date" (1 January 4501), the due date of a task that has none.
bool IsNoDate(DateTime date) {
    return DateOf(date) == EncodeDate(4501, 1, 1);
}

// What the tooltip and the list form of an entry are made from.
struct EntryDetails {
    EntryKind kind;
    bool date_only = true;
    bool dated = true;  // false: the tooltip has no date line
    DateTime start{};
    DateTime end{};
    std::string location{};
    std::string body{};
};

bool IsUtf8ContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The first kTooltipBodyLimit characters and "...", cut between characters, not inside one.
std::string ShortenedBody(std::string body) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (IsUtf8ContinuationByte(body[i])) {
            continue;
        }
        if (characters == kTooltipBodyLimit) {
            body.resize(i);
            return body + "...";
        }
        ++characters;
    }
    return body;
}

std::string DateText(const EntryDetails& details) {
    if (details.date_only) {
        return FormatDateTime("c", details.start);
    }
    return FormatDateTime(LoadStr(kStartPatternId), details.start) +
           FormatDateTime(LoadStr(kUntilPatternId), details.end);
}

std::string TooltipText(const EntryDetails& details, const std::string& age_text) {
    std::string text = ShortenedBody(details.body);
    if (!details.location.empty()) {
        text = details.location + "\n" + text;
    }
    if (!age_text.empty()) {
        text = age_text + "\n" + text;
    }
    if (text.empty()) {
        text = LoadStr(kNoDetailsId);
    }
    if (details.dated) {
        text = DateText(details) + "\n" + text;
    }
    return Trim(text);
}

std::string ComposeItemLine(const EntryDetails& details, const std::string& age_text,
                            const FolderStyle& style, const ItemLink& link) {
    const std::string style_text = " style=\"color:" + style.font_color_html + "\";";
    std::string prefix;
    if (style.show_clock) {
        if (details.kind == EntryKind::kTask) {
            prefix = "<li type=\"circle\"" + style_text + ">";
        } else if (details.date_only) {
            prefix = "<li " + style_text + ">";
        }
    }
    // The calendar's texts and IDs come from outside: each is escaped for where it stands.
    return prefix + "<span TITLE=\"" + EscapeHtml(TooltipText(details, age_text)) +
           "\" ><a CLASS=\"Item\" style=\"font-family: " + EscapeHtml(style.font) +
           "; font-size: " + std::to_string(style.font_size) +
           "pt; color:" + style.font_color_html +
           ";\" language=\"VBScript\"  OnMouseOver=\"rollon()\" OnMouseOut=\"rollout()\" "
           "OnClick=\"OpenOLWindow('" +
           EscapeScriptStringInAttribute(link.item_entry_id + "," + link.folder_entry_id) + "')\">";
}

}  // namespace

std::string ItemLine(const DayTextSources& sources, const std::string& age_text,
                     const std::shared_ptr<OlAppointmentItem>& appointment, FolderStyle& style,
                     const ItemLink& link) {
    EntryDetails details{.kind = EntryKind::kAppointment,
                         .date_only = appointment->AllDayEvent(),
                         .start = appointment->Start(),
                         .end = appointment->End(),
                         .location = appointment->Location()};
    const auto safe =
        CreateSafeAppointment(sources.safe_items, appointment, SafeItemUser::kPageBuild,
                              sources.safe_item_messages, sources.notice);
    if (!safe) {
        return {};
    }
    details.body = ReadAppointmentBody(
        *appointment, *safe, [&](const std::string& error) { sources.trace("_7_" + error); });
    if (style.use_ol_font_color) {
        const std::int32_t label = ReadLabelColourIndex(*appointment, *safe);
        if (label >= 0 && label < static_cast<std::int32_t>(kLabelColours.size())) {
            style.font_color_html = ColorToHtml(kLabelColours[static_cast<std::size_t>(label)]);
        }
    }
    return ComposeItemLine(details, age_text, style, link);
}

std::string ItemLine(const DayTextSources& sources, const std::shared_ptr<OlTaskItem>& task,
                     const FolderStyle& style, const ItemLink& link) {
    const DateTime due = task->DueDate();
    const auto safe = CreateSafeTask(sources.safe_items, task);
    if (!safe) {
        return {};
    }
    // A task without due date would otherwise show the object model's stand-in for "none",
    // 01.01.4501, as if it were due then.
    const EntryDetails details{.kind = EntryKind::kTask,
                               .date_only = true,
                               .dated = !IsNoDate(due),
                               .start = due,
                               .end = due,
                               .body = ReadTaskBody(*safe)};
    return ComposeItemLine(details, {}, style, link);
}

}  // namespace planwarte
