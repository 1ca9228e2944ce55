#include "adapters/fake/virtual_clock.h"

#include <stdexcept>

namespace planwarte {

namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;

}  // namespace

VirtualClock::VirtualClock(DateTime start, std::uint64_t start_tick_ms)
    : start_(start), start_tick_ms_(start_tick_ms) {}

DateTime VirtualClock::Now() const {
    return DateTime(start_.value + static_cast<double>(elapsed_ms_.load()) / kMillisecondsPerDay);
}

std::uint64_t VirtualClock::TickCountMs() const {
    return start_tick_ms_ + static_cast<std::uint64_t>(elapsed_ms_.load());
}

void VirtualClock::Advance(std::int64_t milliseconds) {
    if (milliseconds < 0) {
        throw std::invalid_argument("virtual time cannot run backwards");
    }
    elapsed_ms_.fetch_add(milliseconds);
}

void VirtualClock::AdvanceTo(std::int64_t elapsed_ms) {
    Advance(elapsed_ms - ElapsedMs());
}

}  // namespace planwarte
