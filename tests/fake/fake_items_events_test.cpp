#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_object_model.h"
#include "fake/fake_outlook_fixture.h"

namespace planwarte {
namespace {

using Events = std::vector<std::string>;

class RecordingItemsEvents : public OlItemsEvents {
  public:
    void ItemAdd(const std::shared_ptr<OlItem>& item) override {
        received.push_back("add " + item->Subject());
    }
    void ItemChange(const std::shared_ptr<OlItem>& item) override {
        received.push_back("change " + item->Subject());
    }
    void ItemRemove() override { received.push_back("remove"); }
    Events received;
};

class FakeItemsEventsTest : public FakeOutlookTest {
  protected:
    std::shared_ptr<FakeFolder> calendar_ = outlook_->AddCalendar("Kalender");
    std::shared_ptr<FakeFolder> other_ = outlook_->AddCalendar("Anderer");
};

TEST_F(FakeItemsEventsTest, ItemEventsReachTheSinksOfTheirFolder) {
    RecordingItemsEvents first;
    RecordingItemsEvents second;
    RecordingItemsEvents elsewhere;
    auto items = Session()->GetFolderFromID(calendar_->EntryID(), "")->Items();
    auto more_items = namespace_->GetFolderFromID(calendar_->EntryID(), "")->Items();
    auto other_items = namespace_->GetFolderFromID(other_->EntryID(), "")->Items();
    items->Advise(&first);
    const int cookie = more_items->Advise(&second);
    other_items->Advise(&elsewhere);
    EXPECT_EQ(calendar_->AdvisedSinkCount(), 2);

    auto appointment = calendar_->AddAppointment({.subject = "neu"});
    calendar_->RaiseItemAdd(appointment);
    appointment->Change([](FakeAppointmentData& data) { data.subject = "anders"; });
    calendar_->RaiseItemChange(appointment);
    more_items->Unadvise(cookie);
    calendar_->RemoveItem(appointment);
    calendar_->RaiseItemRemove();

    EXPECT_EQ(first.received, (Events{"add neu", "change anders", "remove"}));
    EXPECT_EQ(second.received, (Events{"add neu", "change anders"}));
    EXPECT_TRUE(elsewhere.received.empty());
    EXPECT_EQ(calendar_->AdvisedSinkCount(), 1);
}

TEST_F(FakeItemsEventsTest, ConnectionFaultsAreErrors) {
    RecordingItemsEvents sink;
    auto items = Session()->GetFolderFromID(calendar_->EntryID(), "")->Items();
    EXPECT_THROW(items->Advise(nullptr), OutlookError);
    const int cookie = items->Advise(&sink);
    EXPECT_NE(cookie, 0);
    EXPECT_THROW(items->Unadvise(cookie + 1), OutlookError);
    items->Unadvise(cookie);
    EXPECT_THROW(items->Unadvise(cookie), OutlookError);
}

TEST_F(FakeItemsEventsTest, ReleasedCollectionsReceiveNoEvents) {
    RecordingItemsEvents sink;
    auto items = Session()->GetFolderFromID(calendar_->EntryID(), "")->Items();
    items->Advise(&sink);
    items.reset();

    calendar_->RaiseItemRemove();
    EXPECT_TRUE(sink.received.empty());
    EXPECT_EQ(calendar_->AdvisedSinkCount(), 0);
}

}  // namespace
}  // namespace planwarte
