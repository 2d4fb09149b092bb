// What the calendar asks of the date object: a fresh instance per day cell.
#include "engine/clsDate.h"
#include "engine/day_serial.h"

#include <benchmark/benchmark.h>

#include <vector>

using deskleaf::clsDate;
namespace serial = deskleaf::serial;

namespace {

std::vector<serial::Civil> tableDays()
{
    std::vector<serial::Civil> days;
    for (std::int32_t s = serial::fromCivil(1900, 1, 31); s <= serial::fromCivil(2101, 1, 28); ++s)
        days.push_back(serial::toCivil(s));
    return days;
}

// sInitDate + lSolarTerm + CDayStr on a fresh instance, for every day of the table.
void BM_DayCell(benchmark::State& state)
{
    const auto days = tableDays();
    for (auto _ : state) {
        for (const serial::Civil& c : days) {
            clsDate date;
            date.sInitDate(c.year, c.month, c.day);
            std::string term = date.lSolarTerm();
            if (term.empty())
                term = clsDate::CDayStr(date.lDay());
            benchmark::DoNotOptimize(term);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(days.size()));
}
BENCHMARK(BM_DayCell)->Unit(benchmark::kMillisecond);

// One month grid: 37 cells and today's festival line.
void BM_MonthGrid(benchmark::State& state)
{
    for (auto _ : state) {
        const std::int32_t first = serial::fromCivil(2026, 12, 1) - 1; // a Tuesday: one cell before
        for (int cell = 0; cell < 37; ++cell) {
            const serial::Civil c = serial::toCivil(first + cell);
            clsDate date;
            date.sInitDate(c.year, c.month, c.day);
            std::string text = date.lSolarTerm();
            if (text.empty())
                text = clsDate::CDayStr(date.lDay());
            benchmark::DoNotOptimize(text);
        }
        clsDate today;
        today.sInitDate(2026, 12, 8);
        std::string caption = today.lHoliday();
        benchmark::DoNotOptimize(caption);
    }
}
BENCHMARK(BM_MonthGrid)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
