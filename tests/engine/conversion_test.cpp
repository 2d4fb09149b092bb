#include "engine/clsDate.h"
#include "support/data_files.h"
#include "support/throws.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

using deskleaf::clsDate;

namespace {

struct Lunar {
    int year, month, day;
    bool leap;
};

Lunar lunarOf(int y, int m, int d)
{
    clsDate date;
    date.sInitDate(y, m, d);
    return {date.lYear(), date.lMonth(), date.lDay(), date.IsLeap()};
}

} // namespace

TEST(Conversion, KnownDates)
{
    struct Row {
        int y, m, d;
        Lunar lunar;
    };
    const Row rows[] = {
        {1900, 1, 31, {1900, 1, 1, false}}, // first day of the table
        {2024, 2, 10, {2024, 1, 1, false}}, // New Year in February
        {2023, 3, 22, {2023, 2, 1, true}},  // first day of a leap month
        {2023, 4, 19, {2023, 2, 29, true}}, // last day of a 29-day leap month
        {2020, 5, 23, {2020, 4, 1, true}},
        {2050, 1, 22, {2049, 12, 29, false}}, // the old table's last day
        {2050, 1, 23, {2050, 1, 1, false}},   // New Year in January, now inside the table
        {2101, 1, 28, {2100, 12, 29, false}}, // last day of the table
        // Years whose commonly published words misplace a month or the leap month.
        {2033, 8, 25, {2033, 8, 1, false}},
        {2033, 9, 8, {2033, 8, 15, false}},
        {2033, 12, 22, {2033, 11, 1, true}}, // leap month 11, not 7
        {2034, 1, 20, {2033, 12, 1, false}},
        {1996, 7, 16, {1996, 6, 1, false}},
        {1954, 11, 25, {1954, 11, 1, false}},
        {1956, 12, 2, {1956, 11, 1, false}},
        {1978, 9, 2, {1978, 7, 30, false}},
        {1933, 7, 22, {1933, 5, 30, true}},
    };
    for (const Row& r : rows) {
        const Lunar got = lunarOf(r.y, r.m, r.d);
        SCOPED_TRACE(std::to_string(r.y) + "-" + std::to_string(r.m) + "-" + std::to_string(r.d));
        EXPECT_EQ(got.year, r.lunar.year);
        EXPECT_EQ(got.month, r.lunar.month);
        EXPECT_EQ(got.day, r.lunar.day);
        EXPECT_EQ(got.leap, r.lunar.leap);
    }
}

TEST(Conversion, YearTableMatchesReferenceFile)
{
    const auto years = deskleaf::testdata::lunarYears();
    ASSERT_EQ(years.size(), clsDate::YearInfo.size());
    for (std::size_t i = 0; i < years.size(); ++i) {
        EXPECT_EQ(years[i].year, 1900 + static_cast<int>(i));
        EXPECT_EQ(static_cast<std::uint32_t>(clsDate::YearInfo[i]), years[i].info) << years[i].year;
    }
    EXPECT_EQ(clsDate::YearDays[0], 384);
    EXPECT_EQ(clsDate::YearDays[1], 354);
    EXPECT_EQ(clsDate::YearDays[2049 - 1900], 355);
}

// One walk over every day of the table, against the reference file decoded
// independently: the round trip holds, the serial and weekday advance by one, and the
// lunar day advances by one or restarts at 1 in the next month.
TEST(Conversion, EveryDayOfTheTable)
{
    using namespace std::chrono;
    const auto reference = deskleaf::testdata::lunarDays();
    ASSERT_EQ(reference.size(), 73412u); // 1900-01-31 to 2101-01-28

    sys_days day = sys_days{1900y / January / 31};
    double previousSerial = 31; // 1900-01-30
    int previousWeekday = 3;    // 1900-01-30 was a Tuesday
    for (const auto& expected : reference) {
        const year_month_day ymd{day};
        const int y = int(ymd.year()), m = int(unsigned(ymd.month())), d = int(unsigned(ymd.day()));
        clsDate date;
        date.sInitDate(y, m, d);
        const std::string where =
            std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
        ASSERT_EQ(date.lYear(), expected.year) << where;
        ASSERT_EQ(date.lMonth(), expected.month) << where;
        ASSERT_EQ(date.lDay(), expected.day) << where;
        ASSERT_EQ(date.IsLeap(), expected.leap) << where;
        ASSERT_EQ(date.SolarDate(), previousSerial + 1) << where;
        ASSERT_EQ(date.sWeekDay(), previousWeekday % 7 + 1) << where;

        clsDate back;
        back.lInitDate(expected.year, expected.month, expected.day, expected.leap);
        ASSERT_EQ(back.sYear(), y) << where;
        ASSERT_EQ(back.sMonth(), m) << where;
        ASSERT_EQ(back.sDay(), d) << where;
        ASSERT_EQ(back.SolarDate(), date.SolarDate()) << where;
        ASSERT_EQ(back.IsLeap(), expected.leap) << where;

        previousSerial = date.SolarDate();
        previousWeekday = date.sWeekDay();
        day += days{1};
    }
}

TEST(Conversion, LeapMonthFollowsItsRegularMonth)
{
    // 2023 has a leap second month: regular 2 ends on 03-21, leap 2 runs 03-22 to 04-19.
    const Lunar lastRegular = lunarOf(2023, 3, 21);
    EXPECT_EQ(lastRegular.month, 2);
    EXPECT_EQ(lastRegular.day, 30);
    EXPECT_FALSE(lastRegular.leap);
    const Lunar afterLeap = lunarOf(2023, 4, 20);
    EXPECT_EQ(afterLeap.month, 3);
    EXPECT_EQ(afterLeap.day, 1);
    EXPECT_FALSE(afterLeap.leap);

    clsDate regular, leap;
    regular.lInitDate(2023, 2, 10, false);
    leap.lInitDate(2023, 2, 10, true);
    EXPECT_EQ(leap.SolarDate() - regular.SolarDate(), 30); // regular month 2 has 30 days
    EXPECT_TRUE(leap.IsLeap());

    // The flag means nothing for a month that is not the year's leap month.
    clsDate notLeap;
    notLeap.lInitDate(2023, 3, 1, true);
    EXPECT_FALSE(notLeap.IsLeap());
    EXPECT_EQ(notLeap.sMonth(), 4);
    EXPECT_EQ(notLeap.sDay(), 20);
}

TEST(Conversion, GregorianFieldsAreThoseGiven)
{
    clsDate date;
    date.sInitDate(2000, 1, 1);
    EXPECT_EQ(date.sYear(), 2000);
    EXPECT_EQ(date.sMonth(), 1);
    EXPECT_EQ(date.sDay(), 1);
    EXPECT_EQ(date.SolarDate(), 36526);
    EXPECT_EQ(date.sWeekDay(), 7); // a Saturday
}

TEST(Conversion, DaysBeyondTheMonthRunOn)
{
    clsDate date;
    date.lInitDate(2024, 1, 31, false); // lunar 2024-1 has 29 days
    EXPECT_EQ(date.sYear(), 2024);
    EXPECT_EQ(date.sMonth(), 3);
    EXPECT_EQ(date.sDay(), 11); // two days into lunar month 2 (2024-03-10)
    EXPECT_EQ(date.lDay(), 31);
}

TEST(Conversion, OutsideTheTableKeepsTheGregorianDate)
{
    const int dates[][3] = {
        {1900, 1, 30}, {2101, 1, 29}, {1, 1, 1}, {9999, 12, 31}, {1582, 10, 10}};
    for (const auto& d : dates) {
        clsDate date;
        date.sInitDate(2024, 2, 10); // lunar fields set by an earlier call
        date.sInitDate(d[0], d[1], d[2]);
        EXPECT_EQ(date.sYear(), d[0]);
        EXPECT_EQ(date.sMonth(), d[1]);
        EXPECT_EQ(date.sDay(), d[2]);
        EXPECT_EQ(date.lYear(), 0);
        EXPECT_EQ(date.lMonth(), 0);
        EXPECT_EQ(date.lDay(), 0);
        EXPECT_FALSE(date.IsLeap());
        EXPECT_EQ(date.lHoliday(), "");
        EXPECT_EQ(clsDate::CDayStr(date.lDay()), "");
    }
    clsDate first;
    first.sInitDate(1, 1, 1);
    EXPECT_EQ(first.SolarDate(), -693593);
    EXPECT_EQ(first.sWeekDay(), 2); // 0001-01-01 was a Monday
}

TEST(Conversion, ImpossibleDatesThrowAndChangeNothing)
{
    clsDate date;
    date.sInitDate(2024, 2, 10);
    const int bad[][3] = {{2023, 13, 1}, {2023, 2, 29}, {2024, 1, 0}, {2024, 4, 31},
                          {0, 1, 1},     {10000, 1, 1}, {2024, 0, 5}, {2024, 1, 257}};
    for (const auto& b : bad) {
        EXPECT_THROW(date.sInitDate(b[0], b[1], b[2]), std::invalid_argument);
        EXPECT_EQ(date.sYear(), 2024);
        EXPECT_EQ(date.sMonth(), 2);
        EXPECT_EQ(date.lDay(), 1);
        EXPECT_EQ(date.SolarDate(), 45332);
    }
    EXPECT_THROW_MSG(date.sInitDate(2023, 2, 29), std::invalid_argument,
                     ::testing::StrEq("no such date: 2023-2-29"));
}

TEST(Conversion, LunarDatesOutsideTheTableThrowAndChangeNothing)
{
    clsDate date;
    date.sInitDate(2024, 2, 10);
    EXPECT_THROW_MSG(date.lInitDate(1899, 1, 1, false), std::out_of_range,
                     ::testing::StrEq("lunar year 1899 is outside the table (1900 to 2100)"));
    EXPECT_THROW_MSG(date.lInitDate(2101, 1, 1, false), std::out_of_range,
                     ::testing::StrEq("lunar year 2101 is outside the table (1900 to 2100)"));
    EXPECT_THROW_MSG(date.lInitDate(2024, 13, 1, false), std::out_of_range,
                     ::testing::StrEq("lunar month 13 is not 1 to 12"));
    EXPECT_THROW(date.lInitDate(2024, 0, 1, false), std::out_of_range);
    EXPECT_THROW(date.lInitDate(2100, 12, 2147483647, false), std::out_of_range);
    EXPECT_EQ(date.lYear(), 2024);
    EXPECT_EQ(date.lMonth(), 1);
    EXPECT_EQ(date.lDay(), 1);
    EXPECT_EQ(date.sYear(), 2024);
}

TEST(Conversion, IsTodayLooksAtTheClockNotTheInstance)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int y = local.tm_year + 1900, m = local.tm_mon + 1, d = local.tm_mday;

    clsDate past, fresh;
    past.sInitDate(1900, 1, 31);
    EXPECT_TRUE(past.IsToday(y, m, d));
    EXPECT_TRUE(fresh.IsToday(y, m, d));
    EXPECT_FALSE(past.IsToday(1900, 1, 31));
    EXPECT_FALSE(past.IsToday(y + 1, m, d));
}
