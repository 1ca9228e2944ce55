#include "core/app/page_script_objects.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace planwarte {
namespace {

class RecordingWindow : public PageCommands {
  public:
    void OpenOutlookItem(const std::string& folder, const std::string& item) override {
        calls.push_back("open " + folder + " " + item);
        if (open_fails) {
            throw std::runtime_error("Zugriff verweigert");
        }
    }
    void ToggleWindowFrame() override { Run("frame"); }
    void GoHome() override { Run("home"); }
    void StepForward() override { Run("forward"); }
    void StepBack() override { Run("back"); }
    void DebugTrace(const std::string& text) override { traces.push_back(text); }

    void Run(const std::string& call) {
        calls.push_back(call);
        if (commands_fail) {
            throw std::runtime_error("Seite kaputt");
        }
    }

    std::vector<std::string> calls;
    std::vector<std::string> traces;
    bool open_fails = false;
    bool commands_fail = false;
};

TEST(OpenOutlookWindowTest, FolderWriteOpensTheItemWrittenBeforeEachTime) {
    RecordingWindow window;
    TOpenOutlookWindowImpl object(window);
    EXPECT_TRUE(object.SetFolderEntryID("F0").Succeeded());  // no EntryID yet
    EXPECT_TRUE(object.SetEntryID("A1").Succeeded());
    EXPECT_TRUE(object.SetFolderEntryID("F1").Succeeded());
    EXPECT_TRUE(object.SetFolderEntryID("F1").Succeeded());
    EXPECT_EQ(window.calls, (std::vector<std::string>{"open F0 ", "open F1 A1", "open F1 A1"}));

    std::string value = "stale";
    EXPECT_TRUE(object.GetEntryID(value).Succeeded());
    EXPECT_EQ(value, "");
    value = "stale";
    EXPECT_TRUE(object.GetFolderEntryID(value).Succeeded());
    EXPECT_EQ(value, "");
}

TEST(OpenOutlookWindowTest, InstancesKeepTheirOwnEntryId) {
    RecordingWindow window;
    TOpenOutlookWindowImpl first(window);
    TOpenOutlookWindowImpl second(window);
    first.SetEntryID("A1");
    second.SetFolderEntryID("F1");
    EXPECT_EQ(window.calls, std::vector<std::string>{"open F1 "});
}

TEST(OpenOutlookWindowTest, ErrorOfTheOpenGoesBackToTheScriptAsAnException) {
    RecordingWindow window;
    window.open_fails = true;
    TOpenOutlookWindowImpl object(window);
    object.SetEntryID("A1");
    const ScriptCallResult result = object.SetFolderEntryID("F1");
    EXPECT_EQ(result.status, ScriptCallResult::kException);
    EXPECT_EQ(result.description, "Zugriff verweigert");
    EXPECT_EQ(result.source, "Planwarte.OpenOutlookWindow");
    EXPECT_EQ(result.interface_name, "IOpenOutlookWindow");
}

TEST(MKFAccessTest, EachMethodRunsItsWindowCommandAndReportsSuccessEvenWhenItFails) {
    for (const bool failing : {false, true}) {
        RecordingWindow window;
        window.commands_fail = failing;
        TMKFAccessImpl object(window);
        EXPECT_TRUE(object.Resize().Succeeded());
        EXPECT_TRUE(object.HomeClicked().Succeeded());
        EXPECT_TRUE(object.ForwardClicked().Succeeded());
        EXPECT_TRUE(object.BackClicked().Succeeded());
        EXPECT_EQ(window.calls, (std::vector<std::string>{"frame", "home", "forward", "back"}));
        EXPECT_EQ(window.traces.size(), failing ? 4u : 0u);
        if (failing) {
            EXPECT_EQ(window.traces.front(), "MAIN:::Seite kaputt");
        }
    }
}

}  // namespace
}  // namespace planwarte
