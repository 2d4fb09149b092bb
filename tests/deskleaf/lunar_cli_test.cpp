// The real deskleaf binary, end to end.
#include "deskleaf/cli_runner.h"
#include "support/data_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

using Result = CliResult;

Result run(const std::string& args)
{
    return runDeskleaf(args);
}

std::vector<std::string> split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator))
        fields.push_back(field);
    if (!line.empty() && line.back() == separator)
        fields.emplace_back();
    return fields;
}

} // namespace

// The whole table in one run agrees with the reference files.
TEST(LunarCommand, WholeTableAgreesWithTheDataFiles)
{
    const Result r = run("lunar 1900-01-31 2101-01-28");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto days = deskleaf::testdata::lunarDays();
    const auto terms = deskleaf::testdata::termDays();

    std::istringstream lines(r.out);
    std::size_t i = 0;
    int eves = 0;
    for (std::string line; std::getline(lines, line); ++i) {
        ASSERT_LT(i, days.size());
        const auto f = split(line, '\t');
        ASSERT_EQ(f.size(), 12u) << line;
        const auto& want = days[i];
        ASSERT_EQ(f[2], std::to_string(want.year)) << line;
        ASSERT_EQ(f[3], std::to_string(want.month)) << line;
        ASSERT_EQ(f[4], std::to_string(want.day)) << line;
        ASSERT_EQ(f[5], want.leap ? "1" : "0") << line;
        const auto term = terms.find(f[0]);
        ASSERT_EQ(f[6], term == terms.end() ? "" : term->second) << line;
        const bool lastOfYear = i + 1 == days.size() || days[i + 1].year != want.year;
        ASSERT_EQ(f[7] == "除夕", lastOfYear) << line;
        eves += lastOfYear;
        ASSERT_FALSE(f[9].empty()) << line;
    }
    EXPECT_EQ(i, days.size());
    EXPECT_EQ(eves, 201);
}

TEST(LunarCommand, OneDayLine)
{
    const Result r = run("lunar 2024-02-10");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "2024-02-10\t7\t2024\t1\t1\t0\t\t春节\t\t初一\t休\t春节\n");
    EXPECT_EQ(run("lunar 2024-04-04 2024-04-04").out,
              "2024-04-04\t5\t2024\t2\t26\t0\t清明\t\t\t廿六\t休\t清明节\n");
    EXPECT_EQ(run("lunar 2024-05-12").out,
              "2024-05-12\t1\t2024\t4\t5\t0\t\t\t国际母亲节\t初五\t\t\n");
}

TEST(LunarCommand, OutsideTheTableTheLunarFieldsAreEmpty)
{
    const Result r = run("lunar 1900-01-29 1900-01-31");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1900-01-29\t2\t0\t0\t0\t0\t\t\t\t\t\t\n"
                     "1900-01-30\t3\t0\t0\t0\t0\t\t\t\t\t\t\n"
                     "1900-01-31\t4\t1900\t1\t1\t0\t\t春节\t\t初一\t\t\n");
    EXPECT_EQ(run("lunar 9999-12-31").out, "9999-12-31\t6\t0\t0\t0\t0\t\t\t\t\t\t\n");
}

TEST(LunarCommand, BadDatesAreErrors)
{
    for (const char* args :
         {"lunar 2023-02-29", "lunar 2024-13-01", "lunar 2024-1-1", "lunar 2024-01-01 tomorrow",
          "lunar 0000-01-01", "lunar", "lunar a b c", "frobnicate"}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err, "") << args;
    }
    EXPECT_EQ(
        run("lunar 2023-02-29").err,
        "deskleaf lunar: \"2023-02-29\" is not a date: write an existing day as YYYY-MM-DD\n");
}

TEST(LunarCommand, FromAfterToPrintsNothing)
{
    const Result r = run("lunar 2024-02-10 2024-02-09");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}
