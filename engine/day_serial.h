// Day serials: days since 1899-12-30 in the proleptic Gregorian calendar.
#pragma once

#include <chrono>
#include <cstdint>

namespace deskleaf::serial {

inline constexpr std::int32_t kMinYear = 1;
inline constexpr std::int32_t kMaxYear = 9999;

// 1899-12-30 lies 25569 days before 1970-01-01, the epoch of std::chrono::sys_days.
inline constexpr std::int32_t kUnixEpoch = 25569;

struct Civil {
    std::int32_t year;
    std::int32_t month;
    std::int32_t day;
};

// True for a date that exists, with a year from 1 to 9999.
constexpr bool isValid(std::int32_t y, std::int32_t m, std::int32_t d) noexcept
{
    if (y < kMinYear || y > kMaxYear || m < 1 || m > 12 || d < 1 || d > 31)
        return false;
    using namespace std::chrono;
    return year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}}
        .ok();
}

// The serial of a valid date.
constexpr std::int32_t fromCivil(std::int32_t y, std::int32_t m, std::int32_t d) noexcept
{
    using namespace std::chrono;
    const sys_days days{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
    return static_cast<std::int32_t>(days.time_since_epoch().count()) + kUnixEpoch;
}

// The date of a serial whose year lies in 1 to 9999.
constexpr Civil toCivil(std::int32_t s) noexcept
{
    using namespace std::chrono;
    const year_month_day ymd{sys_days{days{s - kUnixEpoch}}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

inline constexpr std::int32_t kMinSerial = fromCivil(kMinYear, 1, 1);   // -693593
inline constexpr std::int32_t kMaxSerial = fromCivil(kMaxYear, 12, 31); // 2958465

static_assert(fromCivil(1900, 1, 1) == 2);
static_assert(fromCivil(2000, 1, 1) == 36526);
static_assert(kMinSerial == -693593 && kMaxSerial == 2958465);

// 1 = Sunday ... 7 = Saturday; serial 0 (1899-12-30) was a Saturday.
constexpr std::int32_t weekday(std::int32_t s) noexcept
{
    const std::int32_t r = (s + 6) % 7;
    return (r < 0 ? r + 7 : r) + 1; // [1, 7]
}

} // namespace deskleaf::serial
