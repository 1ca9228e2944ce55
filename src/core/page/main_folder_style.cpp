#include "core/page/main_folder_style.h"

#include "core/settings/setting_values.h"

namespace planwarte {

FolderStyle MainFolderStyle(SettingsStore& settings) {
    FolderStyle style;
    style.show_clock = true;
    style.use_ol_font_color = false;
    style.holiday_in_use = true;
    const auto key = settings.OpenKey(kSettingsKeyPath, true);
    if (key) {
        style.font = ReadStringSetting(*key, "Font");
        style.font_size = static_cast<std::int16_t>(ReadIntegerSetting(*key, "FontSize"));
        style.font_color = ReadIntegerSetting(*key, "FontColor");
    }
    style.font_color_html = ColorToHtml(style.font_color);
    style.font_color_text = std::to_string(style.font_color);
    return style;
}

}  // namespace planwarte
