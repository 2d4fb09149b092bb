// Solar terms: a mean tropical year from the 1900 Minor Cold, corrected to the true days.
#include "engine/clsDate.h"

#include <cmath>

namespace deskleaf {
namespace {

constexpr std::int64_t kBaseMinute = 7 * 1440 + 125; // 1900-01-06 02:05, minutes since serial 0
constexpr double kTropicalYear = 525948.76;          // minutes (365.2421944 days)

// Serial of the day on which term i of Gregorian year y falls, y in the table's years.
std::int32_t termDay(std::int32_t y, std::int32_t i)
{
    const double minutes = (y - 1900) * kTropicalYear + clsDate::TermMinutes[i];
    const std::int64_t moment = kBaseMinute + std::llround(minutes);
    auto day = static_cast<std::int32_t>(moment / 1440);
    // The mean year misses the true day of about one term in twenty-five.
    const std::uint64_t fix = detail::kTermDayFix[y - 1900];
    if (fix >> i & 1)
        ++day;
    else if (fix >> (32 + i) & 1)
        --day;
    return day;
}

} // namespace

std::string clsDate::lSolarTerm() const
{
    // The term table covers the Gregorian years of the lunar table. Terms 2k and 2k + 1
    // always fall in month k + 1, so only those two can match.
    if (sYear_ < kFirstYear || sYear_ > kLastYear || sMonth_ < 1 || sMonth_ > 12)
        return {};
    const std::int32_t today = serial();
    for (std::int32_t i = 2 * (sMonth_ - 1); i < 2 * sMonth_; ++i)
        if (termDay(sYear_, i) == today)
            return std::string(TermNames[i]);
    return {};
}

} // namespace deskleaf
