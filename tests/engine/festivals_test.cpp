#include "engine/clsDate.h"
#include "support/data_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

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

TEST(LunarFestivals, EachOnItsLunarDateInTheReferenceTable)
{
    // The festivals' own list, written apart from the engine's table: a row moved there
    // to another day must fail here.
    const std::map<std::pair<int, int>, std::string> festivals{
        {{1, 1}, "春节"},       {{1, 15}, "元宵节"},          {{5, 5}, "端午节"},
        {{7, 7}, "七夕情人节"}, {{7, 15}, "中元节 盂兰盆节"}, {{8, 15}, "中秋节"},
        {{9, 9}, "重阳节"},     {{12, 8}, "腊八节"},          {{12, 24}, "小年"},
    };
    // 1900: the table's first year, leap month 8, so two Mid-Autumn days; 2009: leap month
    // 5, two Dragon Boat days; 2023: leap month 2, none; 2024: a 29-day month 12, so New
    // Year's Eve on 12-29; 2033: the leap month 11 the commonly published table misplaces;
    // 2100: the table's last year.
    const std::set<int> years{1900, 2009, 2023, 2024, 2033, 2100};

    // Lunar dates of every day from the reference words alone, day serial 32 (1900-01-31) on.
    const std::vector<deskleaf::testdata::LunarDay> table = deskleaf::testdata::lunarDays();
    using namespace std::chrono;
    const sys_days serialZero = sys_days{year{1899} / December / 30};
    int checked = 0, named = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& lunar = table[i];
        if (!years.contains(lunar.year))
            continue;
        const bool lastOfYear = i + 1 == table.size() || table[i + 1].year != lunar.year;
        std::string expected;
        if (lastOfYear)
            expected = "除夕";
        else if (const auto f = festivals.find({lunar.month, lunar.day}); f != festivals.end())
            expected = f->second; // a leap month carries its regular month's festivals
        const year_month_day ymd{serialZero + days{32 + static_cast<int>(i)}};
        const int y = int(ymd.year()), m = int(unsigned(ymd.month())), d = int(unsigned(ymd.day()));
        const clsDate date = on(y, m, d);
        ASSERT_EQ(date.lMonth(), lunar.month) << y << "-" << m << "-" << d;
        ASSERT_EQ(date.lDay(), lunar.day) << y << "-" << m << "-" << d;
        ASSERT_EQ(date.IsLeap(), lunar.leap) << y << "-" << m << "-" << d;
        EXPECT_EQ(date.lHoliday(), expected)
            << y << "-" << m << "-" << d << ", lunar " << lunar.year << "-"
            << (lunar.leap ? "leap " : "") << lunar.month << "-" << lunar.day;
        ++checked;
        named += expected.empty() ? 0 : 1;
    }
    // Every day of the six years was looked at: ten named days a year, and the leap
    // Mid-Autumn of 1900 and leap Dragon Boat of 2009.
    EXPECT_GT(checked, 6 * 353);
    EXPECT_EQ(named, 6 * 10 + 2);
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
