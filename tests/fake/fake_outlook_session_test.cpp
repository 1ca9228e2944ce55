#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_object_model.h"
#include "fake/fake_outlook_fixture.h"

namespace planwarte {
namespace {

using Log = std::vector<std::string>;

constexpr const char* kAnyItem = "[Subject] <> ''";

class FakeOutlookSessionTest : public FakeOutlookTest {};

TEST_F(FakeOutlookSessionTest, LogsTheSessionCallsInOrder) {
    auto calendar = outlook_->AddCalendar("Kalender");
    Session()->GetDefaultFolder(kDefaultFolderCalendar)->Items()->Find(kAnyItem);
    namespace_->Logoff();
    application_->Disconnect();

    EXPECT_EQ(outlook_->State().CallLog(),
              (Log{"CreateApplication", "Connect", "GetNamespace(MAPI)", "Logon(,,,)",
                   "GetDefaultFolder(9)", "Items", std::string("Find(") + kAnyItem + ")", "Logoff",
                   "Disconnect"}));
    outlook_->State().ClearCallLog();
    EXPECT_TRUE(outlook_->State().CallLog().empty());
}

TEST_F(FakeOutlookSessionTest, AnswersNothingBeforeConnect) {
    auto application = outlook_->Factory()->CreateApplication();
    EXPECT_THROW(application->GetNamespace("MAPI"), OutlookError);
    EXPECT_THROW(application->ActiveInspector(), OutlookError);
    application->Connect();
    EXPECT_NE(application->GetNamespace("MAPI"), nullptr);
    EXPECT_EQ(application->GetNamespace("OTHER"), nullptr);
    application->Disconnect();
    EXPECT_THROW(application->GetNamespace("MAPI"), OutlookError);
}

TEST_F(FakeOutlookSessionTest, InjectedFailuresThrowErrorsNamingTheCall) {
    outlook_->AddCalendar("Kalender")->AddAppointment({.subject = "Termin"});
    auto items = Session()->GetDefaultFolder(kDefaultFolderCalendar)->Items();
    auto& state = outlook_->State();

    state.FailCall("Find", 2, "RPC failed");
    EXPECT_NO_THROW(items->Find(kAnyItem));
    try {
        items->Find(kAnyItem);
        ADD_FAILURE() << "no failure";
    } catch (const OutlookError& error) {
        EXPECT_STREQ(error.what(), "Find: RPC failed");
    }
    EXPECT_NO_THROW(items->Find(kAnyItem));

    state.FailEveryCall("Subject");
    auto item = items->Item(1);
    EXPECT_THROW(item->Subject(), OutlookError);
    EXPECT_THROW(item->Subject(), OutlookError);
    EXPECT_NO_THROW(item->EntryID());
    state.StopFailing("Subject");
    EXPECT_EQ(item->Subject(), "Termin");
}

TEST_F(FakeOutlookSessionTest, ConnectCanFailAsWhenTheSourceIsNotInstalled) {
    outlook_->State().FailEveryCall("Connect", "class not registered");
    auto application = outlook_->Factory()->CreateApplication();
    EXPECT_THROW(application->Connect(), OutlookError);
    EXPECT_THROW(application->GetNamespace("MAPI"), OutlookError);
}

TEST_F(FakeOutlookSessionTest, NullAnswersStandInForMissingObjects) {
    outlook_->AddCalendar("Kalender");
    auto& state = outlook_->State();
    const std::vector<std::string> members{"GetNamespace", "GetDefaultFolder", "Items"};
    auto application = outlook_->Factory()->CreateApplication();
    application->Connect();
    for (const std::string& member : members) {
        SCOPED_TRACE(member);
        state.AnswerNull(member);
        auto ns = application->GetNamespace("MAPI");
        if (member == "GetNamespace") {
            EXPECT_EQ(ns, nullptr);
        } else {
            auto folder = ns->GetDefaultFolder(kDefaultFolderCalendar);
            if (member == "GetDefaultFolder") {
                EXPECT_EQ(folder, nullptr);
            } else {
                EXPECT_EQ(folder->Items(), nullptr);
            }
        }
        state.AnswerNull(member, false);
        EXPECT_NE(
            application->GetNamespace("MAPI")->GetDefaultFolder(kDefaultFolderCalendar)->Items(),
            nullptr);
    }
}

TEST_F(FakeOutlookSessionTest, LostSessionFailsEveryCallUntilTheNextConnect) {
    auto calendar = outlook_->AddCalendar("Kalender");
    outlook_->AddInbox();
    auto ns = Session();
    outlook_->State().LoseSession();

    EXPECT_THROW(ns->GetDefaultFolder(kDefaultFolderInbox), OutlookError);
    EXPECT_THROW(ns->Logoff(), OutlookError);
    EXPECT_THROW(calendar->Name(), OutlookError);
    EXPECT_THROW(application_->Disconnect(), OutlookError);
    auto second = outlook_->Factory()->CreateApplication();
    EXPECT_THROW(second->GetNamespace("MAPI"), OutlookError);

    application_->Connect();
    auto fresh = application_->GetNamespace("MAPI");
    EXPECT_NE(fresh->GetDefaultFolder(kDefaultFolderInbox), nullptr);
    EXPECT_EQ(calendar->Name(), "Kalender");
}

TEST_F(FakeOutlookSessionTest, FindsFoldersAndItemsByTheirIdentities) {
    auto calendar = outlook_->AddCalendar("Kalender");
    auto appointment = calendar->AddAppointment({.subject = "Termin"});
    auto archive = outlook_->AddStore("Archiv");
    auto old_calendar = archive->AddFolder("Alter Kalender", kItemTypeAppointment);
    auto old_appointment = old_calendar->AddAppointment({.subject = "alt"});
    auto ns = Session();

    EXPECT_NE(calendar->EntryID(), old_calendar->EntryID());
    EXPECT_EQ(calendar->StoreID(), outlook_->DefaultStore()->StoreID());
    EXPECT_EQ(old_calendar->StoreID(), archive->StoreID());
    EXPECT_NE(archive->StoreID(), calendar->StoreID());

    EXPECT_EQ(ns->GetFolderFromID(calendar->EntryID(), ""), calendar);
    EXPECT_EQ(ns->GetFolderFromID(calendar->EntryID(), calendar->StoreID()), calendar);
    EXPECT_EQ(ns->GetFolderFromID(old_calendar->EntryID(), archive->StoreID()), old_calendar);
    // Without its StoreID a folder of another store is looked for in the default store.
    EXPECT_THROW(ns->GetFolderFromID(old_calendar->EntryID(), ""), OutlookError);
    EXPECT_THROW(ns->GetFolderFromID("00", ""), OutlookError);
    EXPECT_THROW(ns->GetFolderFromID(calendar->EntryID(), "00"), OutlookError);

    EXPECT_EQ(ns->GetItemFromID(appointment->EntryID(), ""), appointment);
    EXPECT_EQ(ns->GetItemFromID(old_appointment->EntryID(), archive->StoreID()), old_appointment);
    EXPECT_THROW(ns->GetItemFromID(old_appointment->EntryID(), ""), OutlookError);
    calendar->RemoveItem(appointment);
    EXPECT_THROW(ns->GetItemFromID(appointment->EntryID(), ""), OutlookError);
}

TEST_F(FakeOutlookSessionTest, DefaultFoldersAreTheFirstOfTheirKind) {
    auto ns = Session();
    EXPECT_EQ(ns->GetDefaultFolder(kDefaultFolderCalendar), nullptr);
    EXPECT_EQ(ns->GetDefaultFolder(kDefaultFolderInbox), nullptr);

    auto calendar = outlook_->AddCalendar("Kalender");
    outlook_->AddCalendar("Zweiter");
    auto inbox = outlook_->AddInbox();
    EXPECT_EQ(ns->GetDefaultFolder(kDefaultFolderCalendar), calendar);
    EXPECT_EQ(ns->GetDefaultFolder(kDefaultFolderInbox), inbox);

    outlook_->SetDefaultFolder(kDefaultFolderInbox, nullptr);
    EXPECT_EQ(ns->GetDefaultFolder(kDefaultFolderInbox), nullptr);
}

TEST_F(FakeOutlookSessionTest, FolderTreeIsWalkedThroughLiveCollections) {
    auto calendar = outlook_->AddCalendar("Kalender");
    auto private_calendar = calendar->AddFolder("Privat", kItemTypeAppointment);
    auto archive = outlook_->AddStore("Archiv");
    auto stores = Session()->Folders();

    ASSERT_EQ(stores->Count(), 2);
    EXPECT_EQ(stores->Item(1)->Name(), "Persönliche Ordner");
    EXPECT_EQ(stores->Item(2), archive);
    EXPECT_EQ(stores->Item(1)->Parent(), nullptr);
    EXPECT_THROW(stores->Item(3), OutlookError);

    auto subfolders = stores->Item(1)->Folders();
    ASSERT_EQ(subfolders->Count(), 1);
    auto found = subfolders->Item(1);
    EXPECT_EQ(found->DefaultItemType(), kItemTypeAppointment);
    EXPECT_EQ(found->Folders()->Item(1), private_calendar);
    EXPECT_EQ(private_calendar->Parent(), calendar);

    outlook_->AddTaskFolder("Aufgaben");
    EXPECT_EQ(subfolders->Count(), 2);
    EXPECT_EQ(subfolders->Item(2)->DefaultItemType(), kItemTypeTask);
}

TEST_F(FakeOutlookSessionTest, DisplayOpensTheItemWindow) {
    auto appointment = outlook_->AddCalendar("Kalender")->AddAppointment({.subject = "Termin"});
    auto ns = Session();
    EXPECT_EQ(application_->ActiveInspector(), nullptr);

    auto item = ns->GetItemFromID(appointment->EntryID(), "");
    item->Display();
    auto inspector = application_->ActiveInspector();
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->CurrentItem(), appointment);
    inspector->Activate();
    const Log log = outlook_->State().CallLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ((Log(log.end() - 4, log.end())), (Log{"Display(" + appointment->EntryID() + ")",
                                                    "ActiveInspector", "CurrentItem", "Activate"}));

    outlook_->CloseInspector();
    EXPECT_EQ(application_->ActiveInspector(), nullptr);
}

class RecordingApplicationEvents : public OlApplicationEvents {
  public:
    void NewMail() override { received.push_back("NewMail"); }
    void Reminder(const std::shared_ptr<OlItem>& item) override {
        received.push_back("Reminder " + item->Subject());
    }
    Log received;
};

TEST_F(FakeOutlookSessionTest, ApplicationEventsReachTheApplicationsThatListen) {
    auto task = outlook_->AddTaskFolder("Aufgaben")->AddTask({.subject = "Steuer"});
    RecordingApplicationEvents main_events;
    Session();
    application_->SetEvents(&main_events);
    auto worker_application = outlook_->Factory()->CreateApplication();  // sets no events

    outlook_->RaiseNewMail();
    outlook_->RaiseReminder(task);
    EXPECT_EQ(main_events.received, (Log{"NewMail", "Reminder Steuer"}));

    application_->SetEvents(nullptr);
    outlook_->RaiseNewMail();
    EXPECT_EQ(main_events.received.size(), 2u);
}

}  // namespace
}  // namespace planwarte
