#include "engine/clsDate.h"
#include "support/throws.h"

#include <gtest/gtest.h>

#include <stdexcept>

using deskleaf::clsDate;

TEST(Names, LunarDayTexts)
{
    const std::pair<int, const char*> rows[] = {
        {0, ""},          {1, "初一"},      {9, "初九"},  {10, "初十"}, {11, "十一"},
        {19, "十九"},     {20, "二十"},     {21, "廿一"}, {29, "廿九"}, {30, "三十"},
        {31, "卅一"},     {40, "\u3000日"}, // runs past any real day but stays inside the tables
        {49, "\u3000九"},
    };
    for (const auto& [day, text] : rows)
        EXPECT_EQ(clsDate::CDayStr(day), text) << day;
    EXPECT_THROW(clsDate::CDayStr(50), std::out_of_range);
    EXPECT_THROW(clsDate::CDayStr(-1), std::out_of_range);
    EXPECT_THROW(clsDate::CDayStr(-10), std::out_of_range);
}

TEST(Names, StemBranchAndZodiac)
{
    EXPECT_EQ(clsDate::GanZhi(1864), "甲子");
    EXPECT_EQ(clsDate::GanZhi(1924), "甲子");
    EXPECT_EQ(clsDate::GanZhi(1984), "甲子");
    EXPECT_EQ(clsDate::GanZhi(2024), "甲辰");
    EXPECT_EQ(clsDate::GanZhi(1804), "甲子"); // a multiple of 60 before 1864 still works
    EXPECT_THROW(clsDate::GanZhi(1863), std::out_of_range);
    EXPECT_EQ(clsDate::YearAttribute(1900), "鼠");
    EXPECT_EQ(clsDate::YearAttribute(1984), "鼠");
    EXPECT_EQ(clsDate::YearAttribute(2024), "龙");
    EXPECT_EQ(clsDate::YearAttribute(1888), "鼠");
    EXPECT_THROW_MSG(clsDate::YearAttribute(1899), std::out_of_range,
                     ::testing::StrEq("year 1899 has no entry in its table"));
}

TEST(Names, ChineseNumerals)
{
    const std::pair<const char*, const char*> rows[] = {
        {"0", ""},
        {"5", "五"},
        {"10", "一十"}, // a ten at the front keeps its 一
        {"15", "一十五"},
        {"20", "二十"},
        {"34", "三十四"},
        {"100", "一百零"}, // a round hundred keeps a trailing 零
        {"101", "一百零一"},
        {"110", "一百一十"},
        {"1000", "一千零"},
        {"1010", "一千零一十"},
        {"10000", "一万零"},
        {"100000000", "一亿万零"}, // the 万 place is written even when it is zero
        {"123456789", "一亿二千三百四十五万六千七百八十九"},
        {"1200000", "一百二十万零"},
        {"  7  ", "七"},
        {"", ""},
        {"   ", ""},
        {"1x", "一十"}, // a character that is no digit reads as 零
    };
    for (const auto& [text, numeral] : rows)
        EXPECT_EQ(clsDate::UpNumber(text), numeral) << '"' << text << '"';
}

TEST(Names, EraBoundaries)
{
    const std::pair<int, const char*> rows[] = {
        {1873, "未知"},
        {1874, "清朝光绪元年"},
        {1875, "清朝光绪一年"}, // the Guangxu count has no + 1
        {1908, "清朝光绪三十四年"},
        {1909, "清朝宣统元年"},
        {1910, "清朝宣统二年"},
        {1911, "中华民国年"},
        {1912, "中华民国元年"},
        {1913, "中华民国二年"},
        {1921, "中华民国一十年"},
        {1948, "中华民国三十七年"},
        {1949, "中华人民共和国成立了"},
        {1950, "中华人民共和国成立一周年"},
        {1999, "中华人民共和国成立五十周年"},
        {2000, "千禧年"},
        {2001, "中华人民共和国成立五十二周年"},
        {2024, "中华人民共和国成立七十五周年"},
        {2049, "中华人民共和国成立一百零周年"},
    };
    for (const auto& [year, text] : rows)
        EXPECT_EQ(clsDate::Era(year), text) << year;
}

TEST(Names, StarSigns)
{
    EXPECT_EQ(clsDate::Constellation(12, 22), "摩蝎");
    EXPECT_EQ(clsDate::Constellation(1, 19), "摩蝎");
    EXPECT_EQ(clsDate::Constellation(1, 20), "水瓶");
    EXPECT_EQ(clsDate::Constellation(2, 29), "双鱼");
    EXPECT_EQ(clsDate::Constellation(3, 21), "白羊");
    EXPECT_EQ(clsDate::Constellation(3, 20), "双鱼");
    EXPECT_THROW(clsDate::Constellation(2, 30), std::invalid_argument);
    EXPECT_THROW(clsDate::Constellation(4, 31), std::invalid_argument);
    EXPECT_THROW(clsDate::Constellation(13, 1), std::invalid_argument);
}

TEST(Names, WeekdayNames)
{
    clsDate date;
    date.sInitDate(2000, 1, 2);
    EXPECT_EQ(date.sWeekDayStr(), "星期日");
    date.sInitDate(2000, 1, 1);
    EXPECT_EQ(date.sWeekDayStr(), "星期六");
}
