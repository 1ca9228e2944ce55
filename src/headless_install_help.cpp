#include "headless_install_help.h"

#include <string>
#include <vector>

#include "core/app/trace_log.h"
#include "core/assistant/install_help_dialogs.h"

namespace planwarte {

namespace {

constexpr const char* kAgainSuffix = " (erneut)";

// What mends the missing component here. The dialogs' download pages are those of the
// program's first platform; on Debian the speech comes from espeak-ng and its voice data. The
// character host and the characters are the program's own and have no package.
std::string DebianHint(const InstallHelpDialog& dialog) {
    if (dynamic_cast<const TFehlerMeldungSAPI*>(&dialog)) {
        return "Unter Debian: apt-get install espeak-ng espeak-ng-data";
    }
    if (dynamic_cast<const TFehlerMeldungTTS*>(&dialog)) {
        return "Unter Debian: apt-get install espeak-ng-data";
    }
    return "";
}

}  // namespace

void HeadlessInstallHelp::ShowModal(InstallHelpDialog& dialog) {
    if (!reported_.insert(dialog.Caption()).second) {
        trace_.DebugTrace(dialog.Caption() + kAgainSuffix);
        dialog.Button1Click();
        return;
    }
    const std::string hint = DebianHint(dialog);
    const std::vector<std::string> report = PlainReport(dialog);
    // The report ends with the link's addresses, whose host does not answer yet: the user is
    // better served by the hint.
    const std::size_t told = report.size() - dialog.LinkAddresses(dialog.Anchor()).size();
    for (std::size_t i = 0; i < report.size(); ++i) {
        trace_.DebugTrace(report[i]);
        if (i < told) {
            errors_ << "planwarte: " << report[i] << "\n";
        }
    }
    if (!hint.empty()) {
        trace_.DebugTrace(hint);
        errors_ << "planwarte: " << hint << "\n";
    }
    errors_.flush();
    dialog.Button1Click();
}

}  // namespace planwarte
