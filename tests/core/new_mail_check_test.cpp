#include "core/assistant/new_mail_check.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "assistant_world.h"
#include "core/outlook/item_access.h"
#include "core/outlook/outlook_session.h"

namespace planwarte {
namespace {

using testing_support::AssistantWorld;
using Lines = std::vector<std::string>;

TEST(NewMailFilter, ReachesFromTheLastCheckToTheMinuteToSevenMinutesAhead) {
    EXPECT_EQ(
        NewMailFilter(EncodeDateTime(2004, 12, 7, 9, 0, 59), EncodeDateTime(2004, 12, 8, 9, 0)),
        "[ReceivedTime] >= '#07.12.2004 9:00#' AND [ReceivedTime] <= '#08.12.2004 9:07#' "
        "AND [UnRead] = TRUE");
}

class NewMailCheckTest : public ::testing::Test {
  protected:
    NewMailCheckTest() {
        inbox_ = world_.fakes.outlook->DefaultFolder(kDefaultFolderInbox);
        session_ = std::make_unique<OutlookSession>(
            world_.fakes.outlook_factory.CreateApplication(), world_.fakes.notice,
            OutlookSession::Hooks{.progress_step = nullptr,
                                  .trace = [](const std::string&) {},
                                  .close_main_window = [] {}});
        session_->ConnectOutlook();
        world_.SetInteger("AgentChecksMail", 1);
        world_.SetInteger("AgentReadsSubject", 1);
        world_.SetString("SPAgentCheckMail", "Post ist da");
    }

    // A mail received this many minutes before the start (9:00).
    std::shared_ptr<FakeMail> Mail(const std::string& subject, int minutes_before,
                                   bool unread = true) {
        return inbox_->AddMail({.subject = subject,
                                .received_time = DateTime(EncodeDateTime(2004, 12, 8, 9, 0).value -
                                                          minutes_before / (24.0 * 60.0)),
                                .unread = unread});
    }

    Lines Check() {
        world_.speech.ClearLog();
        world_.assistant->CheckNewMail(*session_);
        return world_.speech.Performance();
    }

    DateTime LastCheck() const { return world_.assistant->MailCheck().LastCheckTime().value(); }

    AssistantWorld world_;
    std::shared_ptr<FakeFolder> inbox_;
    std::unique_ptr<OutlookSession> session_;
};

TEST_F(NewMailCheckTest, FirstCheckAnnouncesUnreadMailOfTheLastDayOldestFirst) {
    auto later = Mail("Zweite", 30);
    auto earlier = Mail("Erste", 60 * 20);
    Mail("Gelesen", 10, false);
    Mail("Vorgestern", 60 * 48);
    EXPECT_EQ(Check(), (Lines{"Show", "Play(Read)", "Play(ReadContinued)", "Speak(Post ist da)",
                              "Play(Blink)", "Play(ReadContinued)", "Speak(Erste)", "Play(Blink)",
                              "Play(ReadContinued)", "Speak(Zweite)"}));
    EXPECT_TRUE(HasAnnouncedMark(*earlier));
    EXPECT_TRUE(HasAnnouncedMark(*later));
    EXPECT_EQ(LastCheck(), world_.fakes.clock.Now());
}

TEST_F(NewMailCheckTest, AnnouncedMailIsNotReadAgain) {
    // Received in the minute the first check ends: the next window still holds it.
    inbox_->AddMail({.subject = "Neu", .received_time = EncodeDateTime(2004, 12, 8, 9, 0, 10)});
    world_.fakes.clock.Advance(30'000);
    Check();
    world_.fakes.clock.Advance(20'000);
    EXPECT_EQ(Check(), (Lines{"Show", "Play(Blink)"}));
}

TEST_F(NewMailCheckTest, OnlyTheNewOfTheFoundMailIsRead) {
    auto old_one = Mail("Alt", 40);
    SetAnnouncedMark(*old_one);
    Mail("Neu", 20);
    EXPECT_EQ(Check(),
              (Lines{"Show", "Play(Blink)", "Play(Blink)", "Play(ReadContinued)", "Speak(Neu)"}));
}

TEST_F(NewMailCheckTest, WithoutSubjectsOnlyTheIntroIsSaidAndTheMailIsMarked) {
    world_.SetInteger("AgentReadsSubject", 0);
    auto mail = Mail("Betreff", 5);
    EXPECT_EQ(Check(), (Lines{"Show", "Play(Read)", "Play(ReadContinued)", "Speak(Post ist da)",
                              "Play(Blink)"}));
    EXPECT_TRUE(HasAnnouncedMark(*mail));
}

TEST_F(NewMailCheckTest, AbsentIntroTextPlaysTheGesturesAndSaysNothing) {
    world_.SetString("SPAgentCheckMail", "");
    Mail("Betreff", 5);
    EXPECT_EQ(Check().at(3), "Speak()");
}

TEST_F(NewMailCheckTest, UnreadableIntroTextIsTheBuiltInOne) {
    world_.fakes.settings.SetRaw(kSettingsKeyPath, "SPAgentCheckMail", "\x01");
    Mail("Betreff", 5);
    EXPECT_EQ(Check().at(3), "Speak(Sie haben Post!)");
}

TEST_F(NewMailCheckTest, NothingFoundSaysNothingAndMovesTheCheckTime) {
    Mail("Gelesen", 10, false);
    EXPECT_EQ(Check(), Lines{});
    EXPECT_EQ(LastCheck(), world_.fakes.clock.Now());
}

TEST_F(NewMailCheckTest, CharacterThatCannotStartKeepsTheWindowForTheNextCheck) {
    world_.SetInteger("CharacterUsed", 0);
    auto mail = Mail("Wichtig", 5);
    EXPECT_EQ(Check(), Lines{});
    EXPECT_FALSE(HasAnnouncedMark(*mail));
    EXPECT_EQ(LastCheck(), DateTime(world_.fakes.clock.Now().value - 1.0));

    world_.SetInteger("CharacterUsed", 1);
    world_.fakes.clock.Advance(10 * 60'000);
    EXPECT_EQ(Check().back(), "Speak(Wichtig)");
}

TEST_F(NewMailCheckTest, NoInboxRebuildsTheSessionAndKeepsTheCheckTime) {
    Mail("Wichtig", 5);
    world_.fakes.outlook->SetDefaultFolder(kDefaultFolderInbox, nullptr);
    EXPECT_EQ(Check(), Lines{});
    EXPECT_EQ(session_->RestartCount(), 1);
    EXPECT_EQ(LastCheck(), DateTime(world_.fakes.clock.Now().value - 1.0));
}

TEST_F(NewMailCheckTest, ErrorsAreTracedAndTheCheckTimeStillMoves) {
    struct Case {
        const char* failing;
        Lines traces;
        Lines performance;
    };
    const std::vector<Case> cases = {
        {"Items", {"_5_Items: injected failure", "_6_Sort: no items to sort"}, {}},
        {"Find", {"_6_Find: injected failure"}, {}},
        // The first mail is read; the second is left for a later window.
        {"FindNext",
         {"_6_FindNext: injected failure"},
         {"Show", "Play(Read)", "Play(ReadContinued)", "Speak(Sie haben Post!)", "Play(Blink)",
          "Play(ReadContinued)", "Speak(Erste)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        AssistantWorld world;
        world.SetInteger("AgentChecksMail", 1);
        world.SetInteger("AgentReadsSubject", 1);
        world.SetString("SPAgentCheckMail", "Sie haben Post!");
        auto inbox = world.fakes.outlook->DefaultFolder(kDefaultFolderInbox);
        inbox->AddMail({.subject = "Erste", .received_time = EncodeDateTime(2004, 12, 8, 8, 0)});
        inbox->AddMail({.subject = "Zweite", .received_time = EncodeDateTime(2004, 12, 8, 8, 30)});
        OutlookSession session(world.fakes.outlook_factory.CreateApplication(), world.fakes.notice,
                               {.progress_step = nullptr,
                                .trace = [](const std::string&) {},
                                .close_main_window = [] {}});
        session.ConnectOutlook();
        world.fakes.outlook->State().FailCall(c.failing);
        world.assistant->CheckNewMail(session);
        EXPECT_EQ(world.traces, c.traces);
        EXPECT_EQ(world.speech.Performance(), c.performance);
        EXPECT_EQ(world.assistant->MailCheck().LastCheckTime(), world.fakes.clock.Now());
    }
}

TEST_F(NewMailCheckTest, SwitchedOffChecksNothing) {
    world_.SetInteger("AgentChecksMail", 0);
    Mail("Wichtig", 5);
    world_.fakes.outlook->State().ClearCallLog();
    world_.Host().SetIdleTicks(5);
    EXPECT_EQ(Check(), Lines{});
    EXPECT_TRUE(world_.fakes.outlook->State().CallLog().empty());
    EXPECT_FALSE(world_.assistant->MailCheck().LastCheckTime());
    // The check counts as activity all the same.
    EXPECT_EQ(world_.Host().IdleTicks(), 0);
}

TEST_F(NewMailCheckTest, UnreadableSwitchesAreStoredBackAsTheyStand) {
    world_.fakes.settings.SetRaw(kSettingsKeyPath, "AgentChecksMail", "\x01");
    EXPECT_EQ(Check(), Lines{});
    EXPECT_EQ(world_.fakes.settings.IntegerValue(kSettingsKeyPath, "AgentChecksMail"), 0);
    EXPECT_EQ(world_.fakes.settings.IntegerValue(kSettingsKeyPath, "AgentReadsSubject"), 1);
}

TEST_F(NewMailCheckTest, SettingsNotAvailableNoCheck) {
    world_.fakes.settings.SetUnavailable(true);
    Mail("Wichtig", 5);
    EXPECT_EQ(Check(), Lines{});
    EXPECT_FALSE(world_.assistant->MailCheck().LastCheckTime());
}

}  // namespace
}  // namespace planwarte
