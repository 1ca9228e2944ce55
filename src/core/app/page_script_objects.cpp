#include "core/app/page_script_objects.h"

#include <exception>
#include <functional>

#include "core/app/guarded_handler.h"

namespace planwarte {

namespace {

constexpr const char* kOpenOutlookWindowInterface = "IOpenOutlookWindow";

// An error escaping a write goes back to the script as an exception of the object.
ScriptCallResult RunWrite(const std::function<void()>& write) {
    try {
        write();
        return {};
    } catch (const std::exception& error) {
        return {ScriptCallResult::kException, error.what(), kOpenOutlookWindowProgId,
                kOpenOutlookWindowInterface};
    }
}

}  // namespace

ScriptCallResult TOpenOutlookWindowImpl::SetEntryID(const std::string& item_entry_id) {
    return RunWrite([&] { item_entry_id_ = item_entry_id; });
}

ScriptCallResult TOpenOutlookWindowImpl::SetFolderEntryID(const std::string& folder_entry_id) {
    return RunWrite([&] { window_.OpenOutlookItem(folder_entry_id, item_entry_id_); });
}

ScriptCallResult TOpenOutlookWindowImpl::GetEntryID(std::string& value) const {
    value.clear();
    return {};
}

ScriptCallResult TOpenOutlookWindowImpl::GetFolderEntryID(std::string& value) const {
    value.clear();
    return {};
}

// Whatever escapes a command must not reach the script, which would show an error box over
// the desktop.
ScriptCallResult TMKFAccessImpl::Run(void (PageCommands::*command)()) {
    GuardedHandler([this, command] { (window_.*command)(); },
                   [this](const std::string& text) { window_.DebugTrace(text); })();
    return {};
}

ScriptCallResult TMKFAccessImpl::Resize() {
    return Run(&PageCommands::ToggleWindowFrame);
}

ScriptCallResult TMKFAccessImpl::HomeClicked() {
    return Run(&PageCommands::GoHome);
}

ScriptCallResult TMKFAccessImpl::ForwardClicked() {
    return Run(&PageCommands::StepForward);
}

ScriptCallResult TMKFAccessImpl::BackClicked() {
    return Run(&PageCommands::StepBack);
}

}  // namespace planwarte
