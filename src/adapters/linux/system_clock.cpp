#include "adapters/linux/system_clock.h"

#include <time.h>

#include <cstdint>

namespace planwarte {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Days from 30 December 1899 to 1 January 1970.
constexpr std::int64_t kUnixEpochDay = 25569;

// Days since 1 January 1970 of a proleptic Gregorian date (after H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t year_of_era = year - era * 400;
    const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

}  // namespace

DateTime DateTimeFromLocalTime(const std::tm& local, int millisecond) {
    const std::int64_t day =
        DaysFromCivil(std::int64_t{local.tm_year} + 1900, local.tm_mon + 1, local.tm_mday) +
        kUnixEpochDay;
    const double seconds =
        local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + millisecond / 1000.0;
    const double fraction = seconds / kSecondsPerDay;
    // Before the epoch the time still counts forward from the (negative) day.
    return DateTime(day >= 0 ? static_cast<double>(day) + fraction
                             : static_cast<double>(day) - fraction);
}

DateTime SystemClock::Now() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const time_t seconds = now.tv_sec;
    std::tm local{};
    localtime_r(&seconds, &local);
    return DateTimeFromLocalTime(local, static_cast<int>(now.tv_nsec / 1'000'000));
}

std::uint64_t SystemClock::TickCountMs() const {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
           static_cast<std::uint64_t>(now.tv_nsec / 1'000'000);
}

}  // namespace planwarte
