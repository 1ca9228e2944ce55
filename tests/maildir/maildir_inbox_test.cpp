#include "adapters/maildir/maildir_inbox.h"
#include "common/recording_items_sink.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "common/mail_source_contract.h"
#include "common/temp_folder.h"
#include "core/common/format_date_time.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

constexpr const char* kAnnouncedMark = "50FE4A87-7A57-4B6D-92E5-8548D905EBDA";

// Local times are Berlin time in these tests, whatever the machine says.
class BerlinTime {
  public:
    BerlinTime() {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    ~BerlinTime() {
        if (old_.empty()) {
            unsetenv("TZ");
        } else {
            setenv("TZ", old_.c_str(), 1);
        }
        tzset();
    }

  private:
    std::string old_;
};

std::string Mail(const std::string& subject, const std::string& date) {
    return "Date: " + date + "\r\nSubject: " + subject + "\r\n\r\nText von " + subject + "\r\n";
}

using RecordingSink = testing_support::RecordingItemsSink;

class MaildirInboxTest : public ::testing::Test {
  protected:
    MaildirInboxTest() {
        for (const char* sub : {"new", "cur", "tmp"}) {
            fs::create_directories(folder_ / sub);
        }
    }

    void Write(const std::string& relative, const std::string& text) {
        std::ofstream(folder_ / relative, std::ios::binary) << text;
    }
    void Move(const std::string& from, const std::string& to) {
        fs::rename(folder_ / from, folder_ / to);
    }
    std::shared_ptr<MaildirInbox> Open() {
        return std::make_shared<MaildirInbox>(
            folder_.Path(), [this](const std::string& line) { trace_.push_back(line); },
            [this](const std::string& path) { opened_.push_back(path); });
    }
    static std::shared_ptr<OlMailItem> AsMail(const std::shared_ptr<OlItem>& item) {
        return std::dynamic_pointer_cast<OlMailItem>(item);
    }
    // The subjects Find and FindNext give, in their order.
    static std::vector<std::string> FoundSubjects(OlItems& items, const std::string& filter) {
        std::vector<std::string> subjects;
        for (auto item = items.Find(filter); item; item = items.FindNext()) {
            subjects.push_back(item->Subject());
        }
        return subjects;
    }

    BerlinTime berlin_;
    TempFolder folder_;
    std::vector<std::string> trace_;
    std::vector<std::string> opened_;
};

TEST_F(MaildirInboxTest, IsAnEmptyMailFolderWithoutMaildir) {
    for (const std::shared_ptr<OlFolder>& inbox :
         {MakeEmptyInbox(), std::static_pointer_cast<OlFolder>(std::make_shared<MaildirInbox>(
                                folder_ / "missing", MaildirInbox::TraceSink()))}) {
        EXPECT_EQ(inbox->Name(), "Posteingang");
        EXPECT_EQ(inbox->DefaultItemType(), kItemTypeMail);
        EXPECT_EQ(inbox->Parent(), nullptr);
        EXPECT_EQ(inbox->Folders()->Count(), 0);
        auto items = inbox->Items();
        EXPECT_EQ(items->Count(), 0);
        EXPECT_EQ(items->Find("[UnRead] = TRUE"), nullptr);
    }
    EXPECT_THROW(MakeEmptyInbox()->Display(), OutlookError);
}

TEST_F(MaildirInboxTest, ReadsUnreadFromFolderAndSeenFlag) {
    const std::string date = "Thu, 10 Dec 2026 09:00:00 +0100";
    Write("new/1.a.host", Mail("neu", date));
    Write("cur/2.a.host:2,", Mail("gesehen ohne Flags", date));
    Write("cur/3.a.host:2,RF", Mail("beantwortet", date));
    Write("cur/4.a.host:2,FS", Mail("gelesen", date));
    Write("tmp/5.a.host", Mail("in Zustellung", date));
    Write("new/.hidden", Mail("versteckt", date));
    auto inbox = Open();
    auto items = inbox->Items();
    EXPECT_EQ(items->Count(), 4);
    EXPECT_EQ(FoundSubjects(*items, "[UnRead] = TRUE"),
              (std::vector<std::string>{"neu", "gesehen ohne Flags", "beantwortet"}));
    EXPECT_EQ(FoundSubjects(*items, "[UnRead] = FALSE"), std::vector<std::string>{"gelesen"});
}

TEST_F(MaildirInboxTest, TakesReceivedTimeFromDateHeaderElseFileTime) {
    Write("new/1.a.host", Mail("datiert", "Thu, 10 Dec 2026 14:30:00 +0000"));
    Write("new/2.a.host", "Subject: ohne Datum\r\n\r\nx\r\n");
    struct timespec times[2] = {{1'796'909'400, 0}, {1'796'909'400, 0}};  // 13:30 UTC
    ASSERT_EQ(utimensat(AT_FDCWD, (folder_ / "new/2.a.host").c_str(), times, 0), 0);
    auto items = Open()->Items();
    items->Sort("[Subject]", false);
    EXPECT_EQ(AsMail(items->Item(1))->ReceivedTime(), EncodeDateTime(2026, 12, 10, 15, 30));
    EXPECT_EQ(AsMail(items->Item(2))->ReceivedTime(), EncodeDateTime(2026, 12, 10, 14, 30));
}

// What the new-mail check asks: unread mail of a time window, oldest first.
TEST_F(MaildirInboxTest, FindsUnreadMailOfATimeWindowOldestFirst) {
    Write("new/1.a.host", Mail("spät", "Thu, 10 Dec 2026 14:05:00 +0100"));
    Write("new/2.a.host", Mail("früh", "Thu, 10 Dec 2026 09:00:00 +0100"));
    Write("new/3.a.host", Mail("gestern", "Wed, 09 Dec 2026 08:00:00 +0100"));
    Write("new/4.a.host", Mail("zu neu", "Thu, 10 Dec 2026 14:20:00 +0100"));
    Write("cur/5.a.host:2,S", Mail("gelesen", "Thu, 10 Dec 2026 10:00:00 +0100"));
    auto items = Open()->Items();
    items->Sort("[ReceivedTime]", false);
    EXPECT_EQ(FoundSubjects(*items,
                            "[ReceivedTime] >= '#09.12.2026 14:00#' AND "
                            "[ReceivedTime] <= '#10.12.2026 14:07#' AND [UnRead] = TRUE"),
              (std::vector<std::string>{"früh", "spät"}));
    items->Sort("[ReceivedTime]", true);
    EXPECT_EQ(FoundSubjects(*items, "[UnRead] = TRUE")[0], "zu neu");
}

TEST_F(MaildirInboxTest, RejectsWhatItCannotEvaluate) {
    Write("new/1.a.host", Mail("m", "Thu, 10 Dec 2026 09:00:00 +0100"));
    auto items = Open()->Items();
    EXPECT_THROW(items->FindNext(), OutlookError);
    EXPECT_THROW(items->Sort("[Start]", false), OutlookError);
    try {
        items->Find("[UnRead] = ");
        ADD_FAILURE() << "no error";
    } catch (const OutlookError& error) {
        EXPECT_NE(std::string(error.what()).find("[UnRead] = "), std::string::npos);
    }
    EXPECT_THROW(items->Find("[Start] > '#10.12.2026#'"), OutlookError);
    EXPECT_THROW(items->Item(2), OutlookError);
}

TEST_F(MaildirInboxTest, KeepsEntryIdAndMarksWhenAMailIsSeenAndMoved) {
    Write("new/1796.x.host", Mail("Post", "Thu, 10 Dec 2026 09:00:00 +0100"));
    auto inbox = Open();
    auto first = AsMail(inbox->Items()->Find("[UnRead] = TRUE"));
    ASSERT_NE(first, nullptr);
    const std::string entry_id = first->EntryID();
    EXPECT_EQ(entry_id, "313739362E782E686F7374");  // "1796.x.host"
    first->UserProperties()->Add(kAnnouncedMark, 6, false, 0);

    Move("new/1796.x.host", "cur/1796.x.host:2,S");
    EXPECT_FALSE(inbox->Refresh());
    auto again = AsMail(inbox->Items()->Item(1));
    EXPECT_EQ(again->EntryID(), entry_id);
    EXPECT_FALSE(again->UnRead());
    auto properties = again->UserProperties();
    ASSERT_EQ(properties->Count(), 1);
    EXPECT_EQ(properties->Item(1)->Name(), kAnnouncedMark);
    EXPECT_EQ(properties->Item(1)->Value(), Variant(false));
    EXPECT_THROW(properties->Add(kAnnouncedMark, 6, false, 0), OutlookError);
    EXPECT_THROW(properties->Item(2), OutlookError);
    EXPECT_EQ(again->Parent(), inbox);
}

TEST_F(MaildirInboxTest, RefreshReportsArrivalsAndTellsTheSinks) {
    Write("new/1.a.host", Mail("alt", "Thu, 10 Dec 2026 09:00:00 +0100"));
    Write("new/2.a.host", Mail("weg", "Thu, 10 Dec 2026 09:00:00 +0100"));
    auto inbox = Open();
    auto items = inbox->Items();
    RecordingSink sink;
    const int cookie = items->Advise(&sink);
    EXPECT_FALSE(inbox->Refresh());

    Write("tmp/3.a.host", Mail("neu", "Thu, 10 Dec 2026 10:00:00 +0100"));
    EXPECT_FALSE(inbox->Refresh());  // still being delivered
    Move("tmp/3.a.host", "new/3.a.host");
    Move("new/1.a.host", "cur/1.a.host:2,S");
    fs::remove(folder_ / "new/2.a.host");
    EXPECT_TRUE(inbox->Refresh());
    EXPECT_EQ(sink.events, (std::vector<std::string>{"add neu", "change alt", "remove"}));
    EXPECT_EQ(items->Count(), 2);

    items->Unadvise(cookie);
    EXPECT_THROW(items->Unadvise(cookie), OutlookError);
    Write("new/4.a.host", Mail("noch eine", "Thu, 10 Dec 2026 11:00:00 +0100"));
    EXPECT_TRUE(inbox->Refresh());
    EXPECT_EQ(sink.events.size(), 3u);
}

TEST_F(MaildirInboxTest, SkipsAndTracesABrokenFileOnce) {
    Write("new/1.a.host", Mail("gut", "Thu, 10 Dec 2026 09:00:00 +0100"));
    Write("new/2.a.host", "");
    Write("new/3.a.host", "kein Kopf, nur Text\n");
    auto inbox = Open();
    auto items = inbox->Items();
    EXPECT_EQ(items->Count(), 1);
    ASSERT_EQ(trace_.size(), 2u);
    EXPECT_NE(trace_[0].find(folder_ / "new/2.a.host"), std::string::npos);
    EXPECT_NE(trace_[1].find(folder_ / "new/3.a.host"), std::string::npos);
    EXPECT_FALSE(inbox->Refresh());
    EXPECT_EQ(trace_.size(), 2u);

    // Mended, it counts as arrived.
    Write("new/2.a.host", Mail("repariert", "Thu, 10 Dec 2026 09:30:00 +0100"));
    EXPECT_TRUE(inbox->Refresh());
    EXPECT_EQ(items->Count(), 2);
}

TEST_F(MaildirInboxTest, DisplayOpensTheFileOrTheFolder) {
    Write("new/1.a.host", Mail("m", "Thu, 10 Dec 2026 09:00:00 +0100"));
    auto inbox = Open();
    inbox->Items()->Item(1)->Display();
    inbox->Display();
    EXPECT_EQ(opened_, (std::vector<std::string>{folder_ / "new/1.a.host", folder_.Path()}));
}

TEST_F(MaildirInboxTest, HasStableIdsPerMaildir) {
    auto one = Open();
    auto two = Open();
    auto other = std::make_shared<MaildirInbox>(folder_ / "other", MaildirInbox::TraceSink());
    EXPECT_EQ(one->EntryID(), two->EntryID());
    EXPECT_EQ(one->StoreID(), two->StoreID());
    EXPECT_NE(one->EntryID(), other->EntryID());
    EXPECT_NE(one->EntryID(), one->StoreID());
    EXPECT_EQ(one->EntryID().find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

// Each mail in a file of its own, named in the order the mails are given: unread ones in
// new/, read ones in cur/ with the Seen flag. Changes reach the sinks by a refresh.
class MaildirMailSourceTest : public MaildirInboxTest, public testing_support::MailSourceUnderTest {
  protected:
    std::shared_ptr<OlItems> MailItems(
        const std::vector<testing_support::SourceMail>& items) override {
        for (const testing_support::SourceMail& item : items) {
            WriteMail(item);
        }
        inbox_ = Open();
        return inbox_->Items();
    }

    void AddMail(const testing_support::SourceMail& item) override {
        WriteMail(item);
        inbox_->Refresh();
    }

    void Rename(const std::string& subject, const std::string& new_subject) override {
        testing_support::SourceMail item = written_.at(subject);
        const std::string file = files_.at(subject);
        item.subject = new_subject;
        Write(file, Text(item));
        written_[new_subject] = item;
        files_[new_subject] = file;
        inbox_->Refresh();
    }

    void Remove(const std::string& subject) override {
        fs::remove(folder_ / files_.at(subject));
        inbox_->Refresh();
    }

  private:
    // The contract's mails came in December, when Berlin is an hour ahead of UTC.
    static std::string Text(const testing_support::SourceMail& item) {
        return Mail(item.subject, FormatDateTime("dd' Dec 'yyyy hh:nn:ss' +0100'", item.received));
    }

    void WriteMail(const testing_support::SourceMail& item) {
        ++count_;
        const std::string name = (count_ < 10 ? "0" : "") + std::to_string(count_) + ".a.host";
        const std::string file = item.unread ? "new/" + name : "cur/" + name + ":2,S";
        Write(file, Text(item));
        written_[item.subject] = item;
        files_[item.subject] = file;
    }

    std::shared_ptr<MaildirInbox> inbox_;
    int count_ = 0;
    std::map<std::string, testing_support::SourceMail> written_;
    std::map<std::string, std::string> files_;
};

TEST_F(MaildirMailSourceTest, FindFindNextAndSort) {
    testing_support::CheckMailFindAndSort(*this);
}
TEST_F(MaildirMailSourceTest, FiltersThatCannotBeEvaluated) {
    testing_support::CheckMailFaultyFilters(*this);
}
TEST_F(MaildirMailSourceTest, ItemEventsReachTheAdvisedSinks) {
    testing_support::CheckMailEvents(*this);
}

}  // namespace
}  // namespace planwarte
