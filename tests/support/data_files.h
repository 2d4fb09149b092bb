// Readers for the reference tables in data/: the lunar year words and the true moments
// of the solar terms. Tests compare the engine against these files, not against itself.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace deskleaf::testdata {

struct LunarYear {
    int year;
    std::uint32_t info;
};

struct Term {
    int year;
    int index;
    std::string name;
    int month; // of the true moment, China Standard Time
    int day;
};

std::vector<LunarYear> lunarYears();
std::vector<Term> solarTerms();

// Lunar date of each day from 1900-01-31 on, decoded from the year words alone.
struct LunarDay {
    int year, month, day;
    bool leap;
};
std::vector<LunarDay> lunarDays();

// "YYYY-MM-DD" of a true term day to the term's name.
std::map<std::string, std::string> termDays();

} // namespace deskleaf::testdata
