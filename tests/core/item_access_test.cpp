#include "core/outlook/item_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/fake_safe_item_library.h"
#include "core/common/string_table.h"

namespace planwarte {
namespace {

constexpr DateTime kMonday9{45292.375};  // 2024-01-01 09:00
constexpr DateTime kMonday10{45292.4166};

FakeAppointmentData Appointment(const std::string& subject, DateTime start,
                                const std::string& body = "", std::optional<int> label = {}) {
    FakeAppointmentData data;
    data.subject = subject;
    data.start = start;
    data.end = DateTime{start.value + 0.04};
    data.body = body;
    data.label_colour = label;
    return data;
}

FakeAppointmentData Series(const std::string& subject, DateTime start, const std::string& body,
                           std::optional<int> label = {}) {
    FakeAppointmentData data = Appointment(subject, start, body, label);
    data.recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Weekly, .count = 3};
    return data;
}

class ItemAccessTest : public ::testing::Test {
  protected:
    std::unique_ptr<SafeAppointmentItem> SafeFor(std::shared_ptr<OlItem> item) {
        return CreateSafeAppointment(library_, std::move(item), SafeItemUser::kPageBuild, flags_,
                                     notice_);
    }

    std::shared_ptr<FakeOutlook> source_ = FakeOutlook::Create();
    std::shared_ptr<FakeFolder> calendar_ = source_->AddCalendar("Kalender");
    std::shared_ptr<FakeFolder> tasks_ = source_->AddTaskFolder("Aufgaben");
    std::shared_ptr<FakeFolder> inbox_ = source_->AddInbox();
    FakeNamespace outlook_{source_};
    FakeSafeItemLibrary library_;
    SafeItemMessageFlags flags_;
    RecordingNotice notice_;
    std::vector<std::string> trace_;
};

TEST_F(ItemAccessTest, MissingLibraryIsToldOncePerProcessToThePageBuildAndToTheReminders) {
    library_.SetAvailable(FakeSafeClass::Appointment, false);
    library_.SetAvailable(FakeSafeClass::Task, false);
    auto appointment = calendar_->AddAppointment(Appointment("Zahnarzt", kMonday9));
    auto task = tasks_->AddTask({.subject = "Steuer"});
    const std::string message = LoadStr(msg::kSafeItemLibraryMissing);
    ASSERT_FALSE(message.empty());

    struct Step {
        std::optional<SafeItemUser> user;  // none: a task line
        std::size_t messages_after;
    };
    const std::vector<Step> steps = {
        {SafeItemUser::kPageBuild, 1}, {std::nullopt, 1},
        {SafeItemUser::kPageBuild, 1}, {SafeItemUser::kReminder, 2},
        {SafeItemUser::kReminder, 2},  {SafeItemUser::kPageBuild, 2},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        if (steps[i].user) {
            EXPECT_EQ(CreateSafeAppointment(library_, appointment, *steps[i].user, flags_, notice_),
                      nullptr);
        } else {
            EXPECT_EQ(CreateSafeTask(library_, task), nullptr);
        }
        EXPECT_EQ(notice_.messages.size(), steps[i].messages_after);
    }
    EXPECT_EQ(notice_.messages, (std::vector<std::string>{message, message}));
}

TEST_F(ItemAccessTest, SafeItemsPointAtTheirItem) {
    auto appointment = calendar_->AddAppointment(Appointment("Zahnarzt", kMonday9, "Bohrer"));
    auto task = tasks_->AddTask({.subject = "Steuer", .body = "Belege"});
    auto safe = SafeFor(appointment);
    ASSERT_NE(safe, nullptr);
    EXPECT_EQ(safe->Item(), appointment);
    auto safe_task = CreateSafeTask(library_, task);
    ASSERT_NE(safe_task, nullptr);
    EXPECT_EQ(ReadTaskBody(*safe_task), "Belege");
    library_.SetReadsFail(true);
    EXPECT_EQ(ReadTaskBody(*safe_task), "");
    EXPECT_TRUE(notice_.messages.empty());
}

TEST_F(ItemAccessTest, AppointmentBody) {
    auto single = calendar_->AddAppointment(Appointment("Zahnarzt", kMonday9, "Bohrer"));
    auto series = calendar_->AddAppointment(Series("Jour fixe", kMonday10, "Agenda"));
    auto occurrence = series->Occurrences().at(1);
    struct Case {
        const char* what;
        std::shared_ptr<OlAppointmentItem> item;
        const char* failing;  // a member made to fail once, or null
        std::string body;
        bool error_reported;
    };
    const std::vector<Case> cases = {
        {"single", single, nullptr, "Bohrer", false},
        {"master shows none", series, nullptr, "", false},
        {"occurrence shows the master's", occurrence, nullptr, "Agenda", false},
        {"recurrence flag unreadable", single, "IsRecurring", "", true},
        {"no way to the master", occurrence, "GetRecurrencePattern", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto safe = SafeFor(c.item);
        ASSERT_NE(safe, nullptr);
        if (c.failing) {
            source_->State().FailCall(c.failing);
        }
        std::vector<std::string> errors;
        EXPECT_EQ(
            ReadAppointmentBody(*c.item, *safe,
                                [&errors](const std::string& text) { errors.push_back(text); }),
            c.body);
        EXPECT_EQ(errors.size(), c.error_reported ? 1u : 0u);
        EXPECT_EQ(safe->Item(), c.item);
    }
}

TEST_F(ItemAccessTest, FailedBodyReadOfTheMasterStillPointsBackAtTheOccurrence) {
    auto series = calendar_->AddAppointment(Series("Jour fixe", kMonday10, "Agenda"));
    auto occurrence = series->Occurrences().at(0);
    auto safe = SafeFor(occurrence);
    library_.SetReadsFail(true);
    std::vector<std::string> errors;
    EXPECT_EQ(ReadAppointmentBody(*occurrence, *safe,
                                  [&errors](const std::string& text) { errors.push_back(text); }),
              "");
    EXPECT_EQ(errors, std::vector<std::string>{"Body: injected failure"});
    EXPECT_EQ(safe->Item(), occurrence);
    // Without a receiver the error is dropped just the same.
    EXPECT_EQ(ReadAppointmentBody(*occurrence, *safe), "");
}

TEST_F(ItemAccessTest, LabelColourIndex) {
    struct Case {
        const char* what;
        std::optional<int> own;  // single appointment or series label
        bool occurrence;         // read an occurrence of a series with that label
        bool reads_fail;
        std::int32_t index;
    };
    const std::vector<Case> cases = {
        {"single with label", 5, false, false, 5},
        {"single without label", std::nullopt, false, false, 0},
        {"single outside the range stays", 12, false, false, 12},
        {"occurrence takes the master's", 7, true, false, 7},
        {"occurrence of an unlabelled series", std::nullopt, true, false, 0},
        {"master outside the range", 11, true, false, 11},
        {"read fails", 5, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        library_.SetReadsFail(false);
        std::shared_ptr<OlAppointmentItem> item;
        if (c.occurrence) {
            item = calendar_->AddAppointment(Series("Serie", kMonday9, "", c.own))
                       ->Occurrences()
                       .at(2);
        } else {
            item = calendar_->AddAppointment(Appointment("Einzeln", kMonday9, "", c.own));
        }
        auto safe = SafeFor(item);
        library_.SetReadsFail(c.reads_fail);
        EXPECT_EQ(ReadLabelColourIndex(*item, *safe), c.index);
        EXPECT_EQ(safe->Item(), item);
    }
}

TEST_F(ItemAccessTest, SeriesStartFromThePattern) {
    auto series = calendar_->AddAppointment(Series("Geburtstag Eva", DateTime{30000.75}, ""));
    auto occurrence = series->Occurrences().at(2);
    EXPECT_EQ(SeriesStartDate(*occurrence, *calendar_, {}), DateTime{30000.0});
    EXPECT_EQ(SeriesStartDate(*series, *calendar_, {}), DateTime{30000.0});
}

TEST_F(ItemAccessTest, SeriesStartWithoutPatternIsTheEarliestMatchingItem) {
    auto series = calendar_->AddAppointment(Series("Geburtstag Eva", DateTime{30000.75}, ""));
    const std::string id = series->EntryID();
    auto with_id = [&id](FakeAppointmentData data) {
        data.entry_id = id;
        return data;
    };
    calendar_->AddAppointment(Appointment("Geburtstag Eva", DateTime{20000.0}));  // other ID
    calendar_->AddAppointment(with_id(Appointment("Geburtstag Udo", DateTime{21000.0})));
    calendar_->AddAppointment(with_id(Appointment("Geburtstag Eva", DateTime{29000.5})));
    calendar_->AddAppointment(with_id(Appointment("Geburtstag Eva", DateTime{31000.0})));

    struct Case {
        const char* what;
        const char* failing;
        int nth;
        DateTime start;
        std::size_t traces;
    };
    const std::vector<Case> cases = {
        {"pattern unreadable", "GetRecurrencePattern", 1, DateTime{29000.5}, 0},
        // A damaged first entry does not stop the search.
        {"first item damaged", "Items.Item", 1, DateTime{29000.5}, 1},
        {"matching item damaged", "Items.Item", 4, DateTime{30000.75}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        trace_.clear();
        source_->State().FailCall("GetRecurrencePattern");
        if (std::string(c.failing) != "GetRecurrencePattern") {
            source_->State().FailCall(c.failing, c.nth);
        }
        EXPECT_EQ(SeriesStartDate(*series, *calendar_,
                                  [this](const std::string& text) { trace_.push_back(text); }),
                  c.start);
        EXPECT_EQ(trace_.size(), c.traces);
        for (const std::string& line : trace_) {
            EXPECT_EQ(line, kSeriesItemUnavailableTrace);
        }
    }
}

TEST_F(ItemAccessTest, SeriesStartSearchEndsAtAnItemThatIsNoAppointment) {
    auto single = calendar_->AddAppointment(Appointment("Jubiläum", DateTime{30000.0}));
    auto with_id = Appointment("Jubiläum", DateTime{10000.0});
    with_id.entry_id = single->EntryID();
    calendar_->AddTask({.subject = "verirrt"});
    calendar_->AddAppointment(with_id);
    // A single appointment has no pattern, so the folder is searched.
    EXPECT_EQ(SeriesStartDate(*single, *calendar_,
                              [this](const std::string& text) { trace_.push_back(text); }),
              DateTime{30000.0});
    EXPECT_EQ(trace_, std::vector<std::string>{kSeriesItemUnavailableTrace});
}

TEST_F(ItemAccessTest, ItemsAreFoundAgainByTheirIDs) {
    auto appointment = calendar_->AddAppointment(Appointment("Zahnarzt", kMonday9));
    auto task = tasks_->AddTask({.subject = "Steuer"});
    auto archive = source_->AddStore("Archiv");
    auto old = archive->AddFolder("Alt", kItemTypeAppointment)
                   ->AddAppointment(Appointment("Alt", kMonday9));

    EXPECT_EQ(GetAppointmentFromID(outlook_, appointment->EntryID(), ""), appointment);
    EXPECT_EQ(GetTaskFromID(outlook_, task->EntryID(), ""), task);
    EXPECT_EQ(GetItemFromID(outlook_, old->EntryID(), archive->StoreID()), old);
    EXPECT_THROW(GetItemFromID(outlook_, old->EntryID(), ""), OutlookError);
    EXPECT_THROW(GetTaskFromID(outlook_, appointment->EntryID(), ""), OutlookError);
    EXPECT_THROW(GetAppointmentFromID(outlook_, task->EntryID(), ""), OutlookError);
}

TEST_F(ItemAccessTest, AnnouncedMark) {
    struct Case {
        const char* what;
        std::vector<FakeUserPropertyData> properties;
        bool marked;
    };
    const std::vector<Case> cases = {
        {"no properties", {}, false},
        {"mark after another",
         {{.name = "Projekt"}, {.name = kAnnouncedMarkName, .type = 6}},
         true},
        // Presence counts, not the value.
        {"mark with value No",
         {{.name = kAnnouncedMarkName, .type = 6, .value = Variant(false)}},
         true},
        {"name in other case",
         {{.name = "50fe4a87-7a57-4b6d-92e5-8548d905ebda", .type = 6}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto mail = inbox_->AddMail({.subject = "Hallo", .user_properties = c.properties});
        EXPECT_EQ(HasAnnouncedMark(*mail), c.marked);
    }
}

TEST_F(ItemAccessTest, SettingTheMarkAddsAYesNoPropertyWithoutSaving) {
    auto mail = inbox_->AddMail({.subject = "Hallo"});
    source_->State().ClearCallLog();
    SetAnnouncedMark(*mail);
    EXPECT_TRUE(HasAnnouncedMark(*mail));
    const std::vector<std::string> log = source_->State().CallLog();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        std::string("UserProperties.Add(") + kAnnouncedMarkName + ",6,false,0)"),
              log.end());

    auto other = inbox_->AddMail({.subject = "Ohne"});
    source_->State().AnswerNull("UserProperties");
    EXPECT_FALSE(HasAnnouncedMark(*other));
    EXPECT_THROW(SetAnnouncedMark(*other), OutlookError);
}

TEST_F(ItemAccessTest, CleanUpRunsOnlyWhenTheLibraryIsThere) {
    CleanUpSafeItemLibrary(library_);
    EXPECT_EQ(library_.CleanupCount(), 1);
    library_.SetAvailable(FakeSafeClass::MapiUtils, false);
    EXPECT_NO_THROW(CleanUpSafeItemLibrary(library_));
    EXPECT_EQ(library_.CleanupCount(), 1);
    EXPECT_TRUE(notice_.messages.empty());
}

}  // namespace
}  // namespace planwarte
