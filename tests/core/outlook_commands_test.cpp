#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/recording_shell_launcher.h"
#include "common/fake_services.h"
#include "core/app/main_form.h"
#include "core/app/shell_launcher.h"
#include "core/outlook/outlook_commands.h"
#include "core/outlook/used_folders.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using testing_support::FakeServices;

// A started main window over a second store with a calendar and a task folder, whose items
// are looked up through the used-folder entries of the settings.
class OutlookCommandsTest : public ::testing::Test {
  protected:
    OutlookCommandsTest() {
        auto store = fakes_.outlook->AddStore("Archiv");
        calendar_ = store->AddFolder("Kalender", kItemTypeAppointment);
        tasks_ = store->AddFolder("Aufgaben", kItemTypeTask);
        appointment_id_ = calendar_->AddAppointment({.subject = "Termin"})->EntryID();
        task_id_ = tasks_->AddTask({.subject = "Aufgabe"})->EntryID();
        default_appointment_id_ = fakes_.outlook->DefaultFolder(kDefaultFolderCalendar)
                                      ->AddAppointment({.subject = "Standardtermin"})
                                      ->EntryID();
    }

    void ListFolder(const char* list, const FakeFolder& folder) {
        const std::string key =
            std::string(kSettingsKeyPath) + "\\" + list + "\\" + folder.EntryID();
        fakes_.settings.SetString(key, "SID", folder.StoreID());
        fakes_.settings.SetInteger(key, "isUsed", 0);
    }

    TForm1& Start() {
        services_ = std::make_unique<Services>(fakes_.Page());
        services_->shell = &launcher_;
        form_ = std::make_unique<TForm1>(*services_, StartMode::PageOnly,
                                         std::vector<std::string>{}, nullptr);
        form_->FormCreate();
        fakes_.outlook->State().ClearCallLog();
        return *form_;
    }

    std::vector<std::string> DisplayedAndActivated() const {
        std::vector<std::string> calls;
        for (const std::string& call : fakes_.outlook->State().CallLog()) {
            if (call.rfind("Display", 0) == 0 || call == "Activate") {
                calls.push_back(call);
            }
        }
        return calls;
    }

    FakeServices fakes_;
    RecordingShellLauncher launcher_;
    std::shared_ptr<FakeFolder> calendar_;
    std::shared_ptr<FakeFolder> tasks_;
    std::string appointment_id_;
    std::string task_id_;
    std::string default_appointment_id_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(OutlookCommandsTest, ItemIsFoundThroughTheListOfItsFolderAndBroughtToTheFront) {
    ListFolder(kUsedCalendarsKeyName, *calendar_);
    ListFolder(kUsedTasksKeyName, *tasks_);
    TForm1& form = Start();

    form.OpenOutlookItem(tasks_->EntryID(), task_id_);
    form.OpenOutlookItem(calendar_->EntryID(), appointment_id_);

    EXPECT_EQ(DisplayedAndActivated(),
              (std::vector<std::string>{"Display(" + task_id_ + ")", "Activate",
                                        "Display(" + appointment_id_ + ")", "Activate"}));
}

TEST_F(OutlookCommandsTest, ItemsThatDoNotFitTheirEntryOpenNothing) {
    ListFolder(kUsedCalendarsKeyName, *tasks_);  // listed in both lists: the calendar wins
    ListFolder(kUsedTasksKeyName, *tasks_);
    TForm1& form = Start();

    form.OpenOutlookItem(tasks_->EntryID(), task_id_);  // asked for as an appointment
    // Not listed: looked up in the default store, where the archive's item is not.
    form.OpenOutlookItem(calendar_->EntryID(), appointment_id_);
    form.OpenOutlookItem(tasks_->EntryID(), "");  // no EntryID written before
    form.OpenOutlookItem(tasks_->EntryID(), "00000000DEADBEEF");

    EXPECT_TRUE(DisplayedAndActivated().empty());
    EXPECT_TRUE(fakes_.notice.messages.empty());
}

TEST_F(OutlookCommandsTest, DefaultCalendarEntryIsLookedUpInTheDefaultStore) {
    TForm1& form = Start();
    form.OpenOutlookItem(kDefaultCalendarLineName, default_appointment_id_);
    EXPECT_EQ(DisplayedAndActivated(),
              (std::vector<std::string>{"Display(" + default_appointment_id_ + ")", "Activate"}));
}

TEST_F(OutlookCommandsTest, FailingFrontStepStillLeavesTheItemOpen) {
    ListFolder(kUsedCalendarsKeyName, *calendar_);
    TForm1& form = Start();
    fakes_.outlook->State().FailCall("ActiveInspector");
    form.OpenOutlookItem(calendar_->EntryID(), appointment_id_);
    EXPECT_EQ(DisplayedAndActivated(),
              std::vector<std::string>{"Display(" + appointment_id_ + ")"});
}

// The IDs come from the page, that is from calendar text anyone can send: only what the object
// model could have made may reach the settings store as part of a key path.
TEST_F(OutlookCommandsTest, IdsTheObjectModelCannotHaveMadeAreRefusedAndTraced) {
    ListFolder(kUsedCalendarsKeyName, *calendar_);
    TForm1& form = Start();
    const std::vector<std::pair<std::string, std::string>> refused = {
        {calendar_->EntryID() + "\\..\\..", appointment_id_},
        {"..\\UsedTasks\\" + tasks_->EntryID(), task_id_},
        {calendar_->EntryID(), appointment_id_ + "'"},
        {calendar_->EntryID(), std::string(2000, 'A')},
        {"", appointment_id_},
    };
    for (const auto& [folder, item] : refused) {
        form.OpenOutlookItem(folder, item);
    }
    EXPECT_TRUE(DisplayedAndActivated().empty());
    const std::string trace = fakes_.TraceText();
    std::size_t traced = 0;
    for (auto at = trace.find(kRefusedEntryIdTrace); at != std::string::npos;
         at = trace.find(kRefusedEntryIdTrace, at + 1)) {
        ++traced;
    }
    EXPECT_EQ(traced, refused.size()) << trace;
}

TEST_F(OutlookCommandsTest, NewItemCommandsStartTheCalendarProgramWithTheirSwitches) {
    TForm1& form = Start();
    form.neuerTermin1Click();
    form.neueAufgabe1Click();
    form.MailClick();
    form.TrayIconDoubleClick();
    using Start = RecordingShellLauncher::Start;
    EXPECT_EQ(launcher_.starts,
              (std::vector<Start>{{"outlook.exe", "/c ipm.appointment", kShowNormal},
                                  {"outlook.exe", "/c ipm.task", kShowNormal},
                                  {"outlook.exe", "/c ipm.mail", kShowHidden},
                                  {"outlook.exe", "/select outlook:Kalender", kShowNormal}}));
}

TEST_F(OutlookCommandsTest, OpenCalendarShowsTheDefaultCalendarAndLetsErrorsThrough) {
    TForm1& form = Start();
    form.Kalenderffnen1Click();
    const std::string default_calendar =
        fakes_.outlook->DefaultFolder(kDefaultFolderCalendar)->EntryID();
    EXPECT_EQ(DisplayedAndActivated(),
              std::vector<std::string>{"Display(" + default_calendar + ")"});

    fakes_.outlook->State().FailCall("Display");
    EXPECT_THROW(form.Kalenderffnen1Click(), OutlookError);
}

}  // namespace
}  // namespace planwarte
