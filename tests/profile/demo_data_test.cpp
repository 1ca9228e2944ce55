#include "adapters/profile/demo_data.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "adapters/profile/demo_content.h"
#include "profile/profile_test_support.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using testing_support::ProfileHome;

// A Thursday: its week runs from Monday 7 December, the next one to Sunday 20 December.
const DateTime kNow = EncodeDateTime(2026, 12, 10, 14, 0);

struct ParsedItem {
    std::string path;
    icalcomponent* calendar = nullptr;
    icalcomponent* component = nullptr;  // the VEVENT or VTODO
};

class DemoFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const DemoFile& file : DemoFiles(kNow)) {
            files_[file.path] = file.content;
            if (file.path.size() > 4 && file.path.substr(file.path.size() - 4) == ".ics") {
                icalcomponent* calendar = icalparser_parse_string(file.content.c_str());
                ASSERT_NE(calendar, nullptr) << file.path;
                items_.push_back({file.path, calendar,
                                  icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT)});
            }
        }
    }
    void TearDown() override {
        for (ParsedItem& item : items_) {
            icalcomponent_free(item.calendar);
        }
    }
    std::vector<icalcomponent*> Collection(const std::string& name) const {
        std::vector<icalcomponent*> components;
        for (const ParsedItem& item : items_) {
            if (item.path.rfind(std::string("Kalender/") + name + "/", 0) == 0) {
                components.push_back(item.component);
            }
        }
        return components;
    }
    static std::string Text(icalcomponent* component, icalproperty_kind kind) {
        icalproperty* property = icalcomponent_get_first_property(component, kind);
        return property ? icalproperty_get_value_as_string(property) : "";
    }
    static std::string Date(icaltimetype time) {
        char text[16];
        std::snprintf(text, sizeof text, "%04d%02d%02d", time.year, time.month, time.day);
        return text;
    }

    std::map<std::string, std::string> files_;
    std::vector<ParsedItem> items_;
};

TEST_F(DemoFilesTest, EveryItemIsValidICalendarInVdirLayout) {
    std::set<std::string> uids;
    for (const ParsedItem& item : items_) {
        const std::string& content = files_.at(item.path);
        for (std::size_t start = 0; start < content.size();) {
            const std::size_t end = content.find("\r\n", start);
            ASSERT_NE(end, std::string::npos) << item.path << ": no CRLF at the end";
            const std::string line = content.substr(start, end - start);
            EXPECT_EQ(line.find('\n'), std::string::npos) << item.path << ": bare LF";
            EXPECT_LE(line.size(), 75u) << item.path << ": " << line;
            start = end + 2;
        }
        EXPECT_EQ(icalcomponent_count_errors(item.calendar), 0) << item.path;
        EXPECT_FALSE(Text(item.calendar, ICAL_VERSION_PROPERTY).empty()) << item.path;
        EXPECT_FALSE(Text(item.calendar, ICAL_PRODID_PROPERTY).empty()) << item.path;
        ASSERT_NE(item.component, nullptr) << item.path;
        EXPECT_FALSE(Text(item.component, ICAL_DTSTAMP_PROPERTY).empty()) << item.path;
        const std::string uid = Text(item.component, ICAL_UID_PROPERTY);
        EXPECT_TRUE(uids.insert(uid).second) << "UID twice: " << uid;
        EXPECT_EQ(fs::path(item.path).stem(), uid);
    }
    for (const char* name :
         {"Demo-Kalender", "Demo-Feiertage", "Demo-Geburtstage", "Demo-Aufgaben", "Demo-Einkauf"}) {
        const std::string folder = std::string("Kalender/") + name + "/";
        EXPECT_EQ(files_[folder + "displayname"], name);
        EXPECT_EQ(files_[folder + "color"].size(), 7u) << name;
        EXPECT_FALSE(Collection(name).empty()) << name;
    }
}

TEST_F(DemoFilesTest, CalendarShowsEveryKindOfAppointmentInTheseTwoWeeks) {
    const std::vector<icalcomponent*> events = Collection("Demo-Kalender");
    EXPECT_GE(events.size(), 12u);
    std::set<std::string> seen;
    for (icalcomponent* event : events) {
        EXPECT_EQ(icalcomponent_isa(event), ICAL_VEVENT_COMPONENT);
        const icaltimetype start = icalcomponent_get_dtstart(event);
        const icaltimetype end = icalcomponent_get_dtend(event);
        EXPECT_GE(Date(start), "20261207");
        EXPECT_LE(Date(start), "20261220");
        if (start.is_date) {
            seen.insert("all-day");
            if (icaltime_compare(icaltime_add(start, icaldurationtype_from_int(2 * 86400)), end) ==
                0) {
                seen.insert("two days");
            }
        } else {
            seen.insert("timed");
        }
        for (const std::string& property :
             {Text(event, ICAL_PRIORITY_PROPERTY), Text(event, ICAL_RRULE_PROPERTY)}) {
            if (!property.empty()) {
                seen.insert(property);
            }
        }
        if (icalcomponent_get_first_property(event, ICAL_COLOR_PROPERTY)) {
            seen.insert("colour");
        }
        if (!Text(event, ICAL_LOCATION_PROPERTY).empty() &&
            !Text(event, ICAL_DESCRIPTION_PROPERTY).empty()) {
            seen.insert("location and description");
        }
        if (Date(start) == "20261210") {
            seen.insert("today");
        }
    }
    for (const char* expected : {"all-day", "two days", "timed", "1", "9", "FREQ=WEEKLY;BYDAY=MO",
                                 "colour", "location and description", "today"}) {
        EXPECT_EQ(seen.count(expected), 1u) << expected;
    }
}

TEST_F(DemoFilesTest, HolidaysOfThisAndNextYear) {
    std::map<std::string, std::string> holidays;
    for (icalcomponent* event : Collection("Demo-Feiertage")) {
        EXPECT_TRUE(icalcomponent_get_dtstart(event).is_date);
        EXPECT_EQ(Text(event, ICAL_CATEGORIES_PROPERTY), "Feiertag");
        holidays[Date(icalcomponent_get_dtstart(event))] = icalcomponent_get_summary(event);
    }
    EXPECT_EQ(holidays.size(), 18u);
    EXPECT_EQ(holidays["20260101"], "Neujahr");
    EXPECT_EQ(holidays["20260403"], "Karfreitag");
    EXPECT_EQ(holidays["20260406"], "Ostermontag");
    EXPECT_EQ(holidays["20260514"], "Christi Himmelfahrt");
    EXPECT_EQ(holidays["20260525"], "Pfingstmontag");
    EXPECT_EQ(holidays["20261003"], "Tag der Deutschen Einheit");
    EXPECT_EQ(holidays["20271226"], "2. Weihnachtstag");
    EXPECT_EQ(holidays["20270326"], "Karfreitag");
    EXPECT_EQ(holidays["20270517"], "Pfingstmontag");
}

TEST(EasterSunday, FollowsTheGregorianRule) {
    const struct {
        int year, month, day;
    } cases[] = {{2000, 4, 23}, {2008, 3, 23}, {2011, 4, 24}, {2019, 4, 21},
                 {2025, 4, 20}, {2026, 4, 5},  {2038, 4, 25}, {2285, 3, 22}};
    for (const auto& c : cases) {
        EXPECT_EQ(EasterSunday(c.year), EncodeDate(c.year, c.month, c.day)) << c.year;
    }
}

TEST_F(DemoFilesTest, BirthdaysAreYearlySeriesFromTheBirthYear) {
    const std::vector<icalcomponent*> birthdays = Collection("Demo-Geburtstage");
    ASSERT_EQ(birthdays.size(), 3u);
    for (icalcomponent* event : birthdays) {
        const icaltimetype start = icalcomponent_get_dtstart(event);
        EXPECT_TRUE(start.is_date);
        EXPECT_LT(start.year, 2026);
        EXPECT_EQ(Text(event, ICAL_RRULE_PROPERTY), "FREQ=YEARLY");
        EXPECT_EQ(Text(event, ICAL_CATEGORIES_PROPERTY), "Geburtstag");
        EXPECT_EQ(std::string(icalcomponent_get_summary(event)).rfind("Geburtstag ", 0), 0u);
    }
}

TEST_F(DemoFilesTest, TaskListsHoldOpenOverdueUrgentAndDoneTasks) {
    std::set<std::string> seen;
    for (const char* list : {"Demo-Aufgaben", "Demo-Einkauf"}) {
        for (icalcomponent* task : Collection(list)) {
            EXPECT_EQ(icalcomponent_isa(task), ICAL_VTODO_COMPONENT);
            const bool done = icalcomponent_get_status(task) == ICAL_STATUS_COMPLETED;
            icalproperty* due = icalcomponent_get_first_property(task, ICAL_DUE_PROPERTY);
            seen.insert(done ? "done" : "open");
            if (!due) {
                seen.insert("no due date");
            } else if (!done && Date(icalproperty_get_due(due)) < "20261210") {
                seen.insert("overdue");
            }
            if (Text(task, ICAL_PRIORITY_PROPERTY) == "1") {
                seen.insert("high");
            }
            if (icalcomponent_get_first_property(task, ICAL_RRULE_PROPERTY)) {
                seen.insert("repeating");
            }
        }
    }
    EXPECT_EQ(seen, (std::set<std::string>{"done", "open", "no due date", "overdue", "high",
                                           "repeating"}));
}

TEST_F(DemoFilesTest, MaildirHoldsThreeUnreadMailsOfTodayAndOneRead) {
    int unread = 0;
    int read = 0;
    bool encoded_subject = false;
    bool quoted_printable = false;
    for (const auto& [path, content] : files_) {
        if (path.rfind("Demo-Post/", 0) != 0 || path.back() == '/') {
            continue;
        }
        if (path.rfind("Demo-Post/new/", 0) == 0) {
            ++unread;
            EXPECT_NE(content.find("10 Dec 2026"), std::string::npos) << path;
        } else {
            ASSERT_EQ(path.rfind("Demo-Post/cur/", 0), 0u) << path;
            EXPECT_EQ(path.substr(path.size() - 4), ":2,S");
            ++read;
        }
        encoded_subject |= content.find("Subject: =?UTF-8?Q?") != std::string::npos;
        quoted_printable |=
            content.find("Content-Transfer-Encoding: quoted-printable") != std::string::npos;
    }
    EXPECT_EQ(unread, 3);
    EXPECT_EQ(read, 1);
    EXPECT_TRUE(encoded_subject);
    EXPECT_TRUE(quoted_printable);
    for (const char* folder : {"Demo-Post/new/", "Demo-Post/cur/", "Demo-Post/tmp/"}) {
        EXPECT_EQ(files_.count(folder), 1u) << folder;
    }
}

TEST(DemoFiles, UnreadMailIsOfTodayAlsoJustAfterMidnight) {
    for (const DemoFile& file : DemoFiles(EncodeDateTime(2026, 12, 10, 0, 20))) {
        if (file.path.rfind("Demo-Post/new/", 0) == 0 && file.path.back() != '/') {
            EXPECT_NE(file.content.find("10 Dec 2026 00:"), std::string::npos) << file.content;
        }
    }
}

TEST(DemoFiles, BirthdayOnALeapDayIsAValidDate) {
    EXPECT_NO_THROW(DemoFiles(EncodeDateTime(2028, 2, 27, 9, 0)));  // Anna: 29 February
}

TEST(EnsureDemoData, GeneratesOnceAndLeavesNoTemporaryFolder) {
    ProfileHome home;
    const std::optional<DemoData> demo =
        EnsureDemoData(home.Environment().data_home, kNow, home.Trace());
    ASSERT_TRUE(demo.has_value());
    EXPECT_TRUE(fs::is_regular_file(demo->default_calendar + "/displayname"));
    EXPECT_TRUE(fs::is_directory(demo->maildir + "/tmp"));
    EXPECT_TRUE(fs::is_directory(demo->collections + "/Demo-Einkauf"));
    std::ofstream(demo->default_calendar + "/displayname") << "Umbenannt";

    const std::optional<DemoData> again =
        EnsureDemoData(home.Environment().data_home, kNow, home.Trace());
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->collections, demo->collections);
    std::ifstream in(demo->default_calendar + "/displayname");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Umbenannt");
    for (const auto& entry : fs::directory_iterator(home.Environment().data_home + "/planwarte")) {
        EXPECT_EQ(entry.path().filename(), "demo");
    }
}

TEST(EnsureDemoData, TracesWhenItCannotWrite) {
    ProfileHome home;
    home.Write(".local/share/planwarte", "a file where the folder should be");
    EXPECT_FALSE(EnsureDemoData(home.Environment().data_home, kNow, home.Trace()).has_value());
    ASSERT_EQ(home.TraceLines().size(), 1u);
    EXPECT_NE(home.TraceLines()[0].find("planwarte"), std::string::npos);
}

}  // namespace
}  // namespace planwarte
