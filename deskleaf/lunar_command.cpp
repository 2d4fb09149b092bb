#include "deskleaf/lunar_command.h"

#include "deskleaf/arguments.h"
#include "engine/clsDate.h"
#include "engine/day_serial.h"
#include "model/official_days.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace deskleaf::cli {
namespace {

void appendNumber(std::string& line, std::int32_t value, int width = 0)
{
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        line.append(static_cast<std::size_t>(width) - digits.size(), '0');
    line += digits;
}

} // namespace

int runLunar(const Arguments& args, std::ostream& out, std::ostream& err)
{
    std::int32_t range[2] = {};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string_view text = args.words[std::min(i, args.words.size() - 1)];
        const auto date = parseDate(text);
        if (!date) {
            err << "deskleaf lunar: \"" << text
                << "\" is not a date: write an existing day as YYYY-MM-DD\n";
            return 2;
        }
        range[i] = *date;
    }

    const OfficialDays official = OfficialDays::load();
    std::pair<int, bool> markedYear{0, false}; // a year, and whether any file names its days
    std::string buffer;
    buffer.reserve(1 << 16);
    for (std::int32_t s = range[0]; s <= range[1]; ++s) {
        const serial::Civil c = serial::toCivil(s);
        clsDate date;
        date.sInitDate(c.year, c.month, c.day);
        appendNumber(buffer, c.year, 4);
        buffer += '-';
        appendNumber(buffer, c.month, 2);
        buffer += '-';
        appendNumber(buffer, c.day, 2);
        for (const std::int32_t n : {date.sWeekDay(), date.lYear(), date.lMonth(), date.lDay(),
                                     static_cast<std::int32_t>(date.IsLeap())}) {
            buffer += '\t';
            appendNumber(buffer, n);
        }
        for (const std::string& text :
             {date.lSolarTerm(), date.lHoliday(), date.wHoliday(), clsDate::CDayStr(date.lDay())}) {
            buffer += '\t';
            buffer += text;
        }
        // Years no file can name (most of the table) are not looked up day by day.
        if (c.year != markedYear.first)
            markedYear = {c.year, official.year(c.year) || official.year(c.year + 1)};
        buffer += '\t';
        if (const OfficialDay day =
                markedYear.second ? official.day(QDate(c.year, c.month, c.day)) : OfficialDay{};
            day.mark != DayMark::None)
            buffer += (dayMarkText(day.mark) + u'\t' + day.name).toStdString();
        else
            buffer += '\t';
        buffer += '\n';
        if (buffer.size() > (1 << 16) - 256) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    out.flush();
    if (!out) {
        err << "deskleaf lunar: could not write the output\n";
        return 1;
    }
    return 0;
}

} // namespace deskleaf::cli
