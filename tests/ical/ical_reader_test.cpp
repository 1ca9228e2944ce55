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
    [](const ::testing::TestParamInfo<TimeCase>& info) { return info.param.name; });

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
    [](const ::testing::TestParamInfo<ReminderCase>& info) { return info.param.name; });

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
    [](const ::testing::TestParamInfo<TaskCase>& info) { return info.param.name; });

TEST(IcalReaderTest, ReadsATodomanTask) {
    ScopedTimeZone zone;
    const TaskRecord task = OnlyTask(ReadCalendarText(ReadFixture("todoman_task.ics")));
    EXPECT_EQ(task.subject, "Reifen wechseln");
    EXPECT_EQ(task.importance, kImportanceHigh);
    ExpectNear(task.due, At(2004, 12, 9, 18));
    EXPECT_FALSE(task.complete);
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
