#include "core/app/application_message_filter.h"

namespace planwarte {

bool FilterApplicationMessage(std::uint32_t message, const ApplicationMessageHandlers& handlers) {
    const auto kind = static_cast<ApplicationMessage>(message);
    switch (kind) {
        case ApplicationMessage::AssistantHidden:
        case ApplicationMessage::AssistantIdleStarted:
        case ApplicationMessage::AssistantIdleEnded:
        case ApplicationMessage::AssistantDoubleClick:
            if (handlers.assistant_notification) {
                handlers.assistant_notification(kind);
            }
            return true;
        case ApplicationMessage::MouseMove:
            if (handlers.mouse_moved) {
                handlers.mouse_moved();
            }
            return false;
    }
    return false;
}

}  // namespace planwarte
