#include "core/app/main_form.h"

#include <gtest/gtest.h>

#include "common/fake_services.h"
#include "core/app/program_exit.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using testing_support::FakeServices;

class MainFormTest : public ::testing::Test {
  protected:
    std::unique_ptr<TForm1> DesktopForm(std::vector<std::string> arguments = {}) {
        desktop_ = std::make_unique<Services>(fakes_.Desktop());
        return std::make_unique<TForm1>(*desktop_, StartMode::Desktop, std::move(arguments),
                                        fakes_.splash.CreateSplash());
    }

    FakeServices fakes_;
    std::unique_ptr<Services> desktop_;
};

TEST_F(MainFormTest, StartUpShowsItsStepsInOrderOnTheSplash) {
    auto form = DesktopForm();
    form->FormCreate();
    EXPECT_EQ(
        fakes_.splash.log,
        (std::vector<std::string>{
            "create", "progress 0/11", "message Initialisieren", "progress 1/11",
            "message starte Outlook...", "progress 2/11", "message Merkfalter (für Outlook)",
            "progress 3/11", "message Load Design", "progress 4/11", "message Vorlagen laden...",
            "progress 5/11", "message Kalender erzeugen", "close"}));
    EXPECT_TRUE(form->StartupComplete());
    EXPECT_FALSE(form->EndRequested());
    EXPECT_EQ(form->TrayToolTip(), "Merkfalter (für Outlook)");
    EXPECT_EQ(form->ProgramFolder(), testing_support::kProgramFolder);
    EXPECT_EQ(form->PageFontSize(), 8);
    EXPECT_NE(form->Outlook().Namespace(), nullptr);
}

TEST_F(MainFormTest, ProgressMaximumGrowsByOnePerUsedFolder) {
    auto form = DesktopForm();
    form->RaiseProgressMaximum();
    form->RaiseProgressMaximum();
    form->ProgressStep("Kalender erzeugen");
    EXPECT_EQ(fakes_.splash.log[1], "progress 0/13");
}

TEST_F(MainFormTest, SecondInstanceEndsUnlessAskedToRedraw) {
    struct Case {
        std::vector<std::string> arguments;
        bool ends;
    };
    for (const Case& c : std::vector<Case>{
             {{}, true}, {{"neuzeichnen"}, false}, {{"other", "neuzeichnen"}, true}}) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        FakeServices fakes;
        fakes.instance_lock.HoldElsewhere("MKF (for Outlook)");
        Services services = fakes.Desktop();
        TForm1 form(services, StartMode::Desktop, c.arguments, nullptr);
        form.FormCreate();
        EXPECT_EQ(form.EndRequested(), c.ends);
        // The remaining steps still run.
        EXPECT_TRUE(form.StartupComplete());
    }
}

TEST_F(MainFormTest, PageModeTakesNoInstanceLockAndShowsNoSplash) {
    Services services = fakes_.Page();
    TForm1 form(services, StartMode::PageOnly, {}, nullptr);
    form.FormCreate();
    EXPECT_TRUE(fakes_.instance_lock.Requested().empty());
    EXPECT_TRUE(fakes_.splash.log.empty());
    EXPECT_TRUE(form.StartupComplete());
}

TEST_F(MainFormTest, WindowTopComesFromTheGeometryOfTheViewKind) {
    struct Case {
        const char* name;
        std::optional<int> view_kind;
        std::optional<int> top_normal;
        std::optional<int> top_month;
        int expected;
    };
    const std::vector<Case> cases = {
        {"nothing stored", std::nullopt, std::nullopt, std::nullopt, 10},
        {"week view", 1, 200, 300, 200},
        {"month view", 0, 200, 300, 300},
        {"negative top", 1, -40, 300, 10},
        {"top of the other view kind only", 0, 200, std::nullopt, 10},
        {"view kind absent", std::nullopt, 200, 300, 10},
        {"top zero stays", 3, 0, 300, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        auto set = [&](const char* name, std::optional<int> value) {
            if (value) {
                fakes.settings.SetInteger(kSettingsKeyPath, name, *value);
            }
        };
        set("VORLAGE", c.view_kind);
        set("FormPosTopNormal", c.top_normal);
        set("FormPosTopMonth", c.top_month);
        Services services = fakes.Page();
        TForm1 form(services, StartMode::PageOnly, {}, nullptr);
        form.FormCreate();
        EXPECT_EQ(form.WindowTop(), c.expected);
    }
}

TEST_F(MainFormTest, NoCalendarSourceEndsTheStartWithCodeOne) {
    fakes_.outlook->State().FailCall("Connect", 1, "not installed");
    auto form = DesktopForm();
    try {
        form->FormCreate();
        FAIL() << "the start-up went on without a session";
    } catch (const ProgramExit& exit) {
        EXPECT_EQ(exit.exit_code, 1);
    }
    EXPECT_FALSE(form->StartupComplete());
    EXPECT_EQ(fakes_.notice.messages.size(), 1u);
    EXPECT_TRUE(fakes_.TraceText().starts_with("_3_")) << fakes_.TraceText();
}

TEST_F(MainFormTest, ErrorsOfEventHandlersAreTracedNotShown) {
    auto form = DesktopForm();
    form->Guarded([] { throw std::runtime_error("Find: no such folder"); })();
    EXPECT_EQ(fakes_.TraceText(), "MAIN:::Find: no such folder\n");
    EXPECT_TRUE(fakes_.notice.messages.empty());
    // Ending the program is not an error: it passes through.
    EXPECT_THROW(form->Guarded([] { throw ProgramExit{1}; })(), ProgramExit);
}

}  // namespace
}  // namespace planwarte
