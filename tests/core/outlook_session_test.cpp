#include "core/outlook/outlook_session.h"

#include <gtest/gtest.h>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/fake_object_model.h"
#include "core/app/program_exit.h"
#include "core/common/string_table.h"

namespace planwarte {
namespace {

class OutlookSessionTest : public ::testing::Test {
  protected:
    OutlookSessionTest() {
        outlook_->AddInbox();
        session_ = std::make_unique<OutlookSession>(
            outlook_->Factory()->CreateApplication(), notice_,
            OutlookSession::Hooks{
                .progress_step = [this](const std::string& text) { steps_.push_back(text); },
                .trace = [this](const std::string& text) { trace_.push_back(text); },
                .close_main_window = [this] { ++close_requests_; },
            });
        outlook_->State().ClearCallLog();
    }

    // Runs the call and returns the exit code it ended the program with, or -1.
    static int ExitCodeOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const ProgramExit& exit) {
            return exit.exit_code;
        }
        return -1;
    }

    std::shared_ptr<FakeOutlook> outlook_ = FakeOutlook::Create();
    RecordingNotice notice_;
    std::vector<std::string> steps_;
    std::vector<std::string> trace_;
    int close_requests_ = 0;
    std::unique_ptr<OutlookSession> session_;
};

TEST_F(OutlookSessionTest, ConnectLogsOnToTheDefaultProfileWithoutDialog) {
    session_->ConnectOutlook();
    EXPECT_EQ(steps_, std::vector<std::string>{"starte Outlook..."});
    EXPECT_EQ(outlook_->State().CallLog(),
              (std::vector<std::string>{"Connect", "GetNamespace(MAPI)", "Logon(,,,)"}));
    EXPECT_NE(session_->Namespace(), nullptr);
    EXPECT_TRUE(notice_.messages.empty());
    EXPECT_TRUE(trace_.empty());
}

TEST_F(OutlookSessionTest, NoNamespaceShowsNotInstalledAndEndsWithCodeOne) {
    outlook_->State().AnswerNull("GetNamespace");
    EXPECT_EQ(ExitCodeOf([&] { session_->ConnectOutlook(); }), 1);
    EXPECT_EQ(notice_.messages, std::vector<std::string>{LoadStr(msg::kOutlookNotInstalled)});
    EXPECT_TRUE(trace_.empty());
}

TEST_F(OutlookSessionTest, FailingConnectStepIsTracedAndShownWithItsErrorText) {
    for (const char* member : {"Connect", "GetNamespace", "Logon"}) {
        SCOPED_TRACE(member);
        notice_.messages.clear();
        trace_.clear();
        outlook_->State().FailCall(member, 1, "no server");
        EXPECT_EQ(ExitCodeOf([&] { session_->ConnectOutlook(); }), 1);
        ASSERT_EQ(trace_.size(), 1u);
        EXPECT_TRUE(trace_[0].starts_with("_3_")) << trace_[0];
        EXPECT_NE(trace_[0].find(member), std::string::npos) << "the error names the call";
        ASSERT_EQ(notice_.messages.size(), 1u);
        EXPECT_EQ(notice_.messages[0],
                  "Outlook ist wahrscheinlich nicht installiert \n" + trace_[0].substr(3));
    }
}

TEST_F(OutlookSessionTest, LiveSessionIsProbedThroughTheInboxAndLeftAlone) {
    session_->ConnectOutlook();
    outlook_->State().ClearCallLog();
    session_->EnsureOutlookSession();
    EXPECT_EQ(session_->RestartCount(), 0);
    EXPECT_EQ(outlook_->State().CallLog(), std::vector<std::string>{"GetDefaultFolder(6)"});
}

TEST_F(OutlookSessionTest, LostSessionIsRebuiltFiveTimesSilentlyAndTheSixthClosesTheWindow) {
    session_->ConnectOutlook();
    for (int loss = 1; loss <= 6; ++loss) {
        SCOPED_TRACE(loss);
        outlook_->State().AnswerNull("GetDefaultFolder");
        outlook_->State().ClearCallLog();
        session_->EnsureOutlookSession();
        outlook_->State().AnswerNull("GetDefaultFolder", false);

        EXPECT_EQ(session_->RestartCount(), loss);
        EXPECT_EQ(close_requests_, loss == 6 ? 1 : 0);
        EXPECT_EQ(notice_.messages.size(), loss == 6 ? 1u : 0u);
        // The reconnect runs also in the call that closes the window.
        EXPECT_EQ(outlook_->State().CallLog(),
                  (std::vector<std::string>{"GetDefaultFolder(6)", "Logoff", "Disconnect",
                                            "Connect", "GetNamespace(MAPI)", "Logon(,,,)"}));
    }
    EXPECT_EQ(notice_.messages[0], LoadStr(msg::kOutlookRestartedTooOften));
    // A later reconnect shows no start-up text: the splash is gone by then.
    EXPECT_TRUE(trace_.empty());
}

TEST_F(OutlookSessionTest, FailedTearDownIsTracedAndTheReconnectStillRuns) {
    session_->ConnectOutlook();
    outlook_->State().LoseSession();
    session_->EnsureOutlookSession();
    ASSERT_EQ(trace_.size(), 1u);
    EXPECT_TRUE(trace_[0].starts_with("_4_")) << trace_[0];
    EXPECT_EQ(session_->RestartCount(), 1);
    EXPECT_NE(session_->Namespace(), nullptr);
}

TEST_F(OutlookSessionTest, ReconnectThatFailsEndsTheProgram) {
    session_->ConnectOutlook();
    outlook_->State().AnswerNull("GetDefaultFolder");
    outlook_->State().FailCall("Connect", 1, "gone");
    EXPECT_EQ(ExitCodeOf([&] { session_->EnsureOutlookSession(); }), 1);
}

TEST_F(OutlookSessionTest, CloseLogsOffAndAFailureIsTracedAsEighteen) {
    session_->ConnectOutlook();
    outlook_->State().ClearCallLog();
    session_->CloseOutlookSession();
    EXPECT_EQ(outlook_->State().CallLog(), (std::vector<std::string>{"Logoff", "Disconnect"}));
    EXPECT_EQ(session_->Namespace(), nullptr);
    EXPECT_TRUE(trace_.empty());

    OutlookSession never_connected(outlook_->Factory()->CreateApplication(), notice_,
                                   {.progress_step = {},
                                    .trace = [this](const std::string& t) { trace_.push_back(t); },
                                    .close_main_window = {}});
    never_connected.CloseOutlookSession();
    ASSERT_EQ(trace_.size(), 1u);
    EXPECT_TRUE(trace_[0].starts_with("_18_")) << trace_[0];
}

}  // namespace
}  // namespace planwarte
