#include "core/page/month_body_tags.h"

#include <optional>

#include "core/common/format_date_time.h"
#include "core/common/string_table.h"
#include "core/page/common_tags.h"
#include "core/page/day_tag_texts.h"
#include "core/page/day_template_tags.h"

namespace planwarte {

namespace {

// WD1 .. WD7: the weekday names of the header row, WD1 naming the first day of the week.
std::optional<std::string> WeekdayHeader(const PageContext& context, const std::string& name) {
    if (name.size() != 3 || name[0] != 'W' || name[1] != 'D' || name[2] < '1' || name[2] > '7') {
        return std::nullopt;
    }
    const int column = name[2] - '1';
    const int sunday_based = ((context.values.first_weekday - 1 + column) % 7 + 7) % 7;
    return LoadStr(msg::kSundayName + sunday_based);
}

std::string MonthCell(PageContext& context) {
    if (!context.month_grid.CellShown(context.layout.first_shown_day,
                                      context.layout.displayed_month, context.day_offset,
                                      context.values.show_full_weeks)) {
        return {};
    }
    return ExpandTemplate(context.files, context.templates.tag, DayTemplateTags(context));
}

}  // namespace

TagHandler MonthBodyTags(PageContext& context) {
    return [&context](const std::string& name, const TagParameters& parameters) -> std::string {
        const std::optional<std::string> header = WeekdayHeader(context, name);
        TakeDayOffset(context, parameters, -1);
        if (header) {
            return *header;
        }
        if (name == "WIDTH") {
            return std::to_string(context.kal_w / 7 - 4);
        }
        if (name == "MONTH") {
            // A week after the first shown day always lies in the month shown.
            return FormatDateTime("mmmm yyyy", DateTime(context.layout.first_shown_day.value + 7));
        }
        if (name == "MONTHTEXT") {
            return FormatDateTime("mmmm", context.layout.first_shown_day);
        }
        if (name == "FONTDATECOLOR") {
            return FontDateColorText(context);
        }
        if (name == "DAY") {
            return MonthCell(context);
        }
        if (name == "FONTCOLOR") {
            return context.values.font_color;
        }
        if (name == "BGCOLOR") {
            // Marks the column of today's weekday.
            const bool todays_weekday = DayOfWeek(TagDay(context)) == DayOfWeek(context.now);
            return BgColorAttribute(todays_weekday ? context.values.today_color
                                                   : context.values.day_color);
        }
        if (name == "DATUM") {
            return CurrentDateText(context);
        }
        return CommonTag(context, name);
    };
}

}  // namespace planwarte
