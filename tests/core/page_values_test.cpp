#include "core/page/page_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "adapters/fake/memory_settings_store.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

constexpr std::int32_t kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kNotAFlag = -99;  // marks "leave the flag absent"

TEST(PageValues, EmptyStoreGivesThePlainPage) {
    MemorySettingsStore settings;
    const PageValues values = ReadPageValues(settings);
    EXPECT_EQ(values.font_face, "");
    EXPECT_EQ(values.font_size, 8);
    EXPECT_EQ(values.font_color, "#000000");
    EXPECT_EQ(values.day_color, "");
    EXPECT_EQ(values.today_color, "");
    EXPECT_EQ(values.weekend_color, "#FF0000");
    EXPECT_EQ(values.view_kind, 1);
    EXPECT_EQ(values.first_weekday, 2);
    EXPECT_TRUE(values.text_before_today);
    EXPECT_FALSE(values.show_full_weeks);
    // The key is created, and the transparency flags are stored as set.
    EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, "BackgroundColorDaysTransparent"), 1);
    EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, "BackgroundColorTodayTransparent"), 1);
}

TEST(PageValues, StoredValuesBecomePageTexts) {
    MemorySettingsStore settings;
    settings.SetString(kSettingsKeyPath, "Font", "Verdana");
    settings.SetInteger(kSettingsKeyPath, "FontSize", 10);
    settings.SetInteger(kSettingsKeyPath, "FontColor", kBlue);
    settings.SetInteger(kSettingsKeyPath, "WeekendColor", kGreen);
    settings.SetInteger(kSettingsKeyPath, "VORLAGE", 7);
    settings.SetInteger(kSettingsKeyPath, "FirstDayOfWeek", 6);
    settings.SetInteger(kSettingsKeyPath, "vorHeute", 0);
    settings.SetInteger(kSettingsKeyPath, "showFullWeeksInMonthView", 1);
    const PageValues values = ReadPageValues(settings);
    EXPECT_EQ(values.font_face, "Verdana");
    EXPECT_EQ(values.font_size, 10);
    EXPECT_EQ(values.font_color, "#0000FF");
    EXPECT_EQ(values.weekend_color, "#00FF00");
    EXPECT_EQ(values.view_kind, 7);      // kept as stored; the layout decides what it means
    EXPECT_EQ(values.first_weekday, 1);  // Sunday
    EXPECT_FALSE(values.text_before_today);
    EXPECT_TRUE(values.show_full_weeks);
}

TEST(PageValues, FontOfAnotherTypeGivesTheDefaultFace) {
    MemorySettingsStore settings;
    settings.SetInteger(kSettingsKeyPath, "Font", 3);
    EXPECT_EQ(ReadPageValues(settings).font_face, "Comic Sans Ms");
}

TEST(PageValues, CellColoursFollowTheirTransparencyFlags) {
    struct Case {
        const char* name;
        std::optional<std::int32_t> color;
        std::int32_t flag;  // kNotAFlag: absent
        std::string expected_text;
        std::int32_t expected_flag;
    };
    const std::vector<Case> cases = {
        {"colour and flag off", kGreen, 0, "#00FF00", 0},
        {"colour but transparent", kGreen, 1, "", 1},
        {"colour without flag", kGreen, kNotAFlag, "", 1},
        {"flag off without colour", std::nullopt, 0, "", 1},
        {"nothing stored", std::nullopt, kNotAFlag, "", 1},
    };
    struct Pair {
        const char* color_name;
        const char* flag_name;
        std::string PageValues::*text;
    };
    const std::vector<Pair> pairs = {
        {"BackgroundColorDays", "BackgroundColorDaysTransparent", &PageValues::day_color},
        {"BackgroundColorToday", "BackgroundColorTodayTransparent", &PageValues::today_color},
    };
    for (const Pair& pair : pairs) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(pair.color_name) + ": " + c.name);
            MemorySettingsStore settings;
            settings.CreateKey(kSettingsKeyPath);
            if (c.color) {
                settings.SetInteger(kSettingsKeyPath, pair.color_name, *c.color);
            }
            if (c.flag != kNotAFlag) {
                settings.SetInteger(kSettingsKeyPath, pair.flag_name, c.flag);
            }
            EXPECT_EQ(ReadPageValues(settings).*pair.text, c.expected_text);
            EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, pair.flag_name), c.expected_flag);
        }
    }
}

TEST(PageValues, UnreachableStoreGivesTheBuiltInValues) {
    MemorySettingsStore settings;
    settings.SetInteger(kSettingsKeyPath, "FontSize", 12);
    settings.SetUnavailable(true);
    const PageValues values = ReadPageValues(settings);
    EXPECT_EQ(values.font_size, 8);
    EXPECT_EQ(values.weekend_color, "#FF0000");
    EXPECT_EQ(settings.WriteCount(), 0);
}

}  // namespace
}  // namespace planwarte
