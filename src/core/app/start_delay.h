#pragma once

namespace planwarte {

class Clock;
class EventLoop;
class SettingsStore;

inline constexpr int kMaxStartDelaySeconds = 60;

// The delay before start-up, in seconds. A first start (no UseDelay stored) stores
// UseDelay = true and does not wait this time.
int ReadStartDelaySeconds(SettingsStore& settings);

// Sleeps in whole seconds until the delay has passed since the call.
void WaitStartDelay(const Clock& clock, EventLoop& loop, int seconds);

}  // namespace planwarte
