#pragma once

#include <cstdint>
#include <functional>

// The filter every message of the main thread passes before it is dispatched: the assistant's
// notifications, which arrive as private messages of the main window, and the mouse moves
// that start the mouse-over check.
namespace planwarte {

enum class ApplicationMessage : std::uint32_t {
    AssistantHidden = 0x1080,
    AssistantIdleStarted = 0x1098,
    AssistantIdleEnded = 0x1099,
    AssistantDoubleClick = 0x109A,
    MouseMove = 0x0200,
};

struct ApplicationMessageHandlers {
    // The four assistant notifications; empty while there is no assistant.
    std::function<void(ApplicationMessage)> assistant_notification{};
    std::function<void()> mouse_moved{};
};

// True when the message was handled here and is not to be dispatched further. A mouse move is
// seen and still dispatched; any other message passes untouched.
bool FilterApplicationMessage(std::uint32_t message, const ApplicationMessageHandlers& handlers);

}  // namespace planwarte
