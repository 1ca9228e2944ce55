#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/memory_settings_store.h"
#include "core/outlook/used_folders.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

std::string CalendarKey(const std::string& entry_id) {
    return std::string(kSettingsKeyPath) + "\\UsedCalendars\\" + entry_id;
}

std::string TaskKey(const std::string& entry_id) {
    return std::string(kSettingsKeyPath) + "\\UsedTasks\\" + entry_id;
}

std::vector<std::string> Captions(const std::vector<FolderChoice>& choices) {
    std::vector<std::string> captions;
    for (const FolderChoice& choice : choices) {
        captions.push_back(choice.caption + (choice.used ? " [x]" : ""));
    }
    return captions;
}

// Two stores: the default one with a calendar, a task folder and an inbox holding a calendar
// of its own, and an archive with one calendar.
class FolderChoicesTest : public ::testing::Test {
  protected:
    FolderChoices Enumerate() {
        return EnumerateOutlookFolders(settings_, outlook_,
                                       [this](const std::string& text) { trace_.push_back(text); });
    }

    std::shared_ptr<FakeOutlook> source_ = FakeOutlook::Create();
    std::shared_ptr<FakeFolder> calendar_ = source_->AddCalendar("Kalender");
    std::shared_ptr<FakeFolder> tasks_ = source_->AddTaskFolder("Aufgaben");
    std::shared_ptr<FakeFolder> inbox_ = source_->AddInbox();
    std::shared_ptr<FakeFolder> birthdays_ = inbox_->AddFolder("Geburtstage", kItemTypeAppointment);
    std::shared_ptr<FakeFolder> archive_ = source_->AddStore("Archiv");
    std::shared_ptr<FakeFolder> old_ = archive_->AddFolder("Alt", kItemTypeAppointment);
    FakeNamespace outlook_{source_};
    MemorySettingsStore settings_;
    std::vector<std::string> trace_;
};

TEST_F(FolderChoicesTest, ListsCalendarsAndTasksAtEveryDepthButNotTheStores) {
    settings_.SetInteger(CalendarKey(birthdays_->EntryID()), "isUsed", 1);
    settings_.SetInteger(TaskKey(tasks_->EntryID()), "isUsed", 1);
    // Unreadable or unticked lines stay unticked.
    settings_.SetString(CalendarKey(calendar_->EntryID()), "isUsed", "1");
    settings_.SetInteger(CalendarKey(old_->EntryID()), "isUsed", 0);

    const FolderChoices choices = Enumerate();
    EXPECT_EQ(Captions(choices.calendars),
              (std::vector<std::string>{"Persönliche Ordner => Kalender",
                                        "Posteingang => Geburtstage [x]", "Archiv => Alt"}));
    EXPECT_EQ(Captions(choices.tasks),
              std::vector<std::string>{"Persönliche Ordner => Aufgaben [x]"});
    ASSERT_EQ(choices.calendars.size(), 3u);
    EXPECT_EQ(choices.calendars[2].entry_id, old_->EntryID());
    EXPECT_EQ(choices.calendars[2].store_id, archive_->StoreID());
    EXPECT_NE(choices.calendars[2].store_id, choices.calendars[0].store_id);
    EXPECT_TRUE(trace_.empty());
}

TEST_F(FolderChoicesTest, EveryListedFolderGetsItsSubKey) {
    Enumerate();
    for (const auto& folder : {calendar_, birthdays_, old_}) {
        EXPECT_TRUE(settings_.HasKey(CalendarKey(folder->EntryID()))) << folder->Name();
        EXPECT_TRUE(settings_.ValueNames(CalendarKey(folder->EntryID())).empty());
    }
    EXPECT_TRUE(settings_.HasKey(TaskKey(tasks_->EntryID())));
    EXPECT_FALSE(settings_.HasKey(CalendarKey(inbox_->EntryID())));
    EXPECT_FALSE(settings_.HasKey(TaskKey(inbox_->EntryID())));
}

TEST_F(FolderChoicesTest, AFailingFolderIsTracedAndTheWalkGoesOn) {
    struct Case {
        const char* member;
        int nth;
        std::vector<std::string> calendars;
        std::vector<std::string> tasks;
    };
    // Subfolders are read in the order Kalender, Aufgaben, Posteingang, Geburtstage, Alt.
    const std::vector<Case> cases = {
        {"DefaultItemType",
         1,
         {"Posteingang => Geburtstage", "Archiv => Alt"},
         {"Persönliche Ordner => Aufgaben"}},
        // The first Folders.Item fetches the default store, the third its task folder.
        {"Folders.Item",
         3,
         {"Persönliche Ordner => Kalender", "Posteingang => Geburtstage", "Archiv => Alt"},
         {}},
        // The ninth count is the inbox's first (after the stores', the default store's and
        // that of each level step and subfolder before it): the inbox's walk ends, the rest
        // goes on.
        {"Folders.Count",
         9,
         {"Persönliche Ordner => Kalender", "Archiv => Alt"},
         {"Persönliche Ordner => Aufgaben"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        trace_.clear();
        source_->State().FailCall(c.member, c.nth);
        const FolderChoices choices = Enumerate();
        EXPECT_EQ(Captions(choices.calendars), c.calendars);
        EXPECT_EQ(Captions(choices.tasks), c.tasks);
        EXPECT_EQ(trace_, std::vector<std::string>{std::string(c.member) + ": injected failure"});
        source_->State().StopFailing(c.member);
    }
}

TEST_F(FolderChoicesTest, OkStoresTheChecksAndStoreIDsForTheNextLoad) {
    FolderChoices choices = Enumerate();
    ASSERT_EQ(choices.calendars.size(), 3u);
    choices.calendars[2].used = true;
    choices.tasks[0].used = true;
    SaveFolderChoices(settings_, choices);

    EXPECT_EQ(settings_.IntegerValue(CalendarKey(calendar_->EntryID()), "isUsed"), 0);
    EXPECT_EQ(settings_.IntegerValue(CalendarKey(old_->EntryID()), "isUsed"), 1);
    EXPECT_EQ(settings_.StringValue(CalendarKey(old_->EntryID()), "SID"), archive_->StoreID());

    UsedFolderList calendars;
    LoadUsedCalendars(settings_, outlook_, FolderStyle{}, {}, calendars);
    ASSERT_EQ(calendars.size(), 1u);
    ASSERT_NE(calendars[0].object, nullptr);
    EXPECT_EQ(calendars[0].object->folder, old_);

    UsedFolderList tasks;
    LoadUsedTasks(settings_, outlook_, FolderStyle{}, {}, tasks);
    ASSERT_EQ(tasks.size(), 1u);
    ASSERT_NE(tasks[0].object, nullptr);
    EXPECT_EQ(tasks[0].object->folder, tasks_);
}

}  // namespace
}  // namespace planwarte
