#pragma once

#include <cstdint>

#include "core/common/date_time.h"

namespace planwarte {

// The only way the core learns the time.
class Clock {
  public:
    virtual ~Clock() = default;
    // Local wall-clock time.
    virtual DateTime Now() const = 0;
    // Milliseconds of a monotonic counter (the system tick count).
    virtual std::uint64_t TickCountMs() const = 0;
};

}  // namespace planwarte
