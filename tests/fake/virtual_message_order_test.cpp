#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fake/virtual_loop_fixture.h"

namespace planwarte {
namespace {

using VirtualMessageOrderTest = VirtualLoopTest;

TEST_F(VirtualMessageOrderTest, PostedMessagesComeBeforeTimersDueAtTheSameInstant) {
    auto timer = loop_.CreateTimer(1000, [&] { Record("tick"); });
    timer->SetEnabled(true);
    clock_.Advance(1000);
    loop_.Post([&] { Record("first"); });
    loop_.Post([&] { Record("second"); });
    loop_.ProcessPendingMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"first@1000", "second@1000", "tick@1000"}));
}

TEST_F(VirtualMessageOrderTest, MessagePostedByATickComesBeforeTheNextTick) {
    auto a = loop_.CreateTimer(1000, [&] {
        Record("a");
        loop_.Post([&] { Record("posted by a"); });
    });
    auto b = loop_.CreateTimer(1000, [&] { Record("b"); });
    a->SetEnabled(true);
    b->SetEnabled(true);
    loop_.AdvanceBy(1000);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"a@1000", "posted by a@1000", "b@1000"}));
}

TEST_F(VirtualMessageOrderTest, NestedProcessingDeliversTheRestInOrderOnce) {
    loop_.Post([&] {
        Record("outer begins");
        loop_.Post([&] { Record("posted inside"); });
        loop_.ProcessPendingMessages();
        Record("outer ends");
    });
    loop_.Post([&] { Record("queued second"); });
    auto timer = loop_.CreateTimer(500, [&] { Record("tick"); });
    timer->SetEnabled(true);
    clock_.Advance(500);

    loop_.ProcessPendingMessages();
    loop_.ProcessPendingMessages();

    EXPECT_EQ(Trace(),
              (std::vector<std::string>{"outer begins@500", "queued second@500",
                                        "posted inside@500", "tick@500", "outer ends@500"}));
}

TEST_F(VirtualMessageOrderTest, ProcessingNeverMovesTime) {
    auto timer = loop_.CreateTimer(1000, [&] { Record("tick"); });
    timer->SetEnabled(true);
    loop_.ProcessPendingMessages();
    EXPECT_EQ(clock_.ElapsedMs(), 0);
    EXPECT_TRUE(Trace().empty());
}

TEST_F(VirtualMessageOrderTest, PostsFromOtherThreadsKeepEachThreadsOrder) {
    constexpr int kPerThread = 200;
    std::vector<int> seen_a;
    std::vector<int> seen_b;
    auto poster = [&](std::vector<int>& seen) {
        for (int i = 0; i < kPerThread; ++i) {
            loop_.Post([&seen, i] { seen.push_back(i); });
        }
    };
    std::thread a(poster, std::ref(seen_a));
    std::thread b(poster, std::ref(seen_b));
    a.join();
    b.join();
    EXPECT_EQ(loop_.Pending().messages, 2u * kPerThread);

    loop_.ProcessPendingMessages();

    std::vector<int> expected(kPerThread);
    for (int i = 0; i < kPerThread; ++i) {
        expected[i] = i;
    }
    EXPECT_EQ(seen_a, expected);
    EXPECT_EQ(seen_b, expected);
    EXPECT_EQ(loop_.Pending().messages, 0u);
}

TEST_F(VirtualMessageOrderTest, RejectsMisuse) {
    EXPECT_THROW(loop_.Post(nullptr), std::invalid_argument);
    EXPECT_THROW(loop_.AdvanceBy(-1), std::invalid_argument);

    bool processing_refused = false;
    bool timer_refused = false;
    std::thread worker([&] {
        try {
            loop_.ProcessPendingMessages();
        } catch (const std::logic_error&) {
            processing_refused = true;
        }
        try {
            loop_.CreateTimer(10, [] {});
        } catch (const std::logic_error&) {
            timer_refused = true;
        }
    });
    worker.join();
    EXPECT_TRUE(processing_refused);
    EXPECT_TRUE(timer_refused);
}

}  // namespace
}  // namespace planwarte
