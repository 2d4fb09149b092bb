#include "deskleaf/arguments.h"

#include "engine/day_serial.h"

#include <charconv>

namespace deskleaf::cli {
namespace {

// A run of exactly `length` digits at `at`.
std::optional<int> digits(std::string_view text, std::size_t at, std::size_t length)
{
    if (at + length > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<std::int32_t> parseDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = digits(text, 0, 4), m = digits(text, 5, 2), d = digits(text, 8, 2);
    if (!y || !m || !d || !serial::isValid(*y, *m, *d))
        return std::nullopt;
    return serial::fromCivil(*y, *m, *d);
}

std::optional<QDate> parseQDate(std::string_view text)
{
    const auto s = parseDate(text);
    if (!s)
        return std::nullopt;
    const serial::Civil c = serial::toCivil(*s);
    return QDate(c.year, c.month, c.day);
}

std::optional<QDate> parseMonth(std::string_view text)
{
    if (text.size() != 7 || text[4] != '-')
        return std::nullopt;
    const auto y = digits(text, 0, 4), m = digits(text, 5, 2);
    if (!y || !m || !serial::isValid(*y, *m, 1))
        return std::nullopt;
    return QDate(*y, *m, 1);
}

std::optional<QSize> parseSize(std::string_view text)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos || x == 0 || x + 1 == text.size() || x > 5 ||
        text.size() - x - 1 > 5)
        return std::nullopt;
    const auto w = digits(text, 0, x), h = digits(text, x + 1, text.size() - x - 1);
    if (!w || !h || *w < 1 || *h < 1 || *w > kMaxScreenSide || *h > kMaxScreenSide)
        return std::nullopt;
    return QSize(*w, *h);
}

} // namespace deskleaf::cli
