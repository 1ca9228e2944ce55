// The main window with its speaking assistant: what it says at start-up, what its timers make
// it say, how the character's reports reach it, and the unload at the close.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_speech_service.h"
#include "common/fake_services.h"
#include "core/app/application_message_filter.h"
#include "core/app/main_form.h"
#include "core/assistant/assistant.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using testing_support::FakeServices;
using Lines = std::vector<std::string>;

std::ptrdiff_t IndexOf(const Lines& lines, const std::string& line) {
    const auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : it - lines.begin();
}

class MainFormAssistantTest : public ::testing::Test {
  protected:
    MainFormAssistantTest() {
        // A character that says everything at once, so no wait lasts.
        speech_.finishes_at_once = true;
        services_.speech = &speech_;
        Set("CharacterUsed", 1);
        SetText("SPAgentHalloFrueh", "Guten Morgen");
        SetText("SPAgentTime", "Die Zeit, es ist <TIME>");
        SetText("SBAgentAppointments", "Heute sind Termine vorhanden");
        SetText("SPAgentCheckMail", "Sie haben Post!");
        Set("CharacterSayTimeAll", 60);
    }

    void Set(const char* name, int value) {
        fakes_.settings.SetInteger(kSettingsKeyPath, name, value);
    }
    void SetText(const char* name, const std::string& value) {
        fakes_.settings.SetString(kSettingsKeyPath, name, value);
    }

    TForm1& Start() {
        form_ = std::make_unique<TForm1>(services_, StartMode::Desktop, Lines{}, nullptr);
        form_->FormCreate();
        return *form_;
    }

    FakeServices fakes_;
    FakeSpeechService speech_;
    Services services_ = fakes_.Desktop();
    std::unique_ptr<TForm1> form_;
};

TEST_F(MainFormAssistantTest, StartUpGreetsAnnouncesTodaysAppointmentsAndTheTime) {
    // A week page whose Wednesday, today, shows its appointments.
    Set("VORLAGE", 1);
    fakes_.files.AddFile(std::string(testing_support::kProgramFolder) + "vorlagen/woche.mkf",
                         "<#DAYTEXT DATEOFFSET=2>");
    auto calendar = fakes_.outlook->DefaultFolder(kDefaultFolderCalendar);
    calendar->AddAppointment({.subject = "Zahnarzt",
                              .start = EncodeDateTime(2004, 12, 8, 14, 0),
                              .end = EncodeDateTime(2004, 12, 8, 15, 0)});
    calendar->AddAppointment({.subject = "Vorbei",
                              .start = EncodeDateTime(2004, 12, 8, 7, 0),
                              .end = EncodeDateTime(2004, 12, 8, 8, 0)});
    TForm1& form = Start();
    EXPECT_EQ(speech_.Performance(),
              (Lines{"Show", "Speak(Guten Morgen)", "Show", "Play(Blink)", "Play(ReadContinued)",
                     "Speak(Heute sind Termine vorhanden)", "Play(ReadContinued)",
                     "Speak(14:00 Uhr Zahnarzt)", "Show", "Play(Wave)", "Play(GestureDown)",
                     "Speak(Die Zeit, es ist 09:00 Uhr)"}));
    EXPECT_EQ(form.TrayToolTip(), "Heute:\n14:00 Uhr Zahnarzt");
    EXPECT_FALSE(form.AppointmentIntroPending());

    // Later builds announce nothing.
    speech_.ClearLog();
    form.GoHome();
    EXPECT_TRUE(speech_.Performance().empty());
}

TEST_F(MainFormAssistantTest, CharacterSwitchedOffStartsSilently) {
    Set("CharacterUsed", 0);
    TForm1& form = Start();
    EXPECT_TRUE(speech_.Log().empty());
    EXPECT_FALSE(form.SpeakingAssistant().Host().Available());
    EXPECT_TRUE(form.StartupComplete());
}

TEST_F(MainFormAssistantTest, WithoutSpeechServiceTheProgramStartsWithoutAssistant) {
    services_.speech = nullptr;
    TForm1& form = Start();
    EXPECT_TRUE(form.StartupComplete());
    EXPECT_FALSE(form.SpeakingAssistant().Host().Available());
    EXPECT_TRUE(speech_.Log().empty());
}

TEST_F(MainFormAssistantTest, AFailingCharacterDoesNotStopTheStart) {
    speech_.Fail("Show");
    TForm1& form = Start();
    EXPECT_TRUE(form.StartupComplete());
    EXPECT_NE(fakes_.TraceText().find("MAIN:::Show: injected failure"), std::string::npos);
}

TEST_F(MainFormAssistantTest, CloseUnloadsTheCharacterOnceAndStoresItsPosition) {
    TForm1& form = Start();
    speech_.SetPosition(speech_.CharacterId(), {222, 333});
    form.FormClose();
    EXPECT_TRUE(form.SpeakingAssistant().Host().Stopped());
    EXPECT_FALSE(speech_.CharacterLoaded());
    EXPECT_EQ(fakes_.settings.IntegerValue(kSettingsKeyPath, "AgentLastPositionX"), 222);
    EXPECT_EQ(fakes_.settings.IntegerValue(kSettingsKeyPath, "AgentLastPositionY"), 333);
    speech_.ClearLog();
    form.FormClose();
    EXPECT_TRUE(speech_.Log().empty());
}

TEST_F(MainFormAssistantTest, AFailingUnloadIsTracedAndTheCloseGoesOn) {
    TForm1& form = Start();
    speech_.Fail("StopAll");
    form.FormClose();
    EXPECT_NE(fakes_.TraceText().find("_17_StopAll: injected failure"), std::string::npos);
    EXPECT_EQ(form.Outlook().Namespace(), nullptr);
}

TEST_F(MainFormAssistantTest, CharacterReportsReachTheAssistantThroughTheEventLoop) {
    TForm1& form = Start();
    AgentHost& host = form.SpeakingAssistant().Host();
    host.SetIdleTicks(5);
    speech_.NotifyDoubleClick();
    speech_.NotifyHidden();
    // Not before the main thread takes its messages.
    EXPECT_EQ(host.IdleTicks(), 5);
    EXPECT_FALSE(host.Stopped());
    fakes_.loop.AdvanceBy(0);
    EXPECT_EQ(host.IdleTicks(), 0);
    EXPECT_TRUE(host.Stopped());
}

TEST_F(MainFormAssistantTest, TrayTimerChecksMailFirstThenHidesAndUnloadsTheIdleCharacter) {
    fakes_.outlook->DefaultFolder(kDefaultFolderInbox)
        ->AddMail({.subject = "Hallo", .received_time = EncodeDateTime(2004, 12, 8, 8, 0)});
    Set("AgentChecksMail", 1);
    Set("AgentReadsSubject", 1);
    Start();
    speech_.ClearLog();
    fakes_.loop.AdvanceBy(100);
    EXPECT_EQ(speech_.Performance(),
              (Lines{"Show", "Play(Read)", "Play(ReadContinued)", "Speak(Sie haben Post!)",
                     "Play(Blink)", "Play(ReadContinued)", "Speak(Hallo)"}));

    fakes_.loop.AdvanceBy(2 * 60'000);
    const Lines& log = speech_.Log();
    const auto hidden = IndexOf(log, "Hide");
    const auto unloaded = IndexOf(log, "UnloadCharacter");
    ASSERT_GE(hidden, 0);
    EXPECT_GT(unloaded, hidden);
    EXPECT_FALSE(speech_.CharacterLoaded());
}

TEST_F(MainFormAssistantTest, NewMailIsAnnouncedTwoSecondsAfterItArrived) {
    Set("AgentChecksMail", 1);
    Set("AgentReadsSubject", 1);
    Start();
    fakes_.loop.AdvanceBy(100);  // the start-up check finds nothing
    speech_.ClearLog();

    fakes_.loop.AdvanceBy(60'000);
    fakes_.outlook->DefaultFolder(kDefaultFolderInbox)
        ->AddMail({.subject = "Neue Nachricht", .received_time = fakes_.clock.Now()});
    const std::int64_t before = fakes_.clock.ElapsedMs();
    fakes_.outlook->RaiseNewMail();
    EXPECT_EQ(fakes_.clock.ElapsedMs() - before, 2000);
    EXPECT_GE(IndexOf(speech_.Log(), "Speak(Neue Nachricht)"), 0);

    // Once announced, a second report of the same mail says nothing.
    speech_.ClearLog();
    fakes_.outlook->RaiseNewMail();
    EXPECT_EQ(IndexOf(speech_.Log(), "Speak(Neue Nachricht)"), -1);
    form_->FormClose();
    fakes_.outlook->RaiseNewMail();  // no sink any more
}

TEST_F(MainFormAssistantTest, ReminderOfTheCalendarIsReadOutAndTheCloseStopsItsWorker) {
    SetText("SBAgentReminder", "Erinnerung");
    Start();
    auto appointment = fakes_.outlook->DefaultFolder(kDefaultFolderCalendar)
                           ->AddAppointment({.subject = "Zahnarzt",
                                             .start = EncodeDateTime(2004, 12, 8, 9, 15),
                                             .end = EncodeDateTime(2004, 12, 8, 10, 0),
                                             .reminder_set = true});
    speech_.ClearLog();
    fakes_.outlook->RaiseReminder(appointment);
    fakes_.loop.AwaitBlockedWorkers(1);
    fakes_.loop.AdvanceBy(0);
    const Lines& log = speech_.Log();
    EXPECT_LT(IndexOf(log, "Speak(Erinnerung)"), IndexOf(log, "Speak(Zahnarzt)"));
    EXPECT_GE(IndexOf(log, "Speak(Erinnerung)"), 0);

    const std::int64_t before = fakes_.clock.ElapsedMs();
    form_->FormCloseQuery();
    EXPECT_EQ(fakes_.clock.ElapsedMs() - before, 2500);
    form_->FormClose();
    form_.reset();  // waits for the worker to end
}

TEST_F(MainFormAssistantTest, MinuteTimerSpeaksTheSayingAtItsMinute) {
    fakes_.files.AddFile(std::string(testing_support::kProgramFolder) + "sprueche.ini",
                         "[Namen]\nTab0=Kaffee\n[Kaffee]\nZeit=0,377083333\nSpruch=Kaffeezeit\n");
    Start();
    speech_.ClearLog();
    // 9:03 is the saying's minute; no full hour comes in between. The minute ticks fall five
    // seconds after the minute once realigned.
    fakes_.loop.AdvanceBy(3 * 60'000 + 10'000);
    const Lines performance = speech_.Performance();
    ASSERT_GE(performance.size(), 3u);
    EXPECT_EQ(Lines(performance.end() - 3, performance.end()),
              (Lines{"Show", "Play(Blink)", "Speak(Kaffeezeit)"}));
    EXPECT_EQ(std::count(performance.begin(), performance.end(), "Speak(Kaffeezeit)"), 1);
}

}  // namespace
}  // namespace planwarte
