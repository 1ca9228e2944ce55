#include "adapters/ical/ical_reader.h"

#include <gtest/gtest.h>

#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::At;
using ical_testing::Calendar;
using ical_testing::Event;
using ical_testing::ReadFixture;
using ical_testing::ScopedTimeZone;

EventFields OnlyEvent(const ReadResult& result) {
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(result.items.size(), 1u);
    if (result.items.size() != 1 || !result.items[0].event) {
        return {};
    }
    return result.items[0].event->fields;
}

TaskRecord OnlyTask(const ReadResult& result) {
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(result.items.size(), 1u);
    if (result.items.size() != 1 || !result.items[0].task) {
        return {};
    }
    return *result.items[0].task;
}

void ExpectNear(DateTime actual, DateTime expected) {
    EXPECT_NEAR(actual.value, expected.value, 1e-6)
        << "got " << actual.value << ", expected " << expected.value;
}

TEST(IcalReaderTest, ReadsTheMembersOfAnEventAsClientsWriteThem) {
    ScopedTimeZone zone;
    const EventFields fields = OnlyEvent(ReadCalendarText(ReadFixture("thunderbird_event.ics")));
    EXPECT_EQ(fields.subject, "Zahnarzt, Kontrolle");
    EXPECT_EQ(fields.location, "Praxis Dr. Lindner; 2. Stock");
    EXPECT_EQ(fields.categories, "Privat; Gesundheit; Arzt");
    EXPECT_EQ(fields.body, "Bitte Bonusheft mitbringen.\nTermin bestätigt.");
    EXPECT_EQ(fields.importance, kImportanceHigh);
    EXPECT_FALSE(fields.all_day);
    ExpectNear(fields.start, At(2004, 12, 8, 9, 30));
    ExpectNear(fields.end, At(2004, 12, 8, 10, 15));
}

struct TimeCase {
    const char* name;
    std::vector<std::string> lines;  // of the VEVENT besides UID and DTSTAMP
    std::vector<std::string> zones;  // VTIMEZONE components of the file
    DateTime start;
    DateTime end;
    bool all_day;
};

const std::vector<std::string> kCustomZone = {
    "BEGIN:VTIMEZONE",    "TZID:Eigene Zone", "BEGIN:STANDARD", "DTSTART:19700101T000000",
    "TZOFFSETFROM:+0300", "TZOFFSETTO:+0300", "END:STANDARD",   "END:VTIMEZONE"};

class IcalTimeTest : public ::testing::TestWithParam<TimeCase> {};

// Local time is Berlin (UTC+1 in December, +2 in July).
TEST_P(IcalTimeTest, ReadsStartEndAndAllDay) {
    ScopedTimeZone zone;
    const TimeCase& c = GetParam();
    std::vector<std::string> lines = c.zones;
    lines.push_back(Event("time-case", c.lines));
    const EventFields fields = OnlyEvent(ReadCalendarText(Calendar(lines)));
    ExpectNear(fields.start, c.start);
    ExpectNear(fields.end, c.end);
    EXPECT_EQ(fields.all_day, c.all_day);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IcalTimeTest,
    ::testing::Values(TimeCase{"Utc",
                               {"DTSTART:20041208T080000Z", "DTEND:20041208T090000Z"},
                               {},
                               At(2004, 12, 8, 9),
                               At(2004, 12, 8, 10),
                               false},
                      TimeCase{"UtcInSummer",
                               {"DTSTART:20040708T080000Z", "DTEND:20040708T090000Z"},
                               {},
                               At(2004, 7, 8, 10),
                               At(2004, 7, 8, 11),
                               false},
                      TimeCase{"FloatingIsLocal",
                               {"DTSTART:20041208T080000", "DTEND:20041208T090000"},
                               {},
                               At(2004, 12, 8, 8),
                               At(2004, 12, 8, 9),
                               false},
                      TimeCase{"SystemZoneWithoutVtimezone",
                               {"DTSTART;TZID=America/New_York:20041208T080000",
                                "DTEND;TZID=America/New_York:20041208T090000"},
                               {},
                               At(2004, 12, 8, 14),
                               At(2004, 12, 8, 15),
                               false},
                      TimeCase{"WindowsZoneName",
                               {"DTSTART;TZID=\"Pacific Standard Time\":20041208T080000",
                                "DTEND;TZID=\"Pacific Standard Time\":20041208T090000"},
                               {},
                               At(2004, 12, 8, 17),
                               At(2004, 12, 8, 18),
                               false},
                      TimeCase{
                          "VendorPrefixedZone",
                          {"DTSTART;TZID=/mozilla.org/20050126_1/Europe/London:20041208T080000",
                           "DURATION:PT30M"},
                          {},
                          At(2004, 12, 8, 9),
                          At(2004, 12, 8, 9, 30),
                          false},
                      TimeCase{"OwnVtimezone",
                               {"DTSTART;TZID=Eigene Zone:20041208T120000",
                                "DTEND;TZID=Eigene Zone:20041208T130000"},
                               kCustomZone,
                               At(2004, 12, 8, 10),
                               At(2004, 12, 8, 11),
                               false},
                      TimeCase{"DurationInsteadOfEnd",
                               {"DTSTART:20041208T080000", "DURATION:PT1H30M"},
                               {},
                               At(2004, 12, 8, 8),
                               At(2004, 12, 8, 9, 30),
                               false},
                      TimeCase{"NoEndIsAMoment",
                               {"DTSTART:20041208T080000"},
                               {},
                               At(2004, 12, 8, 8),
                               At(2004, 12, 8, 8),
                               false},
                      TimeCase{"AllDayEndIsExclusive",
                               {"DTSTART;VALUE=DATE:20041208", "DTEND;VALUE=DATE:20041210"},
                               {},
                               At(2004, 12, 8),
                               At(2004, 12, 10),
                               true},
                      TimeCase{"AllDayWithoutEndIsOneDay",
                               {"DTSTART;VALUE=DATE:20041208"},
                               {},
                               At(2004, 12, 8),
                               At(2004, 12, 9),
                               true},
                      TimeCase{"EndBeforeStartIsAMoment",
                               {"DTSTART:20041208T100000", "DTEND:20041208T090000"},
                               {},
                               At(2004, 12, 8, 10),
                               At(2004, 12, 8, 10),
                               false}),
    [](const ::testing::TestParamInfo<TimeCase>& case_info) { return case_info.param.name; });

TEST(IcalReaderTest, AnUnknownZoneIsReadAsLocalTimeAndNoted) {
    ScopedTimeZone zone;
    const ReadResult result =
        ReadCalendarText(Calendar({Event("u", {"DTSTART;TZID=Mars/Olympus:20041208T080000"})}));
    ExpectNear(OnlyEvent(result).start, At(2004, 12, 8, 8));
    ASSERT_EQ(result.notes.size(), 1u);
    EXPECT_NE(result.notes[0].find("Mars/Olympus"), std::string::npos);
}

TEST(IcalReaderTest, ImportanceFollowsPriority) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"PRIORITY:1", kImportanceHigh},    {"PRIORITY:4", kImportanceHigh},
        {"PRIORITY:5", kImportanceNormal},  {"PRIORITY:0", kImportanceNormal},
        {"PRIORITY:6", kImportanceLow},     {"PRIORITY:9", kImportanceLow},
        {"SUMMARY:none", kImportanceNormal}};
    for (const auto& [line, importance] : cases) {
        const EventFields fields =
            OnlyEvent(ReadCalendarText(Calendar({Event("p", {"DTSTART:20041208T080000Z", line})})));
        EXPECT_EQ(fields.importance, importance) << line;
    }
}

struct ReminderCase {
    const char* name;
    std::vector<std::string> event_lines;
    std::vector<std::string> alarm_lines;
    bool set;
    DateTime time;
};

class IcalReminderTest : public ::testing::TestWithParam<ReminderCase> {};

TEST_P(IcalReminderTest, ReadsTheFirstAlarm) {
    ScopedTimeZone zone;
    const ReminderCase& c = GetParam();
    std::vector<std::string> lines = {"DTSTART:20041208T090000", "DTEND:20041208T100000"};
    lines.insert(lines.end(), c.event_lines.begin(), c.event_lines.end());
    if (!c.alarm_lines.empty()) {
        lines.push_back("BEGIN:VALARM");
        lines.push_back("ACTION:DISPLAY");
        lines.push_back("DESCRIPTION:Erinnerung");
        lines.insert(lines.end(), c.alarm_lines.begin(), c.alarm_lines.end());
        lines.push_back("END:VALARM");
    }
    const EventFields fields = OnlyEvent(ReadCalendarText(Calendar({Event("r", lines)})));
    const Reminder reminder = ReminderOf(fields.alarm, fields.start, fields.end);
    EXPECT_EQ(reminder.set, c.set);
    ExpectNear(reminder.time, c.time);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IcalReminderTest,
    ::testing::Values(
        ReminderCase{"None", {}, {}, false, At(2004, 12, 8, 9)},
        ReminderCase{"BeforeStart", {}, {"TRIGGER:-PT15M"}, true, At(2004, 12, 8, 8, 45)},
        ReminderCase{
            "RelatedToEnd", {}, {"TRIGGER;RELATED=END:-PT5M"}, true, At(2004, 12, 8, 9, 55)},
        ReminderCase{"Absolute",
                     {},
                     {"TRIGGER;VALUE=DATE-TIME:20041207T170000Z"},
                     true,
                     At(2004, 12, 7, 18)},
        ReminderCase{"AcknowledgedAfterTrigger",
                     {},
                     {"TRIGGER:-PT15M", "ACKNOWLEDGED:20041208T075000Z"},
                     false,
                     At(2004, 12, 8, 8, 45)},
        ReminderCase{"AcknowledgedBeforeTrigger",
                     {},
                     {"TRIGGER:-PT15M", "ACKNOWLEDGED:20041208T070000Z"},
                     true,
                     At(2004, 12, 8, 8, 45)},
        ReminderCase{"ThunderbirdLastAck",
                     {"X-MOZ-LASTACK:20041208T074600Z"},
                     {"TRIGGER:-PT15M"},
                     false,
                     At(2004, 12, 8, 8, 45)},
        ReminderCase{"ThunderbirdSnoozed",
                     {"X-MOZ-LASTACK:20041208T074600Z", "X-MOZ-SNOOZE-TIME:20041208T080000Z"},
                     {"TRIGGER:-PT15M"},
                     true,
                     At(2004, 12, 8, 9)}),
    [](const ::testing::TestParamInfo<ReminderCase>& case_info) { return case_info.param.name; });

struct TaskCase {
    const char* name;
    std::vector<std::string> lines;
    DateTime due;
    bool complete;
};

class IcalTaskTest : public ::testing::TestWithParam<TaskCase> {};

TEST_P(IcalTaskTest, ReadsDueDateAndCompletion) {
    ScopedTimeZone zone;
    const TaskCase& c = GetParam();
    std::string todo = "BEGIN:VTODO\r\nUID:t\r\nDTSTAMP:20241201T080000Z\r\nSUMMARY:Steuer";
    for (const std::string& line : c.lines) {
        todo += "\r\n" + line;
    }
    todo += "\r\nEND:VTODO";
    const TaskRecord task = OnlyTask(ReadCalendarText(Calendar({todo})));
    ExpectNear(task.due, c.due);
    EXPECT_EQ(task.complete, c.complete);
    EXPECT_EQ(task.subject, "Steuer");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IcalTaskTest,
    ::testing::Values(
        TaskCase{"NoDueDate", {"STATUS:NEEDS-ACTION"}, DateTime(949998.0), false},
        TaskCase{"DueDate", {"DUE;VALUE=DATE:20041208"}, At(2004, 12, 8), false},
        TaskCase{"DueTimeUtc", {"DUE:20041208T160000Z"}, At(2004, 12, 8, 17), false},
        TaskCase{"StatusCompleted", {"STATUS:COMPLETED"}, DateTime(949998.0), true},
        TaskCase{"CompletedStamp", {"COMPLETED:20041201T100000Z"}, DateTime(949998.0), true},
        TaskCase{"FullPercent", {"PERCENT-COMPLETE:100"}, DateTime(949998.0), true},
        TaskCase{"HalfPercent", {"PERCENT-COMPLETE:50"}, DateTime(949998.0), false},
        TaskCase{"Cancelled", {"STATUS:CANCELLED"}, DateTime(949998.0), true}),
    [](const ::testing::TestParamInfo<TaskCase>& case_info) { return case_info.param.name; });

TEST(IcalReaderTest, ReadsATodomanTask) {
    ScopedTimeZone zone;
    const TaskRecord task = OnlyTask(ReadCalendarText(ReadFixture("todoman_task.ics")));
    EXPECT_EQ(task.subject, "Reifen wechseln");
    EXPECT_EQ(task.importance, kImportanceHigh);
    ExpectNear(task.due, At(2004, 12, 9, 18));
    EXPECT_FALSE(task.complete);
}

std::string Todo(const std::string& uid, const std::vector<std::string>& lines) {
    std::string text = "BEGIN:VTODO\r\nUID:" + uid + "\r\nDTSTAMP:20261201T080000Z\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text + "END:VTODO";
}

// A weekly to-do from Monday 7 December 2026, 9:00, due at 18:00 the same day.
std::string WeeklyTodo(const std::vector<std::string>& more) {
    std::vector<std::string> lines = {"SUMMARY:Blumen giessen", "DTSTART:20261207T090000",
                                      "DUE:20261207T180000"};
    lines.insert(lines.end(), more.begin(), more.end());
    return Todo("serie", lines);
}

// An override of the occurrence starting at `recurrence_id` (written as in DTSTART).
std::string OccurrenceOf(const std::string& recurrence_id, const std::vector<std::string>& more) {
    std::vector<std::string> lines = {"RECURRENCE-ID:" + recurrence_id};
    lines.insert(lines.end(), more.begin(), more.end());
    return Todo("serie", lines);
}

std::vector<std::string> Alarm(const std::string& trigger) {
    return {"BEGIN:VALARM", "ACTION:DISPLAY", "DESCRIPTION:Erinnerung", trigger, "END:VALARM"};
}

std::vector<std::string> Joined(std::vector<std::string> lines,
                                const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

struct RepeatingTaskCase {
    const char* name;
    std::vector<std::string> components;  // the VTODOs of the file, in file order
    std::string subject;
    DateTime due;
    bool complete;
    std::optional<DateTime> reminder;  // when the task has a reminder
};

class IcalRepeatingTaskTest : public ::testing::TestWithParam<RepeatingTaskCase> {};

// One task stands for the series, at its earliest occurrence that is not done.
TEST_P(IcalRepeatingTaskTest, ShowsTheCurrentOccurrence) {
    ScopedTimeZone zone;
    const RepeatingTaskCase& c = GetParam();
    const ReadResult result = ReadCalendarText(Calendar(c.components));
    const TaskRecord task = OnlyTask(result);
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].uid, "serie") << "the series keeps its identity";
    EXPECT_EQ(task.subject, c.subject);
    ExpectNear(task.due, c.due);
    EXPECT_EQ(task.complete, c.complete);
    const Reminder reminder = ReminderOf(task.alarm, task.alarm_base, task.alarm_base);
    EXPECT_EQ(reminder.set, c.reminder.has_value());
    if (c.reminder) {
        ExpectNear(reminder.time, *c.reminder);
    }
}

const std::string kDone = "STATUS:COMPLETED";

INSTANTIATE_TEST_SUITE_P(
    Cases, IcalRepeatingTaskTest,
    ::testing::Values(
        RepeatingTaskCase{"NoOverridesShowsTheFirst",
                          {WeeklyTodo({"RRULE:FREQ=WEEKLY;COUNT=4"})},
                          "Blumen giessen",
                          At(2026, 12, 7, 18),
                          false,
                          std::nullopt},
        RepeatingTaskCase{
            "FirstTwoDoneShowsTheThird",
            {WeeklyTodo({"RRULE:FREQ=WEEKLY;COUNT=4"}),
             OccurrenceOf("20261207T090000", {"SUMMARY:Blumen giessen", "DTSTART:20261207T090000",
                                              "DUE:20261207T180000", kDone}),
             OccurrenceOf("20261214T090000", {"COMPLETED:20261214T170000Z"})},
            "Blumen giessen",
            At(2026, 12, 21, 18),
            false,
            std::nullopt},
        // A reading that let the first component of the UID stand showed the done override.
        RepeatingTaskCase{"OverrideBeforeItsSeriesInTheFile",
                          {OccurrenceOf("20261207T090000", {"SUMMARY:erledigt", kDone}),
                           WeeklyTodo({"RRULE:FREQ=WEEKLY"})},
                          "Blumen giessen",
                          At(2026, 12, 14, 18),
                          false,
                          std::nullopt},
        RepeatingTaskCase{
            "OverrideOfTheCurrentOneChangesItsFields",
            {WeeklyTodo({"RRULE:FREQ=WEEKLY;COUNT=4"}), OccurrenceOf("20261207T090000", {kDone}),
             OccurrenceOf("20261214T090000", {"SUMMARY:Blumen giessen (Balkon)",
                                              "DTSTART:20261215T090000", "DUE:20261215T120000"})},
            "Blumen giessen (Balkon)",
            At(2026, 12, 15, 12),
            false,
            std::nullopt},
        RepeatingTaskCase{"OverrideOfALaterOneWaitsForItsTurn",
                          {WeeklyTodo({"RRULE:FREQ=WEEKLY;COUNT=4"}),
                           OccurrenceOf("20261214T090000", {"SUMMARY:Blumen giessen (Balkon)"})},
                          "Blumen giessen",
                          At(2026, 12, 7, 18),
                          false,
                          std::nullopt},
        RepeatingTaskCase{"MasterCompletedEndsTheSeries",
                          {WeeklyTodo({"RRULE:FREQ=WEEKLY", kDone})},
                          "Blumen giessen",
                          At(2026, 12, 7, 18),
                          true,
                          std::nullopt},
        RepeatingTaskCase{"CountExhaustedWithAllDone",
                          {WeeklyTodo({"RRULE:FREQ=WEEKLY;COUNT=2"}),
                           OccurrenceOf("20261207T090000", {"STATUS:CANCELLED"}),
                           OccurrenceOf("20261214T090000", {"PERCENT-COMPLETE:100"})},
                          "Blumen giessen",
                          At(2026, 12, 14, 18),
                          true,
                          std::nullopt},
        RepeatingTaskCase{
            "EndlessRuleAfterDoneOnes",
            {WeeklyTodo({"RRULE:FREQ=DAILY"}), OccurrenceOf("20261207T090000", {kDone}),
             OccurrenceOf("20261208T090000", {kDone}), OccurrenceOf("20261209T090000", {kDone})},
            "Blumen giessen",
            At(2026, 12, 10, 18),
            false,
            std::nullopt},
        RepeatingTaskCase{"ExcludedOccurrenceIsSkipped",
                          {WeeklyTodo({"RRULE:FREQ=WEEKLY;COUNT=4", "EXDATE:20261207T090000"})},
                          "Blumen giessen",
                          At(2026, 12, 14, 18),
                          false,
                          std::nullopt},
        RepeatingTaskCase{"ExtraDateComesInItsPlace",
                          {WeeklyTodo({"RRULE:FREQ=WEEKLY;COUNT=2", "RDATE:20261210T090000"}),
                           OccurrenceOf("20261207T090000", {kDone})},
                          "Blumen giessen",
                          At(2026, 12, 10, 18),
                          false,
                          std::nullopt},
        // Without a start, the due dates repeat.
        RepeatingTaskCase{
            "DueDatesRepeatWithoutStart",
            {Todo("serie", {"SUMMARY:Miete", "DUE;VALUE=DATE:20261201", "RRULE:FREQ=MONTHLY"}),
             Todo("serie", {"RECURRENCE-ID;VALUE=DATE:20261201", kDone})},
            "Miete",
            At(2027, 1, 1),
            false,
            std::nullopt},
        RepeatingTaskCase{"RelativeAlarmRingsForTheCurrentOne",
                          {WeeklyTodo(Joined({"RRULE:FREQ=WEEKLY"}, Alarm("TRIGGER:-PT30M"))),
                           OccurrenceOf("20261207T090000", {kDone})},
                          "Blumen giessen",
                          At(2026, 12, 14, 18),
                          false,
                          At(2026, 12, 14, 17, 30)},
        RepeatingTaskCase{"AlarmRelatedToTheStartOfTheCurrentOne",
                          {Todo("serie", Joined({"SUMMARY:Blumen giessen",
                                                 "DTSTART:20261207T090000", "RRULE:FREQ=WEEKLY"},
                                                Alarm("TRIGGER:-PT1H"))),
                           OccurrenceOf("20261207T090000", {kDone})},
                          "Blumen giessen",
                          DateTime(949998.0),
                          false,
                          At(2026, 12, 14, 8)}),
    [](const ::testing::TestParamInfo<RepeatingTaskCase>& case_info) {
        return case_info.param.name;
    });

TEST(IcalReaderTest, AnOccurrenceOfAMissingToDoSeriesStandsAlone) {
    ScopedTimeZone zone;
    const ReadResult result = ReadCalendarText(Calendar(
        {Todo("geteilt",
              Joined({"RECURRENCE-ID:20261214T090000", "SUMMARY:Nur diese", "DUE:20261214T180000"},
                     Alarm("TRIGGER:-PT30M")))}));
    const TaskRecord task = OnlyTask(result);
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].uid, "geteilt/20261214T090000");
    EXPECT_EQ(task.subject, "Nur diese");
    ExpectNear(task.due, At(2026, 12, 14, 18));
    EXPECT_FALSE(task.complete);
    ExpectNear(ReminderOf(task.alarm, task.alarm_base, task.alarm_base).time,
               At(2026, 12, 14, 17, 30));
    EXPECT_FALSE(result.notes.empty());
}

TEST(IcalReaderTest, AToDoWithoutUidIsNeverTakenForAnOccurrence) {
    const ReadResult result = ReadCalendarText(
        Calendar({Todo("a", {"SUMMARY:eins"}),
                  "BEGIN:VTODO\r\nSUMMARY:zwei\r\nRECURRENCE-ID:20261214T090000\r\nEND:VTODO",
                  "BEGIN:VTODO\r\nSUMMARY:drei\r\nEND:VTODO"}));
    ASSERT_EQ(result.items.size(), 3u);
    EXPECT_EQ(result.items[1].uid, "#todo2");
    EXPECT_EQ(result.items[1].task->subject, "zwei");
    EXPECT_EQ(result.items[2].uid, "#todo3");
}

// Line ends, byte order marks, folding and code pages as files come from different clients.
TEST(IcalReaderTest, ReadsTheSameEventWhateverTheEncodingDetails) {
    const std::string crlf =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:e\r\nDTSTART:20041208T080000\r\n"
        "SUMMARY:Grüße aus Köln\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    std::string lf = crlf;
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    // "ü" is C3 BC; the fold falls between its two bytes.
    const std::string folded =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:e\r\nDTSTART:20041208T080000\r\n"
        "SUMMARY:Gr\xC3\r\n \xBC\xC3\x9F"
        "e aus K\xC3\xB6ln\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const std::string latin1 =
        "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:e\nDTSTART:20041208T080000\n"
        "SUMMARY:Gr\xFC\xDF"
        "e aus K\xF6ln\nEND:VEVENT\nEND:VCALENDAR\n";
    for (const std::string& text : {crlf, lf, "\xEF\xBB\xBF" + crlf, folded, latin1}) {
        EXPECT_EQ(OnlyEvent(ReadCalendarText(text)).subject, "Grüße aus Köln");
    }
    EXPECT_FALSE(ReadCalendarText(latin1).notes.empty()) << "the code page guess is noted";
}

TEST(IcalReaderTest, AFileWithoutUsableContentIsAnError) {
    const std::vector<std::string> broken = {
        "",
        "  \r\n",
        "\xEF\xBB\xBF",
        "this is no calendar",
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n",
        Calendar({Event("x", {"SUMMARY:no start"})}),
        Calendar({Event("x", {"DTSTART:garbage"})}),
        std::string("BEGIN:VCALENDAR\r\n\0\0\0", 20),
    };
    for (const std::string& text : broken) {
        const ReadResult result = ReadCalendarText(text);
        EXPECT_FALSE(result.error.empty()) << text;
        EXPECT_TRUE(result.items.empty()) << text;
    }
}

// Rules whose next occurrence is searched second by second, or minute by minute or hour by hour
// towards a day that never comes, would hold the program up for seconds or for ever.
TEST(IcalReaderTest, ARuleThatCannotBeExpandedInReasonableTimeIsLeftOut) {
    struct Case {
        const char* rule;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"FREQ=SECONDLY", false},
        {"FREQ=MINUTELY;INTERVAL=15", true},
        {"FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=30", false},
        {"FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=30", false},
        {"FREQ=HOURLY;BYMONTH=4;BYMONTHDAY=31", false},
        {"FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=29", false},
        {"FREQ=MINUTELY;BYMONTH=2", false},
        {"FREQ=MINUTELY;BYDAY=MO", true},
        {"FREQ=MINUTELY;INTERVAL=30;BYMONTHDAY=1", true},
        {"FREQ=HOURLY;INTERVAL=4;BYDAY=MO", true},
        {"FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=29", true},
        {"FREQ=DAILY;BYMONTH=2;BYMONTHDAY=29", true},
    };
    for (const Case& c : cases) {
        const ReadResult events = ReadCalendarText(Calendar({Event(
            "e", {"DTSTART:20241208T080000", std::string("RRULE:") + c.rule, "SUMMARY:Serie"})}));
        ASSERT_EQ(events.items.size(), 1u) << c.rule;
        ASSERT_TRUE(events.items[0].event->rule.has_value()) << c.rule;
        EXPECT_EQ(events.items[0].event->rule->rrules.empty(), !c.kept) << c.rule;
        EXPECT_EQ(events.notes.empty(), c.kept) << c.rule;

        const ReadResult tasks = ReadCalendarText(
            Calendar({"BEGIN:VTODO", "UID:t", "DUE:20241208T080000", std::string("RRULE:") + c.rule,
                      "SUMMARY:Aufgabe", "END:VTODO"}));
        ASSERT_EQ(tasks.items.size(), 1u) << c.rule;
        EXPECT_EQ(tasks.items[0].task->due, At(2024, 12, 8, 8)) << c.rule;
    }
}

TEST(IcalReaderTest, ABrokenEventLeavesTheOthersOfTheFile) {
    const ReadResult result = ReadCalendarText(Calendar(
        {Event("a", {"SUMMARY:kaputt"}), Event("b", {"DTSTART:20041208T080000", "SUMMARY:gut"})}));
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].event->fields.subject, "gut");
    EXPECT_FALSE(result.notes.empty());
}

TEST(IcalReaderTest, AnOverrideWithoutItsSeriesStandsAlone) {
    const ReadResult result = ReadCalendarText(Calendar(
        {Event("invited-once", {"RECURRENCE-ID:20041208T080000Z", "DTSTART:20041208T090000Z",
                                "SUMMARY:Nur diese Sitzung"})}));
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].event->fields.subject, "Nur diese Sitzung");
    EXPECT_FALSE(result.items[0].event->rule.has_value());
    EXPECT_FALSE(result.notes.empty());
}

TEST(IcalReaderTest, SeveralItemsInOneFileAreKeptApart) {
    const ReadResult result = ReadCalendarText(
        Calendar({Event("a", {"DTSTART:20041208T080000"}), Event("b", {"DTSTART:20041209T080000"}),
                  Event("", {"DTSTART:20041210T080000"}), Event("", {"DTSTART:20041211T080000"})}));
    ASSERT_EQ(result.items.size(), 4u);
    EXPECT_NE(result.items[2].uid, result.items[3].uid);
}

}  // namespace
}  // namespace planwarte
