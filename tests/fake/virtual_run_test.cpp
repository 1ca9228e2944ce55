#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fake/virtual_loop_fixture.h"

namespace planwarte {
namespace {

using VirtualRunTest = VirtualLoopTest;

TEST_F(VirtualRunTest, RunsUntilQuitAndReturnsItsCode) {
    int ticks = 0;
    auto timer = loop_.CreateTimer(1000, [&] {
        if (++ticks == 5) {
            loop_.Quit(7);
        }
    });
    timer->SetEnabled(true);
    EXPECT_EQ(loop_.Run(), 7);
    EXPECT_EQ(clock_.ElapsedMs(), 5000);
}

TEST_F(VirtualRunTest, JumpsStraightToALongWait) {
    auto debounce = loop_.CreateTimer(120000, [&] { loop_.Quit(0); });
    debounce->SetEnabled(true);
    EXPECT_EQ(loop_.Run(), 0);
    EXPECT_EQ(clock_.ElapsedMs(), 120000);
}

TEST_F(VirtualRunTest, QuitLeavesTheRemainingMessagesQueued) {
    loop_.Post([&] { loop_.Quit(3); });
    loop_.Post([&] { Record("after quit"); });
    EXPECT_EQ(loop_.Run(), 3);
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(loop_.Pending().messages, 1u);
    loop_.ProcessPendingMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"after quit@0"}));
}

TEST_F(VirtualRunTest, RunsAgainAfterReturning) {
    loop_.Quit(1);
    EXPECT_EQ(loop_.Run(), 1);
    loop_.Post([&] { loop_.Quit(2); });
    EXPECT_EQ(loop_.Run(), 2);
}

// A loop with nothing left to do and no Quit would wait forever; here it says so.
TEST_F(VirtualRunTest, IdleLoopIsReported) {
    struct Case {
        const char* name;
        int ticks_before_stop;
    };
    for (const Case c : {Case{"nothing ever due", 0}, Case{"last timer stops itself", 3}}) {
        SCOPED_TRACE(c.name);
        VirtualClock clock(DateTime(45000.0));
        VirtualEventLoop loop(clock);
        int ticks = 0;
        std::unique_ptr<Timer> timer;
        if (c.ticks_before_stop > 0) {
            timer = loop.CreateTimer(1000, [&] {
                if (++ticks == c.ticks_before_stop) {
                    timer->SetEnabled(false);
                }
            });
            timer->SetEnabled(true);
        }
        try {
            loop.Run();
            ADD_FAILURE() << "Run returned without a Quit";
        } catch (const std::logic_error& error) {
            EXPECT_NE(std::string(error.what()).find("event loop idle"), std::string::npos);
        }
        EXPECT_EQ(ticks, c.ticks_before_stop);
    }
}

}  // namespace
}  // namespace planwarte
