#include "core/settings/setting_values.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "adapters/fake/memory_settings_store.h"
#include "core/settings/key_names.h"

namespace planwarte {
namespace {

// Every value name the settings key holds (the per-folder sub-keys have their own).
const std::vector<std::string> kAllNames = {"UseDelay",
                                            "Delay",
                                            "VORLAGE",
                                            "FormPosTopMonth",
                                            "FormPosLeftMonth",
                                            "FormPosWidthMonth",
                                            "FormPosHeightMonth",
                                            "FormPosTopNormal",
                                            "FormPosLeftNormal",
                                            "FormPosWidthNormal",
                                            "FormPosHeightNormal",
                                            "divL",
                                            "divT",
                                            "Alpha",
                                            "AlphaAktive",
                                            "TransparenzOnActiveWindow",
                                            "Design",
                                            "Font",
                                            "FontSize",
                                            "FontColor",
                                            "BackgroundColorDays",
                                            "BackgroundColorDaysTransparent",
                                            "BackgroundColorToday",
                                            "BackgroundColorTodayTransparent",
                                            "WeekendColor",
                                            "BackgroundColor",
                                            "showFullWeeksInMonthView",
                                            "FirstDayOfWeek",
                                            "vorHeute",
                                            "xTage",
                                            "daysBack",
                                            "CreateHtmlFile",
                                            "CharacterUsed",
                                            "AgentFromFileSystem",
                                            "AgentZoom",
                                            "AgentLastPositionX",
                                            "AgentLastPositionY",
                                            "AgentVoiceModeID",
                                            "CharacterSayTime",
                                            "CharacterSayTimeAll",
                                            "AgentChecksMail",
                                            "AgentReadsSubject",
                                            "AgentRemindsMe",
                                            "ReminderZyklisch",
                                            "ReminderZyklusHigh",
                                            "ReminderZyklusNormal",
                                            "ReminderZyklusLow",
                                            "SPAgentHallo",
                                            "SPAgentHalloFrueh",
                                            "SPAgentHalloMittag",
                                            "SPAgentHalloAbend",
                                            "SPAgentTime",
                                            "SPAgentCheckMail",
                                            "SBAgentAppointments",
                                            "SBAgentReminder"};

TEST(SettingValuesTest, TableHoldsEveryNameOnceAndFindsItInAnyCase) {
    std::set<std::string> table_names;
    for (const SettingValue& entry : SettingValues()) {
        EXPECT_TRUE(table_names.insert(FoldCase(entry.name)).second) << "twice: " << entry.name;
    }
    std::set<std::string> expected;
    for (const std::string& name : kAllNames) {
        expected.insert(FoldCase(name));
        EXPECT_EQ(SettingValueOf(name).name, name);
        EXPECT_EQ(SettingValueOf(FoldCase(name)).name, name);
    }
    EXPECT_EQ(table_names, expected);
    EXPECT_THROW(SettingValueOf("FontSiez"), std::out_of_range);
    EXPECT_THROW(SettingValueOf("isUsed"), std::out_of_range);  // a per-folder value
}

// Reading from an empty settings key: what each reader gets, and which defaults are stored.
TEST(SettingValuesTest, EmptyKeyGivesTheDefaultsAndStoresOnlyTheMarkedOnes) {
    struct Case {
        const char* name;
        std::int32_t value;  // bools as 0 / 1
        bool stored;
    };
    const std::vector<Case> integers = {
        {"Delay", 3, false},
        {"VORLAGE", 1, false},
        {"FormPosTopNormal", 10, false},
        {"FormPosTopMonth", 10, false},
        {"divL", 3, false},
        {"divT", 5, false},
        {"Alpha", 240, false},
        {"AlphaAktive", 255, false},
        {"FontSize", 8, false},
        {"FontColor", 0, false},
        {"WeekendColor", 0x0000FF, false},
        {"BackgroundColor", 8421504, false},
        {"FirstDayOfWeek", 0, false},
        {"xTage", 5, false},
        {"daysBack", 0, false},
        {"AgentLastPositionX", 0, false},
        {"CharacterSayTimeAll", 1, false},
        {"ReminderZyklusHigh", 5, false},
        {"ReminderZyklusNormal", 5, false},
        {"ReminderZyklusLow", 5, false},
    };
    const std::vector<Case> bools = {
        {"UseDelay", 1, true},
        {"TransparenzOnActiveWindow", 0, false},
        {"BackgroundColorDaysTransparent", 1, true},
        {"BackgroundColorTodayTransparent", 1, true},
        {"showFullWeeksInMonthView", 0, false},
        {"vorHeute", 1, false},
        {"CreateHtmlFile", 0, false},
        {"CharacterUsed", 0, true},
        {"AgentZoom", 0, true},
        {"CharacterSayTime", 1, false},
        {"AgentChecksMail", 0, true},
        {"AgentReadsSubject", 0, true},
        {"AgentRemindsMe", 1, false},
        {"ReminderZyklisch", 0, false},
    };
    MemorySettingsStore store;
    auto key = store.OpenKey(kSettingsKeyPath, true);
    ASSERT_NE(key, nullptr);
    for (const Case& c : integers) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadIntegerSetting(*key, c.name), c.value);
        EXPECT_EQ(store.HasValue(kSettingsKeyPath, c.name), c.stored);
    }
    for (const Case& c : bools) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadBoolSetting(*key, c.name), c.value != 0);
        if (c.stored) {
            EXPECT_EQ(store.IntegerValue(kSettingsKeyPath, c.name), c.value);
        } else {
            EXPECT_FALSE(store.HasValue(kSettingsKeyPath, c.name));
        }
    }
    // Texts: absent reads as the empty text and nothing is stored.
    for (const char* name : {"Design", "Font", "AgentFromFileSystem", "SPAgentHallo"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadStringSetting(*key, name), "");
        EXPECT_FALSE(store.HasValue(kSettingsKeyPath, name));
    }
}

TEST(SettingValuesTest, WronglyTypedValueIsReadAsAbsent) {
    MemorySettingsStore store;
    store.SetString(kSettingsKeyPath, "FontSize", "12");
    store.SetRaw(kSettingsKeyPath, "vorHeute", "\x01");
    store.SetString(kSettingsKeyPath, "AgentZoom", "true");
    store.SetInteger(kSettingsKeyPath, "Font", 3);
    store.SetRaw(kSettingsKeyPath, "Design", "\x00");
    store.SetRaw(kSettingsKeyPath, "SBAgentReminder", "\x07");
    auto key = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadIntegerSetting(*key, "FontSize"), 8);
    EXPECT_TRUE(ReadBoolSetting(*key, "vorHeute"));
    // A value written when absent replaces the wrongly typed one.
    EXPECT_FALSE(ReadBoolSetting(*key, "AgentZoom"));
    EXPECT_EQ(store.IntegerValue(kSettingsKeyPath, "AgentZoom"), 0);
    EXPECT_EQ(ReadStringSetting(*key, "Font"), "Comic Sans Ms");
    EXPECT_EQ(ReadStringSetting(*key, "Design"), "Standard");
    EXPECT_EQ(ReadStringSetting(*key, "SBAgentReminder"),
              "Sie haben einen Termin|Darf ich an den folgenden Termin erinnern ?");
    // Values that are not written when absent stay as they were.
    EXPECT_EQ(store.StringValue(kSettingsKeyPath, "FontSize"), "12");
}

TEST(SettingValuesTest, StoredValuesAreReadAsTheyAre) {
    MemorySettingsStore store;
    store.SetInteger(kSettingsKeyPath, "xTage", 99);  // outside the dialog's range: kept
    store.SetInteger(kSettingsKeyPath, "CharacterUsed", 5);
    store.SetInteger(kSettingsKeyPath, "UseDelay", 0);
    store.SetString(kSettingsKeyPath, "Font", "");
    store.SetString(kSettingsKeyPath, "Design", "Blau");
    auto key = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadIntegerSetting(*key, "xtage"), 99);
    EXPECT_TRUE(ReadBoolSetting(*key, "CharacterUsed"));
    EXPECT_FALSE(ReadBoolSetting(*key, "UseDelay"));
    EXPECT_EQ(ReadStringSetting(*key, "Font"), "");
    EXPECT_EQ(ReadStringSetting(*key, "Design"), "Blau");
    EXPECT_EQ(store.WriteCount(), 0);
}

TEST(SettingValuesTest, MisusedReadersFailLoudly) {
    MemorySettingsStore store;
    auto key = store.OpenKey(kSettingsKeyPath, true);
    ASSERT_NE(key, nullptr);
    EXPECT_THROW(ReadIntegerSetting(*key, "Design"), std::logic_error);
    EXPECT_THROW(ReadBoolSetting(*key, "FontSize"), std::logic_error);
    EXPECT_THROW(ReadStringSetting(*key, "vorHeute"), std::logic_error);
    EXPECT_THROW(ReadIntegerSetting(*key, "NoSuchValue"), std::out_of_range);
    EXPECT_EQ(store.WriteCount(), 0);
}

TEST(SettingValuesTest, ReadsWithCallerFallback) {
    MemorySettingsStore store;
    store.SetInteger(kSettingsKeyPath, "Number", 4);
    store.SetString(kSettingsKeyPath, "Text", "abc");
    store.SetRaw(kSettingsKeyPath, "Raw", "\x01");
    auto key = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadIntegerOr(*key, "Number", 9), 4);
    EXPECT_EQ(ReadIntegerOr(*key, "Text", 9), 9);
    EXPECT_EQ(ReadIntegerOr(*key, "Missing", 9), 9);
    EXPECT_TRUE(ReadBoolOr(*key, "Number", false));
    EXPECT_TRUE(ReadBoolOr(*key, "Raw", true));
    EXPECT_FALSE(ReadBoolOr(*key, "Missing", false));
    EXPECT_EQ(ReadStringOr(*key, "Text", "x"), "abc");
    EXPECT_EQ(ReadStringOr(*key, "Missing", "x"), "");
    EXPECT_EQ(ReadStringOr(*key, "Number", "x"), "x");
    EXPECT_EQ(ReadStringOr(*key, "Raw", "x"), "x");
    EXPECT_EQ(store.WriteCount(), 0);
}

}  // namespace
}  // namespace planwarte
