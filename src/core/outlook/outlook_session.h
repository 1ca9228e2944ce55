#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/outlook/object_model.h"

namespace planwarte {

class UserNotice;

// The main thread's session with the calendar source: the application component and its
// logged-on "MAPI" namespace. A lost session is rebuilt silently five times per process; the
// sixth loss ends the program.
class OutlookSession {
  public:
    struct Hooks {
        std::function<void(const std::string&)> progress_step;  // splash text, if any
        std::function<void(const std::string&)> trace;
        std::function<void()> close_main_window;
    };

    OutlookSession(std::shared_ptr<OlApplication> application, UserNotice& notice, Hooks hooks);

    // Opens the session; throws ProgramExit{1} after telling the user when it cannot.
    void ConnectOutlook();
    // Probes the session through the default inbox and rebuilds it when it does not answer.
    void EnsureOutlookSession();
    // Logs off and disconnects; an error is traced and the close goes on.
    void CloseOutlookSession();

    OlApplication& Application() { return *application_; }
    // Null before the first connect and after the close.
    const std::shared_ptr<OlNamespace>& Namespace() const { return namespace_; }
    int RestartCount() const { return restart_count_; }

  private:
    bool SessionAnswers();
    void TearDown();

    std::shared_ptr<OlApplication> application_;
    std::shared_ptr<OlNamespace> namespace_;
    UserNotice& notice_;
    Hooks hooks_;
    // Counts every rebuild of the process, never reset: five losses spread over days use up
    // the allowance just as five in a row do.
    int restart_count_ = 0;
};

}  // namespace planwarte
