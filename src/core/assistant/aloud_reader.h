#pragma once

#include <functional>
#include <optional>
#include <string>

// Reading a text aloud on request: the clipboard's text, or the subject and body of the mail
// open in the calendar program's window. A reading starts the assistant even when the user
// switched it off, and keeps a second reading of the same kind out while it runs.
namespace planwarte {

class AgentHost;
class EventLoop;
class OutlookSession;

// The plain text on the clipboard; nullopt when the clipboard holds no plain text.
class ClipboardText {
  public:
    virtual ~ClipboardText() = default;
    virtual std::optional<std::string> PlainText() = 0;
};

// The two popup menu entries a reading disables while it runs.
struct ReadingMenuEntries {
    bool read_clipboard_enabled = true;  // Zwischenablagevorlesen1
    bool read_open_item_enabled = true;  // readOpenItem
    std::string read_open_item_caption;
};

class AloudReader {
  public:
    static constexpr int kFinalWaitPollMs = 500;

    AloudReader(AgentHost& host, EventLoop& loop, std::function<void(const std::string&)> trace);

    // Whether a window of the calendar program shows a mail; the menu enables its entry then.
    bool CheckOpenMail(OutlookSession& session);
    // readOpenItemClick: the open mail's subject, then its body.
    void ReadOpenMail(OutlookSession& session);
    // Zwischenablagevorlesen1Click.
    void ReadClipboard(ClipboardText* clipboard);
    void ReadText(const std::string& text);

    const ReadingMenuEntries& MenuEntries() const { return menu_; }

  private:
    bool OpenMail(OutlookSession& session, bool check);
    void ReadChunked(const std::string& text);
    void WaitUntilSaid();

    AgentHost& host_;
    EventLoop& loop_;
    std::function<void(const std::string&)> trace_;
    ReadingMenuEntries menu_;
    bool clipboard_busy_ = false;
    bool text_busy_ = false;
};

}  // namespace planwarte
