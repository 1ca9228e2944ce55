#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "assistant_world.h"
#include "core/assistant/greeting.h"
#include "core/assistant/self_defined_sayings.h"
#include "core/assistant/time_announcement.h"
#include "core/common/ini_file.h"

namespace planwarte {
namespace {

using testing_support::AssistantWorld;
using Lines = std::vector<std::string>;

// What the user saw and heard after the character's first appearance ("Show").
Lines AfterShow(const Lines& performance) {
    Lines lines = performance;
    if (!lines.empty() && lines.front() == "Show") {
        lines.erase(lines.begin());
    }
    return lines;
}

// The character is idle from an earlier pause, so no waiting speaker waits.
void MakeIdle(AssistantWorld& world) {
    world.Host().HandleNotification(AgentNotification::IdleStarted);
}

TEST(Greeting, ByTheHourOfTheDay) {
    struct Case {
        int hour;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, "Hallo"},
        {1, "Hallo"},
        {2, "Guten Morgen"},
        {11, "Guten Morgen"},
        {12, "Mahlzeit"},
        {13, "Hallo|Guten Tag"},
        {17, "Hallo|Guten Tag"},
        {18, "Hallo"},
        {19, "Guten Abend"},
        {23, "Guten Abend"},
    };
    AssistantWorld world;
    world.SetString("SPAgentHalloFrueh", "Guten Morgen");
    world.SetString("SPAgentHalloMittag", "Mahlzeit");
    world.SetString("SPAgentHallo", "Hallo|Guten Tag");
    world.SetString("SPAgentHalloAbend", "Guten Abend");
    auto key = world.fakes.settings.OpenKey(kSettingsKeyPath, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hour);
        EXPECT_EQ(GreetingText(*key, c.hour), c.expected);
    }
}

TEST(Greeting, EmptyAbsentOrUnreadableTextIsHallo) {
    AssistantWorld world;
    world.SetString("SPAgentHalloFrueh", "");
    world.fakes.settings.SetRaw(kSettingsKeyPath, "SPAgentHalloMittag", "\x01");
    auto key = world.fakes.settings.OpenKey(kSettingsKeyPath, false);
    EXPECT_EQ(GreetingText(*key, 9), "Hallo");
    EXPECT_EQ(GreetingText(*key, 12), "Hallo");
    EXPECT_EQ(GreetingText(*key, 20), "Hallo");
}

TEST(Greeting, SpokenWithoutGesturesAndWaitedFor) {
    AssistantWorld world;
    world.SetString("SPAgentHalloFrueh", "Guten Morgen");
    world.speech.finishes_at_once = true;
    world.Host().LoadAgent(0, 0, true);
    world.assistant->Greet();
    EXPECT_EQ(AfterShow(world.speech.Performance()), (Lines{"Speak(Guten Morgen)"}));
    EXPECT_TRUE(world.Host().IsIdle());
}

TEST(TimeAnnouncement, MinutesAndLateVariants) {
    struct Case {
        const char* name;
        int period;
        int hour;
        int minute;
        bool english;
        std::optional<std::string> stored;
        Lines expected;
    };
    const std::string standard = "Die Zeit, es ist <TIME>";
    const std::vector<Case> cases = {
        {"late evening",
         15,
         22,
         45,
         false,
         standard,
         {"Play(Wave)", "Play(GetAtention)", "Play(GetAtentionReturn)", "Play(GestureDown)",
          "Speak(Es ist schon spät geworden, es ist 22:45 Uhr)"}},
        {"23:45 is not above 45",
         15,
         23,
         45,
         false,
         standard,
         {"Play(Wave)", "Play(GestureDown)", "Speak(Die Zeit, es ist 23:45 Uhr)"}},
        {"very late",
         5,
         23,
         50,
         false,
         standard,
         {"Play(Wave)", "Play(Surprised)", "Play(GestureDown)",
          "Speak(Es ist schon ziemlich spät geworden, es ist 23:50 Uhr)"}},
        {"full hour at 22",
         60,
         22,
         0,
         false,
         standard,
         {"Play(Wave)", "Play(GestureDown)", "Speak(Die Zeit, es ist 22:00 Uhr)"}},
        {"full hour at 23",
         60,
         23,
         0,
         false,
         standard,
         {"Play(Wave)", "Play(GestureDown)", "Speak(Die Zeit, es ist 23:00 Uhr)"}},
        {"English texts have no late variants",
         15,
         22,
         45,
         true,
         standard,
         {"Play(Wave)", "Play(GestureDown)", "Speak(Die Zeit, es ist 22:45 Uhr)"}},
        {"nothing stored says nothing",
         15,
         10,
         15,
         false,
         std::nullopt,
         {"Play(Wave)", "Play(GestureDown)", "Speak()"}},
        {"every placeholder gets the time",
         15,
         10,
         15,
         false,
         "<TIME>, ja <TIME>",
         {"Play(Wave)", "Play(GestureDown)", "Speak(10:15 Uhr, ja 10:15 Uhr)"}},
        {"not an announcement minute", 15, 10, 7, false, standard, {}},
        {"a period below one counts as one",
         0,
         10,
         7,
         false,
         standard,
         {"Play(Wave)", "Play(GestureDown)", "Speak(Die Zeit, es ist 10:07 Uhr)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        world.english = c.english;
        world.SetInteger("CharacterSayTimeAll", c.period);
        if (c.stored) {
            world.SetString("SPAgentTime", *c.stored);
        }
        MakeIdle(world);
        world.AdvanceToTime(c.hour, c.minute, 5);
        world.assistant->CheckTime(false);
        EXPECT_EQ(AfterShow(world.speech.Performance()), c.expected);
    }
}

TEST(TimeAnnouncement, UnreadableTextFallsBackToTheBuiltInOne) {
    AssistantWorld world;
    world.fakes.settings.SetRaw(kSettingsKeyPath, "SPAgentTime", "\x01");
    MakeIdle(world);
    world.AdvanceToTime(10, 0);
    world.assistant->CheckTime(false);
    EXPECT_EQ(world.speech.Performance().back(), "Speak(Die Zeit, es ist 10:00 Uhr)");
}

TEST(TimeAnnouncement, SwitchedOffSaysNothingEvenWhenForced) {
    AssistantWorld world;
    world.SetInteger("CharacterSayTime", 0);
    world.assistant->CheckTime(true);
    EXPECT_TRUE(world.speech.Log().empty());
}

TEST(TimeAnnouncement, LatchAnnouncesEachAnnouncementMinuteOnce) {
    struct Step {
        int hour;
        int minute;
        int second;
        bool force;
        bool announces;
    };
    // Period 15: the start-up forces; ticks then fall a few seconds after each minute.
    const std::vector<Step> steps = {
        {10, 7, 0, true, true},                                // start-up
        {10, 7, 30, true, false},                              // a reminder in the same minute
        {10, 8, 5, false, false},                              // opens the latch
        {10, 8, 40, true, true},                               // a reminder announces again
        {10, 9, 5, false, false},   {10, 15, 5, false, true},  // announcement minute
        {10, 15, 35, false, false},                            // second tick in the same minute
        {10, 16, 5, false, false},  {10, 30, 5, false, true},
    };
    AssistantWorld world;
    world.SetInteger("CharacterSayTimeAll", 15);
    world.SetString("SPAgentTime", "<TIME>");
    MakeIdle(world);
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.hour) + ":" + std::to_string(step.minute) + ":" +
                     std::to_string(step.second));
        world.AdvanceToTime(step.hour, step.minute, step.second);
        world.speech.ClearLog();
        world.assistant->CheckTime(step.force);
        EXPECT_EQ(!world.speech.Performance().empty(), step.announces);
    }
}

TEST(TimeAnnouncement, PlaceholderBecomesHoursAndMinutes) {
    EXPECT_EQ(InsertTime("Es ist <TIME>.", EncodeDateTime(2004, 12, 8, 7, 5, 59)),
              "Es ist 07:05 Uhr.");
    EXPECT_EQ(InsertTime("ohne", EncodeDateTime(2004, 12, 8, 7, 5)), "ohne");
}

TEST(SayingsFile, NamesInListOrder) {
    struct Case {
        const char* name;
        const char* names_section;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"removed entries are skipped", "Tab0=A\nTab1=empty\nTab2=B\n", {"A", "B"}},
        {"a missing entry ends the list", "Tab0=A\nTab2=B\n", {"A"}},
        {"an empty entry ends the list", "Tab0=A\nTab1=\nTab2=B\n", {"A"}},
        {"no list", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SayingNames(IniFile(std::string("[Namen]\n") + c.names_section)), c.expected);
    }
}

TEST(SayingsFile, AtMostOneHundredSayings) {
    std::string text = "[Namen]\n";
    for (int index = 0; index <= 100; ++index) {
        text += "Tab" + std::to_string(index) + "=S" + std::to_string(index) + "\n";
    }
    const Lines names = SayingNames(IniFile(text));
    ASSERT_EQ(names.size(), 100u);
    EXPECT_EQ(names.back(), "S99");
}

TEST(SayingsFile, TimeOfDayOfZeit) {
    struct Case {
        const char* zeit;
        int hour;
        int minute;
    };
    const std::vector<Case> cases = {
        {"37219,375", 9, 0},   {"0,5", 12, 0},  {"0.75", 18, 0}, {"45000", 0, 0},
        {"0,375694444", 9, 1}, {"-1,25", 6, 0}, {"", 0, 0},      {"neun Uhr", 0, 0},
        {"12,5abc", 0, 0},     {"inf", 0, 0},   {"1e300", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zeit);
        const TimeOfDay time = SayingTime(c.zeit);
        EXPECT_EQ(time.hour, c.hour);
        EXPECT_EQ(time.minute, c.minute);
    }
}

class SayingsCheckTest : public ::testing::Test {
  protected:
    SayingsCheckTest() {
        world_.fakes.files.AddFile(std::string(testing_support::kProgramFolder) + "sprueche.ini",
                                   "[Namen]\n"
                                   "Tab0=Mittag\n"
                                   "Tab1=Ohne Zeit\n"
                                   "Tab2=Auch mittags\n"
                                   "Tab3=Abend\n"
                                   "[Mittag]\n"
                                   "Zeit=37219,5\n"
                                   "Animation=Wave\n"
                                   "Spruch=Guten Appetit|Mahlzeit\n"
                                   "[Ohne Zeit]\n"
                                   "Spruch=Mitternacht\n"
                                   "[Auch mittags]\n"
                                   "Zeit=0,5\n"
                                   "Spruch=Noch einer\n"
                                   "[Abend]\n"
                                   "Zeit=0,75\n"
                                   "Spruch=Feierabend\n");
        world_.speech.finishes_at_once = true;
    }

    Lines CheckAt(int hour, int minute) {
        world_.AdvanceToTime(hour, minute, 5);
        world_.speech.ClearLog();
        world_.assistant->CheckSayings(testing_support::kProgramFolder);
        return world_.speech.Performance();
    }

    AssistantWorld world_;
};

TEST_F(SayingsCheckTest, EachSayingAtItsMinuteInListOrder) {
    // Every saying starts the character, which shows it again.
    EXPECT_EQ(CheckAt(12, 0), (Lines{"Show", "Play(Wave)", "Speak(Guten Appetit|Mahlzeit)", "Show",
                                     "Play(Blink)", "Speak(Noch einer)"}));
    EXPECT_EQ(CheckAt(12, 1), Lines{});
    EXPECT_EQ(CheckAt(18, 0), (Lines{"Show", "Play(Blink)", "Speak(Feierabend)"}));
    EXPECT_EQ(CheckAt(0, 0), (Lines{"Show", "Play(Blink)", "Speak(Mitternacht)"}));
}

TEST_F(SayingsCheckTest, AnErrorWithOneSayingIsTracedAndTheNextFollows) {
    world_.speech.Fail("Speak");
    CheckAt(12, 0);
    EXPECT_EQ(world_.traces, (Lines{"Speak: injected failure", "Speak: injected failure"}));
}

TEST_F(SayingsCheckTest, NoCharacterNoSaying) {
    world_.SetInteger("CharacterUsed", 0);
    EXPECT_EQ(CheckAt(12, 0), Lines{});
    EXPECT_TRUE(world_.traces.empty());
}

TEST(SayingsCheck, WithoutFileNothingHappens) {
    AssistantWorld world;
    world.AdvanceToTime(0, 0);
    world.assistant->CheckSayings(testing_support::kProgramFolder);
    EXPECT_TRUE(world.speech.Log().empty());
    EXPECT_TRUE(world.traces.empty());
}

class AppointmentAnnouncementTest : public ::testing::Test {
  protected:
    void Announce(const std::string& time_text, const std::string& subject) {
        world_.assistant->AnnounceAppointment(
            {.intro_pending = intro_pending_, .tray_tool_tip = tray_tool_tip_}, time_text, subject);
    }

    AssistantWorld world_;
    bool intro_pending_ = true;
    std::string tray_tool_tip_ = "Merkfalter (für Outlook)";
};

TEST_F(AppointmentAnnouncementTest, IntroThenOneLineEachAllQueuedWithoutWaiting) {
    world_.SetString("SBAgentAppointments", "Sie haben heute Termine!");
    const std::int64_t started = world_.fakes.clock.ElapsedMs();
    Announce("14:00 Uhr", "Zahnarzt");
    Announce("", "Feiertag");
    EXPECT_EQ(
        world_.speech.Performance(),
        (Lines{"Show", "Play(Blink)", "Play(ReadContinued)", "Speak(Sie haben heute Termine!)",
               "Play(ReadContinued)", "Speak(14:00 Uhr Zahnarzt)", "Show", "Play(ReadContinued)",
               "Speak( Feiertag)"}));
    EXPECT_EQ(tray_tool_tip_, "Heute:\n14:00 Uhr Zahnarzt\n Feiertag");
    EXPECT_FALSE(intro_pending_);
    EXPECT_EQ(world_.fakes.clock.ElapsedMs(), started);
}

TEST_F(AppointmentAnnouncementTest, IntroTextFallbacks) {
    struct Case {
        const char* name;
        bool unreadable;
        const char* expected;
    };
    for (const Case& c :
         std::vector<Case>{{"absent", false, "Speak()"},
                           {"unreadable", true, "Speak(Sie haben heute Termine)"}}) {
        SCOPED_TRACE(c.name);
        AssistantWorld world;
        if (c.unreadable) {
            world.fakes.settings.SetRaw(kSettingsKeyPath, "SBAgentAppointments", "\x01");
        }
        bool pending = true;
        std::string tip;
        world.assistant->AnnounceAppointment({.intro_pending = pending, .tray_tool_tip = tip},
                                             "9:30 Uhr", "Termin");
        EXPECT_EQ(world.speech.Performance().at(3), c.expected);
    }
}

TEST_F(AppointmentAnnouncementTest, NoCharacterNoAnnouncement) {
    world_.SetInteger("CharacterUsed", 0);
    Announce("14:00 Uhr", "Zahnarzt");
    EXPECT_TRUE(world_.speech.Log().empty());
    EXPECT_TRUE(intro_pending_);
    EXPECT_EQ(tray_tool_tip_, "Merkfalter (für Outlook)");
}

}  // namespace
}  // namespace planwarte
