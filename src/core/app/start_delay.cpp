#include "core/app/start_delay.h"

#include <algorithm>
#include <cstdint>

#include "core/app/clock.h"
#include "core/app/event_loop.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

int ReadStartDelaySeconds(SettingsStore& settings) {
    auto key = settings.OpenKey(kSettingsKeyPath, true);
    if (!key) {
        return 0;
    }
    // The settings dialog offers 0 to 60 seconds; a hand-edited value outside that range must
    // not keep the program from starting for hours.
    const int delay = std::clamp(ReadIntegerOr(*key, "Delay", 3), 0, kMaxStartDelaySeconds);
    try {
        return key->ReadBool("UseDelay") ? delay : 0;
    } catch (const SettingsError&) {
        key->WriteBool("UseDelay", true);
        return 0;
    }
}

void WaitStartDelay(const Clock& clock, EventLoop& loop, int seconds) {
    const std::uint64_t start = clock.TickCountMs();
    const std::uint64_t until =
        start + static_cast<std::uint64_t>(seconds < 0 ? 0 : seconds) * 1000;
    // Checks once a second, so the wait ends at the first whole second past the delay.
    while (clock.TickCountMs() < until) {
        loop.Sleep(1000);
    }
}

}  // namespace planwarte
