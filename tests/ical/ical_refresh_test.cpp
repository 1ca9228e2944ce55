#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "common/recording_items_sink.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::Calendar;
using ical_testing::Event;
using ical_testing::IcalStoreTest;
using ical_testing::WriteFile;

std::string SimpleEvent(const std::string& uid, const std::string& summary) {
    return Calendar({Event(uid, {"DTSTART:20041208T080000", "SUMMARY:" + summary})});
}

using RecordingSink = testing_support::RecordingItemsSink;

class IcalRefreshTest : public IcalStoreTest {
  protected:
    void Advise(const std::string& collection) {
        items_ = Collection(collection)->Items();
        cookie_ = items_->Advise(&sink_);
    }
    std::vector<std::string> Refreshed() {
        sink_.events.clear();
        Factory().Refresh();
        return sink_.events;
    }
    std::string File(const std::string& collection, const std::string& name) {
        return CollectionPath(collection) + "/" + name;
    }

    RecordingSink sink_;
    std::shared_ptr<OlItems> items_;
    int cookie_ = 0;
};

TEST_F(IcalRefreshTest, NewChangedAndRemovedFilesFireTheirEvents) {
    WriteItem("c", "a.ics", SimpleEvent("a", "Alt"));
    WriteItem("c", "b.ics", SimpleEvent("b", "Bleibt"));
    Advise("c");
    EXPECT_EQ(Refreshed(), std::vector<std::string>{}) << "nothing changed";

    WriteItem("c", "n.ics", SimpleEvent("n", "Neu"));
    EXPECT_EQ(Refreshed(), std::vector<std::string>{"add Neu"});

    WriteItem("c", "a.ics", SimpleEvent("a", "Geändert, länger"));
    EXPECT_EQ(Refreshed(), std::vector<std::string>{"change Geändert, länger"});

    std::filesystem::remove(File("c", "n.ics"));
    EXPECT_EQ(Refreshed(), std::vector<std::string>{"remove"});
    EXPECT_EQ(items_->Count(), 2);

    items_->Unadvise(cookie_);
    WriteItem("c", "m.ics", SimpleEvent("m", "Ungehört"));
    EXPECT_EQ(Refreshed(), std::vector<std::string>{});
    EXPECT_THROW(items_->Unadvise(cookie_), OutlookError);
}

TEST_F(IcalRefreshTest, AFileReplacedByRenameIsOneChange) {
    WriteItem("c", "a.ics", SimpleEvent("a", "Vorher"));
    Advise("c");
    // As vdirsyncer and khal write: a temporary file renamed over the old one.
    WriteFile(File("c", ".a.ics.tmp"), SimpleEvent("a", "Nachher"));
    std::filesystem::rename(File("c", ".a.ics.tmp"), File("c", "a.ics"));
    EXPECT_EQ(Refreshed(), std::vector<std::string>{"change Nachher"});
}

TEST_F(IcalRefreshTest, AFileThatBreaksIsSkippedAndTracedAndTheRestStays) {
    WriteItem("c", "a.ics", SimpleEvent("a", "Wird kaputt"));
    WriteItem("c", "b.ics", SimpleEvent("b", "Bleibt"));
    Advise("c");
    WriteItem("c", "a.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEV");
    EXPECT_EQ(Refreshed(), std::vector<std::string>{"remove"});
    EXPECT_TRUE(Traced(File("c", "a.ics")));
    ASSERT_EQ(items_->Count(), 1);
    EXPECT_EQ(items_->Item(1)->Subject(), "Bleibt");
}

// A client that rewrites a file in place, in pieces, while the folder is read again and again:
// a reading never shows a mixed or cut-off item, and once the writing is over the last
// version stands, also when the last reading caught the file half written.
TEST_F(IcalRefreshTest, AFileRewrittenWhileItIsReadShowsOnlyWholeVersions) {
    const std::vector<std::string> subjects = {"Erste Fassung", "Zweite Fassung"};
    auto version = [](const std::string& subject) {
        std::vector<std::string> lines = {"DTSTART:20041208T080000"};
        // Long enough that a reading and a writing overlap.
        lines.insert(lines.end(), 3000, "X-PAD:" + std::string(64, 'x'));
        lines.push_back("SUMMARY:" + subject);
        return Calendar({Event("a", lines)});
    };
    WriteItem("c", "a.ics", version(subjects[0]));
    Advise("c");
    constexpr int kRewrites = 30;
    std::atomic<bool> written{false};
    std::thread writer([&] {
        for (int i = 1; i <= kRewrites; ++i) {
            const std::string text = version(subjects[i % 2]);
            std::ofstream out(File("c", "a.ics"), std::ios::binary | std::ios::trunc);
            for (std::size_t at = 0; at < text.size(); at += 8192) {
                out.write(text.data() + at, static_cast<std::streamsize>(
                                                std::min<std::size_t>(8192, text.size() - at)));
                out.flush();
                std::this_thread::yield();
            }
        }
        written = true;
    });
    std::set<std::string> seen;
    while (!written) {
        Factory().Refresh();
        ASSERT_LE(items_->Count(), 1);
        if (items_->Count() == 1) {
            seen.insert(items_->Item(1)->Subject());
        }
    }
    writer.join();
    for (const std::string& subject : seen) {
        EXPECT_TRUE(subject == subjects[0] || subject == subjects[1]) << subject;
    }
    Factory().Refresh();
    ASSERT_EQ(items_->Count(), 1);
    EXPECT_EQ(items_->Item(1)->Subject(), subjects[kRewrites % 2]);
}

TEST_F(IcalRefreshTest, ARemovedCollectionEmptiesItsFolder) {
    WriteItem("c", "a.ics", SimpleEvent("a", "Eins"));
    WriteItem("c", "b.ics", SimpleEvent("b", "Zwei"));
    auto folder = Collection("c");
    Advise("c");
    auto held = items_->Item(1);
    std::filesystem::remove_all(CollectionPath("c"));
    EXPECT_EQ(Refreshed(), (std::vector<std::string>{"remove", "remove"}));
    EXPECT_EQ(items_->Count(), 0);
    EXPECT_EQ(FindAll(*items_, DayFilter("08.12.2004")), std::vector<std::string>{});
    EXPECT_EQ(Session()->Folders()->Item(1)->Folders()->Count(), 0);
    EXPECT_EQ(held->Subject(), "Eins") << "an item in hand keeps answering";
    EXPECT_EQ(Session()->GetFolderFromID(folder->EntryID(), "")->Items()->Count(), 0);

    WriteItem("c", "a.ics", SimpleEvent("a", "Wieder da"));
    EXPECT_EQ(Refreshed(), std::vector<std::string>{"add Wieder da"});
    EXPECT_EQ(Session()->Folders()->Item(1)->Folders()->Item(1), folder);
}

TEST_F(IcalRefreshTest, ANewCollectionAppearsAndAnEmptyOneTakesItsKindFromItsItems) {
    WriteItem("c", "a.ics", SimpleEvent("a", "Eins"));
    std::filesystem::create_directories(CollectionPath("neu"));
    auto top = Session()->Folders()->Item(1);
    ASSERT_EQ(top->Folders()->Count(), 2);
    EXPECT_EQ(Collection("neu")->DefaultItemType(), kItemTypeAppointment);
    WriteItem("neu", "t.ics", Calendar({"BEGIN:VTODO", "UID:t", "SUMMARY:Aufgabe", "END:VTODO"}));
    WriteItem("dazu", "d.ics", SimpleEvent("d", "Dazu"));
    Factory().Refresh();
    EXPECT_EQ(Collection("neu")->DefaultItemType(), kItemTypeTask);
    EXPECT_EQ(top->Folders()->Count(), 3);
    EXPECT_EQ(Collection("dazu")->Items()->Count(), 1);
}

TEST_F(IcalRefreshTest, TheWatchedPathsAreTheRootAndEveryCollection) {
    WriteItem("c", "a.ics", SimpleEvent("a", "Eins"));
    WriteItem("d", "a.ics", SimpleEvent("a", "Eins"));
    const std::vector<std::string> paths = Factory().WatchedPaths();
    EXPECT_EQ(paths.size(), 3u);
    for (const char* name : {"c", "d"}) {
        EXPECT_NE(std::find(paths.begin(), paths.end(),
                            std::filesystem::weakly_canonical(CollectionPath(name)).string()),
                  paths.end())
            << name;
    }
}

}  // namespace
}  // namespace planwarte
