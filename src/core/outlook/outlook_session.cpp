#include "core/outlook/outlook_session.h"

#include <exception>

#include "core/app/host_services.h"
#include "core/app/program_exit.h"
#include "core/common/string_table.h"

namespace planwarte {

namespace {

constexpr int kMaxSilentRestarts = 5;

OlNamespace& Require(const std::shared_ptr<OlNamespace>& ns, const char* call) {
    if (!ns) {
        throw OutlookError(call, "no session");
    }
    return *ns;
}

}  // namespace

OutlookSession::OutlookSession(std::shared_ptr<OlApplication> application, UserNotice& notice,
                               Hooks hooks)
    : application_(std::move(application)), notice_(notice), hooks_(std::move(hooks)) {}

void OutlookSession::ConnectOutlook() {
    if (hooks_.progress_step) {
        hooks_.progress_step(LoadStr(msg::kStartingOutlook));
    }
    try {
        application_->Connect();
        namespace_ = application_->GetNamespace("MAPI");
        if (!namespace_) {
            notice_.ShowMessage(LoadStr(msg::kOutlookNotInstalled));
            throw ProgramExit{1};
        }
        // Empty profile, password and flags: the default profile, no dialog, no new session.
        namespace_->Logon("", "", "", "");
    } catch (const std::exception& error) {
        hooks_.trace(std::string("_3_") + error.what());
        notice_.ShowMessage(LoadStr(msg::kOutlookNotInstalledShort) + error.what());
        throw ProgramExit{1};
    }
}

bool OutlookSession::SessionAnswers() {
    try {
        // The inbox answers in every profile, also when only calendars are shown.
        return namespace_ && namespace_->GetDefaultFolder(kDefaultFolderInbox) != nullptr;
    } catch (const std::exception&) {
        return false;
    }
}

void OutlookSession::TearDown() {
    Require(namespace_, "Logoff").Logoff();
    namespace_.reset();
    application_->Disconnect();
}

void OutlookSession::EnsureOutlookSession() {
    if (SessionAnswers()) {
        return;
    }
    ++restart_count_;
    if (restart_count_ > kMaxSilentRestarts) {
        notice_.ShowMessage(LoadStr(msg::kOutlookRestartedTooOften));
        // The close runs through the message loop; this call still reconnects below.
        hooks_.close_main_window();
    }
    try {
        TearDown();
    } catch (const std::exception& error) {
        hooks_.trace(std::string("_4_") + error.what());
    }
    ConnectOutlook();
}

void OutlookSession::CloseOutlookSession() {
    try {
        TearDown();
    } catch (const std::exception& error) {
        hooks_.trace(std::string("_18_") + error.what());
    }
}

}  // namespace planwarte
