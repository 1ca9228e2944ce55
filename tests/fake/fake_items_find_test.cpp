#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_object_model.h"
#include "fake/fake_outlook_fixture.h"

namespace planwarte {
namespace {

using Subjects = std::vector<std::string>;

DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDateTime(year, month, day, hour, minute);
}

std::int64_t Minutes(DateTime value) {
    return std::llround(value.value * 24 * 60);
}

class FakeItemsFindTest : public FakeOutlookTest {
  protected:
    std::shared_ptr<FakeFolder> calendar_ = outlook_->AddCalendar("Kalender");
};

TEST_F(FakeItemsFindTest, FindsTheDaysAppointmentsInSortOrder) {
    calendar_->AddAppointment(
        {.subject = "Mittag", .start = At(2004, 12, 8, 12), .end = At(2004, 12, 8, 13)});
    calendar_->AddAppointment(
        {.subject = "Morgen", .start = At(2004, 12, 8, 8), .end = At(2004, 12, 8, 9)});
    calendar_->AddAppointment(
        {.subject = "Nacht", .start = At(2004, 12, 7, 22), .end = At(2004, 12, 8, 2)});
    calendar_->AddAppointment(
        {.subject = "Anderer Tag", .start = At(2004, 12, 9, 8), .end = At(2004, 12, 9, 9)});
    auto items = Session()->GetDefaultFolder(kDefaultFolderCalendar)->Items();

    EXPECT_EQ(FindAll(*items, DayFilter("08.12.2004")), (Subjects{"Mittag", "Morgen", "Nacht"}));
    items->Sort("[Start]", false);
    EXPECT_EQ(FindAll(*items, DayFilter("08.12.2004")), (Subjects{"Nacht", "Morgen", "Mittag"}));
    items->Sort("[Start]", true);
    EXPECT_EQ(FindAll(*items, DayFilter("08.12.2004")), (Subjects{"Mittag", "Morgen", "Nacht"}));
    EXPECT_EQ(items->FindNext(), nullptr);
    EXPECT_TRUE(FindAll(*items, DayFilter("10.12.2004")).empty());
}

TEST_F(FakeItemsFindTest, SortKeepsTheFolderOrderOfEqualValuesAndOrdersItemAccess) {
    const DateTime noon = At(2004, 12, 8, 12);
    calendar_->AddAppointment({.subject = "b", .start = noon, .end = noon});
    calendar_->AddAppointment({.subject = "a", .start = At(2004, 12, 8, 9), .end = noon});
    calendar_->AddAppointment({.subject = "c", .start = noon, .end = noon});
    auto items = Session()->GetDefaultFolder(kDefaultFolderCalendar)->Items();

    const auto listed = [&] {
        Subjects subjects;
        for (int i = 1; i <= items->Count(); ++i) {
            subjects.push_back(items->Item(i)->Subject());
        }
        return subjects;
    };
    EXPECT_EQ(listed(), (Subjects{"b", "a", "c"}));
    items->Sort("[Start]", false);
    EXPECT_EQ(listed(), (Subjects{"a", "b", "c"}));
    items->Sort("[Start]", true);
    EXPECT_EQ(listed(), (Subjects{"b", "c", "a"}));
    items->Sort("[Subject]", true);
    EXPECT_EQ(listed(), (Subjects{"c", "b", "a"}));

    EXPECT_THROW(items->Item(0), OutlookError);
    EXPECT_THROW(items->Item(4), OutlookError);
    EXPECT_THROW(items->Sort("[DueDate]", false), OutlookError);
}

TEST_F(FakeItemsFindTest, SearchFaultsAreErrorsOfTheCall) {
    calendar_->AddAppointment({.subject = "x", .start = At(2004, 12, 8), .end = At(2004, 12, 8)});
    auto items = Session()->GetDefaultFolder(kDefaultFolderCalendar)->Items();

    EXPECT_THROW(items->FindNext(), OutlookError);
    const struct {
        const char* name;
        const char* filter;
    } faults[] = {{"does not parse", "[Start] >= "}, {"unknown property", "[DueDate] = 1"}};
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.name);
        try {
            items->Find(fault.filter);
            ADD_FAILURE() << "found";
        } catch (const OutlookError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Find: ", 0), 0u) << error.what();
        }
    }
    EXPECT_THROW(items->SetColumns("[Body],Location"), OutlookError);
    EXPECT_NO_THROW(items->SetColumns("[Body],[Location],[Categories]"));
}

struct SeriesCase {
    const char* name;
    FakeRecurrence recurrence;
    DateTime first_start;
    std::vector<DateTime> expected_starts;
};

TEST_F(FakeItemsFindTest, SeriesExpandIntoTheirOccurrences) {
    const std::vector<SeriesCase> cases{
        {"every second day, three times",
         {FakeRecurrenceKind::Daily, 2, {}, 3},
         At(2004, 12, 1, 9),
         {At(2004, 12, 1, 9), At(2004, 12, 3, 9), At(2004, 12, 5, 9)}},
        {"weekly until a date",
         {FakeRecurrenceKind::Weekly, 1, At(2004, 12, 15), 0},
         At(2004, 12, 1, 9),
         {At(2004, 12, 1, 9), At(2004, 12, 8, 9), At(2004, 12, 15, 9)}},
        {"monthly on the 31st, on the last day of short months",
         {FakeRecurrenceKind::Monthly, 1, {}, 4},
         At(2004, 1, 31, 9),
         {At(2004, 1, 31, 9), At(2004, 2, 29, 9), At(2004, 3, 31, 9), At(2004, 4, 30, 9)}},
        {"yearly on 29 February",
         {FakeRecurrenceKind::Yearly, 1, {}, 2},
         At(2004, 2, 29, 9),
         {At(2004, 2, 29, 9), At(2005, 2, 28, 9)}},
    };
    for (const SeriesCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto series = calendar_->AddAppointment({.subject = c.name,
                                                 .start = c.first_start,
                                                 .end = DateTime(c.first_start.value + 0.0625),
                                                 .recurrence = c.recurrence});
        std::vector<std::int64_t> starts;
        for (const auto& occurrence : series->Occurrences()) {
            starts.push_back(Minutes(occurrence->Start()));
            EXPECT_EQ(Minutes(occurrence->End()) - Minutes(occurrence->Start()), 90);
        }
        std::vector<std::int64_t> expected;
        for (DateTime start : c.expected_starts) {
            expected.push_back(Minutes(start));
        }
        EXPECT_EQ(starts, expected);
    }
}

TEST_F(FakeItemsFindTest, SeriesWithoutEndStopAtTheOccurrenceLimit) {
    auto series = calendar_->AddAppointment(
        {.subject = "täglich",
         .start = At(2004, 1, 1, 9),
         .end = At(2004, 1, 1, 10),
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Daily}});
    EXPECT_EQ(series->Occurrences().size(), static_cast<std::size_t>(kFakeMaxOccurrences));
}

TEST_F(FakeItemsFindTest, IncludedRecurrencesAreFoundAsOccurrencesOfTheirSeries) {
    auto birthday = calendar_->AddAppointment(
        {.subject = "Geburtstag Max",
         .start = At(1969, 6, 12),
         .end = At(1969, 6, 13),
         .all_day = true,
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Yearly}});
    calendar_->AddAppointment(
        {.subject = "Zahnarzt", .start = At(2004, 6, 12, 14, 30), .end = At(2004, 6, 12, 15)});
    auto items = Session()->GetDefaultFolder(kDefaultFolderCalendar)->Items();
    items->Sort("[Start]", false);

    EXPECT_EQ(FindAll(*items, DayFilter("12.06.2004")), (Subjects{"Zahnarzt"}));
    items->SetIncludeRecurrences(true);
    auto found = items->Find(DayFilter("12.06.2004"));
    ASSERT_NE(found, nullptr);
    auto occurrence = std::dynamic_pointer_cast<OlAppointmentItem>(found);
    ASSERT_NE(occurrence, nullptr);
    EXPECT_EQ(occurrence->Subject(), "Geburtstag Max");
    EXPECT_EQ(occurrence->Start(), At(2004, 6, 12));
    EXPECT_EQ(occurrence->GetRecurrenceState(), RecurrenceState::Occurrence);
    EXPECT_TRUE(occurrence->IsRecurring());
    EXPECT_EQ(occurrence->EntryID(), birthday->EntryID());
    EXPECT_EQ(occurrence->GetRecurrencePattern()->Parent(), birthday);
    EXPECT_EQ(occurrence->Parent(), calendar_);
    EXPECT_EQ(items->FindNext()->Subject(), "Zahnarzt");
    EXPECT_EQ(items->FindNext(), nullptr);
    // The series stays one item of the folder.
    EXPECT_EQ(items->Count(), 2);
}

TEST_F(FakeItemsFindTest, PatternDescribesTheSeries) {
    auto endless = calendar_->AddAppointment(
        {.subject = "Sport",
         .start = At(2004, 12, 1, 18),
         .end = At(2004, 12, 1, 19, 30),
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Weekly}});
    auto ending = calendar_->AddAppointment(
        {.subject = "Kurs",
         .start = At(2004, 12, 1, 18),
         .end = At(2004, 12, 1, 19),
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Weekly, .count = 4}});
    auto single = calendar_->AddAppointment(
        {.subject = "einmal", .start = At(2004, 12, 1, 18), .end = At(2004, 12, 1, 19)});

    auto pattern = endless->GetRecurrencePattern();
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(pattern->PatternStartDate(), At(2004, 12, 1));
    EXPECT_TRUE(pattern->NoEndDate());
    EXPECT_EQ(Minutes(pattern->EndTime()), 19 * 60 + 30);
    EXPECT_EQ(endless->GetRecurrenceState(), RecurrenceState::Master);
    EXPECT_FALSE(ending->GetRecurrencePattern()->NoEndDate());
    EXPECT_EQ(single->GetRecurrencePattern(), nullptr);
    EXPECT_EQ(single->GetRecurrenceState(), RecurrenceState::NotRecurring);
}

TEST_F(FakeItemsFindTest, FindsOpenTasksInDueDateOrder) {
    auto tasks = outlook_->AddTaskFolder("Aufgaben");
    tasks->AddTask({.subject = "später", .due_date = At(2004, 12, 8, 16)});
    tasks->AddTask({.subject = "erledigt", .due_date = At(2004, 12, 8), .complete = true});
    tasks->AddTask({.subject = "ohne Datum"});
    tasks->AddTask({.subject = "früher", .due_date = At(2004, 12, 8)});
    tasks->AddTask({.subject = "morgen", .due_date = At(2004, 12, 9)});
    auto items = Session()->GetFolderFromID(tasks->EntryID(), "")->Items();
    items->Sort("[DueDate]", false);

    EXPECT_EQ(FindAll(*items, "[DueDate] = '#08.12.2004#' AND [Complete] = False"),
              (Subjects{"früher", "später"}));
    EXPECT_EQ(FindAll(*items, "[Complete] = False"),
              (Subjects{"früher", "später", "morgen", "ohne Datum"}));
    EXPECT_EQ(kFakeNoDate, EncodeDate(4501, 1, 1));
}

TEST_F(FakeItemsFindTest, FindsUnreadMailOfATimeWindowAndKeepsUserProperties) {
    auto inbox = outlook_->AddInbox();
    inbox->AddMail({.subject = "gelesen", .received_time = At(2004, 12, 8, 9, 6), .unread = false});
    inbox->AddMail({.subject = "neu 2", .received_time = At(2004, 12, 8, 9, 8)});
    inbox->AddMail({.subject = "neu 1", .received_time = At(2004, 12, 8, 9, 5)});
    inbox->AddMail({.subject = "alt", .received_time = At(2004, 12, 8, 8)});
    auto items = Session()->GetDefaultFolder(kDefaultFolderInbox)->Items();
    items->Sort("[ReceivedTime]", false);

    const std::string filter =
        "[ReceivedTime] >= '#8.12.2004 9:05#' AND [ReceivedTime] <= '#8.12.2004 9:10#' AND "
        "[UnRead] = TRUE";
    auto mail = std::dynamic_pointer_cast<OlMailItem>(items->Find(filter));
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->Subject(), "neu 1");
    EXPECT_EQ(items->FindNext()->Subject(), "neu 2");
    EXPECT_EQ(items->FindNext(), nullptr);

    auto properties = mail->UserProperties();
    EXPECT_EQ(properties->Count(), 0);
    auto mark = properties->Add("50FE4A87-7A57-4B6D-92E5-8548D905EBDA", 6, false, 0);
    EXPECT_EQ(mark->Value(), Variant(false));
    EXPECT_THROW(properties->Add("50FE4A87-7A57-4B6D-92E5-8548D905EBDA", 6, false, 0),
                 OutlookError);
    // A search later in the session hands out the same mail, mark and all.
    auto again = std::dynamic_pointer_cast<OlMailItem>(items->Find(filter));
    ASSERT_EQ(again->UserProperties()->Count(), 1);
    EXPECT_EQ(again->UserProperties()->Item(1)->Name(), "50FE4A87-7A57-4B6D-92E5-8548D905EBDA");
    EXPECT_THROW(again->UserProperties()->Item(2), OutlookError);
}

}  // namespace
}  // namespace planwarte
