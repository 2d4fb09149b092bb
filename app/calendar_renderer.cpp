#include "calendar_renderer.h"

#include "clsDate.h"
#include "settings.h"

#include <QGuiApplication>
#include <QPalette>

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
constexpr int kBlockWidth = 340; // from x0 to the picture's right edge
constexpr int kTopRowShift = 35; // rows 1 to 6 move up when row 0 is empty

// The desktop's system colours by their index, as the current palette has them.
std::optional<QColor> systemColour(unsigned index)
{
    const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette();
    using R = QPalette::ColorRole;
    using G = QPalette::ColorGroup;
    struct Entry {
        G group;
        R role;
    };
    // Index order of the desktop's colour list, from scroll bar (0) to menu bar (30).
    static constexpr std::array<Entry, 31> entries{{
        {G::Active, R::Mid},
        {G::Active, R::Window},
        {G::Active, R::Highlight},
        {G::Inactive, R::Mid},
        {G::Active, R::Window},
        {G::Active, R::Base},
        {G::Active, R::Shadow},
        {G::Active, R::WindowText},
        {G::Active, R::Text},
        {G::Active, R::HighlightedText},
        {G::Active, R::Window},
        {G::Inactive, R::Window},
        {G::Active, R::Dark},
        {G::Active, R::Highlight},
        {G::Active, R::HighlightedText},
        {G::Active, R::Button},
        {G::Active, R::Dark},
        {G::Disabled, R::Text},
        {G::Active, R::ButtonText},
        {G::Inactive, R::Text},
        {G::Active, R::Light},
        {G::Active, R::Shadow},
        {G::Active, R::Midlight},
        {G::Active, R::ToolTipText},
        {G::Active, R::ToolTipBase},
        {G::Active, R::Window},
        {G::Active, R::Link},
        {G::Active, R::Highlight},
        {G::Inactive, R::Highlight},
        {G::Active, R::Highlight},
        {G::Active, R::Window},
    }};
    if (index >= entries.size())
        return std::nullopt;
    return palette.color(entries[index].group, entries[index].role);
}

QColor fromBgr(std::uint32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

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

QColor calendarColour(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (ok && value >= 0 && value <= 0xFFFFFF)
        return fromBgr(std::uint32_t(value));
    // A system colour is stored as a negative 32-bit number (or its unsigned spelling).
    if (ok && value >= -0x80000000LL && value <= 0xFFFFFFFFLL) {
        const auto bits = std::uint32_t(value);
        if (bits & 0x80000000u)
            if (const auto colour = systemColour(bits & 0x7FFFFFFFu))
                return *colour;
    }
    return fromBgr(settings::DefaultCalendarColour);
}

QString monthYearHeader(QDate today)
{
    return today.toString(QStringLiteral("MM. yyyy"));
}

QString lunarMonthHeader(QDate today)
{
    static const std::array<QString, 12> numerals{"一", "二", "三", "四", "五",   "六",
                                                  "七", "八", "九", "十", "十一", "十二"};
    clsDate date;
    date.sInitDate(today.year(), today.month(), today.day());
    const int month = date.lMonth(); // 0 outside the lunar table
    const QString n = month >= 1 && month <= 12 ? numerals[std::size_t(month - 1)] : QString();
    return QStringLiteral("农历:") + n + QStringLiteral("月");
}

void printCalendar(TextSurface& surface, MonthGrid& grid, QDate today, const QString& colourText,
                   const QString& widthText)
{
    const QColor colour = calendarColour(colourText);
    bool ok = false;
    double width = widthText.trimmed().toDouble(&ok);
    if (!ok || !(width > 0))
        width = surface.width();
    const double x0 = width - kBlockWidth;
    const int shift = grid.Label3(0) == QLatin1String(" ") ? kTopRowShift : 0;

    grid.setLabel4(monthYearHeader(today));
    grid.setLabel5(lunarMonthHeader(today));

    surface.setFontName(QStringLiteral("Times New Roman"));
    surface.setBold(true);
    surface.setForeColor(colour);
    const auto printAt = [&](double x, double y, double points, const QString& text) {
        surface.setCurrentX(x);
        surface.setCurrentY(y);
        surface.setFontSize(points);
        surface.print(text);
    };
    QStringList weekdays;
    for (int i = 0; i < 7; ++i)
        weekdays << MonthGrid::Label1(i);
    printAt(x0 + 170, 40, 25, grid.Label4());
    printAt(x0 + 50, 55, 12, grid.Label5());
    printAt(x0 + 40, 80, 11, weekdays.join(QLatin1Char(' ')));

    const QString todayNumber = QString::number(today.day());
    const auto cellColour = [&](const QString& caption) {
        return dayPart(caption).trimmed() == todayNumber ? kTodayRed : colour;
    };
    // Each row prints its day numbers, then its lunar texts, cell by cell left to right.
    const auto printParts = [&](const Row& row, int y, double points, const std::array<int, 7>& xs,
                                QString (*part)(const QString&)) {
        surface.setFontSize(points);
        for (int c = 0; c < row.cells; ++c) {
            const QString& caption = grid.Label3(row.firstCell + c);
            surface.setCurrentX(x0 + xs[std::size_t(c)]);
            surface.setCurrentY(y);
            surface.setForeColor(cellColour(caption));
            surface.print(part(caption));
        }
    };
    for (std::size_t r = 0; r < kRows.size(); ++r) {
        const Row& row = kRows[r];
        const int rowShift = r == 0 ? 0 : shift;
        printParts(row, row.numberY - rowShift, 16, row.numberX, dayPart);
        printParts(row, row.lunarY - rowShift, 8, row.lunarX, lunarPart);
    }

    surface.setForeColor(kTodayRed);
    printAt(x0 + 45, (grid.Label3(36).isEmpty() ? 335 : 365) - shift, 9, grid.Label6());
}

void RenderCalendarWallpaper(picBuffer& surface, MonthGrid& grid, const ProfileFile& profile,
                             QDate today, const QString& zmPath)
{
    // Each run starts from the bare background: printing over an earlier calendar
    // would show both as soon as the date or the colour changed.
    surface.restartFromBackground();
    printCalendar(surface, grid, today, readSetting(profile, settings::CalendarColour),
                  readSetting(profile, settings::PictureWidth));
    saveBitmap(surface.composed(), zmPath);
}

} // namespace deskleaf
