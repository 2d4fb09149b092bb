// Festival look-ups: fixed lunar dates with New Year's Eve, weekday rules, fixed Gregorian dates.
#include "engine/clsDate.h"

namespace deskleaf {

std::string clsDate::lHoliday() const
{
    if (lYear_ == 0)
        return {}; // outside the table
    if (lMonth_ == 12 && (lDay_ == 29 || lDay_ == 30)) {
        // New Year's Eve is the last day of the lunar year, whichever length month 12 has.
        return serial() + 1 == YearStart[lYear_ - kFirstYear + 1] ? std::string("除夕")
                                                                  : std::string();
    }
    // A leap month carries the festivals of the regular month of the same number.
    for (const Festival& f : LunarFestivals)
        if (f.Month == lMonth_ && f.Day == lDay_)
            return std::string(f.Text);
    return {};
}

std::string clsDate::wHoliday() const
{
    // A row names the Day-th Weekday of its month; a later matching row wins.
    const std::int32_t weekday = sWeekDay();
    const std::int32_t nth = (sDay_ - 1) / 7 + 1;
    std::string_view result;
    for (const Festival& f : WeekdayFestivals)
        if (f.Month == sMonth_ && f.Weekday == weekday && f.Day == nth)
            result = f.Text;
    return std::string(result);
}

std::string clsDate::sHoliday() const
{
    for (const Festival& f : SolarFestivals)
        if (f.Month == sMonth_ && f.Day == sDay_)
            return std::string(f.Text);
    return {};
}

} // namespace deskleaf
