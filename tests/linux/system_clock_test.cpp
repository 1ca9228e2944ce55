#include "adapters/linux/system_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <thread>

namespace planwarte {
namespace {

std::tm LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm value{};
    value.tm_year = year - 1900;
    value.tm_mon = month - 1;
    value.tm_mday = day;
    value.tm_hour = hour;
    value.tm_min = minute;
    value.tm_sec = second;
    return value;
}

TEST(SystemClockTest, LocalTimeBecomesDayCount) {
    struct Case {
        const char* name;
        std::tm local;
        int millisecond;
        double expected;
    };
    const Case cases[] = {
        {"epoch", LocalTime(1899, 12, 30), 0, 0.0},
        {"first of 1900", LocalTime(1900, 1, 1), 0, 2.0},
        {"unix epoch", LocalTime(1970, 1, 1), 0, 25569.0},
        {"leap day of a century leap year", LocalTime(2000, 2, 29, 18), 0, 36585.75},
        {"after a leap day", LocalTime(2024, 3, 1, 12), 0, 45352.5},
        {"last second of a year", LocalTime(2023, 12, 31, 23, 59, 59), 0,
         45291.0 + 86399.0 / 86400.0},
        {"milliseconds", LocalTime(2000, 1, 1), 500, 36526.0 + 0.5 / 86400.0},
        {"before the epoch the time counts forward", LocalTime(1899, 12, 29, 6), 0, -1.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(DateTimeFromLocalTime(c.local, c.millisecond).value, c.expected, 1e-9);
    }
}

// Sets the time zone for one test and puts the old one back.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::optional<std::string> old_;
};

TEST(SystemClockTest, NowIsLocalTime) {
    // Three hours east of UTC, without daylight saving time.
    ScopedTimeZone zone("PWT-3");
    const double utc_days = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0;
    const double now = SystemClock().Now().value;
    EXPECT_NEAR(now - utc_days, 3.0 / 24.0, 5.0 / 86400.0);
}

TEST(SystemClockTest, TickCountIsMonotonicMilliseconds) {
    const SystemClock clock;
    const auto before = clock.TickCountMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(clock.TickCountMs() - before, 20u);
}

}  // namespace
}  // namespace planwarte
