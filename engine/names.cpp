// Chinese names: weekday, lunar day, stem-branch, zodiac, numerals, era, star sign.
#include "engine/clsDate.h"

#include "engine/day_serial.h"

#include <stdexcept>

namespace deskleaf {
namespace {

[[noreturn]] void outOfTable(const char* what, std::int32_t value)
{
    throw std::out_of_range(std::string(what) + " " + std::to_string(value) +
                            " has no entry in its table");
}

// The table entry at index; an index outside the table names the value it came from.
template <std::size_t N>
std::string_view entry(const std::array<std::string_view, N>& table, std::int32_t index,
                       const char* what, std::int32_t value)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        outOfTable(what, value);
    return table[static_cast<std::size_t>(index)];
}

bool isBlank(char c)
{
    return c == ' ';
}

} // namespace

std::string clsDate::sWeekDayStr() const
{
    static constexpr std::array<std::string_view, 7> names{"星期日", "星期一", "星期二", "星期三",
                                                           "星期四", "星期五", "星期六"};
    return std::string(names[static_cast<std::size_t>(sWeekDay() - 1)]);
}

std::string clsDate::CDayStr(std::int32_t d)
{
    switch (d) {
    case 0:
        return {};
    case 10:
        return "初十";
    case 20:
        return "二十";
    case 30:
        return "三十";
    default:
        break;
    }
    std::string text(entry(TensTable, d / 10, "lunar day", d));
    text += entry(DigitTable, d % 10, "lunar day", d);
    return text;
}

std::string clsDate::GanZhi(std::int32_t y)
{
    const std::int32_t k = (y - 1864) % 60; // 1864 was a 甲子 year
    std::string text(entry(GanTable, k % 10, "year", y));
    text += entry(ZhiTable, k % 12, "year", y);
    return text;
}

std::string clsDate::YearAttribute(std::int32_t y)
{
    return std::string(entry(AnimalTable, (y - 1900) % 12, "year", y));
}

std::string clsDate::CDigit(std::string_view text)
{
    // The leading number of the text, blanks skipped, as a digit name: 0 is 零, 1 to 9
    // their numerals, anything else (10, 1.5, -3) the empty text. No number reads as 0.
    static constexpr std::array<std::string_view, 10> numerals{"零", "一", "二", "三", "四",
                                                               "五", "六", "七", "八", "九"};
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    double value = 0;
    double scale = 0; // 0 before the decimal point, then 0.1, 0.01, ...
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t')
            continue;
        if (c == '.' && scale == 0) {
            scale = 0.1;
        } else if (c >= '0' && c <= '9') {
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                value += scale * (c - '0');
                scale /= 10;
            }
            if (value > 10)
                return {};
        } else {
            break;
        }
    }
    if (value == 0)
        return std::string(numerals[0]);
    if (negative || value != static_cast<int>(value) || value > 9)
        return {};
    return std::string(numerals[static_cast<std::size_t>(value)]);
}

std::string clsDate::UpNumber(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    // Place names by position from the right (1-based); a zero at a place of its own
    // (万, 亿) still writes the place name.
    static constexpr std::array<std::string_view, 10> places{"",   "",   "十", "百", "千",
                                                             "万", "十", "百", "千", "亿"};
    static constexpr std::array<std::string_view, 10> zeroPlaces{"",   "",   "零", "零", "零",
                                                                 "万", "零", "零", "零", "亿"};
    const auto startsWith = [](const std::string& s, std::string_view p) {
        return s.compare(0, p.size(), p) == 0;
    };

    std::string result;
    std::size_t end = text.size();
    for (std::size_t position = 1; end > 0; ++position) {
        // One character from the right; a UTF-8 character is one character too.
        std::size_t begin = end - 1;
        while (begin > 0 && (static_cast<unsigned char>(text[begin]) & 0xC0) == 0x80)
            --begin;
        std::string s = CDigit(text.substr(begin, end - begin));
        end = begin;

        if (s == "零")
            s = position < places.size() ? std::string(zeroPlaces[position]) : s;
        else if (position < places.size())
            s += places[position];
        if (s == "零" &&
            (startsWith(result, "零") || startsWith(result, "万") || startsWith(result, "亿")))
            continue;
        result.insert(0, s);
    }
    return result;
}

std::string clsDate::Era(std::int32_t y)
{
    const auto n = [](std::int32_t x) { return UpNumber(std::to_string(x)); };
    if (y <= 1873)
        return "未知";
    if (y == 1874)
        return "清朝光绪元年";
    if (y <= 1908)
        return "清朝光绪" + n(y - 1874) + "年";
    if (y == 1909)
        return "清朝宣统元年";
    if (y == 1910)
        return "清朝宣统" + n(y - 1909 + 1) + "年";
    if (y == 1912)
        return "中华民国元年";
    if (y <= 1948)
        return "中华民国" + n(y - 1912 + 1) + "年"; // 1911 gives n(0), the empty text
    if (y == 1949)
        return "中华人民共和国成立了";
    if (y == 2000)
        return "千禧年";
    return "中华人民共和国成立" + n(y - 1949) + "周年";
}

std::string clsDate::Constellation(std::int32_t m, std::int32_t d)
{
    if (!serial::isValid(2000, m, d)) // 2000 is a leap year, so 2-29 is a day
        throw std::invalid_argument("no such month and day: " + std::to_string(m) + "-" +
                                    std::to_string(d));
    struct Sign {
        std::int32_t from; // month * 100 + day, inclusive
        std::int32_t to;
        std::string_view name;
    };
    static constexpr std::array<Sign, 13> signs{{
        {321, 419, "白羊"},
        {420, 520, "金牛"},
        {521, 621, "双子"},
        {622, 722, "巨蟹"},
        {723, 822, "狮子"},
        {823, 922, "处女"},
        {923, 1023, "天秤"},
        {1024, 1121, "天蝎"},
        {1122, 1221, "射手"},
        {1222, 1231, "摩蝎"},
        {101, 119, "摩蝎"},
        {120, 218, "水瓶"},
        {219, 320, "双鱼"},
    }};
    const std::int32_t day = m * 100 + d;
    for (const Sign& s : signs)
        if (day >= s.from && day <= s.to)
            return std::string(s.name);
    return {}; // unreachable: the ranges cover the year
}

} // namespace deskleaf
