#include <gtest/gtest.h>

#include <filesystem>

#include "adapters/fake/fake_object_model.h"
#include "adapters/ical/ical_sources.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::Calendar;
using ical_testing::Event;
using ical_testing::IcalStoreTest;
using ical_testing::ReadFixture;
using ical_testing::WriteFile;

std::string Todo(const std::string& uid, const std::string& summary) {
    return Calendar({"BEGIN:VTODO", "UID:" + uid, "SUMMARY:" + summary, "END:VTODO"});
}

std::string SimpleEvent(const std::string& uid, const std::string& summary,
                        const std::string& start = "20041208T080000") {
    return Calendar({Event(uid, {"DTSTART:" + start, "SUMMARY:" + summary})});
}

class IcalLayoutTest : public IcalStoreTest {};

TEST_F(IcalLayoutTest, CollectionsOfAVdirBecomeCalendarAndTaskFolders) {
    WriteItem("privat", "a.ics", SimpleEvent("a", "Zahnarzt"));
    WriteFile(CollectionPath("privat") + "/displayname", "Privat\n");
    WriteItem("todo", "t.ics", Todo("t", "Steuer"));
    WriteFile(CollectionPath("radicale-tasks") + "/.Radicale.props",
              ReadFixture("radicale_tasks.props"));
    std::filesystem::create_directories(CollectionPath("leer"));

    auto stores = Session()->Folders();
    ASSERT_EQ(stores->Count(), 1);
    auto top = stores->Item(1);
    EXPECT_EQ(top->Parent(), nullptr);
    auto folders = top->Folders();
    ASSERT_EQ(folders->Count(), 4);
    std::vector<std::tuple<std::string, int>> seen;
    for (int i = 1; i <= folders->Count(); ++i) {
        auto folder = folders->Item(i);
        seen.emplace_back(folder->Name(), folder->DefaultItemType());
        EXPECT_EQ(folder->Parent(), top);
        EXPECT_EQ(folder->StoreID(), top->StoreID());
    }
    // Sorted by folder name: leer, privat, radicale-tasks, todo.
    EXPECT_EQ(seen,
              (std::vector<std::tuple<std::string, int>>{{"leer", kItemTypeAppointment},
                                                         {"Privat", kItemTypeAppointment},
                                                         {"Einkauf übers Jahr", kItemTypeTask},
                                                         {"todo", kItemTypeTask}}));
}

TEST_F(IcalLayoutTest, ARootThatIsOneCollectionIsItsStoresOnlyFolder) {
    WriteFile(root_ / "a.ics", SimpleEvent("a", "Zahnarzt"));
    auto folders = Session()->Folders()->Item(1)->Folders();
    ASSERT_EQ(folders->Count(), 1);
    EXPECT_EQ(folders->Item(1)->Items()->Count(), 1);
}

TEST_F(IcalLayoutTest, FoldersHoldingCollectionsAreNestedAndAddressBooksLeftOut) {
    // Radicale keeps a folder per user with the collections inside.
    WriteFile(root_ / "anna/.Radicale.props", "{}");
    WriteFile(root_ / "anna/kalender/.Radicale.props",
              R"({"tag": "VCALENDAR", "D:displayname": "Annas Kalender"})");
    WriteFile(root_ / "anna/kalender/x.ics", SimpleEvent("x", "Yoga"));
    WriteFile(root_ / "anna/kontakte/.Radicale.props", R"({"tag": "VADDRESSBOOK"})");
    WriteFile(root_ / "anna/kontakte/c.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n");
    WriteFile(root_ / "anna/ignored/.hidden.ics", SimpleEvent("h", "versteckt"));

    auto users = Session()->Folders()->Item(1)->Folders();
    ASSERT_EQ(users->Count(), 1);
    auto anna = users->Item(1);
    EXPECT_EQ(anna->Name(), "anna");
    auto collections = anna->Folders();
    ASSERT_EQ(collections->Count(), 2);
    EXPECT_EQ(collections->Item(1)->Name(), "ignored");
    EXPECT_EQ(collections->Item(1)->Items()->Count(), 0);
    EXPECT_EQ(collections->Item(2)->Name(), "Annas Kalender");
    EXPECT_EQ(collections->Item(2)->Parent(), anna);
}

TEST_F(IcalLayoutTest, IdentitiesAreStableAcrossRestartsAndResolve) {
    WriteItem("privat", "a.ics", SimpleEvent("uid-a", "Zahnarzt"));
    WriteItem("privat", "b.ics", SimpleEvent("uid-b", "Friseur"));
    auto folder = Collection("privat");
    auto item = folder->Items()->Item(1);
    const std::string folder_id = folder->EntryID();
    const std::string store_id = folder->StoreID();
    const std::string item_id = item->EntryID();
    for (const std::string& id : {folder_id, store_id, item_id}) {
        EXPECT_EQ(id.size(), 32u);
        EXPECT_EQ(id.find_first_not_of("0123456789ABCDEF"), std::string::npos) << id;
    }
    EXPECT_NE(item_id, folder->Items()->Item(2)->EntryID());

    // A second program run over the same files.
    IcalSources sources;
    sources.store_roots = {root_.Path()};
    IcalApplicationFactory again(sources);
    auto application = again.CreateApplication();
    application->Connect();
    auto session = application->GetNamespace("MAPI");
    EXPECT_EQ(session->GetFolderFromID(folder_id, store_id)->Name(), "privat");
    EXPECT_EQ(session->GetFolderFromID(folder_id, "")->EntryID(), folder_id);
    EXPECT_EQ(session->GetItemFromID(item_id, store_id)->Subject(), item->Subject());
    EXPECT_EQ(session->GetItemFromID(item_id, "")->EntryID(), item_id);
    EXPECT_THROW(session->GetItemFromID("00", ""), OutlookError);
    EXPECT_THROW(session->GetItemFromID(item_id, "0123"), OutlookError);
    EXPECT_THROW(session->GetFolderFromID("00", ""), OutlookError);
}

TEST_F(IcalLayoutTest, TheIdentityOfAnItemIsItsUidNotItsFileName) {
    WriteItem("privat", "a.ics", SimpleEvent("uid-a", "Zahnarzt"));
    const std::string before = Collection("privat")->Items()->Item(1)->EntryID();
    std::filesystem::rename(CollectionPath("privat") + "/a.ics",
                            CollectionPath("privat") + "/renamed.ics");
    Factory().Refresh();
    EXPECT_EQ(Collection("privat")->Items()->Item(1)->EntryID(), before);
}

TEST_F(IcalLayoutTest, DefaultFolders) {
    WriteItem("a-tasks", "t.ics", Todo("t", "Steuer"));
    WriteItem("b-work", "w.ics", SimpleEvent("w", "Arbeit"));
    WriteItem("c-home", "h.ics", SimpleEvent("h", "Daheim"));
    EXPECT_EQ(Session()->GetDefaultFolder(kDefaultFolderCalendar)->Name(), "b-work");

    auto inbox = Session()->GetDefaultFolder(kDefaultFolderInbox);
    ASSERT_NE(inbox, nullptr);
    EXPECT_EQ(inbox->Items()->Count(), 0);
    EXPECT_EQ(Session()->GetFolderFromID(inbox->EntryID(), "")->EntryID(), inbox->EntryID());
    EXPECT_EQ(Session()->GetDefaultFolder(4), nullptr);
}

TEST_F(IcalLayoutTest, TheChosenDefaultCalendarAndAGivenInbox) {
    WriteItem("b-work", "w.ics", SimpleEvent("w", "Arbeit"));
    WriteItem("c-home", "h.ics", SimpleEvent("h", "Daheim"));
    default_calendar_ = CollectionPath("c-home");
    auto outlook = FakeOutlook::Create();
    auto mail = outlook->AddInbox("Posteingang");
    make_inbox_ = [mail] { return mail; };
    EXPECT_EQ(Session()->GetDefaultFolder(kDefaultFolderCalendar)->Name(), "c-home");
    EXPECT_EQ(Session()->GetDefaultFolder(kDefaultFolderInbox), mail);
}

TEST_F(IcalLayoutTest, DisplayOpensTheItemsFileOrTheCollection) {
    WriteItem("privat", "a.ics", SimpleEvent("a", "Zahnarzt"));
    auto folder = Collection("privat");
    opened_.clear();
    folder->Items()->Item(1)->Display();
    folder->Display();
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(std::filesystem::path(opened_[0]).filename(), "a.ics");
    EXPECT_EQ(std::filesystem::path(opened_[1]).filename(), "privat");
}

TEST_F(IcalLayoutTest, GetNamespaceNeedsAConnection) {
    auto application = Factory().CreateApplication();
    EXPECT_THROW(application->GetNamespace("MAPI"), OutlookError);
    application->Connect();
    EXPECT_NE(application->GetNamespace("MAPI"), nullptr);
    EXPECT_EQ(application->GetNamespace("OTHER"), nullptr);
    EXPECT_EQ(application->ActiveInspector(), nullptr);
}

TEST_F(IcalLayoutTest, AnEmptyRootIsAnEmptyStoreUnlessKnownAsACollection) {
    for (const bool known : {false, true}) {
        SCOPED_TRACE(known);
        const std::string fresh = root_ / (known ? "neu-bekannt" : "neu");
        std::filesystem::create_directories(fresh);
        IcalSources sources;
        sources.store_roots = {fresh};
        if (known) {
            sources.collection_roots = {fresh + "/"};
        }
        IcalApplicationFactory factory(sources);
        auto application = factory.CreateApplication();
        application->Connect();
        auto folders = application->GetNamespace("MAPI")->Folders()->Item(1)->Folders();
        ASSERT_EQ(folders->Count(), known ? 1 : 0);
        if (known) {
            EXPECT_EQ(folders->Item(1)->DefaultItemType(), kItemTypeAppointment);
            EXPECT_EQ(folders->Item(1)->Items()->Count(), 0);
        }
    }
}

TEST_F(IcalLayoutTest, AnEmptyTaskListOfTheToolsIsATaskFolder) {
    const std::string fresh = root_ / "einkauf";
    std::filesystem::create_directories(fresh);
    IcalSources sources;
    sources.store_roots = {fresh};
    sources.collection_roots = {fresh};
    sources.task_list_roots = {fresh};
    IcalApplicationFactory factory(sources);
    auto application = factory.CreateApplication();
    application->Connect();
    auto folders = application->GetNamespace("MAPI")->Folders()->Item(1)->Folders();
    ASSERT_EQ(folders->Count(), 1);
    EXPECT_EQ(folders->Item(1)->DefaultItemType(), kItemTypeTask);
}

TEST_F(IcalLayoutTest, AMissingRootIsAnEmptyStoreAndTraced) {
    IcalSources sources;
    sources.store_roots = {root_ / "gibt-es-nicht"};
    sources.trace = [this](const std::string& line) { traces_.push_back(line); };
    IcalApplicationFactory factory(sources);
    auto application = factory.CreateApplication();
    application->Connect();
    auto stores = application->GetNamespace("MAPI")->Folders();
    ASSERT_EQ(stores->Count(), 1);
    EXPECT_EQ(stores->Item(1)->Folders()->Count(), 0);
    EXPECT_TRUE(Traced("gibt-es-nicht"));
    EXPECT_EQ(application->GetNamespace("MAPI")->GetDefaultFolder(kDefaultFolderCalendar), nullptr);
}

// ---- broken files ----

TEST_F(IcalLayoutTest, ABrokenFileIsSkippedAndTracedWithItsPath) {
    WriteItem("privat", "gut.ics", SimpleEvent("g", "Gut"));
    WriteItem("privat", "leer.ics", "");
    WriteItem("privat", "kaputt.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:x\r\n");
    WriteItem("privat", "binaer.ics", std::string("\x00\x01\x02garbage", 10));
    auto items = Collection("privat")->Items();
    ASSERT_EQ(items->Count(), 1);
    EXPECT_EQ(items->Item(1)->Subject(), "Gut");
    for (const char* name : {"leer.ics", "kaputt.ics", "binaer.ics"}) {
        EXPECT_TRUE(Traced(CollectionPath("privat") + "/" + name)) << name;
    }
}

TEST_F(IcalLayoutTest, ASecondItemWithTheSameUidIsLeftOutAndTraced) {
    WriteItem("privat", "a.ics", SimpleEvent("same", "Erster"));
    WriteItem("privat", "b.ics", SimpleEvent("same", "Zweiter"));
    auto items = Collection("privat")->Items();
    ASSERT_EQ(items->Count(), 1);
    EXPECT_EQ(items->Item(1)->Subject(), "Erster");
    EXPECT_TRUE(Traced("b.ics"));
}

}  // namespace
}  // namespace planwarte
