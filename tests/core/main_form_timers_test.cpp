// The main window's timers over virtual time: what the change detection, the day change and
// the page buttons do to the shown page when they meet, over spans of minutes and of a day.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/fake_services.h"
#include "core/app/main_form.h"
#include "core/app/page_view.h"
#include "core/outlook/change_detection.h"

namespace planwarte {
namespace {

using testing_support::FakeServices;

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;

// Every shown page with the virtual time it was shown at.
class TimedPageView : public PageView {
  public:
    explicit TimedPageView(const VirtualClock& clock) : clock_(clock) {}
    void ShowPage(const std::string& html) override {
        shown_at.push_back(clock_.Now());
        last_page = html;
        if (on_show) {
            auto hook = std::move(on_show);
            on_show = nullptr;
            hook();
        }
    }
    std::vector<DateTime> shown_at;
    std::string last_page;
    std::function<void()> on_show;

  private:
    const VirtualClock& clock_;
};

class MainFormTimersTest : public ::testing::Test {
  protected:
    MainFormTimersTest() : view_(fakes_.clock) {
        calendar_ = fakes_.outlook->DefaultFolder(kDefaultFolderCalendar);
        services_ = std::make_unique<Services>(fakes_.Desktop());
        services_->page_view = &view_;
        form_ = std::make_unique<TForm1>(*services_, StartMode::Desktop, std::vector<std::string>{},
                                         nullptr);
        form_->FormCreate();
        start_ = fakes_.clock.Now();
    }

    void Advance(std::int64_t milliseconds) { fakes_.loop.AdvanceBy(milliseconds); }
    std::int64_t ShownAfterStartMs(std::size_t page) const {
        return static_cast<std::int64_t>(
            (view_.shown_at.at(page).value - start_.value) * 86400000.0 + 0.5);
    }
    void ChangeAnItem() {
        auto appointment = calendar_->AddAppointment(
            {.subject = "Termin", .start = fakes_.clock.Now(), .end = fakes_.clock.Now()});
        calendar_->RaiseItemAdd(appointment);
    }
    std::size_t Count(const std::string& trace_line) const {
        const std::string trace = fakes_.TraceText();
        std::size_t count = 0;
        for (auto at = trace.find(trace_line); at != std::string::npos;
             at = trace.find(trace_line, at + 1)) {
            ++count;
        }
        return count;
    }

    FakeServices fakes_;
    std::shared_ptr<FakeFolder> calendar_;
    TimedPageView view_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<TForm1> form_;
    DateTime start_;
};

TEST_F(MainFormTimersTest, TenChangesInTwoMinutesGiveOneRebuildAndANestedRequestIsDropped) {
    ASSERT_EQ(view_.shown_at.size(), 1u);  // the start-up page
    ASSERT_EQ(calendar_->AdvisedSinkCount(), 1);
    for (int change = 0; change < 10; ++change) {
        ChangeAnItem();
        Advance(10 * kSecond);
    }
    Advance(ChangeDetector::kFirstDelayMs - 100 * kSecond - 1);
    EXPECT_EQ(view_.shown_at.size(), 1u);

    // While the rebuild shows its page, the user steps forward and one more item changes.
    view_.on_show = [this] {
        form_->StepForward();
        ChangeAnItem();
    };
    Advance(1);
    ASSERT_EQ(view_.shown_at.size(), 2u);
    EXPECT_EQ(ShownAfterStartMs(1), ChangeDetector::kFirstDelayMs);
    EXPECT_EQ(Count("_21_\n"), 1u);

    // The change reported during the rebuild gets its own, three seconds later.
    Advance(ChangeDetector::kLaterDelayMs);
    ASSERT_EQ(view_.shown_at.size(), 3u);
    EXPECT_EQ(ShownAfterStartMs(2), ChangeDetector::kFirstDelayMs + ChangeDetector::kLaterDelayMs);
    Advance(kMinute);
    EXPECT_EQ(view_.shown_at.size(), 3u);
}

TEST_F(MainFormTimersTest, ChangeTakesThePageBackToToday) {
    form_->StepForward();
    form_->StepForward();
    const DateTime navigated = form_->FirstShownDay();
    ChangeAnItem();
    Advance(ChangeDetector::kFirstDelayMs);
    EXPECT_LT(form_->FirstShownDay().value, navigated.value);
    EXPECT_LE(form_->FirstShownDay().value, DateOf(fakes_.clock.Now()).value);
}

// A day of use: an item changes every minute, each change rebuilds the page three seconds
// later, and the day changes at midnight. What the window holds must stay as it was.
TEST_F(MainFormTimersTest, DayOfChangesKeepsWhatTheWindowHoldsLevel) {
    ChangeAnItem();
    Advance(ChangeDetector::kFirstDelayMs);
    const std::size_t pages_before = view_.shown_at.size();
    const VirtualEventLoop::PendingCounts pending_before = fakes_.loop.Pending();
    const std::size_t applications_before = fakes_.outlook->Applications().size();

    const int minutes_to_next_day = 24 * 60 - 9 * 60 + 30;  // from 9:02 to 9:32 the next day
    for (int minute = 0; minute < minutes_to_next_day; ++minute) {
        ChangeAnItem();
        // The new day is seen by the minute timer; change detection rebuilds for now anyway.
        Advance(kMinute);
    }

    // One rebuild per change, and the minute timer's own one for the new day.
    EXPECT_EQ(view_.shown_at.size() - pages_before,
              static_cast<std::size_t>(minutes_to_next_day) + 1);
    EXPECT_EQ(DateOf(fakes_.clock.Now()).value, DateOf(start_).value + 1);
    EXPECT_EQ(calendar_->AdvisedSinkCount(), 1);
    EXPECT_EQ(fakes_.outlook->Applications().size(), applications_before);
    const VirtualEventLoop::PendingCounts pending_after = fakes_.loop.Pending();
    EXPECT_EQ(pending_after.messages, pending_before.messages);
    EXPECT_EQ(pending_after.active_timers, pending_before.active_timers);
    EXPECT_TRUE(form_->AppointmentIntroPending());
    EXPECT_EQ(Count("_21_\n"), 0u);
}

TEST_F(MainFormTimersTest, MidnightRebuildsTheQuietPageOnceForTheNewDay) {
    // Created at 9:00:00, the minute timer ticks five seconds after each full minute.
    Advance((15 * 60) * kMinute + 4 * kSecond);
    ASSERT_EQ(view_.shown_at.size(), 1u);
    Advance(2 * kSecond);
    ASSERT_EQ(view_.shown_at.size(), 2u);
    EXPECT_EQ(DateOf(view_.shown_at[1]).value, DateOf(start_).value + 1);
    Advance(60 * kMinute);
    EXPECT_EQ(view_.shown_at.size(), 2u);
}

TEST_F(MainFormTimersTest, CloseEndsTheTimersAndTheFolderConnections) {
    ChangeAnItem();
    form_->FormClose();
    EXPECT_EQ(calendar_->AdvisedSinkCount(), 0);
    Advance(24 * 60 * kMinute);
    EXPECT_EQ(view_.shown_at.size(), 1u);
    EXPECT_EQ(fakes_.loop.Pending().active_timers, 0u);
    form_->FormClose();  // a second close request only stops the timers again
}

}  // namespace
}  // namespace planwarte
