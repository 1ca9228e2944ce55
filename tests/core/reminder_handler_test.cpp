// Reminders read out by the assistant and repeated by their workers, on virtual time: the
// workers' steps of 1.2 s and the cycles of minutes run in microseconds.
#include "core/assistant/reminder_handler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "assistant_world.h"
#include "core/outlook/item_access.h"

namespace planwarte {
namespace {

using testing_support::AssistantWorld;
using Lines = std::vector<std::string>;

constexpr std::int64_t kCycleStepsMs = 60 * CyclicReminder::kStepMs;  // a cycle of one minute

class ReminderHandlerTest : public ::testing::Test {
  protected:
    ReminderHandlerTest() {
        world_.speech.finishes_at_once = true;
        world_.SetString("SBAgentReminder", "Erinnerung");
        calendar_ = world_.fakes.outlook->DefaultFolder(kDefaultFolderCalendar);
        tasks_ = world_.fakes.outlook->DefaultStore()->Subfolders().at(1);
    }

    ReminderHandler& Handler() {
        if (!handler_) {
            handler_ = std::make_unique<ReminderHandler>(ReminderServices{
                .host = world_.Host(),
                .loop = world_.fakes.loop,
                .clock = world_.fakes.clock,
                .settings = world_.fakes.settings,
                .safe_items = world_.fakes.safe_items,
                .safe_item_messages = messages_,
                .notice = world_.fakes.notice,
                .calendars = world_.fakes.outlook_factory,
                .announce_time = [this] { said_.push_back("<Zeit>"); },
            });
        }
        return *handler_;
    }

    std::shared_ptr<FakeAppointment> Appointment(int importance, double hours_left = 2.0) {
        const DateTime now = world_.fakes.clock.Now();
        return calendar_->AddAppointment({.subject = "Zahnarzt",
                                          .start = now,
                                          .end = DateTime(now.value + hours_left / 24.0),
                                          .body = "Bohren",
                                          .importance = importance,
                                          .reminder_set = true,
                                          .reminder_time = now});
    }

    // Starts the reminder and lets its worker read once.
    void Remind(const std::shared_ptr<OlItem>& item, std::size_t workers = 1) {
        Handler().OnReminder(item);
        world_.fakes.loop.AwaitBlockedWorkers(workers);
        world_.fakes.loop.AdvanceBy(0);
    }

    Lines Said() {
        for (const std::string& request : world_.speech.Performance()) {
            if (request.rfind("Speak(", 0) == 0) {
                said_.push_back(request.substr(6, request.size() - 7));
            }
        }
        world_.speech.ClearLog();
        Lines said;
        said.swap(said_);
        return said;
    }

    AssistantWorld world_;
    SafeItemMessageFlags messages_;
    std::shared_ptr<FakeFolder> calendar_;
    std::shared_ptr<FakeFolder> tasks_;
    Lines said_;
    std::unique_ptr<ReminderHandler> handler_;
};

TEST_F(ReminderHandlerTest, ReadAtOnceThenEveryCycleUntilDismissed) {
    world_.SetInteger("ReminderZyklusHigh", 2);
    const auto appointment = Appointment(kImportanceHigh);
    Remind(appointment);
    EXPECT_EQ(Said(), (Lines{"<Zeit>", "Erinnerung", "Zahnarzt", "Bohren"}));
    EXPECT_EQ(world_.Host().CyclicReminderCount(), 1);

    world_.fakes.loop.AdvanceBy(2 * kCycleStepsMs - 1);
    EXPECT_EQ(Said(), Lines{});
    world_.fakes.loop.AdvanceBy(1);
    EXPECT_EQ(Said(), (Lines{"Erinnerung", "Zahnarzt", "Bohren"}));

    appointment->Change([](FakeAppointmentData& data) { data.reminder_set = false; });
    world_.fakes.loop.AdvanceBy(CyclicReminder::kStepMs);
    EXPECT_EQ(Handler().RunningWorkers(), 0u);
    EXPECT_EQ(world_.Host().CyclicReminderCount(), 0);
    world_.fakes.loop.AdvanceBy(10 * kCycleStepsMs);
    EXPECT_EQ(Said(), Lines{});
}

TEST_F(ReminderHandlerTest, OverAppointmentEndsItsReminder) {
    Remind(Appointment(kImportanceNormal, 0.01));  // 36 seconds left
    world_.fakes.loop.AdvanceBy(40'000);
    EXPECT_EQ(Handler().RunningWorkers(), 0u);
}

TEST_F(ReminderHandlerTest, ZeroCountStopsEveryWorkerWithinAStep) {
    Remind(Appointment(kImportanceLow));
    Remind(Appointment(kImportanceNormal), 2);
    EXPECT_EQ(world_.Host().CyclicReminderCount(), 2);
    world_.Host().SetCyclicReminderCount(0);  // what a double click on the character does
    world_.fakes.loop.AdvanceBy(CyclicReminder::kStepMs);
    EXPECT_EQ(Handler().RunningWorkers(), 0u);
    // The character goes at the next idle tick.
    EXPECT_EQ(world_.Host().IdleTicks(), 6);

    // A reminder afterwards is repeated as usual.
    Said();
    Remind(Appointment(kImportanceNormal));
    world_.fakes.loop.AdvanceBy(5 * kCycleStepsMs);
    EXPECT_EQ(Said(), (Lines{"<Zeit>", "Erinnerung", "Zahnarzt", "Bohren", "Erinnerung", "Zahnarzt",
                             "Bohren"}));
}

TEST_F(ReminderHandlerTest, PostponedTaskEndsItsReminder) {
    const DateTime now = world_.fakes.clock.Now();
    const auto task = tasks_->AddTask(
        {.subject = "Steuer", .body = "Belege", .reminder_set = true, .reminder_time = now});
    Remind(task);
    EXPECT_EQ(Said(), (Lines{"<Zeit>", "Erinnerung", "Steuer", "Belege"}));
    world_.fakes.loop.AdvanceBy(3 * CyclicReminder::kStepMs);
    EXPECT_EQ(Handler().RunningWorkers(), 1u);
    task->Change([&](FakeTaskData& data) { data.reminder_time = DateTime(now.value + 1.0); });
    world_.fakes.loop.AdvanceBy(CyclicReminder::kStepMs);
    EXPECT_EQ(Handler().RunningWorkers(), 0u);
}

TEST_F(ReminderHandlerTest, WhatKeepsAReminderFromBeingRead) {
    // Switched off.
    world_.SetInteger("AgentRemindsMe", 0);
    Handler().OnReminder(Appointment(kImportanceNormal));
    EXPECT_EQ(Handler().RunningWorkers(), 0u);
    world_.SetInteger("AgentRemindsMe", 1);

    // A mail with a reminder flag is not read.
    auto inbox = world_.fakes.outlook->DefaultFolder(kDefaultFolderInbox);
    Handler().OnReminder(inbox->AddMail({.subject = "Rückruf"}));
    EXPECT_EQ(Handler().RunningWorkers(), 0u);

    // Without the safe-item library: the message once, nothing read.
    world_.fakes.safe_items.SetAvailable(FakeSafeClass::Appointment, false);
    Handler().OnReminder(Appointment(kImportanceNormal));
    Handler().OnReminder(Appointment(kImportanceNormal));
    EXPECT_EQ(world_.fakes.notice.messages, Lines{"ViRoriDll.dll ist nicht registriert"});
    EXPECT_EQ(Handler().RunningWorkers(), 0u);
    EXPECT_EQ(Said(), Lines{});
}

TEST_F(ReminderHandlerTest, CloseQueryTellsTheWorkersAndTheShutdownWaitsForThem) {
    Remind(Appointment(kImportanceNormal));
    const std::int64_t before = world_.fakes.clock.ElapsedMs();
    Handler().CloseQuery();
    EXPECT_EQ(world_.fakes.clock.ElapsedMs() - before, ReminderHandler::kCloseWaitMs);
    EXPECT_EQ(world_.Host().CyclicReminderCount(), 0);
    handler_.reset();  // returns only when the worker has ended
}

}  // namespace
}  // namespace planwarte
