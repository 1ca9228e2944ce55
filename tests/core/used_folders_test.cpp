#include "core/outlook/used_folders.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/memory_settings_store.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

enum class Kind { kCalendars, kTasks };

std::string FolderKey(Kind kind, const std::string& entry_id) {
    return std::string(kSettingsKeyPath) + "\\" +
           (kind == Kind::kCalendars ? "UsedCalendars" : "UsedTasks") + "\\" + entry_id;
}

class UsedFoldersTest : public ::testing::Test {
  protected:
    UsedFoldersTest() {
        current_.font = "Verdana";
        current_.font_size = 11;
        current_.font_color = 0x123456;
        current_.font_color_html = ColorToHtml(current_.font_color);
        current_.font_color_text = std::to_string(current_.font_color);
    }

    void Load(Kind kind) {
        const RaiseProgressMaximum raise = [this] { ++progress_steps_; };
        if (kind == Kind::kCalendars) {
            LoadUsedCalendars(settings_, outlook_, current_, raise, list_);
        } else {
            LoadUsedTasks(settings_, outlook_, current_, raise, list_);
        }
    }

    std::shared_ptr<FakeFolder> AddFolder(Kind kind, const std::string& name) {
        return kind == Kind::kCalendars ? source_->AddCalendar(name) : source_->AddTaskFolder(name);
    }

    void Tick(Kind kind, const std::string& entry_id, int is_used, const std::string& sid = "") {
        settings_.SetInteger(FolderKey(kind, entry_id), "isUsed", is_used);
        settings_.SetString(FolderKey(kind, entry_id), "SID", sid);
    }

    const TMAPIFolderObject& OnlyObject() {
        EXPECT_EQ(list_.size(), 1u);
        EXPECT_NE(list_.at(0).object, nullptr);
        return *list_.at(0).object;
    }

    std::shared_ptr<FakeOutlook> source_ = FakeOutlook::Create();
    FakeNamespace outlook_{source_};
    MemorySettingsStore settings_;
    FolderStyle current_;
    int progress_steps_ = 0;
    UsedFolderList list_;
};

TEST_F(UsedFoldersTest, FirstStartShowsTheDefaultCalendarInTheCurrentStyleAndNoTasks) {
    auto calendar = source_->AddCalendar("Kalender");
    source_->AddTaskFolder("Aufgaben");
    Load(Kind::kCalendars);
    const TMAPIFolderObject& object = OnlyObject();
    EXPECT_EQ(list_[0].name, "Default");
    EXPECT_EQ(object.entry_id, "Default");
    EXPECT_EQ(object.folder, calendar);
    EXPECT_EQ(object.style.font, "Verdana");
    EXPECT_EQ(object.style.font_size, 11);
    EXPECT_EQ(object.style.font_color_html, current_.font_color_html);
    EXPECT_EQ(progress_steps_, 0);
    EXPECT_FALSE(settings_.HasKey(std::string(kSettingsKeyPath) + "\\UsedCalendars"));

    Load(Kind::kTasks);
    EXPECT_TRUE(list_.empty());
}

// The sub-keys of one load, in store order, and what becomes of them. A folder named "gone"
// has a sub-key but no longer exists in the source; an absent is_used leaves isUsed unset.
struct SubKey {
    std::string folder;
    std::optional<int> is_used;
};

struct SelectionCase {
    const char* what;
    std::vector<SubKey> sub_keys;
    // Lines as "<folder>" with an object, "<folder>-" without; "Default" for the fallback.
    std::vector<std::string> calendar_lines;
    std::vector<std::string> task_lines;
    int progress_steps;
};

TEST_F(UsedFoldersTest, TicksDecideTheLinesAndTheDefaultCalendar) {
    const std::vector<SelectionCase> cases = {
        {"all unticked", {{"A", 0}, {"B", 0}}, {"Default"}, {}, 0},
        {"two unticked in a row are both removed",
         {{"A", 1}, {"B", 0}, {"C", 0}, {"D", 1}},
         {"A", "D"},
         {"A", "D"},
         2},
        {"unticked first", {{"A", 0}, {"B", 1}}, {"B"}, {"B"}, 1},
        {"unticked last", {{"A", 1}, {"B", 0}}, {"A"}, {"A"}, 1},
        {"isUsed missing", {{"A", std::nullopt}}, {"A-", "Default"}, {"A-"}, 0},
        {"ticked folder gone suppresses the default",
         {{"gone", 1}, {"B", 0}},
         {"gone-"},
         {"gone-"},
         1},
    };
    for (const Kind kind : {Kind::kCalendars, Kind::kTasks}) {
        for (const SelectionCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) +
                         (kind == Kind::kCalendars ? " calendars" : " tasks"));
            source_ = FakeOutlook::Create();
            FakeNamespace outlook(source_);
            MemorySettingsStore settings;
            source_->AddCalendar("Kalender");
            std::map<std::string, std::string> symbol_of{{"Default", "Default"}};
            for (const SubKey& sub_key : c.sub_keys) {
                const std::string id = sub_key.folder == "gone"
                                           ? std::string("0000DEAD")
                                           : AddFolder(kind, sub_key.folder)->EntryID();
                symbol_of[id] = sub_key.folder;
                settings.CreateKey(FolderKey(kind, id));
                if (sub_key.is_used) {
                    settings.SetInteger(FolderKey(kind, id), "isUsed", *sub_key.is_used);
                }
            }
            int steps = 0;
            const RaiseProgressMaximum raise = [&steps] { ++steps; };
            UsedFolderList list;
            if (kind == Kind::kCalendars) {
                LoadUsedCalendars(settings, outlook, current_, raise, list);
            } else {
                LoadUsedTasks(settings, outlook, current_, raise, list);
            }
            std::vector<std::string> lines;
            for (const UsedFolderLine& line : list) {
                lines.push_back(symbol_of.at(line.name) + (line.object ? "" : "-"));
                if (line.object && line.name != "Default") {
                    EXPECT_EQ(line.object->folder->EntryID(), line.name);
                }
            }
            EXPECT_EQ(lines, kind == Kind::kCalendars ? c.calendar_lines : c.task_lines);
            EXPECT_EQ(steps, c.progress_steps);
        }
    }
}

TEST_F(UsedFoldersTest, AbsentCalendarValuesAreWrittenAndTheStoredSizeCountsNextTime) {
    auto calendar = source_->AddCalendar("Feiertage");
    Tick(Kind::kCalendars, calendar->EntryID(), 1);
    Load(Kind::kCalendars);
    const FolderStyle& style = OnlyObject().style;
    EXPECT_EQ(style.font_size, 8);
    EXPECT_EQ(style.font, "");
    EXPECT_EQ(style.font_color, 0);
    EXPECT_EQ(style.font_color_html, "#000000");
    EXPECT_EQ(style.font_color_text, "0");
    EXPECT_FALSE(style.use_ol_font_color);
    EXPECT_FALSE(style.holiday_in_use);
    EXPECT_TRUE(style.show_clock);

    const std::string key = FolderKey(Kind::kCalendars, calendar->EntryID());
    EXPECT_EQ(settings_.IntegerValue(key, "FontSize"), 11);
    EXPECT_EQ(settings_.IntegerValue(key, "FontColor"), 0);
    EXPECT_EQ(settings_.IntegerValue(key, "UseOLFontColor"), 0);
    EXPECT_EQ(settings_.IntegerValue(key, "HolidayInUse"), 0);
    EXPECT_EQ(settings_.IntegerValue(key, "ShowClock"), 1);
    // An absent face reads as the empty text and is left absent.
    EXPECT_FALSE(settings_.HasValue(key, "Font"));

    Load(Kind::kCalendars);
    EXPECT_EQ(OnlyObject().style.font_size, 11);
}

TEST_F(UsedFoldersTest, AbsentTaskValuesAreWrittenWithoutTheCalendarOnlyOnes) {
    auto tasks = source_->AddTaskFolder("Aufgaben");
    Tick(Kind::kTasks, tasks->EntryID(), 1);
    current_.use_ol_font_color = true;
    Load(Kind::kTasks);
    const FolderStyle& style = OnlyObject().style;
    EXPECT_EQ(style.font_size, 8);
    EXPECT_TRUE(style.show_clock);
    // Kept from the current style.
    EXPECT_TRUE(style.use_ol_font_color);
    EXPECT_TRUE(style.holiday_in_use);

    const std::string key = FolderKey(Kind::kTasks, tasks->EntryID());
    EXPECT_EQ(settings_.ValueNames(key),
              (std::vector<std::string>{"isUsed", "SID", "FontColor", "ShowClock", "FontSize"}));
    EXPECT_EQ(settings_.IntegerValue(key, "FontSize"), 11);
}

TEST_F(UsedFoldersTest, StoredValuesMakeTheFolderStyle) {
    for (const Kind kind : {Kind::kCalendars, Kind::kTasks}) {
        SCOPED_TRACE(kind == Kind::kCalendars ? "calendars" : "tasks");
        auto folder = AddFolder(kind, kind == Kind::kCalendars ? "Team" : "Projekt");
        const std::string key = FolderKey(kind, folder->EntryID());
        Tick(kind, folder->EntryID(), 1);
        settings_.SetInteger(key, "FontColor", 0x0000FF);
        settings_.SetString(key, "Font", "Arial");
        settings_.SetInteger(key, "FontSize", 14);
        settings_.SetInteger(key, "ShowClock", 0);
        settings_.SetInteger(key, "UseOLFontColor", 1);
        settings_.SetInteger(key, "HolidayInUse", 0);
        current_.use_ol_font_color = false;
        Load(kind);
        const TMAPIFolderObject& object = OnlyObject();
        EXPECT_EQ(object.folder, folder);
        EXPECT_EQ(object.style.font_color, 0xFF);
        EXPECT_EQ(object.style.font_color_html, "#FF0000");
        EXPECT_EQ(object.style.font_color_text, "255");
        EXPECT_EQ(object.style.font, "Arial");
        EXPECT_EQ(object.style.font_size, 14);
        EXPECT_FALSE(object.style.show_clock);
        // Label colouring and the holiday style are calendar options only.
        EXPECT_EQ(object.style.use_ol_font_color, kind == Kind::kCalendars);
        EXPECT_EQ(object.style.holiday_in_use, kind == Kind::kTasks);
    }
}

TEST_F(UsedFoldersTest, WronglyTypedValues) {
    struct Case {
        const char* value;
        bool stored_as_text;  // else as raw bytes
        bool loaded;
        const char* font;  // when loaded
        std::int16_t font_size;
    };
    const std::vector<Case> cases = {
        // A face of another type: the fallback face now, the current face in the store.
        {"Font", false, true, "Comic Sans Ms", 8},
        {"FontSize", true, false, "", 0},
        {"FontColor", true, false, "", 0},
        {"ShowClock", true, false, "", 0},
        {"SID", false, false, "", 0},
        {"isUsed", true, false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        source_ = FakeOutlook::Create();
        FakeNamespace outlook(source_);
        MemorySettingsStore settings;
        auto calendar = source_->AddCalendar("Kalender");
        const std::string key = FolderKey(Kind::kCalendars, calendar->EntryID());
        settings.SetInteger(key, "isUsed", 1);
        if (c.stored_as_text) {
            settings.SetString(key, c.value, "x");
        } else {
            settings.SetRaw(key, c.value, "\x01\x02");
        }
        UsedFolderList list;
        int steps = 0;
        LoadUsedCalendars(
            settings, outlook, current_, [&steps] { ++steps; }, list);
        ASSERT_EQ(list.size(), std::string(c.value) == "isUsed" ? 2u : 1u);
        EXPECT_EQ(list[0].object != nullptr, c.loaded);
        if (c.loaded) {
            EXPECT_EQ(list[0].object->style.font, c.font);
            EXPECT_EQ(list[0].object->style.font_size, c.font_size);
            EXPECT_EQ(settings.StringValue(key, "Font"), "Verdana");
        }
        // Once isUsed read true the folder counts as shown, so no default calendar is added.
        EXPECT_EQ(steps, std::string(c.value) == "isUsed" ? 0 : 1);
    }
}

TEST_F(UsedFoldersTest, FontSizeOutsideSixteenBitsIsNotWrappedAround) {
    auto calendar = source_->AddCalendar("Kalender");
    Tick(Kind::kCalendars, calendar->EntryID(), 1);
    settings_.SetInteger(FolderKey(Kind::kCalendars, calendar->EntryID()), "FontSize", 65536 + 12);
    Load(Kind::kCalendars);
    EXPECT_EQ(OnlyObject().style.font_size, 8);
}

TEST_F(UsedFoldersTest, AFolderOfASecondStoreIsFoundOnlyThroughItsStoreID) {
    source_->AddCalendar("Kalender");
    auto archive = source_->AddStore("Archiv");
    auto old = archive->AddFolder("Alt", kItemTypeAppointment);
    Tick(Kind::kCalendars, old->EntryID(), 1, old->StoreID());
    Load(Kind::kCalendars);
    EXPECT_EQ(OnlyObject().folder, old);
    EXPECT_EQ(OnlyObject().store_id, old->StoreID());

    Tick(Kind::kCalendars, old->EntryID(), 1, "");
    Load(Kind::kCalendars);
    ASSERT_EQ(list_.size(), 1u);
    EXPECT_EQ(list_[0].object, nullptr);
    EXPECT_EQ(source_->State().CallLog().back(), "GetFolderFromID(" + old->EntryID() + ",)");
}

TEST_F(UsedFoldersTest, NoFolderAnsweredKeepsTheObjectWithoutFolder) {
    auto calendar = source_->AddCalendar("Kalender");
    Tick(Kind::kCalendars, calendar->EntryID(), 1);
    source_->State().AnswerNull("GetFolderFromID");
    Load(Kind::kCalendars);
    EXPECT_EQ(OnlyObject().folder, nullptr);
    EXPECT_EQ(OnlyObject().entry_id, calendar->EntryID());
}

TEST_F(UsedFoldersTest, DefaultCalendarTheSourceCannotGive) {
    source_->AddCalendar("Kalender");
    source_->State().AnswerNull("GetDefaultFolder");
    Load(Kind::kCalendars);
    EXPECT_EQ(OnlyObject().folder, nullptr);

    source_->State().AnswerNull("GetDefaultFolder", false);
    source_->State().FailCall("GetDefaultFolder");
    Load(Kind::kCalendars);
    ASSERT_EQ(list_.size(), 1u);
    EXPECT_EQ(list_[0].name, "Default");
    EXPECT_EQ(list_[0].object, nullptr);
}

TEST_F(UsedFoldersTest, ReloadReplacesTheLines) {
    auto first = source_->AddCalendar("Kalender");
    auto second = source_->AddCalendar("Team");
    Tick(Kind::kCalendars, first->EntryID(), 1);
    Tick(Kind::kCalendars, second->EntryID(), 1);
    Load(Kind::kCalendars);
    ASSERT_EQ(list_.size(), 2u);
    Tick(Kind::kCalendars, first->EntryID(), 0);
    Load(Kind::kCalendars);
    EXPECT_EQ(OnlyObject().folder, second);
}

}  // namespace
}  // namespace planwarte
