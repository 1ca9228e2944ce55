#include "core/outlook/change_detection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "core/common/date_time.h"
#include "core/outlook/used_folders.h"
#include "core/outlook/watch_used_folders.h"

namespace planwarte {
namespace {

constexpr std::int64_t kMsPerDay = 24 * 60 * 60 * 1000;

class ChangeDetectionTest : public ::testing::Test {
  protected:
    struct Rebuild {
        std::int64_t at_ms;  // elapsed virtual time when the rebuild was asked for
        DateTime now;        // the moment it was asked to show
    };

    void SetUp() override {
        calendar_ = source_->AddCalendar("Kalender");
        item_ = calendar_->AddAppointment({.subject = "Zahnarzt"});
    }

    // A used-folder list holding the calendar, watched by the detector.
    void WatchCalendar() {
        auto object = std::make_unique<TMAPIFolderObject>();
        object->folder = calendar_;
        object->entry_id = calendar_->EntryID();
        list_.push_back(UsedFolderLine{.name = calendar_->EntryID(), .object = std::move(object)});
        WatchUsedFolders(list_, detector_);
        ASSERT_EQ(calendar_->AdvisedSinkCount(), 1);
    }

    // Moves virtual time to the given elapsed milliseconds.
    void AdvanceTo(std::int64_t elapsed_ms) { loop_.AdvanceBy(elapsed_ms - clock_.ElapsedMs()); }

    std::vector<std::int64_t> RebuildTimes() const {
        std::vector<std::int64_t> times;
        for (const Rebuild& rebuild : rebuilds_) {
            times.push_back(rebuild.at_ms);
        }
        return times;
    }

    const DateTime start_ = EncodeDateTime(2026, 12, 10, 9, 0);
    VirtualClock clock_{start_};
    VirtualEventLoop loop_{clock_};
    std::vector<Rebuild> rebuilds_;
    std::function<void()> during_rebuild_;
    ChangeDetector detector_{loop_, clock_, [this](DateTime now) {
                                 rebuilds_.push_back({clock_.ElapsedMs(), now});
                                 if (during_rebuild_) {
                                     during_rebuild_();
                                 }
                             }};
    std::shared_ptr<FakeOutlook> source_ = FakeOutlook::Create();
    std::shared_ptr<FakeFolder> calendar_;
    std::shared_ptr<OlItem> item_;
    UsedFolderList list_;
};

TEST_F(ChangeDetectionTest, BurstOverTwoMinutesGivesOneRebuildTwoMinutesAfterTheFirstChange) {
    WatchCalendar();
    // Ten events of all three kinds, the first at 5 s, the last at 113 s.
    for (int i = 0; i < 10; ++i) {
        AdvanceTo(5000 + i * 12000);
        switch (i % 3) {
            case 0:
                calendar_->RaiseItemAdd(item_);
                break;
            case 1:
                calendar_->RaiseItemChange(item_);
                break;
            default:
                calendar_->RaiseItemRemove();
                break;
        }
        EXPECT_TRUE(detector_.Pending());
    }
    AdvanceTo(5000 + ChangeDetector::kFirstDelayMs - 1);
    EXPECT_TRUE(rebuilds_.empty());

    AdvanceTo(10 * 60 * 1000);
    ASSERT_EQ(RebuildTimes(), std::vector<std::int64_t>{5000 + ChangeDetector::kFirstDelayMs});
    const TimeOfDay shown = DecodeTime(rebuilds_[0].now);
    EXPECT_EQ(shown, (TimeOfDay{.hour = 9, .minute = 2, .second = 5}));
    EXPECT_FALSE(detector_.Pending());
}

TEST_F(ChangeDetectionTest, LaterRunsWaitThreeSecondsAndAbsorbTheirBurst) {
    WatchCalendar();
    calendar_->RaiseItemChange(item_);
    AdvanceTo(ChangeDetector::kFirstDelayMs);
    ASSERT_EQ(RebuildTimes(), std::vector<std::int64_t>{120000});

    // Ten changes within two seconds after the first rebuild.
    for (int i = 0; i < 10; ++i) {
        AdvanceTo(130000 + i * 200);
        calendar_->RaiseItemChange(item_);
    }
    AdvanceTo(200000);
    calendar_->RaiseItemAdd(item_);
    AdvanceTo(300000);
    EXPECT_EQ(RebuildTimes(), (std::vector<std::int64_t>{120000, 133000, 203000}));
}

TEST_F(ChangeDetectionTest, RebuildShowsThePresentDayAfterMidnight) {
    WatchCalendar();
    AdvanceTo(15 * 60 * 60 * 1000 - 60000);  // 23:59
    calendar_->RaiseItemRemove();
    AdvanceTo(kMsPerDay);
    ASSERT_EQ(rebuilds_.size(), 1u);
    EXPECT_EQ(DecodeDate(rebuilds_[0].now), (CalendarDate{2026, 12, 11}));
}

TEST_F(ChangeDetectionTest, ChangeReportedWhileTheRebuildRunsStartsANewRun) {
    WatchCalendar();
    // The build processes messages (it may speak), so the sink can be called inside it.
    during_rebuild_ = [this] {
        if (rebuilds_.size() == 1) {
            calendar_->RaiseItemChange(item_);
        }
    };
    calendar_->RaiseItemAdd(item_);
    AdvanceTo(200000);
    EXPECT_EQ(RebuildTimes(), (std::vector<std::int64_t>{120000, 123000}));
}

TEST_F(ChangeDetectionTest, StopForgetsThePendingRebuild) {
    WatchCalendar();
    calendar_->RaiseItemAdd(item_);
    detector_.Stop();
    EXPECT_FALSE(detector_.Pending());
    AdvanceTo(10 * 60 * 1000);
    EXPECT_TRUE(rebuilds_.empty());
}

TEST_F(ChangeDetectionTest, ChangeInAFolderThatIsNotUsedStartsNothing) {
    WatchCalendar();
    const std::shared_ptr<FakeFolder> other = source_->AddCalendar("Geburtstage");
    other->RaiseItemAdd(other->AddAppointment({.subject = "Oma"}));
    EXPECT_EQ(other->AdvisedSinkCount(), 0);
    EXPECT_FALSE(detector_.Pending());
}

TEST_F(ChangeDetectionTest, SinksGoWithTheirFolderObjects) {
    const std::shared_ptr<FakeFolder> tasks = source_->AddTaskFolder("Aufgaben");
    list_.push_back(UsedFolderLine{.name = "unreadable", .object = nullptr});
    list_.push_back(
        UsedFolderLine{.name = "lost", .object = std::make_unique<TMAPIFolderObject>()});
    auto object = std::make_unique<TMAPIFolderObject>();
    object->folder = tasks;
    list_.push_back(UsedFolderLine{.name = tasks->EntryID(), .object = std::move(object)});
    WatchCalendar();  // adds the calendar and connects every line

    // Watching again after a reload of the lists connects only what is new.
    WatchUsedFolders(list_, detector_);
    EXPECT_EQ(calendar_->AdvisedSinkCount(), 1);
    EXPECT_EQ(tasks->AdvisedSinkCount(), 1);
    EXPECT_EQ(list_[1].object->items_events, nullptr);
    EXPECT_EQ(list_[2].object->items_events->FolderEntryId(), tasks->EntryID());

    tasks->RaiseItemAdd(item_);
    EXPECT_TRUE(detector_.Pending());

    list_.clear();
    EXPECT_EQ(calendar_->AdvisedSinkCount(), 0);
    EXPECT_EQ(tasks->AdvisedSinkCount(), 0);
}

TEST_F(ChangeDetectionTest, RefusedConnectionsLeaveTheFolderUnwatchedSilently) {
    struct Case {
        const char* failing_call;
    };
    for (const Case& c : std::vector<Case>{{"Items"}, {"Advise"}}) {
        SCOPED_TRACE(c.failing_call);
        list_.clear();
        source_->State().FailCall(c.failing_call);
        auto object = std::make_unique<TMAPIFolderObject>();
        object->folder = calendar_;
        list_.push_back(UsedFolderLine{.name = "Kalender", .object = std::move(object)});
        EXPECT_NO_THROW(WatchUsedFolders(list_, detector_));
        EXPECT_EQ(calendar_->AdvisedSinkCount(), 0);
        EXPECT_EQ(list_[0].object->items_events, nullptr);
        calendar_->RaiseItemChange(item_);
        EXPECT_FALSE(detector_.Pending());
    }
}

TEST_F(ChangeDetectionTest, SinkStaysConnectedWhenTheFolderCannotTellItsEntryId) {
    int events = 0;
    CItemsEvents sink([&events] { ++events; });
    source_->State().FailCall("Parent");
    sink.Connect(calendar_->Items());
    EXPECT_TRUE(sink.Connected());
    EXPECT_EQ(sink.FolderEntryId(), "");
    calendar_->RaiseItemRemove();
    EXPECT_EQ(events, 1);
}

TEST_F(ChangeDetectionTest, RefusedUnadviseDoesNotStopTheShutdown) {
    auto sink = std::make_unique<CItemsEvents>([] {});
    sink->Connect(calendar_->Items());
    ASSERT_TRUE(sink->Connected());
    source_->State().FailCall("Unadvise");
    EXPECT_NO_THROW(sink.reset());
}

}  // namespace
}  // namespace planwarte
