#include "model/month_grid.h"

#include "engine/clsDate.h"

#include <QStringList>

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

QString MonthGrid::Label1(int column, bool sundayFirst)
{
    static const std::array<QString, 7> names{"周一", "周二", "周三", "周四",
                                              "周五", "周六", "周日"};
    return names.at(std::size_t(sundayFirst ? (column + 6) % 7 : column));
}

QColor MonthGrid::Label1Colour(int column, bool sundayFirst)
{
    const int monday = sundayFirst ? (column + 6) % 7 : column; // 0 = Monday ... 6 = Sunday
    return monday < 5 ? QColor(0, 0, 255) : QColor(255, 0, 0);
}

int MonthGrid::firstCell() const
{
    const int weekday = monthStart_.dayOfWeek() % 7; // Qt: 1 = Monday ... 7 = Sunday
    return sundayFirst_ ? (weekday + 1) % 7 : weekday;
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
        label5_ = lunarMonthHeader(shown); // the shown day's lunar month, as the wallpaper
    } else {
        label4_ = monthYearHeader(today);
        label5_ = lunarMonthHeader(today);
    }

    // Cells the month does not reach go back to their initial captions, so a month
    // never shows stale days of an earlier one.
    for (int i = 0; i < kCells; ++i)
        cells_[i] = Cell{initialCaption(i), false, kCellColour, {}};

    const int start = firstCell();
    const QString separator = kind_ == Kind::Main ? QStringLiteral(" ") : QStringLiteral("\r\n");
    for (int i = start, day = 0; i < kCells; ++i, ++day) {
        const QDate cellDate = monthStart_.addDays(day);
        if (cellDate.year() > kLastGregorianYear)
            break; // December 9999 ends where the calendar's dates do
        if (cellDate.month() != monthStart_.month())
            break;
        clsDate date;
        date.sInitDate(cellDate.year(), cellDate.month(), cellDate.day());
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
    const QString text = todayText(today, customText, holiday, lunarTexts_);
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

const std::array<QString, 12> kMonthNumerals{"一", "二", "三", "四", "五",   "六",
                                             "七", "八", "九", "十", "十一", "十二"};

std::optional<LunarDay> lunarDayOf(QDate day)
{
    if (!day.isValid() || day.year() < 1 || day.year() > kLastGregorianYear)
        return std::nullopt;
    clsDate date;
    date.sInitDate(day.year(), day.month(), day.day());
    if (date.lMonth() < 1 || date.lMonth() > 12 || date.lDay() < 1)
        return std::nullopt;
    return LunarDay{date.lMonth(), date.lDay(), date.IsLeap()};
}

QString lunarDayName(int month, int day)
{
    if (month < 1 || month > 12)
        return {};
    return kMonthNumerals[std::size_t(month - 1)] + QStringLiteral("月") +
           fromUtf8(clsDate::CDayStr(day));
}

QString lunarMonthHeader(QDate today)
{
    const auto& numerals = kMonthNumerals;
    clsDate date;
    date.sInitDate(today.year(), today.month(), today.day());
    const int month = date.lMonth(); // 0 outside the lunar table
    const QString n = month >= 1 && month <= 12 ? numerals[std::size_t(month - 1)] : QString();
    return QStringLiteral("农历:") + n + QStringLiteral("月");
}

QString lunarReminderText(QDate day, const MonthGrid::LunarTextLookup& lunarText)
{
    if (!lunarText || day.year() > kLastGregorianYear)
        return {};
    clsDate date;
    date.sInitDate(day.year(), day.month(), day.day());
    const int month = date.lMonth(), lunarDay = date.lDay(); // 0 outside the lunar table
    if (month < 1 || month > 12 || lunarDay < 1 || date.IsLeap())
        return {};
    QStringList texts;
    if (const auto text = lunarText(month, lunarDay))
        texts << *text;
    if (lunarDay == 29) {
        // The month has 29 days when tomorrow is the 1st of the next one.
        const QDate next = day.addDays(1);
        clsDate tomorrow;
        if (next.year() <= kLastGregorianYear)
            tomorrow.sInitDate(next.year(), next.month(), next.day());
        if (next.year() > kLastGregorianYear || tomorrow.lDay() == 1) {
            if (const auto text = lunarText(month, 30))
                texts << *text;
        }
    }
    return texts.join(QStringLiteral("、"));
}

QString todayText(QDate today, const MonthGrid::CustomTextLookup& customText,
                  const QString& holidayName, const MonthGrid::LunarTextLookup& lunarText)
{
    clsDate date;
    date.sInitDate(today.year(), today.month(), today.day());
    const std::string festival = date.lHoliday();
    if (!festival.empty())
        return fromUtf8(festival);
    QStringList texts;
    if (customText) {
        if (const auto text = customText(today.month(), today.day()))
            texts << *text;
    }
    if (const QString lunar = lunarReminderText(today, lunarText); !lunar.isEmpty())
        texts << lunar;
    return texts.isEmpty() ? holidayName : texts.join(QStringLiteral("、"));
}

} // namespace deskleaf
