// The assistant speaking through espeak-ng on the real message loop: the wait for the speech
// runs the main thread's timers, and the service's reports drive the character's idle state.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/memory_file_system.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/linux/system_event_loop.h"
#include "adapters/speech/espeak_speech_service.h"
#include "core/assistant/agent_host.h"
#include "core/settings/setting_values.h"
#include "speech/speech_test_support.h"

namespace planwarte {
namespace {

using testing_support::RecordingOutput;

constexpr const char* kAnnouncement =
    "Es ist jetzt zehn Uhr und fünfzehn Minuten. Heute stehen noch drei Termine an, "
    "der erste um elf Uhr.";

// Takes a quarter of the time a sound device would take to play the samples.
class PacedOutput : public RecordingOutput {
  public:
    void Write(const std::int16_t* samples, std::size_t count, int sample_rate) override {
        std::this_thread::sleep_for(
            std::chrono::microseconds(static_cast<std::int64_t>(count) * 250000 / sample_rate));
        RecordingOutput::Write(samples, count, sample_rate);
    }
};

class SpeakingOnTheMessageLoopTest : public ::testing::Test {
  protected:
    SpeakingOnTheMessageLoopTest() {
        settings_.OpenKey(kSettingsKeyPath, true)->WriteBool("CharacterUsed", true);
    }

    void SetUp() override { ASSERT_TRUE(host_.LoadAgent(0, 0, true)); }
    void TearDown() override { host_.UnloadAgent(); }

    // Processes the main thread's messages until the condition holds; false after seconds.
    template <typename Condition>
    bool ProcessMessagesUntil(Condition condition) {
        for (int i = 0; i < 500 && !condition(); ++i) {
            loop_.Sleep(10);
            loop_.ProcessPendingMessages();
        }
        return condition();
    }

    SystemEventLoop loop_;
    MemorySettingsStore settings_;
    MemoryFileSystem files_;
    RecordingNotice notice_;
    PacedOutput* played_ = new PacedOutput;
    EspeakSpeechService speech_{{.output = std::unique_ptr<AudioOutput>(played_), .desktop = {}}};
    const bool english_ = false;
    AgentHost host_{{.speech = &speech_,
                     .settings = settings_,
                     .loop = loop_,
                     .files = files_,
                     .notice = notice_,
                     .trace = [](const std::string&) {}},
                    english_};
};

TEST_F(SpeakingOnTheMessageLoopTest, SpeakTextWaitsForTheSpokenTextWhileTimersTick) {
    int ticks = 0;
    const auto timer = loop_.CreateTimer(20, [&ticks] { ++ticks; });
    timer->SetEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    host_.SpeakText(kAnnouncement, {.no_gestures = true});
    const auto spoken_for = std::chrono::steady_clock::now() - start;

    // The text was spoken to its end before the wait ended, and meanwhile the timer ticked.
    const auto texts = played_->Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_FALSE(texts[0].discarded);
    EXPECT_GE(spoken_for, std::chrono::milliseconds(500));
    EXPECT_GE(ticks, 10);
    EXPECT_TRUE(host_.IsIdle());
}

TEST_F(SpeakingOnTheMessageLoopTest, IdleCharacterIsHiddenAndThenUnloadedByTheIdleTicks) {
    host_.SpeakText("Hallo", {.no_gestures = true});
    ASSERT_EQ(host_.IdleTicks(), AgentHost::kIdleTicksAfterIdleStarted);

    host_.IdleTick();
    host_.IdleTick();
    // Hidden at the sixth tick; the report of it stops every wait.
    ASSERT_TRUE(ProcessMessagesUntil([this] { return host_.Stopped(); }));
    ASSERT_TRUE(host_.Loaded());
    host_.IdleTick();
    EXPECT_FALSE(host_.Loaded());
}

}  // namespace
}  // namespace planwarte
