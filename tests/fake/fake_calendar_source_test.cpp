#include <gtest/gtest.h>

#include "common/calendar_source_contract.h"
#include "fake_outlook_fixture.h"

namespace planwarte {
namespace {

using testing_support::SourceAppointment;
using testing_support::SourceTask;

class FakeCalendarSourceTest : public FakeOutlookTest,
                               public testing_support::CalendarSourceUnderTest {
  protected:
    std::shared_ptr<OlItems> CalendarItems(const std::vector<SourceAppointment>& items) override {
        calendar_ = outlook_->AddCalendar("Kalender");
        for (const SourceAppointment& item : items) {
            calendar_->AddAppointment(Data(item));
        }
        return calendar_->Items();
    }

    std::shared_ptr<OlItems> TaskItems(const std::vector<SourceTask>& items) override {
        auto folder = outlook_->AddTaskFolder("Aufgaben");
        for (const SourceTask& item : items) {
            folder->AddTask({.subject = item.subject,
                             .due_date = item.due.value_or(kFakeNoDate),
                             .complete = item.complete});
        }
        return folder->Items();
    }

    void AddAppointment(const SourceAppointment& item) override {
        calendar_->RaiseItemAdd(calendar_->AddAppointment(Data(item)));
    }

    void Rename(const std::string& subject, const std::string& new_subject) override {
        auto item = Named(subject);
        item->Change([&](FakeAppointmentData& data) { data.subject = new_subject; });
        calendar_->RaiseItemChange(item);
    }

    void Remove(const std::string& subject) override {
        calendar_->RemoveItem(Named(subject));
        calendar_->RaiseItemRemove();
    }

  private:
    static FakeAppointmentData Data(const SourceAppointment& item) {
        FakeAppointmentData data{
            .subject = item.subject, .start = item.start, .end = item.end, .all_day = item.all_day};
        if (item.weekly_count > 0) {
            data.recurrence =
                FakeRecurrence{.kind = FakeRecurrenceKind::Weekly, .count = item.weekly_count};
        }
        return data;
    }

    std::shared_ptr<FakeAppointment> Named(const std::string& subject) {
        for (const auto& item : calendar_->ItemList()) {
            auto appointment = std::dynamic_pointer_cast<FakeAppointment>(item);
            if (appointment && appointment->Data().subject == subject) {
                return appointment;
            }
        }
        ADD_FAILURE() << "no appointment " << subject;
        return nullptr;
    }

    std::shared_ptr<FakeFolder> calendar_;
};

TEST_F(FakeCalendarSourceTest, FindFindNextAndSort) {
    testing_support::CheckFindAndSort(*this);
}
TEST_F(FakeCalendarSourceTest, SeriesWithAndWithoutRecurrences) {
    testing_support::CheckRecurrences(*this);
}
TEST_F(FakeCalendarSourceTest, FiltersThatCannotBeEvaluated) {
    testing_support::CheckFaultyFilters(*this);
}
TEST_F(FakeCalendarSourceTest, TasksByDueDateAndCompletion) {
    testing_support::CheckTasks(*this);
}
TEST_F(FakeCalendarSourceTest, ItemEventsReachTheAdvisedSinks) {
    testing_support::CheckEvents(*this);
}

}  // namespace
}  // namespace planwarte
