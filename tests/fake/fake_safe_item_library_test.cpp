#include "adapters/fake/fake_safe_item_library.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "adapters/fake/fake_object_model.h"

namespace planwarte {
namespace {

constexpr const char* kLabelSet = "{00062002-0000-0000-C000-000000000046}";
constexpr std::int32_t kLabelId = 0x8214;

class FakeSafeItemLibraryTest : public ::testing::Test {
  protected:
    std::shared_ptr<FakeOutlook> outlook_ = FakeOutlook::Create();
    std::shared_ptr<FakeFolder> calendar_ = outlook_->AddCalendar("Kalender");
    FakeSafeItemLibrary library_;
};

TEST_F(FakeSafeItemLibraryTest, EachClassCanBeUnregistered) {
    struct Case {
        FakeSafeClass unavailable;
        bool appointment;
        bool task;
        bool utils;
    };
    const Case cases[] = {{FakeSafeClass::Appointment, false, true, true},
                          {FakeSafeClass::Task, true, false, true},
                          {FakeSafeClass::MapiUtils, true, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.unavailable));
        FakeSafeItemLibrary library;
        library.SetAvailable(c.unavailable, false);
        const auto creates = [](auto create) {
            try {
                return create() != nullptr;
            } catch (const SafeItemUnavailable&) {
                return false;
            }
        };
        EXPECT_EQ(creates([&] { return library.CreateSafeAppointmentItem(); }), c.appointment);
        EXPECT_EQ(creates([&] { return library.CreateSafeTaskItem(); }), c.task);
        EXPECT_EQ(creates([&] { return library.CreateMapiUtils(); }), c.utils);
        library.SetAvailable(c.unavailable, true);
        EXPECT_NO_THROW(library.CreateSafeAppointmentItem());
    }
}

TEST_F(FakeSafeItemLibraryTest, ReadsTheBodyOfTheItemSetLast) {
    auto appointment = calendar_->AddAppointment({.subject = "a", .body = "Termintext"});
    auto task = outlook_->AddTaskFolder("Aufgaben")->AddTask({.subject = "t", .body = "Aufgabe"});
    auto safe = library_.CreateSafeAppointmentItem();
    EXPECT_THROW(safe->Body(), OutlookError);

    safe->SetItem(appointment);
    EXPECT_EQ(safe->Item(), appointment);
    EXPECT_EQ(safe->Body(), "Termintext");
    safe->SetItem(task);
    EXPECT_EQ(safe->Body(), "Aufgabe");

    auto safe_task = library_.CreateSafeTaskItem();
    safe_task->SetItem(task);
    EXPECT_EQ(safe_task->Body(), "Aufgabe");
    library_.SetReadsFail(true);
    EXPECT_THROW(safe_task->Body(), OutlookError);
}

TEST_F(FakeSafeItemLibraryTest, LabelColourIsReadThroughItsNamedProperty) {
    auto labelled = calendar_->AddAppointment({.subject = "rot", .label_colour = 1});
    auto plain = calendar_->AddAppointment({.subject = "ohne"});
    auto safe = library_.CreateSafeAppointmentItem();

    const std::int32_t tag = safe->GetIDsFromNames(kLabelSet, kLabelId);
    EXPECT_EQ(tag, kFakeLabelColourTag);
    EXPECT_EQ(safe->GetIDsFromNames("{00062002-0000-0000-c000-000000000046}", kLabelId), tag);
    EXPECT_EQ(safe->GetIDsFromNames(kLabelSet, 0x8215), 0);
    EXPECT_EQ(safe->GetIDsFromNames("{00062008-0000-0000-C000-000000000046}", kLabelId), 0);

    safe->SetItem(labelled);
    EXPECT_EQ(safe->Fields(tag), Variant(std::int32_t{1}));
    // The tag with the integer type bits added names no property.
    EXPECT_EQ(safe->Fields(tag | 0x0003), Variant());
    safe->SetItem(plain);
    EXPECT_EQ(safe->Fields(tag), Variant());
}

TEST_F(FakeSafeItemLibraryTest, OccurrencesLeaveBodyAndLabelToTheirSeries) {
    auto series = calendar_->AddAppointment(
        {.subject = "Serie",
         .start = EncodeDateTime(2004, 12, 1, 9, 0),
         .end = EncodeDateTime(2004, 12, 1, 10, 0),
         .body = "Serientext",
         .label_colour = 4,
         .recurrence = FakeRecurrence{.kind = FakeRecurrenceKind::Daily, .count = 2}});
    auto occurrence = series->Occurrences().at(1);
    auto safe = library_.CreateSafeAppointmentItem();
    const std::int32_t tag = safe->GetIDsFromNames(kLabelSet, kLabelId);

    safe->SetItem(occurrence);
    EXPECT_EQ(safe->Body(), "");
    EXPECT_EQ(safe->Fields(tag), Variant());
    safe->SetItem(occurrence->GetRecurrencePattern()->Parent());
    EXPECT_EQ(safe->Body(), "Serientext");
    EXPECT_EQ(safe->Fields(tag), Variant(std::int32_t{4}));
}

TEST_F(FakeSafeItemLibraryTest, CountsCleanups) {
    EXPECT_EQ(library_.CleanupCount(), 0);
    library_.CreateMapiUtils()->Cleanup();
    library_.CreateMapiUtils()->Cleanup();
    EXPECT_EQ(library_.CleanupCount(), 2);
}

}  // namespace
}  // namespace planwarte
