#pragma once

#include <ostream>
#include <set>
#include <string>

#include "core/assistant/component_checks.h"

namespace planwarte {

class TraceLog;

// The install-help dialogs of a program without windows. The first time a dialog is shown in
// a run, its caption, its text and what to install on Debian go to the error stream, and the
// same with the addresses of its link to the trace; it is then closed as with its button.
// Every start of the assistant shows it again, some every minute, so later showings only
// trace its caption.
class HeadlessInstallHelp : public InstallHelpPresenter {
  public:
    HeadlessInstallHelp(TraceLog& trace, std::ostream& errors) : trace_(trace), errors_(errors) {}

    void ShowModal(InstallHelpDialog& dialog) override;

  private:
    TraceLog& trace_;
    std::ostream& errors_;
    std::set<std::string> reported_;
};

}  // namespace planwarte
