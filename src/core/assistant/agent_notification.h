#pragma once

#include <cstdint>

namespace planwarte {

// The character's reports that the assistant acts on, numbered as the program's own messages
// for them.
enum class AgentNotification : std::uint32_t {
    Hidden = 0x1080,
    IdleStarted = 0x1098,
    IdleEnded = 0x1099,
    DoubleClick = 0x109A,
};

}  // namespace planwarte
