#pragma once

#include <cstdint>
#include <string>

// The two objects the calendar page's script reaches the program through: OpenOutlookWindow
// opens the item behind an entry (its script writes EntryID, then FolderEntryID), MKFAccess
// runs the navigation buttons and the frame switch. They only pass their arguments on to the
// one main window; the desktop's script bridge creates them for the page.
namespace planwarte {

// What the page may ask of the main window.
class PageCommands {
  public:
    virtual ~PageCommands() = default;
    virtual void OpenOutlookItem(const std::string& folder_entry_id,
                                 const std::string& item_entry_id) = 0;
    // The frame, with which the window can be resized, on when it is off and off when on.
    virtual void ToggleWindowFrame() = 0;
    virtual void GoHome() = 0;
    virtual void StepForward() = 0;
    virtual void StepBack() = 0;
    virtual void DebugTrace(const std::string& text) = 0;
};

// The result of a call from the script: success, or an exception with the error information
// the script host shows.
struct ScriptCallResult {
    static constexpr std::uint32_t kSuccess = 0;
    static constexpr std::uint32_t kException = 0x80020009;  // DISP_E_EXCEPTION

    std::uint32_t status = kSuccess;
    std::string description;
    std::string source;
    std::string interface_name;

    bool Succeeded() const { return status == kSuccess; }
};

inline constexpr const char* kOpenOutlookWindowProgId = "Planwarte.OpenOutlookWindow";
inline constexpr const char* kMKFAccessProgId = "Planwarte.MKFAccess";

class TOpenOutlookWindowImpl {
  public:
    explicit TOpenOutlookWindowImpl(PageCommands& window) : window_(window) {}

    ScriptCallResult SetEntryID(const std::string& item_entry_id);
    // Opens the item whose EntryID was written before, in the folder written now.
    ScriptCallResult SetFolderEntryID(const std::string& folder_entry_id);
    // Reads succeed and give no value: the script gets the empty text.
    ScriptCallResult GetEntryID(std::string& value) const;
    ScriptCallResult GetFolderEntryID(std::string& value) const;

  private:
    PageCommands& window_;
    std::string item_entry_id_;
};

class TMKFAccessImpl {
  public:
    explicit TMKFAccessImpl(PageCommands& window) : window_(window) {}

    // Each reports success whatever the page build does; the build handles its own errors,
    // and what still escapes is traced as an error reaching the message loop is.
    ScriptCallResult Resize();
    ScriptCallResult HomeClicked();
    ScriptCallResult ForwardClicked();
    ScriptCallResult BackClicked();

  private:
    ScriptCallResult Run(void (PageCommands::*command)());

    PageCommands& window_;
};

}  // namespace planwarte
