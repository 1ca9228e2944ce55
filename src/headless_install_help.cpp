#include "headless_install_help.h"

#include <string>

#include "core/app/trace_log.h"
#include "core/assistant/install_help_dialogs.h"

namespace planwarte {

void HeadlessInstallHelp::ShowModal(InstallHelpDialog& dialog) {
    for (const std::string& line : PlainReport(dialog)) {
        trace_.DebugTrace(line);
        errors_ << "planwarte: " << line << "\n";
    }
    errors_.flush();
    dialog.Button1Click();
}

}  // namespace planwarte
