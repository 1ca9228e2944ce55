#include "core/assistant/install_help_dialogs.h"

#include <utility>

#include "core/app/event_loop.h"
#include "core/app/shell_launcher.h"

namespace planwarte {

namespace {

constexpr const char* kAgentCorePage = "/dynlinks/index.php?go=MSagent.exe";
constexpr const char* kAgentGermanPage = "/downloads/ms/AgtX0407.exe";
constexpr const char* kSpeechInterfacePage = "/dynlinks/index.php?go=spchapi.exe";
constexpr const char* kGermanEnginePage = "/dynlinks/index.php?go=TTS3000.exe";
constexpr const char* kEnglishEnginePage = "/dynlinks/index.php?go=tv_enua.exe";
constexpr const char* kMerlinPage = "/dynlinks/index.php?go=Merlin.exe";
constexpr const char* kPeedyPage = "/dynlinks/index.php?go=Peedy.exe";

constexpr const char* kInstallAnchor = "SAPIINSTALL";
constexpr const char* kGermanEngineAnchor = "TTSGER";

std::string Address(const char* path) {
    return std::string(kDownloadHost) + path;
}

}  // namespace

InstallHelpDialog::InstallHelpDialog(InstallHelpLinks links, Texts texts)
    : links_(links),
      caption_(std::move(texts.caption)),
      text_(std::move(texts.text)),
      anchor_(std::move(texts.anchor)),
      picture_(std::move(texts.picture)),
      after_(std::move(texts.after)),
      dialog_border_(texts.dialog_border) {}

std::string InstallHelpDialog::LabelHtml() const {
    std::string html = "<p align=\"center\"><font face=\"Tahoma\"><b>";
    if (!picture_.empty()) {
        html += "<img src=\"" + picture_ + "\">";
    }
    html += text_ + " <a href=\"" + anchor_ + "\">" + kLinkText + "</a></b></font></p>";
    html += after_;
    return html;
}

std::string InstallHelpDialog::PlainText() const {
    std::string text = text_ + " " + kLinkText;
    if (!after_.empty()) {
        text += "\n" + after_;
    }
    return text;
}

void InstallHelpDialog::HTMLabel1AnchorClick(const std::string& anchor) {
    for (const std::string& address : LinkAddresses(anchor)) {
        OpenPage(address);
    }
}

void InstallHelpDialog::OpenPage(const std::string& address) {
    links_.shell.Open(address, "", kShowNormal);
}

TFehlerMeldungAGENT::TFehlerMeldungAGENT(InstallHelpLinks links)
    : InstallHelpDialog(
          links,
          {.caption = "MS Agent nicht installiert!",
           .text = "Leider ist ist die Microsoft® Agent Technologie bei Ihnen nicht installiert. "
                   "Das Programm kann deshalb nicht ausgeführt werden. Um MS Agent auf ihrem "
                   "System zu installieren folgen Sie bitte",
           .anchor = kInstallAnchor}) {}

std::vector<std::string> TFehlerMeldungAGENT::LinkAddresses(const std::string& /*anchor*/) const {
    std::vector<std::string> addresses{Address(kAgentCorePage)};
    if (!links_.english) {
        addresses.push_back(Address(kAgentGermanPage));
    }
    return addresses;
}

void TFehlerMeldungAGENT::HTMLabel1AnchorClick(const std::string& /*anchor*/) {
    OpenPage(Address(kAgentCorePage));
    links_.loop.ProcessPendingMessages();
    links_.loop.Sleep(kPauseBetweenPagesMs);
    if (!links_.english) {
        OpenPage(Address(kAgentGermanPage));
    }
}

TFehlerMeldungSAPI::TFehlerMeldungSAPI(InstallHelpLinks links)
    : InstallHelpDialog(
          links, {.caption = "SAPI nicht installiert!",
                  .text = "Leider ist SAPI nicht installiert. Das Programm kann deshalb nicht "
                          "ausgeführt werden. Um SAPI auf ihrem System zu installieren, folgen "
                          "Sie bitte",
                  .anchor = kInstallAnchor,
                  .dialog_border = true}) {}

std::vector<std::string> TFehlerMeldungSAPI::LinkAddresses(const std::string& /*anchor*/) const {
    return {Address(kSpeechInterfacePage)};
}

TFehlerMeldungTTS::TFehlerMeldungTTS(InstallHelpLinks links)
    : InstallHelpDialog(
          links, {.caption = "TTS nicht installiert!",
                  .text = "Leider ist auf Ihrem System keine TextToSpeech Engine installiert. "
                          "Das Programm kann deshalb nicht ausgeführt werden. Um mindestens eine "
                          "TTS auf Ihrem System zu installieren, folgen Sie bitte",
                  .anchor = kGermanEngineAnchor,
                  .picture = "speak"}) {}

std::vector<std::string> TFehlerMeldungTTS::LinkAddresses(const std::string& anchor) const {
    return {Address(anchor == kGermanEngineAnchor ? kGermanEnginePage : kEnglishEnginePage)};
}

TFehlerMeldungAGENTS::TFehlerMeldungAGENTS(InstallHelpLinks links)
    : InstallHelpDialog(
          links,
          {.caption = "mindestens eine Figur muß installiert sein.",
           .text = "Leider sind auf Ihrem System keine Microsoft Agenten (Figuren) installiert. "
                   "Das Programm kann deshalb nicht ausgeführt werden. Um Figuren auf Ihrem "
                   "System zu installieren folgen Sie bitte",
           .anchor = kInstallAnchor,
           .after = "Mit dem Link werden zwei Agenten installiert (Peedy und Merlin)."}) {}

std::vector<std::string> TFehlerMeldungAGENTS::LinkAddresses(const std::string& /*anchor*/) const {
    return {Address(kMerlinPage), Address(kPeedyPage)};
}

std::vector<std::string> PlainReport(const InstallHelpDialog& dialog) {
    std::vector<std::string> lines{dialog.Caption()};
    const std::string text = dialog.PlainText();
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    lines.push_back(text.substr(start));
    for (const std::string& address : dialog.LinkAddresses(dialog.Anchor())) {
        lines.push_back("Link: " + address);
    }
    return lines;
}

}  // namespace planwarte
