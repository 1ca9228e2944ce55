#pragma once

#include <ostream>

#include "core/assistant/component_checks.h"

namespace planwarte {

class TraceLog;

// The install-help dialogs of a program without windows: each one shown is written, caption,
// text and the addresses of its link, to the trace and to the error stream, and closed at once
// as with its button.
class HeadlessInstallHelp : public InstallHelpPresenter {
  public:
    HeadlessInstallHelp(TraceLog& trace, std::ostream& errors) : trace_(trace), errors_(errors) {}

    void ShowModal(InstallHelpDialog& dialog) override;

  private:
    TraceLog& trace_;
    std::ostream& errors_;
};

}  // namespace planwarte
