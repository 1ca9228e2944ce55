#include "core/page/day_tag_texts.h"

#include "core/common/format_date_time.h"
#include "core/common/string_table.h"

namespace planwarte {

std::string DayOfWeekText(const PageContext& context) {
    const std::string name = FormatDateTime("dddd", TagDay(context));
    return TagDayIsToday(context) ? "<b>" + name + "</b>" : name;
}

std::string DayOfMonthText(const PageContext& context) {
    return std::to_string(DecodeDate(TagDay(context)).day);
}

std::string BgColorDayText(const PageContext& context) {
    return BgColorAttribute(TagDayIsToday(context) ? context.values.today_color
                                                   : context.values.day_color);
}

std::string FontDateColorText(const PageContext& context) {
    return IsWeekend(TagDay(context)) ? context.values.weekend_color : context.values.font_color;
}

std::string DayTextOfTagDay(const PageContext& context) {
    const DateTime day = DateOf(TagDay(context));
    if (!context.values.text_before_today && day < DateOf(context.now)) {
        return {};
    }
    return context.day_text ? context.day_text(day) : std::string();
}

std::string CurrentDateText(const PageContext& context) {
    return FormatDateTime(LoadStr(msg::kCurrentDatePattern), DateOf(context.now));
}

std::string BgColorAttribute(const std::string& color) {
    return color.empty() ? std::string() : "bgcolor=" + color;
}

}  // namespace planwarte
