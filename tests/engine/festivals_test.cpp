#include "clsDate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>

using deskleaf::clsDate;

namespace {

clsDate on(int y, int m, int d)
{
    clsDate date;
    date.sInitDate(y, m, d);
    return date;
}

// Every day of Gregorian year y with a weekday festival, as "MM-DD" to its name.
std::map<std::string, std::string> weekdayFestivals(int y)
{
    using namespace std::chrono;
    std::map<std::string, std::string> found;
    for (sys_days day = sys_days{year{y} / January / 1}; day <= sys_days{year{y} / December / 31};
         day += days{1}) {
        const year_month_day ymd{day};
        const std::string text =
            on(y, int(unsigned(ymd.month())), int(unsigned(ymd.day()))).wHoliday();
        if (!text.empty()) {
            char key[8];
            std::snprintf(key, sizeof key, "%02u-%02u", unsigned(ymd.month()), unsigned(ymd.day()));
            found[key] = text;
        }
    }
    return found;
}

} // namespace

TEST(LunarFestivals, NewYearsEveIsTheLastDayOfTheYear)
{
    EXPECT_EQ(on(2024, 2, 9).lHoliday(), "除夕");  // lunar 2023-12-30
    EXPECT_EQ(on(2025, 1, 28).lHoliday(), "除夕"); // lunar 2024-12-29, a 29-day month 12

    const clsDate notEve = on(2024, 2, 8); // lunar 2023-12-29 of a 30-day month 12
    EXPECT_EQ(notEve.lHoliday(), "");
    EXPECT_EQ(notEve.lDay(), 29);
    EXPECT_EQ(notEve.SolarDate(), 45330);

    EXPECT_EQ(on(2101, 1, 28).lHoliday(), "除夕"); // the table's last day ends lunar 2100
}

TEST(LunarFestivals, FixedLunarDates)
{
    EXPECT_EQ(on(2024, 2, 10).lHoliday(), "春节");
    EXPECT_EQ(on(2024, 2, 24).lHoliday(), "元宵节");
    EXPECT_EQ(on(2024, 8, 18).lHoliday(), "中元节 盂兰盆节");
    EXPECT_EQ(on(2033, 9, 8).lHoliday(), "中秋节");
    EXPECT_EQ(on(2024, 2, 3).lHoliday(), "小年");
    EXPECT_EQ(on(2024, 3, 11).lHoliday(), ""); // lunar 2-2 has no festival
    // In 2009, whose leap month is 5, the leap 5-5 carries the Dragon Boat Festival too.
    EXPECT_EQ(on(2009, 5, 28).lHoliday(), "端午节");
    EXPECT_EQ(on(2009, 6, 27).lHoliday(), "端午节");
    EXPECT_TRUE(on(2009, 6, 27).IsLeap());
}

TEST(WeekdayFestivals, NthWeekdayOfTheMonth)
{
    const std::map<std::string, std::string> y2024{
        {"05-12", "国际母亲节"}, {"05-19", "全国助残日"}, {"06-16", "父亲节"},
        {"09-17", "国际和平日"}, {"09-22", "国际聋人节"}, {"10-02", "国际减轻自然灾害日"},
        {"10-07", "国际住房日"}, {"11-28", "感恩节"},
    };
    EXPECT_EQ(weekdayFestivals(2024), y2024);

    // May 1 2022 was a Sunday, and November 2022 had its fourth Sunday on the 27th:
    // counting Sundays from the first would move Mother's Day and lose Thanksgiving.
    const auto y2022 = weekdayFestivals(2022);
    EXPECT_EQ(y2022.at("05-08"), "国际母亲节");
    EXPECT_EQ(y2022.at("06-19"), "父亲节");
    EXPECT_EQ(y2022.at("11-24"), "感恩节");
    EXPECT_EQ(y2022.size(), 8u);

    EXPECT_EQ(on(2151, 11, 25).wHoliday(), "感恩节"); // Gregorian rules know no table end
}

TEST(SolarFestivals, AlwaysEmpty)
{
    EXPECT_EQ(on(2024, 1, 1).sHoliday(), "");
    EXPECT_EQ(on(2024, 10, 1).sHoliday(), "");
}
