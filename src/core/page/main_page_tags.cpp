#include "core/page/main_page_tags.h"

#include <cstdint>

#include "core/page/body_template.h"
#include "core/page/common_tags.h"
#include "core/page/html_text.h"
#include "core/page/month_body_tags.h"
#include "core/page/week_body_tags.h"
#include "core/settings/setting_values.h"

namespace planwarte {

namespace {

// The window colour: white while the frame is shown; without frame the colour 8, which is the
// window's transparent key, so the desktop shows through the page background.
constexpr std::int32_t kFramedWindowColor = 0xFFFFFF;
constexpr std::int32_t kFramelessWindowColor = 8;
// The system's tooltip background colour.
constexpr std::int32_t kInfoBackgroundColor = static_cast<std::int32_t>(0x80000018u);

// The calendar's box inside the window, 16-bit values as the page scripts expect them.
void SetCalendarBox(PageContext& context) {
    context.kal_x = 0;
    context.kal_y = 5;
    context.kal_w = static_cast<std::int16_t>(context.window.width - 10);
    context.kal_h = static_cast<std::int16_t>(context.window.height - 40);
}

std::string CalendarBody(PageContext& context) {
    if (context.values.view_kind == static_cast<int>(ViewKind::kMonth)) {
        return ExpandTemplate(context.files, context.templates.monat, MonthBodyTags(context));
    }
    const std::string path = BodyTemplatePath(context.templates, context.layout.body);
    if (path.empty()) {
        // A view kind the program does not know has no body: the page stays empty there.
        return {};
    }
    return ExpandTemplate(context.files, path, WeekBodyTags(context));
}

}  // namespace

TagHandler MainPageTags(PageContext& context) {
    return [&context](const std::string& name, const TagParameters&) -> std::string {
        SetCalendarBox(context);
        if (name == "FONTSIZE") {
            return std::to_string(context.values.font_size);
        }
        if (name == "FONT") {
            return EscapeHtml(context.values.font_face);
        }
        if (name == "FONTCOLOR") {
            return context.values.font_color;
        }
        if (name == "INFOCOLOR") {
            return ColorToHtml(kInfoBackgroundColor);
        }
        if (name == "BGCOLOR") {
            return ColorToHtml(context.window_frame_shown ? kFramedWindowColor
                                                          : kFramelessWindowColor);
        }
        if (name == "SCREENWIDTH") {
            return std::to_string(context.screen.width);
        }
        if (name == "SCREENHEIGHT") {
            return std::to_string(context.screen.height - 20);
        }
        if (name == "KALX") {
            return std::to_string(context.kal_x);
        }
        if (name == "KALY") {
            return std::to_string(context.kal_y);
        }
        if (name == "KALH") {
            return std::to_string(context.kal_h);
        }
        if (name == "KALW") {
            return std::to_string(context.kal_w);
        }
        if (name == "KALENDER") {
            return CalendarBody(context);
        }
        return CommonTag(context, name);
    };
}

}  // namespace planwarte
