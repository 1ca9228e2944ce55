#pragma once

#include <string>
#include <vector>

// The install-help dialogs: what each says when a component of the assistant is missing, and
// the download pages its link opens. The dialogs are plain classes; whoever shows them draws
// the caption, the label and the "Ok" button, and calls the two handlers.
namespace planwarte {

class EventLoop;
class ShellLauncher;

// The host of the download pages. The paths of the addresses below are what the pages are
// known by; the project has no web server yet, so the host is a reserved name that resolves
// nowhere, to be set when there is one.
inline constexpr const char* kDownloadHost = "https://planwarte.invalid";

// The result of a dialog closed with its button or its window frame.
inline constexpr int kModalResultCancel = 2;

// What a link click needs: the shell that opens a page, the loop whose messages are processed
// and whose time passes between two pages, and the English-texts flag.
struct InstallHelpLinks {
    ShellLauncher& shell;
    EventLoop& loop;
    bool english = false;
};

class InstallHelpDialog {
  public:
    static constexpr const char* kLinkText = "diesem Link.";

    virtual ~InstallHelpDialog() = default;

    const std::string& Caption() const { return caption_; }
    // The label: one bold, centred paragraph in Tahoma ending in the link, and what follows it.
    std::string LabelHtml() const;
    // The label's text without its markup: the paragraph, then the text after it on a line of
    // its own.
    std::string PlainText() const;
    // The anchor of the label's link.
    const std::string& Anchor() const { return anchor_; }
    // The dialog is drawn with a dialog frame instead of the sizeable one.
    bool DialogBorder() const { return dialog_border_; }

    // The addresses a click on the link with this anchor opens, in order.
    virtual std::vector<std::string> LinkAddresses(const std::string& anchor) const = 0;

    // The "Ok" button: closes the dialog.
    void Button1Click() { modal_result_ = kModalResultCancel; }
    // A click on the label's link: opens its download pages.
    virtual void HTMLabel1AnchorClick(const std::string& anchor);

    // 0 while the dialog is open.
    int ModalResult() const { return modal_result_; }

  protected:
    struct Texts {
        std::string caption{};
        // The paragraph's text before the link.
        std::string text{};
        std::string anchor{};
        // A picture at the start of the paragraph, by its resource name; empty for none.
        std::string picture{};
        // A plain sentence after the paragraph; empty for none.
        std::string after{};
        bool dialog_border = false;
    };

    InstallHelpDialog(InstallHelpLinks links, Texts texts);

    void OpenPage(const std::string& address);

    InstallHelpLinks links_;

  private:
    std::string caption_;
    std::string text_;
    std::string anchor_;
    std::string picture_;
    std::string after_;
    bool dialog_border_ = false;
    int modal_result_ = 0;
};

// The agent server is missing. Its link opens the agent core and, after a pause that lets the
// first download start, the German language component.
class TFehlerMeldungAGENT : public InstallHelpDialog {
  public:
    static constexpr int kPauseBetweenPagesMs = 10'000;

    explicit TFehlerMeldungAGENT(InstallHelpLinks links);
    std::vector<std::string> LinkAddresses(const std::string& anchor) const override;
    void HTMLabel1AnchorClick(const std::string& anchor) override;
};

// The speech interface is missing.
class TFehlerMeldungSAPI : public InstallHelpDialog {
  public:
    explicit TFehlerMeldungSAPI(InstallHelpLinks links);
    std::vector<std::string> LinkAddresses(const std::string& anchor) const override;
};

// No text-to-speech engine: the German engine for the dialog's own anchor, else the English one.
class TFehlerMeldungTTS : public InstallHelpDialog {
  public:
    explicit TFehlerMeldungTTS(InstallHelpLinks links);
    std::vector<std::string> LinkAddresses(const std::string& anchor) const override;
};

// No character: the link installs two of them.
class TFehlerMeldungAGENTS : public InstallHelpDialog {
  public:
    explicit TFehlerMeldungAGENTS(InstallHelpLinks links);
    std::vector<std::string> LinkAddresses(const std::string& anchor) const override;
};

// The dialog as lines of plain text, for a program without windows: the caption, the label's
// text and the addresses of its link.
std::vector<std::string> PlainReport(const InstallHelpDialog& dialog);

}  // namespace planwarte
