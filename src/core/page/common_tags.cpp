#include "core/page/common_tags.h"

#include <cstdint>
#include <string_view>

#include "core/common/format_date_time.h"
#include "core/page/html_text.h"
#include "core/settings/setting_values.h"

namespace planwarte {

namespace {

// The settings the page's scripts read, opened afresh for each tag (created when missing);
// nothing when the settings cannot be opened.
std::string ObjectSettingTag(const PageContext& context, const std::string& name) {
    const auto key = context.settings.OpenKey(kSettingsKeyPath, true);
    if (!key) {
        return {};
    }
    if (name == "OBJECTCOLOR") {
        return std::to_string(ReadIntegerOr(*key, "BackgroundColor", 8421504));
    }
    if (name == "OBJECTFONT") {
        // Goes into an attribute or a style of the page: a stored face must not break it.
        return EscapeHtml(ReadStringOr(*key, "Font", "Arial"));
    }
    return std::to_string(ReadIntegerOr(*key, "FontColor", 0));
}

std::string PictureAddress(const PageContext& context, std::string_view file_name) {
    return FileUrl(context.templates.folder + std::string(file_name));
}

}  // namespace

std::string CommonTag(const PageContext& context, const std::string& name) {
    const DateTime today = context.now;
    if (name == "ACT_DAY") {
        return std::to_string(DecodeDate(today).day);
    }
    if (name == "ACT_DAYTEXT") {
        return FormatDateTime("dddd", today);
    }
    if (name == "ACT_MONTH") {
        return FormatDateTime("mmmm", today);
    }
    if (name == "ACT_YEAR") {
        return FormatDateTime("yyyy", today);
    }
    if (name == "BGHEADER") {
        return PictureAddress(context, "headerbg.gif");
    }
    if (name == "BACKIMG") {
        return PictureAddress(context, "back.gif");
    }
    if (name == "FORWARDIMG") {
        return PictureAddress(context, "forward.gif");
    }
    if (name == "HOMEIMG") {
        return PictureAddress(context, "home.gif");
    }
    if (name == "RESIZEIMG") {
        return PictureAddress(context, "resize.gif");
    }
    if (name == "BACK") {
        return context.english_edition ? "Back" : "Zurück";
    }
    if (name == "HOME") {
        return context.english_edition ? "Home" : "Heute";
    }
    if (name == "NEXT") {
        return context.english_edition ? "Next" : "Vor";
    }
    if (name == "OBJECTCOLOR" || name == "OBJECTFONT" || name == "OBJECTFONTCOLOR") {
        return ObjectSettingTag(context, name);
    }
    return {};
}

}  // namespace planwarte
