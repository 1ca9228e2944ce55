#include <gtest/gtest.h>

#include "common/calendar_source_contract.h"
#include "common/mail_source_contract.h"
#include "fake_outlook_fixture.h"

namespace planwarte {
namespace {

using testing_support::SourceAppointment;
using testing_support::SourceMail;
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

// The inbox of the fake, as the object model answers for mail.
class FakeMailSourceTest : public FakeOutlookTest, public testing_support::MailSourceUnderTest {
  protected:
    std::shared_ptr<OlItems> MailItems(const std::vector<SourceMail>& items) override {
        inbox_ = outlook_->AddInbox();
        for (const SourceMail& item : items) {
            inbox_->AddMail(Data(item));
        }
        return inbox_->Items();
    }

    void AddMail(const SourceMail& item) override {
        inbox_->RaiseItemAdd(inbox_->AddMail(Data(item)));
    }

    void Rename(const std::string& subject, const std::string& new_subject) override {
        auto mail = Named(subject);
        mail->Change([&](FakeMailData& data) { data.subject = new_subject; });
        inbox_->RaiseItemChange(mail);
    }

    void Remove(const std::string& subject) override {
        inbox_->RemoveItem(Named(subject));
        inbox_->RaiseItemRemove();
    }

  private:
    static FakeMailData Data(const SourceMail& item) {
        return {.subject = item.subject, .received_time = item.received, .unread = item.unread};
    }

    std::shared_ptr<FakeMail> Named(const std::string& subject) {
        for (const auto& item : inbox_->ItemList()) {
            auto mail = std::dynamic_pointer_cast<FakeMail>(item);
            if (mail && mail->Data().subject == subject) {
                return mail;
            }
        }
        ADD_FAILURE() << "no mail " << subject;
        return nullptr;
    }

    std::shared_ptr<FakeFolder> inbox_;
};

TEST_F(FakeMailSourceTest, FindFindNextAndSort) {
    testing_support::CheckMailFindAndSort(*this);
}
TEST_F(FakeMailSourceTest, FiltersThatCannotBeEvaluated) {
    testing_support::CheckMailFaultyFilters(*this);
}
TEST_F(FakeMailSourceTest, ItemEventsReachTheAdvisedSinks) {
    testing_support::CheckMailEvents(*this);
}

}  // namespace
}  // namespace planwarte
