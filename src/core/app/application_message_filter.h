#pragma once

#include <cstdint>
#include <functional>

// The filter every message of the main thread passes before it is dispatched: the mouse moves
// that start the mouse-over check. The numbers of the assistant's reports are the program's
// own; those reports travel to the assistant through the event loop, and a message carrying
// one of their numbers is never dispatched.
namespace planwarte {

enum class ApplicationMessage : std::uint32_t {
    MouseMove = 0x0200,
};

struct ApplicationMessageHandlers {
    std::function<void()> mouse_moved{};
};

// True when the message was handled here and is not to be dispatched further. A mouse move is
// seen and still dispatched; any other message passes untouched.
bool FilterApplicationMessage(std::uint32_t message, const ApplicationMessageHandlers& handlers);

}  // namespace planwarte
