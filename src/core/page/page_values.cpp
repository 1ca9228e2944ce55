#include "core/page/page_values.h"

#include <string_view>

#include "core/page/page_layout.h"
#include "core/settings/setting_values.h"

namespace planwarte {

namespace {

// A cell colour with its transparency flag: no colour while the flag is set. Without a stored
// colour or flag the cells stay transparent, and the flag is stored as set so that the settings
// dialog shows them so.
std::string CellColorText(SettingsKey& key, std::string_view color_name,
                          std::string_view transparent_name) {
    try {
        const std::int32_t color = key.ReadInteger(color_name);
        const bool transparent = key.ReadBool(transparent_name);
        return transparent ? std::string() : ColorToHtml(color);
    } catch (const SettingsError&) {
        key.WriteBool(transparent_name, true);
        return {};
    }
}

}  // namespace

PageValues ReadPageValues(SettingsStore& settings) {
    PageValues values;
    const auto key = settings.OpenKey(kSettingsKeyPath, true);
    if (!key) {
        return values;
    }
    values.font_face = ReadStringSetting(*key, "Font");
    values.font_size = ReadIntegerSetting(*key, "FontSize");
    values.font_color = ColorToHtml(ReadIntegerSetting(*key, "FontColor"));
    values.day_color = CellColorText(*key, "BackgroundColorDays", "BackgroundColorDaysTransparent");
    values.today_color =
        CellColorText(*key, "BackgroundColorToday", "BackgroundColorTodayTransparent");
    values.weekend_color = ColorToHtml(ReadIntegerSetting(*key, "WeekendColor"));
    values.view_kind = ReadIntegerSetting(*key, "VORLAGE");
    values.first_weekday = FirstWeekdayFromSetting(ReadIntegerSetting(*key, "FirstDayOfWeek"));
    values.text_before_today = ReadBoolSetting(*key, "vorHeute");
    values.show_full_weeks = ReadBoolSetting(*key, "showFullWeeksInMonthView");
    return values;
}

}  // namespace planwarte
