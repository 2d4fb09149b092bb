#include "month_grid.h"

#include "clsDate.h"

namespace deskleaf {
namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The solar term of the day, else its lunar day name; empty outside the lunar table.
QString lunarText(const clsDate& date)
{
    const std::string term = date.lSolarTerm();
    return fromUtf8(term.empty() ? clsDate::CDayStr(date.lDay()) : term);
}

} // namespace

MonthGrid::MonthGrid(Kind kind) : kind_(kind)
{
    for (int i = 0; i < kCells; ++i)
        cells_[i].caption = initialCaption(i);
}

QString MonthGrid::initialCaption(int cell)
{
    // Cell 0's single blank tells the renderer that row 0 is empty.
    switch (cell) {
    case 0:
        return QStringLiteral(" ");
    case 4:
        return QStringLiteral("  ");
    default:
        return {};
    }
}

QString MonthGrid::Label1(int column)
{
    static const std::array<QString, 7> names{"周一", "周二", "周三", "周四",
                                              "周五", "周六", "周日"};
    return names.at(column);
}

QColor MonthGrid::Label1Colour(int column)
{
    return column < 5 ? QColor(0, 0, 255) : QColor(255, 0, 0);
}

void MonthGrid::page(QDate today, int months, const CustomTextLookup& customText)
{
    fill(today.addMonths(months), today, customText); // addMonths clamps the day
}

// The last year a date can have.
constexpr int kLastGregorianYear = 9999;

void MonthGrid::fill(QDate shown, QDate today, const CustomTextLookup& customText)
{
    shown_ = shown;
    today_ = today;
    monthStart_ = QDate(shown.year(), shown.month(), 1);
    if (kind_ == Kind::Picker) {
        label2_ = QStringLiteral("%1").arg(shown.month(), 2, 10, QLatin1Char('0'));
        label4_ = QStringLiteral("%1").arg(shown.year(), 4, 10, QLatin1Char('0'));
    } else {
        label4_ = monthYearHeader(today);
        label5_ = lunarMonthHeader(today);
    }

    // Cells the month does not reach go back to their initial captions, so a month
    // never shows stale days of an earlier one.
    for (int i = 0; i < kCells; ++i)
        cells_[i] = Cell{initialCaption(i), false, kCellColour, {}};

    const int start = monthStart_.dayOfWeek() % 7; // Qt: 1 = Monday ... 7 = Sunday
    const QString separator = kind_ == Kind::Main ? QStringLiteral(" ") : QStringLiteral("\r\n");
    for (int i = start, day = 0; i < kCells; ++i, ++day) {
        const QDate cellDate = monthStart_.addDays(day);
        if (cellDate.year() > kLastGregorianYear)
            break; // December 9999 ends where the calendar's dates do
        clsDate date;
        date.sInitDate(cellDate.year(), cellDate.month(), cellDate.day());
        if (kind_ == Kind::Picker)
            label5_ = QStringLiteral("农历:%1月").arg(date.lMonth());
        if (cellDate.month() != monthStart_.month())
            break;
        const QString lunar = lunarText(date);
        // Outside the lunar table the cell shows its day number alone.
        cells_[i].caption = lunar.isEmpty() && kind_ == Kind::Picker
                                ? QString::number(cellDate.day())
                                : QString::number(cellDate.day()) + separator + lunar;
        cells_[i].visible = kind_ == Kind::Picker;
        if (marks_)
            cells_[i].mark = marks_(cellDate);
        // The picker marks today only in today's month.
        if (kind_ == Kind::Picker && cellDate == today)
            cells_[i].colour = kTodayColour;
    }

    QString holiday;
    if (marks_) {
        if (const OfficialDay day = marks_(today); day.mark == DayMark::Off)
            holiday = day.name;
    }
    const QString text = todayText(today, customText, holiday);
    label6_ = text.isEmpty() ? QString() : QStringLiteral("今天是:") + text;
}

int MonthGrid::cellLeft(int cell) const
{
    return cell == 0 ? 3360 : 480 + 480 * ((cell - 1) % 7);
}

int MonthGrid::cellTop(int cell) const
{
    if (cell == 0)
        return 1080;
    const int row = (cell - 1) / 7; // [0, 5]
    if (cellZeroUsed())
        return 1680 + 600 * row;
    static constexpr std::array<int, 6> compact{1200, 1760, 2280, 2820, 3380, 4020};
    return compact[static_cast<std::size_t>(row)];
}

int MonthGrid::label6Top() const
{
    return cellZeroUsed() ? 4680 : 4000;
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

QString todayText(QDate today, const MonthGrid::CustomTextLookup& customText,
                  const QString& holidayName)
{
    clsDate date;
    date.sInitDate(today.year(), today.month(), today.day());
    const std::string festival = date.lHoliday();
    if (!festival.empty())
        return fromUtf8(festival);
    if (customText) {
        if (const auto text = customText(today.month(), today.day()))
            return *text;
    }
    return holidayName;
}

} // namespace deskleaf
