// What the 休/班 marks add to a wallpaper's composition: loading the day-off files (shipped and
// the user's), filling the month grid with and without the marks, and printing the calendar
// of October 2026 (eight marks) with and without them on a 1920x1080 picture.
#include "model/calendar_renderer.h"
#include "model/official_days.h"
#include "model/settings.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

using namespace deskleaf;

namespace {

const QDate kToday(2026, 10, 1);

void loadFiles(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OfficialDays::load().day(kToday));
}
BENCHMARK(loadFiles)->Unit(benchmark::kMicrosecond);

MonthGrid grid(bool marks)
{
    MonthGrid grid(MonthGrid::Kind::Main);
    if (marks) {
        auto days = std::make_shared<const OfficialDays>(OfficialDays::load());
        grid.setDayMarks([days](QDate date) { return days->day(date); });
    }
    grid.fill(kToday, kToday, {});
    return grid;
}

void printOctober(benchmark::State& state)
{
    const MonthGrid month = grid(state.range(0) != 0);
    picBuffer surface;
    QImage picture(1920, 1080, QImage::Format_RGB32);
    picture.fill(QColor(40, 40, 60));
    surface.setBackground(picture);
    for (auto _ : state) {
        surface.restartFromBackground();
        printCalendar(surface, month, settings::DefaultCalendarColour);
    }
}
BENCHMARK(printOctober)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
