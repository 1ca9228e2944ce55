#pragma once

#include <cstdint>
#include <ctime>

#include "core/app/clock.h"
#include "core/common/date_time.h"

namespace planwarte {

// The machine's clock: local wall-clock time with the system's time zone, and a monotonic
// millisecond counter that no clock adjustment moves.
class SystemClock : public Clock {
  public:
    DateTime Now() const override;
    std::uint64_t TickCountMs() const override;
};

// A broken-down local time (as localtime_r gives it) as a day count.
DateTime DateTimeFromLocalTime(const std::tm& local, int millisecond);

}  // namespace planwarte
