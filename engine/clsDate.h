// The date object: one Gregorian date and the Chinese lunar date that falls on it,
// with the names the calendar prints for it (solar term, festivals, lunar day text).
//
// Callers make a fresh instance per date, set it with sInitDate (or lInitDate) and read
// it. The tables are constexpr and shared by every instance, so an instance is six ints,
// a flag and a serial: constructing one per day cell costs nothing.
//
// Dates are pivoted on a day serial: days since 1899-12-30 (1900-01-01 is 2,
// 2000-01-01 is 36526), proleptic Gregorian. Weekdays are 1 = Sunday ... 7 = Saturday.
// The lunar table covers 1900-01-31 (lunar 1900-1-1) to 2101-01-28 (lunar 2100-12-29).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace deskleaf {

namespace detail {
#include "engine/lunar_tables.inc"
} // namespace detail

class clsDate {
public:
    // One row of a festival table. In WeekdayFestivals, Day is the n of "n-th Weekday
    // of the month"; the other tables do not read Weekday.
    struct Festival {
        std::int32_t Month;
        std::int32_t Day;
        std::int32_t Weekday;
        std::string_view Text;
    };

    static constexpr int kFirstYear = 1900; // first lunar year of the table
    static constexpr int kLastYear = 2100;  // last lunar year of the table
    static constexpr int kYears = kLastYear - kFirstYear + 1;

    // Packed month lengths of lunar year 1900 + index:
    //   bits 0-3   leap month number, 0 = none
    //   bits 4-15  regular month m has 30 days when bit (16 - m) is set, else 29
    //   bit 16     the leap month has 30 days when set, else 29
    //   bit 20     always set, carries nothing
    static constexpr std::array<std::int32_t, kYears> YearInfo = detail::kYearInfo;

    // Days of lunar year 1900 + index, derived from YearInfo so the two cannot disagree.
    static constexpr std::array<std::int32_t, kYears> YearDays = [] {
        std::array<std::int32_t, kYears> days{};
        for (int i = 0; i < kYears; ++i) {
            const std::uint32_t info = static_cast<std::uint32_t>(YearInfo[i]);
            int sum = 12 * 29;
            for (std::uint32_t bit = 0x8000; bit > 0x8; bit >>= 1)
                sum += (info & bit) ? 1 : 0;
            if (info & 0xF)
                sum += (info & 0x10000) ? 30 : 29;
            days[i] = sum; // [353, 385]
        }
        return days;
    }();

    // Serial of lunar New Year's Day of 1900 + index; the last entry is the day after
    // the table. The serial of 1900-01-31 is 32.
    static constexpr std::array<std::int32_t, kYears + 1> YearStart = [] {
        std::array<std::int32_t, kYears + 1> start{};
        start[0] = 32;
        for (int i = 0; i < kYears; ++i)
            start[i + 1] = start[i] + YearDays[i];
        return start;
    }();

    // Entry n is 2 to the power n.
    static constexpr std::array<std::uint32_t, 32> BitMasks = [] {
        std::array<std::uint32_t, 32> masks{};
        for (std::uint32_t n = 0; n < 32; ++n)
            masks[n] = std::uint32_t{1} << n;
        return masks;
    }();

    static constexpr std::array<std::string_view, 24> TermNames{
        "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
        "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
        "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
    // Minutes from the moment of Minor Cold to each term, within one year.
    static constexpr std::array<std::int32_t, 24> TermMinutes{
        0,      21208,  42467,  63836,  85337,  107014, 128867, 150921,
        173149, 195551, 218072, 240693, 263343, 285989, 308563, 331033,
        353350, 375494, 397447, 419210, 440795, 462224, 483532, 504758};

    static constexpr std::array<std::string_view, 10> GanTable{"甲", "乙", "丙", "丁", "戊",
                                                               "己", "庚", "辛", "壬", "癸"};
    static constexpr std::array<std::string_view, 12> ZhiTable{"子", "丑", "寅", "卯", "辰", "巳",
                                                               "午", "未", "申", "酉", "戌", "亥"};
    static constexpr std::array<std::string_view, 12> AnimalTable{
        "鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
    static constexpr std::array<std::string_view, 11> DigitTable{"日", "一", "二", "三", "四", "五",
                                                                 "六", "七", "八", "九", "十"};
    // The last entry is the ideographic space U+3000.
    static constexpr std::array<std::string_view, 5> TensTable{"初", "十", "廿", "卅", "\u3000"};

    static constexpr std::array<Festival, 9> LunarFestivals{{
        {1, 1, 0, "春节"},
        {1, 15, 0, "元宵节"},
        {5, 5, 0, "端午节"},
        {7, 7, 0, "七夕情人节"},
        {7, 15, 0, "中元节 盂兰盆节"},
        {8, 15, 0, "中秋节"},
        {9, 9, 0, "重阳节"},
        {12, 8, 0, "腊八节"},
        {12, 24, 0, "小年"},
    }};
    static constexpr std::array<Festival, 8> WeekdayFestivals{{
        {5, 2, 1, "国际母亲节"},
        {5, 3, 1, "全国助残日"},
        {6, 3, 1, "父亲节"},
        {9, 3, 3, "国际和平日"},
        {9, 4, 1, "国际聋人节"},
        {10, 1, 2, "国际住房日"},
        {10, 1, 4, "国际减轻自然灾害日"},
        {11, 4, 5, "感恩节"},
    }};
    // Fixed Gregorian dates come from the user's own festival texts, not from here.
    static constexpr std::array<Festival, 0> SolarFestivals{};

    // Read-only properties.
    std::string lSolarTerm() const;
    std::string wHoliday() const;
    std::string lHoliday() const;
    std::string sHoliday() const;
    bool IsLeap() const noexcept { return IsLeap_; }
    std::int32_t lDay() const noexcept { return lDay_; }
    std::int32_t lMonth() const noexcept { return lMonth_; }
    std::int32_t lYear() const noexcept { return lYear_; }
    std::int32_t sWeekDay() const noexcept;
    std::string sWeekDayStr() const;
    std::int32_t sDay() const noexcept { return sDay_; }
    std::int32_t sMonth() const noexcept { return sMonth_; }
    std::int32_t sYear() const noexcept { return sYear_; }
    // The Gregorian date held, as a day serial.
    double SolarDate() const noexcept { return SolarDate_; }

    // True when the system's current local date is y-m-d; ignores the instance's date.
    static bool IsToday(std::int32_t y, std::int32_t m, std::int32_t d);
    static std::string Era(std::int32_t y);
    static std::string GanZhi(std::int32_t y);
    static std::string YearAttribute(std::int32_t y);
    // The decimal number in text written in Chinese numerals ("110" gives 一百一十).
    static std::string UpNumber(std::string_view text);
    static std::string CDayStr(std::int32_t d);
    static std::string Constellation(std::int32_t m, std::int32_t d);

    // Sets a Gregorian date (years 1 to 9999). Inside the table it also computes the
    // lunar date; outside it the lunar fields are 0. Throws std::invalid_argument for
    // a date that does not exist, leaving the instance unchanged.
    void sInitDate(std::int32_t y, std::int32_t m, std::int32_t d);
    // Sets lunar year y (1900-2100), month m (1-12), day d; isLeap picks the leap
    // month when m is the year's leap month. d is not checked against the month's
    // length: it runs on into the following days. Throws std::out_of_range, leaving the
    // instance unchanged, for a year or month outside the table.
    void lInitDate(std::int32_t y, std::int32_t m, std::int32_t d, bool isLeap);

private:
    static bool GetBit(std::int32_t value, std::int32_t n) noexcept;
    static std::string CDigit(std::string_view text);
    static std::int32_t lYearDays(std::int32_t y);
    static std::int32_t lMonthDays(std::int32_t y, std::int32_t m);
    static std::int32_t lLeapDays(std::int32_t y);
    static std::int32_t lLeapMonth(std::int32_t y);
    std::int32_t serial() const noexcept { return static_cast<std::int32_t>(SolarDate_); }

    std::int32_t sYear_ = 0;
    std::int32_t sMonth_ = 0;
    std::int32_t sDay_ = 0;
    std::int32_t lYear_ = 0;
    std::int32_t lMonth_ = 0;
    std::int32_t lDay_ = 0;
    bool IsLeap_ = false;
    double SolarDate_ = 0; // day serial, 0 is 1899-12-30
};

} // namespace deskleaf
