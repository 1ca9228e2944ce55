#include "core/assistant/agent_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "assistant_world.h"
#include "core/app/event_loop.h"

namespace planwarte {
namespace {

using testing_support::AssistantWorld;
using Lines = std::vector<std::string>;

Lines PositionRequests(const Lines& log) {
    Lines positions;
    for (const std::string& line : log) {
        if (line.starts_with("SetPosition(")) {
            positions.push_back(line);
        }
    }
    return positions;
}

bool Contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(AgentHostStart, LoadsShowsAndRegistersInOrder) {
    AssistantWorld world;
    EXPECT_TRUE(world.Host().LoadAgent(0, 0, true));
    EXPECT_TRUE(world.Host().Available());
    // The work area ends at 1024 x 738; the character is 128 x 128.
    EXPECT_EQ(world.speech.Log(),
              (Lines{"Connect", "LoadCharacter()", "SetLanguage(7)", "OriginalSize",
                     "SetPosition(896,610)", "Show", "RegisterSink"}));
    EXPECT_TRUE(world.speech.SinkRegistered());
}

TEST(AgentHostStart, TheSwitchAndForceDecideWhetherTheCharacterStarts) {
    struct Case {
        const char* name;
        std::optional<int> character_used;
        bool force;
        bool starts;
    };
    for (const Case& c :
         std::vector<Case>{{"switched on", 1, false, true},
                           {"switched off", 0, false, false},
                           {"switched off but forced", 0, true, true},
                           {"never stored or unreadable", std::nullopt, false, true}}) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.fakes.settings.SetRaw(kSettingsKeyPath, "CharacterUsed", "");
        if (c.character_used) {
            world.SetInteger("CharacterUsed", *c.character_used);
        }
        world.Host().SetForce(c.force);
        EXPECT_EQ(world.Host().LoadAgent(0, 0, true), c.starts);
        EXPECT_EQ(world.Host().Available(), c.starts);
        if (!c.starts) {
            EXPECT_TRUE(world.speech.Log().empty());
        }
        if (!c.character_used) {
            // Stored as off for the next start.
            EXPECT_EQ(world.fakes.settings.IntegerValue(kSettingsKeyPath, "CharacterUsed"), 0);
        }
    }
}

TEST(AgentHostStart, PositionIsKeptOnTheScreen) {
    struct Case {
        const char* name;
        ScreenPoint requested;
        ScreenPoint stored;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"lower right corner of the work area", {}, {}, {"SetPosition(896,610)"}},
        {"stored position", {}, {300, 400}, {"SetPosition(300,400)"}},
        {"stored beyond the right edge",
         {},
         {3000, 500},
         {"SetPosition(3000,500)", "SetPosition(886,500)"}},
        {"stored below the bottom edge",
         {},
         {500, 700},
         {"SetPosition(500,700)", "SetPosition(500,630)"}},
        {"asked-for position wins", {100, 200}, {300, 400}, {"SetPosition(100,200)"}},
        {"asked-for position off the screen",
         {1000, 1000},
         {},
         {"SetPosition(1000,1000)", "SetPosition(886,630)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.SetInteger("AgentLastPositionX", c.stored.x);
        world.SetInteger("AgentLastPositionY", c.stored.y);
        ASSERT_TRUE(world.Host().LoadAgent(c.requested.x, c.requested.y, true));
        EXPECT_EQ(PositionRequests(world.speech.Log()), c.expected);
    }
}

TEST(AgentHostStart, ZoomMakesTheCharacterTwoThirdsOfItsSize) {
    AssistantWorld world;
    world.SetInteger("AgentZoom", 1);
    world.Host().LoadAgent(0, 0, true);
    EXPECT_TRUE(Contains(world.speech.Log(), "SetSize(85,85)"));
    EXPECT_EQ(PositionRequests(world.speech.Log()), (Lines{"SetPosition(939,653)"}));
}

TEST(AgentHostStart, ZoomNeverStoredIsStoredAsOff) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    EXPECT_EQ(world.fakes.settings.IntegerValue(kSettingsKeyPath, "AgentZoom"), 0);
    EXPECT_FALSE(Contains(world.speech.Log(), "SetSize(128,128)"));
}

TEST(AgentHostStart, CharacterFileIsUsedWhenItExists) {
    struct Case {
        const char* name;
        bool file_exists;
        const char* expected;
    };
    for (const Case& c :
         std::vector<Case>{{"existing file", true, "LoadCharacter(/home/u/merlin.acs)"},
                           {"missing file: the default character", false, "LoadCharacter()"}}) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.SetString("AgentFromFileSystem", "/home/u/merlin.acs");
        if (c.file_exists) {
            world.fakes.files.AddFile("/home/u/merlin.acs", "character");
        }
        world.Host().LoadAgent(0, 0, true);
        EXPECT_EQ(world.speech.Log()[1], c.expected);
    }
}

TEST(AgentHostStart, VoiceGoesInBracesAndEnglishTextsKeepTheLanguage) {
    AssistantWorld world;
    world.SetString("AgentVoiceModeID", "ABC");
    world.english = true;
    world.Host().LoadAgent(0, 0, true);
    EXPECT_TRUE(Contains(world.speech.Log(), "SetVoice({ABC})"));
    EXPECT_FALSE(Contains(world.speech.Log(), "SetLanguage(7)"));
}

TEST(AgentHostStart, FailuresOnTheWay) {
    struct Case {
        const char* name;
        const char* failing;
        bool starts;
        Lines traces;
    };
    const std::vector<Case> cases = {
        {"language", "SetLanguage", true, {"_22_"}},
        {"voice", "SetVoice", true, {"_23_"}},
        {"sink", "RegisterSink", true, {"_24_"}},
        {"connecting", "Connect", false, {"Agent nicht installiert"}},
        {"the character", "LoadCharacter", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.SetString("AgentVoiceModeID", "ABC");
        world.speech.Fail(c.failing);
        EXPECT_EQ(world.Host().LoadAgent(0, 0, true), c.starts);
        EXPECT_EQ(world.Host().Available(), c.starts);
        EXPECT_EQ(world.traces, c.traces);
        // Switched off only when the service is not there at all.
        EXPECT_EQ(world.fakes.settings.IntegerValue(kSettingsKeyPath, "CharacterUsed"), 1);
    }
}

TEST(AgentHostStart, NoServiceSwitchesTheCharacterOff) {
    AssistantWorld world;
    world.speech.service_present = false;
    EXPECT_FALSE(world.Host().LoadAgent(0, 0, true));
    EXPECT_EQ(world.fakes.settings.IntegerValue(kSettingsKeyPath, "CharacterUsed"), 0);
}

TEST(AgentHostStart, WithoutSinkNoReportArrives) {
    AssistantWorld world;
    world.speech.Fail("RegisterSink");
    world.Host().LoadAgent(0, 0, true);
    world.speech.NotifyIdle(true);
    world.fakes.loop.AdvanceBy(0);
    EXPECT_FALSE(world.Host().IsIdle());
}

TEST(AgentHostStart, StartWhileLoadedOnlyShows) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    world.Host().SetIdleTicks(3);
    world.speech.ClearLog();
    EXPECT_TRUE(world.Host().LoadAgent(0, 0, false));
    EXPECT_TRUE(world.speech.Log().empty());
    EXPECT_TRUE(world.Host().LoadAgent(0, 0, true));
    EXPECT_EQ(world.speech.Log(), (Lines{"Show"}));
    EXPECT_EQ(world.Host().IdleTicks(), 3);
}

TEST(AgentHostStart, NoSpeechServiceMeansNoAssistant) {
    testing_support::FakeServices fakes;
    bool english = false;
    AgentHost host(AgentHostServices{.speech = nullptr,
                                     .settings = fakes.settings,
                                     .loop = fakes.loop,
                                     .files = fakes.files,
                                     .notice = fakes.notice,
                                     .trace = [](const std::string&) {}},
                   english);
    EXPECT_FALSE(host.LoadAgent(0, 0, true));
    host.SpeakText("Hallo", {});
    EXPECT_FALSE(host.Available());
}

TEST(AgentHostUnload, StoresWhereTheUserLeftTheCharacter) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    // The user drags the character.
    world.speech.SetPosition(world.speech.CharacterId(), {300, 400});
    world.speech.ClearLog();
    world.Host().UnloadAgent();
    EXPECT_EQ(world.speech.Log(),
              (Lines{"UnregisterSink", "StopAll", "Position", "UnloadCharacter", "Disconnect"}));
    EXPECT_FALSE(world.Host().Loaded());
    EXPECT_FALSE(world.Host().Available());
    EXPECT_EQ(world.fakes.settings.IntegerValue(kSettingsKeyPath, "AgentLastPositionX"), 300);
    EXPECT_EQ(world.fakes.settings.IntegerValue(kSettingsKeyPath, "AgentLastPositionY"), 400);

    world.speech.ClearLog();
    world.Host().LoadAgent(0, 0, true);
    EXPECT_EQ(PositionRequests(world.speech.Log()), (Lines{"SetPosition(300,400)"}));
}

TEST(AgentHostUnload, AFailingStepDoesNotLeaveTheCharacterHalfLoaded) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    world.speech.Fail("StopAll");
    EXPECT_THROW(world.Host().UnloadAgent(), SpeechError);
    EXPECT_FALSE(world.Host().Loaded());
    EXPECT_FALSE(world.speech.CharacterLoaded());
    EXPECT_FALSE(world.speech.Connected());
    EXPECT_TRUE(world.fakes.settings.IntegerValue(kSettingsKeyPath, "AgentLastPositionX"));
    // Nothing is left to unload at the next idle tick.
    world.speech.ClearLog();
    world.Host().UnloadAgent();
    EXPECT_TRUE(world.speech.Log().empty());
}

TEST(AgentHostSpeak, GesturesAroundTheText) {
    struct Case {
        const char* name;
        SpeakOptions options;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"spoken without gestures", {.no_wait = true, .no_gestures = true}, {"Speak(Hallo)"}},
        {"continued reading", {.no_wait = true}, {"Play(ReadContinued)", "Speak(Hallo)"}},
        {"reading begins",
         {.gesture_before = true, .no_wait = true},
         {"Play(Read)", "Play(ReadContinued)", "Speak(Hallo)"}},
        {"reading begins and ends at once without waiting",
         {.gesture_before = true, .gesture_after = true, .no_wait = true},
         {"Play(Read)", "Play(ReadContinued)", "Speak(Hallo)", "Play(ReadReturn)"}},
        {"no gestures wins over both",
         {.gesture_before = true, .gesture_after = true, .no_wait = true, .no_gestures = true},
         {"Speak(Hallo)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.Host().LoadAgent(0, 0, true);
        world.Host().SetIdleTicks(5);
        world.speech.ClearLog();
        world.Host().SpeakText("Hallo", c.options);
        EXPECT_EQ(world.speech.Log(), c.expected);
        EXPECT_EQ(world.Host().IdleTicks(), 0);
    }
}

TEST(AgentHostSpeak, AFailingAnimationIsIgnored) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    world.speech.Fail("Play");
    world.Host().SpeakText("Hallo", {.gesture_before = true, .no_wait = true});
    EXPECT_TRUE(Contains(world.speech.Log(), "Speak(Hallo)"));
}

TEST(AgentHostSpeak, WaitKeepsTimersTickingUntilTheCharacterIsIdle) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    EventLoop& loop = world.fakes.loop;
    int seconds_ticked = 0;
    auto every_second = loop.CreateTimer(1000, [&] { ++seconds_ticked; });
    every_second->SetEnabled(true);
    // The character has spoken for 10 seconds when it reports that it is idle.
    auto speech_done = loop.CreateTimer(10'000, [&] { world.speech.NotifyIdle(true); });
    speech_done->SetEnabled(true);
    const std::int64_t started = world.fakes.clock.ElapsedMs();

    world.Host().SpeakText("Ein langer Text", {.gesture_after = true});

    const std::int64_t waited = world.fakes.clock.ElapsedMs() - started;
    EXPECT_GE(waited, 10'000);
    EXPECT_LE(waited, 10'000 + AgentHost::kWaitPollMs);
    EXPECT_GE(seconds_ticked, 10);
    EXPECT_EQ(world.speech.Performance().back(), "Play(ReadReturn)");
    EXPECT_EQ(world.Host().IdleTicks(), AgentHost::kIdleTicksAfterIdleStarted);
}

TEST(AgentHostSpeak, AStaleIdleReportEndsTheWaitAtOnce) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    world.speech.NotifyIdle(true);
    world.fakes.loop.AdvanceBy(0);
    const std::int64_t started = world.fakes.clock.ElapsedMs();
    world.Host().SpeakText("Hallo", {.no_gestures = true});
    EXPECT_EQ(world.fakes.clock.ElapsedMs(), started);
}

TEST(AgentHostSpeak, HidingTheCharacterEndsTheWaitAndEveryLaterOne) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    EventLoop& loop = world.fakes.loop;
    auto user_hides = loop.CreateTimer(3000, [&] { world.speech.NotifyHidden(); });
    user_hides->SetEnabled(true);
    world.Host().SpeakText("Hallo", {.gesture_after = true});
    user_hides->SetEnabled(false);
    EXPECT_TRUE(world.Host().Stopped());
    EXPECT_NE(world.speech.Performance().back(), "Play(ReadReturn)");

    const std::int64_t started = world.fakes.clock.ElapsedMs();
    world.Host().SpeakText("Noch etwas", {.no_gestures = true});
    EXPECT_EQ(world.fakes.clock.ElapsedMs(), started);
}

TEST(AgentHostSpeak, UnloadingWhileWaitingEndsTheWait) {
    // No report ever comes (the sink could not be registered); the idle ticks unload the
    // character at the seventh tick, and the wait must not outlive it.
    AssistantWorld world;
    world.speech.Fail("RegisterSink");
    world.Host().LoadAgent(0, 0, true);
    auto idle_timer = world.fakes.loop.CreateTimer(10'000, [&] { world.Host().IdleTick(); });
    idle_timer->SetEnabled(true);
    const std::int64_t started = world.fakes.clock.ElapsedMs();
    world.Host().SpeakText("Hallo", {.no_gestures = true});
    EXPECT_FALSE(world.Host().Loaded());
    EXPECT_LE(world.fakes.clock.ElapsedMs() - started, 70'000 + AgentHost::kWaitPollMs);
}

TEST(AgentHostReports, HiddenCountsOnlyForOurCharacterWhenItIsHidden) {
    struct Case {
        const char* name;
        bool ours;
        bool visible;
        bool stops;
    };
    for (const Case& c : std::vector<Case>{{"ours hidden", true, false, true},
                                           {"ours shown", true, true, false},
                                           {"another client's hidden", false, false, false}}) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.Host().LoadAgent(0, 0, true);
        const int id = c.ours ? world.speech.CharacterId() : world.speech.CharacterId() + 50;
        world.speech.NotifyVisibleState(id, c.visible);
        // Reports reach the host only through the main thread's messages.
        EXPECT_FALSE(world.Host().Stopped());
        world.fakes.loop.AdvanceBy(0);
        EXPECT_EQ(world.Host().Stopped(), c.stops);
    }
}

TEST(AgentHostReports, IdleOfAnyCharacterCounts) {
    AssistantWorld world;
    world.Host().LoadAgent(0, 0, true);
    world.speech.NotifyIdleOf(world.speech.CharacterId() + 50, true);
    world.fakes.loop.AdvanceBy(0);
    EXPECT_TRUE(world.Host().IsIdle());
    EXPECT_EQ(world.Host().IdleTicks(), 4);
    world.speech.NotifyIdle(false);
    world.fakes.loop.AdvanceBy(0);
    EXPECT_FALSE(world.Host().IsIdle());
}

TEST(AgentHostReports, DoubleClickStopsTheCyclicRemindersAndHidesOnlyForThem) {
    struct Case {
        const char* name;
        std::int16_t cyclic_reminders;
        bool hides;
    };
    for (const Case& c :
         std::vector<Case>{{"no reminder running", 0, false}, {"two reminders", 2, true}}) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.Host().LoadAgent(0, 0, true);
        world.Host().SetIdleTicks(5);
        world.Host().SetCyclicReminderCount(c.cyclic_reminders);
        world.speech.ClearLog();
        world.speech.NotifyDoubleClick();
        world.fakes.loop.AdvanceBy(0);
        EXPECT_EQ(world.Host().IdleTicks(), 0);
        EXPECT_EQ(world.Host().CyclicReminderCount(), 0);
        EXPECT_EQ(Contains(world.speech.Log(), "Hide"), c.hides);
    }
}

TEST(AgentHostReports, ReportsAfterTheHostHasGoneAreDropped) {
    testing_support::FakeServices fakes;
    FakeSpeechService speech;
    bool english = false;
    {
        fakes.settings.SetInteger(kSettingsKeyPath, "CharacterUsed", 1);
        AgentHost host(AgentHostServices{.speech = &speech,
                                         .settings = fakes.settings,
                                         .loop = fakes.loop,
                                         .files = fakes.files,
                                         .notice = fakes.notice,
                                         .trace = [](const std::string&) {}},
                       english);
        host.LoadAgent(0, 0, true);
        speech.NotifyIdle(true);
    }
    // The report queued for the host finds it gone (the sanitizer run sees any use of it).
    fakes.loop.AdvanceBy(0);
    EXPECT_FALSE(speech.SinkRegistered());
}

TEST(AgentHostIdle, HiddenAtTheSixthTickAndUnloadedAtTheSeventh) {
    struct Case {
        const char* name;
        bool idle_reported;
        int ticks_to_hide;
    };
    // After an idle report the ticks start at 4: hidden at the second tick, unloaded at the
    // third.
    for (const Case& c :
         std::vector<Case>{{"no idle report", false, 6}, {"idle reported", true, 2}}) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.Host().LoadAgent(0, 0, true);
        if (c.idle_reported) {
            world.speech.NotifyIdle(true);
            world.fakes.loop.AdvanceBy(0);
        }
        world.speech.ClearLog();
        for (int tick = 1; tick < c.ticks_to_hide; ++tick) {
            world.Host().IdleTick();
        }
        EXPECT_TRUE(world.speech.Log().empty());
        world.Host().IdleTick();
        EXPECT_EQ(world.speech.Log(), (Lines{"Hide"}));
        EXPECT_TRUE(world.Host().Loaded());
        world.Host().IdleTick();
        EXPECT_FALSE(world.Host().Loaded());
        EXPECT_TRUE(world.fakes.settings.IntegerValue(kSettingsKeyPath, "AgentLastPositionX"));
        world.Host().IdleTick();
        EXPECT_EQ(world.Host().IdleTicks(), 0);
    }
}

TEST(AgentHostMenu, PronunciationChoice) {
    AssistantWorld world;
    world.Host().ChoosePronunciation(Pronunciation::English);
    EXPECT_TRUE(world.speech.Log().empty());

    world.Host().LoadAgent(0, 0, true);
    world.speech.ClearLog();
    world.Host().ChoosePronunciation(Pronunciation::English);
    world.Host().ChoosePronunciation(Pronunciation::German);
    EXPECT_EQ(world.speech.Log(), (Lines{"SetLanguage(9)", "SetLanguage(7)"}));

    world.speech.Fail("SetLanguage");
    world.Host().ChoosePronunciation(Pronunciation::English);
    EXPECT_EQ(world.fakes.notice.messages,
              (Lines{"Die gewählte Sprache konnte nicht geladen werden!"}));
}

TEST(AgentHostMenu, ServiceDialogsStartTheCharacterHidden) {
    AssistantWorld world;
    world.Host().ShowCharacterChooser();
    EXPECT_EQ(world.speech.Log().back(), "ShowCharacterChooser(0,0,default)");
    EXPECT_FALSE(Contains(world.speech.Log(), "Show"));

    world.Host().ShowOutputSettings();
    EXPECT_EQ(world.speech.Log().back(), "ShowSettingsPage(Output)");
    world.speech.Fail("ShowSettingsPage");
    world.Host().ShowOutputSettings();
    EXPECT_EQ(world.fakes.notice.messages,
              (Lines{"Evtl. ist der MS-Agent bei Ihnen nicht installiert!"}));
}

}  // namespace
}  // namespace planwarte
