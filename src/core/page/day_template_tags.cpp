#include "core/page/day_template_tags.h"

#include "core/page/common_tags.h"
#include "core/page/day_tag_texts.h"

namespace planwarte {

TagHandler DayTemplateTags(PageContext& context) {
    return [&context](const std::string& name, const TagParameters&) -> std::string {
        if (name == "FONTCOLOR") {
            return context.values.font_color;
        }
        if (name == "FONTSIZE") {
            return std::to_string(context.values.font_size);
        }
        if (name == "DAYOFWEEK") {
            return DayOfWeekText(context);
        }
        if (name == "DAY") {
            return DayOfMonthText(context);
        }
        if (name == "BGCOLORDAY") {
            return BgColorDayText(context);
        }
        if (name == "FONTDATECOLOR") {
            return FontDateColorText(context);
        }
        if (name == "DAYTEXT") {
            return DayTextOfTagDay(context);
        }
        return CommonTag(context, name);
    };
}

}  // namespace planwarte
