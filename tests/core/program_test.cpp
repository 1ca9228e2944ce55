#include "core/app/program.h"

#include <gtest/gtest.h>

#include "common/fake_services.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using testing_support::FakeServices;

TEST(RenderPageTest, FirstStartStoresUseDelayAndStartsAnEmptyTrace) {
    FakeServices fakes;
    fakes.files.AddFile(testing_support::kTraceFile, "_3_ from the run before\n");
    Services services = fakes.Page();
    const RenderedPage page = RenderPage(services, EncodeDate(2004, 12, 8));
    EXPECT_EQ(page.exit_code, 0);
    EXPECT_EQ(fakes.settings.IntegerValue(kSettingsKeyPath, "UseDelay"), 1);
    EXPECT_EQ(fakes.TraceText(), "");
    EXPECT_TRUE(fakes.notice.messages.empty());
}

TEST(RenderPageTest, RendersWithoutWaitingForTheStartDelay) {
    FakeServices fakes;
    fakes.settings.SetInteger(kSettingsKeyPath, "UseDelay", 1);
    fakes.settings.SetInteger(kSettingsKeyPath, "Delay", 30);
    Services services = fakes.Page();
    EXPECT_EQ(RenderPage(services, std::nullopt).exit_code, 0);
    EXPECT_EQ(fakes.clock.ElapsedMs(), 0);
}

TEST(RenderPageTest, MissingCalendarSourceGivesExitCodeOne) {
    FakeServices fakes;
    fakes.outlook->State().AnswerNull("GetNamespace");
    Services services = fakes.Page();
    EXPECT_EQ(RenderPage(services, std::nullopt).exit_code, 1);
    EXPECT_EQ(fakes.notice.messages.size(), 1u);
}

TEST(ListFoldersTest, OneLinePerCalendarAndTaskFolderWithItsIdsAndWhetherItIsShown) {
    FakeServices fakes;
    auto archive = fakes.outlook->AddStore("Archiv");
    auto old_calendar = archive->AddFolder("Alter Kalender", kItemTypeAppointment);
    fakes.settings.SetInteger(
        std::string(kSettingsKeyPath) + "\\UsedCalendars\\" + old_calendar->EntryID(), "isUsed", 1);
    Services services = fakes.Page();
    const RenderedPage listing = ListFolders(services);
    ASSERT_EQ(listing.exit_code, 0);

    const auto line = [](const FakeFolder& folder, int type, int used, const std::string& caption) {
        return folder.EntryID() + "\t" + folder.StoreID() + "\t" + std::to_string(type) + "\t" +
               std::to_string(used) + "\t" + caption + "\n";
    };
    const auto calendar = fakes.outlook->DefaultFolder(kDefaultFolderCalendar);
    const auto tasks = fakes.outlook->DefaultStore()->Subfolders().at(1);
    EXPECT_EQ(listing.html, line(*calendar, 1, 0, "Persönliche Ordner => Kalender") +
                                line(*old_calendar, 1, 1, "Archiv => Alter Kalender") +
                                line(*tasks, 3, 0, "Persönliche Ordner => Aufgaben"));
    // Each listed folder can now be ticked by hand in its own sub-key.
    EXPECT_TRUE(
        fakes.settings.HasKey(std::string(kSettingsKeyPath) + "\\UsedTasks\\" + tasks->EntryID()));
}

TEST(ChooseEveryFolderTest, FirstStartTicksEveryFolderWithHolidaysAndOwnColours) {
    FakeServices fakes;
    Services services = fakes.Page();
    ASSERT_EQ(ListFolders(services).exit_code, 0);  // leaves bare sub-keys behind
    ChooseEveryFolderOnFirstStart(services);

    const std::string calendar = std::string(kSettingsKeyPath) + "\\UsedCalendars\\" +
                                 fakes.outlook->DefaultFolder(kDefaultFolderCalendar)->EntryID();
    const std::string tasks = std::string(kSettingsKeyPath) + "\\UsedTasks\\" +
                              fakes.outlook->DefaultStore()->Subfolders().at(1)->EntryID();
    EXPECT_EQ(fakes.settings.IntegerValue(calendar, "isUsed"), 1);
    EXPECT_EQ(fakes.settings.IntegerValue(calendar, "HolidayInUse"), 1);
    EXPECT_EQ(fakes.settings.IntegerValue(calendar, "UseOLFontColor"), 1);
    EXPECT_EQ(fakes.settings.IntegerValue(tasks, "isUsed"), 1);
}

TEST(ChooseEveryFolderTest, ChoiceOnceMadeIsKept) {
    FakeServices fakes;
    const std::string calendar = std::string(kSettingsKeyPath) + "\\UsedCalendars\\" +
                                 fakes.outlook->DefaultFolder(kDefaultFolderCalendar)->EntryID();
    fakes.settings.SetInteger(calendar, "isUsed", 0);
    Services services = fakes.Page();
    ChooseEveryFolderOnFirstStart(services);
    EXPECT_EQ(fakes.settings.IntegerValue(calendar, "isUsed"), 0);
    EXPECT_FALSE(fakes.settings.HasValue(calendar, "HolidayInUse"));
}

TEST(ListFoldersTest, MissingCalendarSourceGivesExitCodeOne) {
    FakeServices fakes;
    fakes.outlook->State().AnswerNull("GetNamespace");
    Services services = fakes.Page();
    EXPECT_EQ(ListFolders(services).exit_code, 1);
}

TEST(RenderPageTest, GivesThePageOfTheChosenViewForTheDate) {
    struct Case {
        int view_kind;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, "<html>Dezember 2004:[1]</html>\r\n"},  {1, "<html>woche 6</html>\r\n"},
        {2, "<html>xtage 8 9 10 11 12</html>\r\n"}, {3, "<html>heute 8</html>\r\n"},
        {4, "<html>2wochen 6</html>\r\n"},          {5, "<html>3wochen 6</html>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view_kind);
        FakeServices fakes;
        fakes.settings.SetInteger(kSettingsKeyPath, "VORLAGE", c.view_kind);
        Services services = fakes.Page();
        const RenderedPage page = RenderPage(services, EncodeDate(2004, 12, 8));
        EXPECT_EQ(page.exit_code, 0);
        EXPECT_EQ(page.html, c.expected);
    }
}

TEST(RenderPageTest, MissingTemplatesEndWithMessageAndCodeOne) {
    struct Case {
        const char* missing;
        int view_kind;
        int exit_code;
    };
    const std::vector<Case> cases = {
        {"tag.mkf", 0, 1},
        {"woche.mkf", 1, 1},
        {"woche.mkf", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.missing) + " view " + std::to_string(c.view_kind));
        FakeServices fakes;
        fakes.files = MemoryFileSystem();
        fakes.AddMinimalDesign();
        const std::string folder = std::string(testing_support::kProgramFolder) + "vorlagen/";
        MemoryFileSystem without;
        for (const auto& name : fakes.files.ListDirectory(folder)) {
            if (name != c.missing) {
                without.AddFile(folder + name, *fakes.files.ReadFile(folder + name));
            }
        }
        fakes.files = without;
        fakes.settings.SetInteger(kSettingsKeyPath, "VORLAGE", c.view_kind);
        Services services = fakes.Page();
        const RenderedPage page = RenderPage(services, EncodeDate(2004, 12, 8));
        EXPECT_EQ(page.exit_code, c.exit_code);
        const std::vector<std::string> expected_messages =
            c.exit_code
                ? std::vector<std::string>{"Eine oder mehrere der Vorlagen wurden nicht gefunden"}
                : std::vector<std::string>{};
        EXPECT_EQ(fakes.notice.messages, expected_messages);
    }
}

// Remembers when the splash window was created.
class TimedSplashFactory : public SplashFactory {
  public:
    explicit TimedSplashFactory(const VirtualClock& clock) : clock_(clock) {}
    std::unique_ptr<SplashWindow> CreateSplash() override {
        created_at_ms = clock_.ElapsedMs();
        return std::make_unique<RecordingSplash>(log_);
    }
    std::int64_t created_at_ms = -1;

  private:
    const VirtualClock& clock_;
    std::vector<std::string> log_;
};

TEST(RunProgramTest, StartDelayPassesBeforeTheSplashAppears) {
    FakeServices fakes;
    fakes.settings.SetInteger(kSettingsKeyPath, "UseDelay", 1);
    fakes.settings.SetInteger(kSettingsKeyPath, "Delay", 5);
    TimedSplashFactory splash(fakes.clock);
    Services services = fakes.Desktop();
    services.splash = &splash;
    // Ends the message loop once the start-up is done.
    fakes.loop.Post([&] { fakes.loop.Quit(0); });
    EXPECT_EQ(RunProgram(services, {}), 0);
    EXPECT_EQ(splash.created_at_ms, 5000);
}

TEST(RunProgramTest, SecondInstanceEndsWithoutRunningTheMessageLoop) {
    FakeServices fakes;
    fakes.instance_lock.HoldElsewhere("MKF (for Outlook)");
    Services services = fakes.Desktop();
    EXPECT_EQ(RunProgram(services, {}), 0);
    EXPECT_TRUE(fakes.notice.messages.empty()) << "an idle loop would have been reported";
}

TEST(RunProgramTest, CalendarSourceFailureEndsWithCodeOne) {
    FakeServices fakes;
    fakes.outlook->State().FailCall("Logon", 1, "profile missing");
    Services services = fakes.Desktop();
    EXPECT_EQ(RunProgram(services, {}), 1);
}

}  // namespace
}  // namespace planwarte
