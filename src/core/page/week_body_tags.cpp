#include "core/page/week_body_tags.h"

#include <optional>

#include "core/common/string_table.h"
#include "core/page/common_tags.h"
#include "core/page/day_tag_texts.h"
#include "core/page/day_template_tags.h"
#include "core/settings/setting_values.h"

namespace planwarte {

namespace {

std::optional<int> ReadOptionalInteger(SettingsKey& key, std::string_view name) {
    try {
        return key.ReadInteger(name);
    } catch (const SettingsError&) {
        return std::nullopt;
    }
}

// One day block per day from daysBack days before the first shown day to xTage - 1 days after
// it. The settings key is only looked at, never created, here.
std::string XDaysRunText(PageContext& context) {
    XDaysRun run;
    if (const auto key = context.settings.OpenKey(kSettingsKeyPath, false)) {
        run = XDaysRunFor(true, ReadOptionalInteger(*key, "xTage"),
                          ReadOptionalInteger(*key, "daysBack"));
    } else {
        run = XDaysRunFor(false, std::nullopt, std::nullopt);
    }
    const TagHandler block_tags = DayTemplateTags(context);
    std::string text;
    for (int offset = run.first_offset; offset <= run.last_offset; ++offset) {
        context.day_offset = static_cast<std::int16_t>(offset);
        text += ExpandTemplate(context.files, context.templates.xtagetag, block_tags);
    }
    return text;
}

}  // namespace

TagHandler WeekBodyTags(PageContext& context) {
    return [&context](const std::string& name, const TagParameters& parameters) -> std::string {
        TakeDayOffset(context, parameters, 0);
        if (name == "XTAGE") {
            return XDaysRunText(context);
        }
        if (name == "DAYOFWEEK") {
            return DayOfWeekText(context);
        }
        if (name == "DAY") {
            return DayOfMonthText(context);
        }
        if (name == "KW") {
            // The week of the current date, whatever day the tag shows.
            return LoadStr(msg::kWeekNumberCaption) + std::to_string(WeekNumber(context.now));
        }
        if (name == "DATUM") {
            return CurrentDateText(context);
        }
        if (name == "BGCOLOR") {
            return context.values.day_color;
        }
        if (name == "BGCOLORHEADER") {
            return BgColorAttribute(context.values.day_color);
        }
        if (name == "BGCOLORDAY") {
            return BgColorDayText(context);
        }
        if (name == "DAYCOLOR") {
            return TagDayIsToday(context) ? context.values.today_color : context.values.day_color;
        }
        if (name == "FONTCOLOR") {
            return context.values.font_color;
        }
        if (name == "FONTSIZE") {
            return std::to_string(context.values.font_size);
        }
        if (name == "FONTDATECOLOR") {
            return FontDateColorText(context);
        }
        if (name == "DAYTEXT") {
            return DayTextOfTagDay(context);
        }
        if (name == "CAPTIONTASKS") {
            return LoadStr(msg::kTasksCaption);
        }
        if (name == "CAPTIONAPPS") {
            return LoadStr(msg::kAppointmentsCaption);
        }
        if (name == "TASKS") {
            return context.all_tasks ? context.all_tasks() : std::string();
        }
        return CommonTag(context, name);
    };
}

}  // namespace planwarte
