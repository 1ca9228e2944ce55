#include "core/assistant/reminder_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "adapters/fake/memory_settings_store.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using Controls = TfrmReminderOptions::Controls;

void ExpectShown(const Controls& shown, int low, int normal, int high, bool cyclic) {
    EXPECT_EQ(shown.cycle_low, low);
    EXPECT_EQ(shown.cycle_normal, normal);
    EXPECT_EQ(shown.cycle_high, high);
    EXPECT_EQ(shown.cyclic, cyclic);
    EXPECT_EQ(shown.cycles_enabled, cyclic);
}

TEST(ReminderOptionsTest, OpeningShowsTheStoredCyclesAndStoresTheSwitch) {
    MemorySettingsStore settings;
    settings.SetInteger(kSettingsKeyPath, "ReminderZyklusHigh", 2);
    settings.SetInteger(kSettingsKeyPath, "ReminderZyklusLow", 99);  // beyond the up-down
    settings.SetInteger(kSettingsKeyPath, "ReminderZyklisch", 1);
    TfrmReminderOptions dialog(settings);
    dialog.FormCreate();
    ExpectShown(dialog.Shown(), 60, 5, 2, true);
}

TEST(ReminderOptionsTest, KeyWithoutValuesShowsFivesAndStoresTheSwitchOff) {
    MemorySettingsStore settings;
    settings.CreateKey(kSettingsKeyPath);
    TfrmReminderOptions dialog(settings);
    dialog.FormCreate();
    ExpectShown(dialog.Shown(), 5, 5, 5, false);
    EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, "ReminderZyklisch"), 0);
}

TEST(ReminderOptionsTest, WithoutTheKeyTheBuiltInThreesShowAndNothingIsStored) {
    MemorySettingsStore settings;
    TfrmReminderOptions dialog(settings);
    dialog.FormCreate();
    dialog.CycleHighChange("7");
    ExpectShown(dialog.Shown(), 3, 3, 7, false);
    EXPECT_FALSE(settings.HasKey(kSettingsKeyPath));
}

TEST(ReminderOptionsTest, EveryTypedCycleIsStoredAtOnce) {
    struct Case {
        std::string typed;
        int stored;
    };
    const Case cases[] = {
        {"10", 10}, {"1", 1}, {"60", 60}, {"x", 5}, {"", 5}, {"1x", 5}, {"0", 1}, {"-3", 1},
    };
    for (const Case& c : cases) {
        MemorySettingsStore settings;
        settings.CreateKey(kSettingsKeyPath);
        TfrmReminderOptions dialog(settings);
        dialog.FormCreate();
        dialog.CycleLowChange(c.typed);
        dialog.CycleNormalChange(c.typed);
        dialog.CycleHighChange(c.typed);
        for (const char* name :
             {"ReminderZyklusLow", "ReminderZyklusNormal", "ReminderZyklusHigh"}) {
            EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, name), c.stored)
                << "'" << c.typed << "' " << name;
        }
        EXPECT_EQ(dialog.Shown().cycle_low, c.stored);
    }
}

TEST(ReminderOptionsTest, TheSwitchEnablesTheCyclesAndIsStored) {
    MemorySettingsStore settings;
    settings.CreateKey(kSettingsKeyPath);
    TfrmReminderOptions dialog(settings);
    dialog.FormCreate();
    dialog.chbReminderZyklischClick(true);
    EXPECT_TRUE(dialog.Shown().cycles_enabled);
    EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, "ReminderZyklisch"), 1);
    EXPECT_TRUE(dialog.OkClick());
}

}  // namespace
}  // namespace planwarte
