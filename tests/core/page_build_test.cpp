#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/fake_services.h"
#include "core/app/main_form.h"
#include "core/app/page_view.h"
#include "core/app/program_exit.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using testing_support::FakeServices;

constexpr const char* kPageFile = "/tmp/pw/calendar.htm";
constexpr const char* kTemplateFolder = "/opt/planwarte/vorlagen/";

// Records every page shown; the hook runs while the page is being shown, that is while the
// build is still running.
class RecordingPageView : public PageView {
  public:
    void ShowPage(const std::string& html) override {
        pages.push_back(html);
        if (on_show) {
            auto hook = std::move(on_show);
            on_show = nullptr;
            hook();
        }
    }

    std::vector<std::string> pages;
    std::function<void()> on_show;
};

class PageBuildTest : public ::testing::Test {
  protected:
    void SetInteger(const char* name, int value) {
        fakes_.settings.SetInteger(kSettingsKeyPath, name, value);
    }

    // The desktop start, which builds the first page.
    TForm1& Start() {
        services_ = std::make_unique<Services>(fakes_.Desktop());
        services_->page_view = &view_;
        form_ = std::make_unique<TForm1>(*services_, StartMode::Desktop, std::vector<std::string>{},
                                         fakes_.splash.CreateSplash());
        form_->FormCreate();
        return *form_;
    }

    int SplashCloses() const {
        return static_cast<int>(
            std::count(fakes_.splash.log.begin(), fakes_.splash.log.end(), "close"));
    }

    FakeServices fakes_;
    RecordingPageView view_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(PageBuildTest, RequestDuringABuildIsDroppedAndTheNextOneBuildsAgain) {
    struct Case {
        const char* name;
        std::function<void(TForm1&)> request;
    };
    const std::vector<Case> cases = {
        {"build", [](TForm1& form) { form.BuildCalendarPage(EncodeDateTime(2004, 12, 24, 0, 0)); }},
        {"home", [](TForm1& form) { form.GoHome(); }},
        {"forward", [](TForm1& form) { form.StepForward(); }},
        {"back", [](TForm1& form) { form.StepBack(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        RecordingPageView view;
        Services services = fakes.Desktop();
        services.page_view = &view;
        TForm1 form(services, StartMode::Desktop, {}, nullptr);
        view.on_show = [&] { c.request(form); };
        form.FormCreate();

        EXPECT_EQ(view.pages.size(), 1u);
        EXPECT_NE(fakes.TraceText().find("_21_\n"), std::string::npos) << fakes.TraceText();
        form.GoHome();
        EXPECT_EQ(view.pages.size(), 2u);
    }
}

TEST_F(PageBuildTest, PageFileHoldsExactlyTheShownTextWhenAskedFor) {
    struct Case {
        const char* name;
        std::optional<int> create_html_file;
        bool file_written;
    };
    const std::vector<Case> cases = {
        {"absent", std::nullopt, false},
        {"off", 0, false},
        {"on", 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        if (c.create_html_file) {
            fakes.settings.SetInteger(kSettingsKeyPath, "CreateHtmlFile", *c.create_html_file);
        }
        fakes.files.AddFile(std::string(kTemplateFolder) + "haupt.mkf", "<html>\nerste\n</html>");
        RecordingPageView view;
        Services services = fakes.Desktop();
        services.page_view = &view;
        TForm1 form(services, StartMode::Desktop, {}, nullptr);
        form.FormCreate();

        ASSERT_EQ(view.pages.size(), 1u);
        EXPECT_EQ(view.pages[0], "<html>\r\nerste\r\n</html>\r\n");
        EXPECT_EQ(fakes.files.FileExists(kPageFile), c.file_written);
        if (c.file_written) {
            EXPECT_EQ(fakes.files.ReadFile(kPageFile), view.pages[0]);
            // The next build replaces the file.
            fakes.files.AddFile(std::string(kTemplateFolder) + "haupt.mkf", "zweite");
            form.GoHome();
            EXPECT_EQ(fakes.files.ReadFile(kPageFile), "zweite\r\n");
        }
    }
}

TEST_F(PageBuildTest, LinkInPlaceOfThePageFileIsNotFollowed) {
    SetInteger("CreateHtmlFile", 1);
    fakes_.files.AddSymbolicLink(kPageFile);
    Start();

    EXPECT_FALSE(fakes_.files.ReadFile(kPageFile).has_value());
    EXPECT_TRUE(view_.pages.empty()) << "a page whose file failed is not shown either";
    ASSERT_EQ(fakes_.notice.messages.size(), 1u);
    EXPECT_NE(fakes_.notice.messages[0].find("calendar.htm"), std::string::npos);
    // The failed build did not finish the first build.
    EXPECT_TRUE(form_->FirstPageBuild());
    EXPECT_TRUE(form_->StartupComplete());
}

TEST_F(PageBuildTest, FirstBuildClosesTheSplashOnce) {
    TForm1& form = Start();
    EXPECT_EQ(SplashCloses(), 1);
    EXPECT_FALSE(form.HasSplash());
    EXPECT_FALSE(form.FirstPageBuild());

    form.GoHome();
    form.StepForward();
    EXPECT_EQ(SplashCloses(), 1);
    EXPECT_EQ(view_.pages.size(), 3u);
}

TEST_F(PageBuildTest, FailingExpansionShowsItsErrorAndKeepsThePreviousPage) {
    TForm1& form = Start();
    ASSERT_EQ(view_.pages.size(), 1u);
    fakes_.files.AddFile(std::string(kTemplateFolder) + "haupt.mkf", std::string(5000, 'x'));
    form.GoHome();
    EXPECT_EQ(fakes_.notice.messages, std::vector<std::string>{"Zeile zu lang in Zeile 1"});
    EXPECT_EQ(view_.pages.size(), 1u);

    // The error left no build running behind it.
    fakes_.files.AddFile(std::string(kTemplateFolder) + "haupt.mkf", "wieder da");
    form.GoHome();
    ASSERT_EQ(view_.pages.size(), 2u);
    EXPECT_EQ(view_.pages[1], "wieder da\r\n");
}

TEST_F(PageBuildTest, EmptyPageLeavesTheViewAndTheFileAlone) {
    SetInteger("CreateHtmlFile", 1);
    fakes_.files.AddFile(std::string(kTemplateFolder) + "haupt.mkf", "");
    TForm1& form = Start();
    EXPECT_TRUE(view_.pages.empty());
    EXPECT_FALSE(fakes_.files.FileExists(kPageFile));
    EXPECT_TRUE(fakes_.notice.messages.empty());
    EXPECT_FALSE(form.FirstPageBuild());
}

TEST_F(PageBuildTest, EveryBuildReleasesTheSafeItemLibraryWhenItIsThere) {
    TForm1& form = Start();
    const int after_start = fakes_.safe_items.CleanupCount();
    form.GoHome();
    EXPECT_EQ(fakes_.safe_items.CleanupCount(), after_start + 1);

    fakes_.safe_items.SetAvailable(FakeSafeClass::MapiUtils, false);
    form.GoHome();
    EXPECT_EQ(view_.pages.size(), 3u);
    EXPECT_TRUE(fakes_.notice.messages.empty());
}

TEST_F(PageBuildTest, MonthForwardThenBackReturnsToTheSameMonth) {
    SetInteger("VORLAGE", 0);
    TForm1& form = Start();
    // Wednesday 8 December 2004, Monday first: the grid starts on Monday 29 November.
    EXPECT_EQ(form.FirstShownDay(), EncodeDateTime(2004, 11, 29, 0, 0));

    form.StepForward();
    EXPECT_EQ(form.FirstShownDay(), EncodeDateTime(2004, 12, 27, 0, 0));
    form.StepBack();
    EXPECT_EQ(form.FirstShownDay(), EncodeDateTime(2004, 11, 29, 0, 0));
    ASSERT_EQ(view_.pages.size(), 3u);
    EXPECT_NE(view_.pages[1], view_.pages[0]);
    EXPECT_EQ(view_.pages[2], view_.pages[0]);
}

TEST_F(PageBuildTest, HomeAfterStepsBackShowsTheCurrentDays) {
    struct Case {
        const char* name;
        int view_kind;
        DateTime two_back;
        DateTime home;
    };
    const std::vector<Case> cases = {
        {"week", 1, EncodeDateTime(2004, 11, 22, 0, 0), EncodeDateTime(2004, 12, 6, 0, 0)},
        {"x days", 2, EncodeDateTime(2004, 11, 28, 0, 0), EncodeDateTime(2004, 12, 8, 0, 0)},
        {"two weeks", 4, EncodeDateTime(2004, 11, 8, 0, 0), EncodeDateTime(2004, 12, 6, 0, 0)},
        {"three weeks", 5, EncodeDateTime(2004, 10, 25, 0, 0), EncodeDateTime(2004, 12, 6, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        fakes.settings.SetInteger(kSettingsKeyPath, "VORLAGE", c.view_kind);
        RecordingPageView view;
        Services services = fakes.Desktop();
        services.page_view = &view;
        TForm1 form(services, StartMode::Desktop, {}, nullptr);
        form.FormCreate();

        form.StepBack();
        form.StepBack();
        EXPECT_EQ(form.FirstShownDay(), c.two_back);
        form.GoHome();
        EXPECT_EQ(form.FirstShownDay(), c.home);
        ASSERT_EQ(view.pages.size(), 4u);
        EXPECT_EQ(view.pages[3], view.pages[0]);
    }
}

TEST_F(PageBuildTest, XDaysStepFollowsTheStoredDayCount) {
    struct Case {
        const char* name;
        std::optional<int> x_days;
        bool key_reachable;
        DateTime forward;
    };
    // Built for Wednesday 8 December 2004 in the x-days view.
    const std::vector<Case> cases = {
        {"stored", 3, true, EncodeDateTime(2004, 12, 11, 0, 0)},
        {"absent", std::nullopt, true, EncodeDateTime(2004, 12, 13, 0, 0)},
        // One day forward; the build without its settings then lays the day out as the week
        // view, back to Monday.
        {"key unreachable", 7, false, EncodeDateTime(2004, 12, 6, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        fakes.settings.SetInteger(kSettingsKeyPath, "VORLAGE", 2);
        if (c.x_days) {
            fakes.settings.SetInteger(kSettingsKeyPath, "xTage", *c.x_days);
        }
        Services services = fakes.Desktop();
        TForm1 form(services, StartMode::Desktop, {}, nullptr);
        form.FormCreate();
        ASSERT_EQ(form.FirstShownDay(), EncodeDateTime(2004, 12, 8, 0, 0));

        fakes.settings.SetUnavailable(!c.key_reachable);
        form.StepForward();
        EXPECT_EQ(form.FirstShownDay(), c.forward);
    }
}

TEST_F(PageBuildTest, MissingViewBodyIsReportedAndEndsTheProgram) {
    struct Case {
        int view_kind;
        const char* slot;
    };
    for (const Case& c : std::vector<Case>{
             {1, "woche"}, {2, "xtage"}, {3, "heute"}, {4, "2wochen"}, {5, "3wochen"}}) {
        SCOPED_TRACE(c.slot);
        FakeServices fakes;
        fakes.files.AddFile(std::string(kTemplateFolder) + "design.ini",
                            std::string("[Standard]\n") + c.slot + "=fehlt.mkf\n");
        fakes.settings.SetInteger(kSettingsKeyPath, "VORLAGE", 0);
        RecordingPageView view;
        Services services = fakes.Desktop();
        services.page_view = &view;
        TForm1 form(services, StartMode::Desktop, {}, nullptr);
        form.FormCreate();
        ASSERT_TRUE(fakes.notice.messages.empty());

        fakes.settings.SetInteger(kSettingsKeyPath, "VORLAGE", c.view_kind);
        try {
            form.GoHome();
            ADD_FAILURE() << "the build went on without its body";
        } catch (const ProgramExit& exit) {
            EXPECT_EQ(exit.exit_code, 1);
        }
        EXPECT_EQ(fakes.notice.messages,
                  std::vector<std::string>{"Eine oder mehrere der Vorlagen wurden nicht gefunden"});
        EXPECT_EQ(view.pages.size(), 1u);
    }
}

}  // namespace
}  // namespace planwarte
