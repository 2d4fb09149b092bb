#include "engine/clsDate.h"
#include "support/data_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

using deskleaf::clsDate;

namespace {

std::string termOn(int y, int m, int d)
{
    clsDate date;
    date.sInitDate(y, m, d);
    return date.lSolarTerm();
}

} // namespace

// Every day of 1900-2100 names exactly the term whose true moment falls on it.
TEST(SolarTerms, EveryDayMatchesTheTrueMoments)
{
    using namespace std::chrono;
    const auto expected = deskleaf::testdata::termDays();
    ASSERT_EQ(expected.size(), 201u * 24u);
    int named = 0;
    for (sys_days day = sys_days{1900y / January / 1}; day <= sys_days{2100y / December / 31};
         day += days{1}) {
        const year_month_day ymd{day};
        char key[16];
        std::snprintf(key, sizeof key, "%04d-%02u-%02u", int(ymd.year()), unsigned(ymd.month()),
                      unsigned(ymd.day()));
        const auto it = expected.find(key);
        const std::string want = it == expected.end() ? "" : it->second;
        ASSERT_EQ(termOn(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))),
                  want)
            << key;
        named += want.empty() ? 0 : 1;
    }
    EXPECT_EQ(named, 201 * 24);
}

TEST(SolarTerms, KnownDays)
{
    EXPECT_EQ(termOn(2024, 4, 4), "清明");
    EXPECT_EQ(termOn(2024, 4, 5), "");
    EXPECT_EQ(termOn(2000, 2, 4), "立春");
    EXPECT_EQ(termOn(2000, 12, 21), "冬至");
    EXPECT_EQ(termOn(2000, 1, 6), "小寒");
    // Days the mean tropical year alone gets wrong.
    EXPECT_EQ(termOn(2023, 6, 21), "夏至");
    EXPECT_EQ(termOn(2023, 6, 22), "");
    EXPECT_EQ(termOn(2026, 6, 5), "芒种");
    EXPECT_EQ(termOn(2026, 6, 6), "");
}

TEST(SolarTerms, NoneOutsideTheTableYears)
{
    EXPECT_EQ(termOn(1899, 12, 22), ""); // a winter solstice, but outside 1900-2100
    EXPECT_EQ(termOn(2101, 1, 5), "");
    EXPECT_EQ(clsDate().lSolarTerm(), ""); // a fresh instance holds no date
}

TEST(SolarTerms, LunarAndGregorianSetInstancesAgree)
{
    clsDate lunar;
    lunar.lInitDate(2024, 2, 26, false); // 2024-04-04
    EXPECT_EQ(lunar.sMonth(), 4);
    EXPECT_EQ(lunar.sDay(), 4);
    EXPECT_EQ(lunar.lSolarTerm(), "清明");
}
