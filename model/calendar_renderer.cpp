#include "model/calendar_renderer.h"

#include "controls/system_colour.h"
#include "model/settings.h"

#include <QGuiApplication>
#include <QPalette>
#include <QtMath>

#include <array>

namespace deskleaf {
namespace {

struct Row {
    int numberY; // before the top-row shift
    int lunarY;
    int firstCell;
    int cells;
    std::array<int, 7> numberX; // offsets from x0
    std::array<int, 7> lunarX;
};

// Placed by hand, row by row: the offsets are not a formula.
constexpr std::array<Row, 7> kRows{{
    {95, 120, 0, 1, {275}, {270}},
    {135, 155, 1, 7, {50, 85, 125, 165, 205, 240, 275}, {45, 80, 115, 155, 195, 233, 270}},
    {170, 195, 8, 7, {50, 80, 115, 155, 195, 235, 273}, {45, 75, 115, 155, 195, 233, 270}},
    {210, 235, 15, 7, {45, 80, 120, 160, 195, 235, 272}, {45, 80, 115, 155, 195, 233, 270}},
    {250, 275, 22, 7, {45, 80, 120, 160, 195, 235, 272}, {45, 80, 115, 155, 195, 233, 270}},
    {290, 315, 29, 7, {45, 80, 115, 158, 192, 235, 272}, {45, 80, 115, 155, 195, 233, 270}},
    {330, 350, 36, 1, {45}, {45}},
}};
constexpr int kTopRowShift = 35; // rows 1 to 6 move up when row 0 is empty

// Today's line starts under the first day column and wraps before the day columns' right edge,
// 40 pixels in from the block's as the weekdays start 40 in from its left, on at most three
// lines: clear of the screen's edge and of the desktop's icons.
constexpr int kTodayLineX = 45;
constexpr int kTodayLineRight = 300;
constexpr int kTodayLineMaxLines = 3;

// A cell's 休 or 班 sits right of its day number, level with the top of the digits: the
// narrowest gap after a two-digit number is 13 pixels (rows 3 to 6), the square is 11.
constexpr double kDigitWidth = 10.5; // a digit of the 16-point numbers
constexpr int kMarkGap = 1;
constexpr int kMarkDrop = 3;
constexpr double kMarkPoints = 6.75; // a 9-pixel glyph

// The day part of a cell: its first two characters, untrimmed ("7 " for the 7th).
QString dayPart(const QString& caption)
{
    return caption.left(2);
}

// The lunar part: the last two characters of what follows the day number, so that a
// day without a lunar text does not print its number twice.
QString lunarPart(const QString& caption)
{
    const qsizetype blank = caption.indexOf(QLatin1Char(' '));
    if (blank > 0)
        return caption.mid(blank + 1).right(2);
    return caption.size() < 2 ? caption : QString();
}

} // namespace

QColor shownColour(qint32 colour)
{
    const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette();
    return translateColour(colour, palette).value_or(plainColour(settings::DefaultCalendarColour));
}

void printCalendar(TextSurface& surface, const MonthGrid& grid, qint32 calendarColour, double scale)
{
    const double blockWidth = kCalendarBlockWidth * scale;
    if (surface.width() < blockWidth)
        throw PictureError(QStringLiteral("The picture is %1 pixels wide, narrower than the "
                                          "calendar's %2: the calendar would not be seen whole.")
                               .arg(surface.width())
                               .arg(qCeil(blockWidth))
                               .toStdString());
    const QColor colour = shownColour(calendarColour);
    const double x0 = surface.width() - blockWidth;
    const int shift = grid.Label3(0) == QLatin1String(" ") ? kTopRowShift : 0;

    surface.setFontName(QStringLiteral("Times New Roman"));
    surface.setBold(true);
    surface.setForeColor(colour);
    // Offsets and sizes are drawn for 100 %; x0 is already in the screen's pixels.
    const auto printAt = [&](double x, double y, double points, const QString& text) {
        surface.setCurrentX(x0 + x * scale);
        surface.setCurrentY(y * scale);
        surface.setFontSize(points * scale);
        surface.print(text);
    };
    QStringList weekdays;
    for (int i = 0; i < 7; ++i)
        weekdays << MonthGrid::Label1(i, grid.sundayFirst());
    printAt(170, 40, 25, grid.Label4());
    printAt(50, 55, 12, grid.Label5());
    printAt(40, 80, 11, weekdays.join(QLatin1Char(' ')));

    const QString todayNumber = QString::number(grid.today().day());
    const auto cellColour = [&](const QString& caption) {
        return dayPart(caption).trimmed() == todayNumber ? kTodayRed : colour;
    };
    // Each row prints its day numbers, then its lunar texts, cell by cell left to right.
    const auto printParts = [&](const Row& row, int y, double points, const std::array<int, 7>& xs,
                                QString (*part)(const QString&)) {
        surface.setFontSize(points * scale);
        for (int c = 0; c < row.cells; ++c) {
            const QString& caption = grid.Label3(row.firstCell + c);
            surface.setCurrentX(x0 + xs[std::size_t(c)] * scale);
            surface.setCurrentY(y * scale);
            surface.setForeColor(cellColour(caption));
            surface.print(part(caption));
        }
    };
    const auto printMarks = [&](const Row& row, int y) {
        for (int c = 0; c < row.cells; ++c) {
            const OfficialDay& day = grid.cellMark(row.firstCell + c);
            if (day.mark == DayMark::None)
                continue;
            const qsizetype digits = dayPart(grid.Label3(row.firstCell + c)).trimmed().size();
            surface.setFontSize(kMarkPoints * scale);
            surface.setCurrentX(
                x0 + (row.numberX[std::size_t(c)] + digits * kDigitWidth + kMarkGap) * scale);
            surface.setCurrentY((y + kMarkDrop) * scale);
            surface.printBadge(dayMarkText(day.mark),
                               day.mark == DayMark::Off ? kDayOffSquare : kWorkdaySquare);
        }
    };
    for (std::size_t r = 0; r < kRows.size(); ++r) {
        const Row& row = kRows[r];
        const int rowShift = r == 0 ? 0 : shift;
        printParts(row, row.numberY - rowShift, 16, row.numberX, dayPart);
        printMarks(row, row.numberY - rowShift);
        printParts(row, row.lunarY - rowShift, 8, row.lunarX, lunarPart);
    }

    surface.setForeColor(kTodayRed);
    surface.setCurrentX(x0 + kTodayLineX * scale);
    surface.setCurrentY(((grid.Label3(36).isEmpty() ? 335 : 365) - shift) * scale);
    surface.setFontSize(9 * scale);
    surface.printWrapped(grid.Label6(), (kTodayLineRight - kTodayLineX) * scale,
                         kTodayLineMaxLines);
}

void RenderCalendarWallpaper(picBuffer& surface, const MonthGrid& grid, const ProfileFile& profile,
                             double scale)
{
    // Each run starts from the bare background: printing over an earlier calendar
    // would show both as soon as the date or the colour changed.
    surface.restartFromBackground();
    printCalendar(surface, grid, calendarColour(profile), scale);
}

} // namespace deskleaf
