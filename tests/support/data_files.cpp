#include "support/data_files.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace deskleaf::testdata {
namespace {

std::vector<std::vector<std::string>> rows(const std::string& name)
{
    const std::string path = std::string(DESKLEAF_DATA_DIR) + "/" + name;
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<std::vector<std::string>> result;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line[0] < '0' || line[0] > '9')
            continue;
        std::vector<std::string> fields;
        std::istringstream fieldStream(line);
        for (std::string field; std::getline(fieldStream, field, '\t');)
            fields.push_back(field);
        result.push_back(fields);
    }
    return result;
}

} // namespace

std::vector<LunarYear> lunarYears()
{
    std::vector<LunarYear> years;
    for (const auto& r : rows("lunar-years.tsv"))
        years.push_back(
            {std::stoi(r.at(0)), static_cast<std::uint32_t>(std::stoul(r.at(1), nullptr, 16))});
    return years;
}

std::vector<Term> solarTerms()
{
    std::vector<Term> terms;
    for (const auto& r : rows("solar-terms.tsv")) {
        const std::string& moment = r.at(3);
        terms.push_back({std::stoi(r.at(0)), std::stoi(r.at(1)), r.at(2),
                         std::stoi(moment.substr(5, 2)), std::stoi(moment.substr(8, 2))});
    }
    return terms;
}

std::vector<LunarDay> lunarDays()
{
    std::vector<LunarDay> days;
    for (const LunarYear& y : lunarYears()) {
        const int leap = static_cast<int>(y.info & 0xF);
        for (int m = 1; m <= 12; ++m) {
            const int length = (y.info >> (16 - m) & 1) ? 30 : 29;
            for (int d = 1; d <= length; ++d)
                days.push_back({y.year, m, d, false});
            if (m == leap) {
                const int leapLength = (y.info & 0x10000) ? 30 : 29;
                for (int d = 1; d <= leapLength; ++d)
                    days.push_back({y.year, m, d, true});
            }
        }
    }
    return days;
}

std::map<std::string, std::string> termDays()
{
    std::map<std::string, std::string> days;
    for (const Term& t : solarTerms()) {
        char key[16];
        std::snprintf(key, sizeof key, "%04d-%02d-%02d", t.year, t.month, t.day);
        days[key] = t.name;
    }
    return days;
}

} // namespace deskleaf::testdata
