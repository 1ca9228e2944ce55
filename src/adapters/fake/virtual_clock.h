#pragma once

#include <atomic>
#include <cstdint>

#include "core/app/clock.h"
#include "core/common/date_time.h"

namespace planwarte {

// Time that moves only when it is told to: by the virtual event loop, or by a test directly.
// Reading it is safe from any thread.
class VirtualClock : public Clock {
  public:
    static constexpr std::uint64_t kDefaultStartTickMs = 1'000'000;

    explicit VirtualClock(DateTime start, std::uint64_t start_tick_ms = kDefaultStartTickMs);

    DateTime Now() const override;
    std::uint64_t TickCountMs() const override;

    // Milliseconds since construction.
    std::int64_t ElapsedMs() const { return elapsed_ms_.load(); }

    // Moves time forward; time never runs backwards, so a negative step is rejected.
    void Advance(std::int64_t milliseconds);
    void AdvanceTo(std::int64_t elapsed_ms);

  private:
    const DateTime start_;
    const std::uint64_t start_tick_ms_;
    std::atomic<std::int64_t> elapsed_ms_{0};
};

}  // namespace planwarte
