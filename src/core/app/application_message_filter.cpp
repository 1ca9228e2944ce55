#include "core/app/application_message_filter.h"

#include "core/assistant/agent_notification.h"

namespace planwarte {

bool FilterApplicationMessage(std::uint32_t message, const ApplicationMessageHandlers& handlers) {
    switch (message) {
        case static_cast<std::uint32_t>(AgentNotification::Hidden):
        case static_cast<std::uint32_t>(AgentNotification::IdleStarted):
        case static_cast<std::uint32_t>(AgentNotification::IdleEnded):
        case static_cast<std::uint32_t>(AgentNotification::DoubleClick):
            return true;
        case static_cast<std::uint32_t>(ApplicationMessage::MouseMove):
            if (handlers.mouse_moved) {
                handlers.mouse_moved();
            }
            return false;
        default:
            return false;
    }
}

}  // namespace planwarte
