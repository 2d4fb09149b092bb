// Gregorian to lunar and back, and the year-table look-ups.
#include "engine/clsDate.h"

#include "engine/day_serial.h"

#include <ctime>
#include <stdexcept>
#include <string>

namespace deskleaf {
namespace {

using Info = std::uint32_t;

static_assert(sizeof(std::int32_t) == 4 && sizeof(Info) == 4);
static_assert(clsDate::YearInfo.size() == clsDate::kYears);

constexpr bool wellFormed(Info info)
{
    // Only bits 0-16 and the constant bit 20 may be set, and the leap month is 0-12.
    return (info & ~Info{0x11FFFF}) == 0 && (info & 0x100000) && (info & 0xF) <= 12;
}

constexpr const auto& YearStart = clsDate::YearStart;

constexpr bool tableIsSound()
{
    for (int i = 0; i < clsDate::kYears; ++i) {
        if (!wellFormed(static_cast<Info>(clsDate::YearInfo[i])))
            return false;
        if (clsDate::YearDays[i] < 353 || clsDate::YearDays[i] > 385)
            return false;
        // New Year falls between January 21 and February 20 of the same Gregorian year,
        // so the lunar year of a date is its Gregorian year or the one before.
        const serial::Civil ny = serial::toCivil(YearStart[i]);
        if (ny.year != clsDate::kFirstYear + i || (ny.month == 1 && ny.day < 21) ||
            (ny.month == 2 && ny.day > 20) || ny.month > 2)
            return false;
    }
    return true;
}
static_assert(tableIsSound());
static_assert(clsDate::YearDays[0] == 384 && clsDate::YearDays[1] == 354);
static_assert(YearStart[0] == serial::fromCivil(1900, 1, 31));
static_assert(YearStart[clsDate::kYears] - 1 == serial::fromCivil(2101, 1, 28));

std::string dateText(std::int32_t y, std::int32_t m, std::int32_t d)
{
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

std::int32_t yearIndex(std::int32_t y)
{
    if (y < clsDate::kFirstYear || y > clsDate::kLastYear)
        throw std::out_of_range("lunar year " + std::to_string(y) + " is outside the table (" +
                                std::to_string(clsDate::kFirstYear) + " to " +
                                std::to_string(clsDate::kLastYear) + ")");
    return y - clsDate::kFirstYear;
}

} // namespace

bool clsDate::GetBit(std::int32_t value, std::int32_t n) noexcept
{
    // Compared unsigned, so a negative n is out of range too.
    const auto bit = static_cast<std::uint32_t>(n);
    return bit < BitMasks.size() && (static_cast<Info>(value) & BitMasks[bit]) != 0;
}

std::int32_t clsDate::lYearDays(std::int32_t y)
{
    return YearDays[yearIndex(y)];
}

std::int32_t clsDate::lMonthDays(std::int32_t y, std::int32_t m)
{
    return GetBit(YearInfo[yearIndex(y)] & 0x1000FFFF, 16 - m) ? 30 : 29;
}

std::int32_t clsDate::lLeapMonth(std::int32_t y)
{
    return YearInfo[yearIndex(y)] & 0xF;
}

std::int32_t clsDate::lLeapDays(std::int32_t y)
{
    if (lLeapMonth(y) == 0)
        return 0;
    return (YearInfo[yearIndex(y)] & 0x10000) ? 30 : 29;
}

std::int32_t clsDate::sWeekDay() const noexcept
{
    return serial::weekday(serial());
}

bool clsDate::IsToday(std::int32_t y, std::int32_t m, std::int32_t d)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local.tm_year + 1900 == y && local.tm_mon + 1 == m && local.tm_mday == d;
}

void clsDate::sInitDate(std::int32_t y, std::int32_t m, std::int32_t d)
{
    if (!serial::isValid(y, m, d))
        throw std::invalid_argument("no such date: " + dateText(y, m, d));
    const std::int32_t s = serial::fromCivil(y, m, d);

    sYear_ = y;
    sMonth_ = m;
    sDay_ = d;
    SolarDate_ = s;
    lYear_ = lMonth_ = lDay_ = 0;
    IsLeap_ = false;
    if (s < YearStart[0] || s >= YearStart[kYears])
        return;

    // The lunar year is the Gregorian year or the one before (see tableIsSound).
    std::int32_t i = y - kFirstYear;
    if (i >= kYears || s < YearStart[i])
        --i;                                    // [0, kYears - 1]
    std::int32_t offset = s - YearStart[i] + 1; // day of the lunar year, [1, 385]

    const std::int32_t year = kFirstYear + i;
    const std::int32_t leap = lLeapMonth(year);
    bool isLeap = false;
    std::int32_t month = 1;
    std::int32_t length = 0;
    for (;; ++month) {
        // The leap month follows the regular month of the same number.
        if (month == leap + 1 && leap > 0 && !isLeap) {
            --month;
            isLeap = true;
            length = lLeapDays(year);
        } else {
            isLeap = false;
            length = lMonthDays(year, month);
        }
        if (offset <= length)
            break;
        offset -= length;
    }
    lYear_ = year;
    lMonth_ = month; // [1, 12]
    lDay_ = offset;  // [1, 30]
    IsLeap_ = isLeap;
}

void clsDate::lInitDate(std::int32_t y, std::int32_t m, std::int32_t d, bool isLeap)
{
    const std::int32_t index = yearIndex(y);
    if (m < 1 || m > 12)
        throw std::out_of_range("lunar month " + std::to_string(m) + " is not 1 to 12");

    const std::int32_t leap = lLeapMonth(y);
    const bool leapMonth = isLeap && m == leap;
    std::int64_t days = YearStart[index] - YearStart[0];
    for (std::int32_t j = 1; j < m; ++j)
        days += lMonthDays(y, j);
    if (leapMonth)
        days += lMonthDays(y, m); // the regular month m comes before its leap month
    else if (leap > 0 && m > leap)
        days += lLeapDays(y);
    const std::int64_t s = YearStart[0] - 1 + days + d;
    if (s < serial::kMinSerial || s > serial::kMaxSerial)
        throw std::out_of_range("lunar date " + dateText(y, m, d) +
                                " runs outside the years 1 to 9999");

    const serial::Civil civil = serial::toCivil(static_cast<std::int32_t>(s));
    lYear_ = y;
    lMonth_ = m;
    lDay_ = d;
    IsLeap_ = leapMonth;
    SolarDate_ = static_cast<double>(s);
    sYear_ = civil.year;
    sMonth_ = civil.month;
    sDay_ = civil.day;
}

} // namespace deskleaf
