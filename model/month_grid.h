// The month grid: one Gregorian month as Monday-first (or Sunday-first) day cells with their
// lunar texts, and today's festival line. Both the main window (whose grid is never shown:
// the wallpaper renderer reads it) and the date picker fill one.
//
// Cell 0 stands alone in row 0 under the week's last day; cells 1 to 36 fill rows 1 to 6, the
// week's first day first. Monday first, the 1st of a month goes into cell (weekday - 1),
// weekday 1 = Sunday: a Sunday 1st stands alone in cell 0. Sunday first, it goes into cell
// weekday, and a Saturday 1st stands alone in cell 0.
#pragma once

#include "model/official_days.h"

#include <QColor>
#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace deskleaf {

class MonthGrid {
public:
    enum class Kind { Main, Picker };
    static constexpr int kCells = 37;

    // The user's text for a month and day, when one is stored.
    using CustomTextLookup = std::function<std::optional<QString>(int month, int day)>;

    // The user's text for a lunar month and day (1-12, 1-30), when one is stored.
    using LunarTextLookup = std::function<std::optional<QString>(int month, int day)>;

    // The official day off or make-up working day of a date, when one is to be shown.
    using DayMarkLookup = std::function<OfficialDay(QDate)>;

    explicit MonthGrid(Kind kind);

    // The marks the next fills give the cells, and the holiday's name today's line falls back
    // on; none (the default) marks nothing.
    void setDayMarks(DayMarkLookup marks) { marks_ = std::move(marks); }
    // The lunar-date reminders today's line shows from the next fill; none by default.
    void setLunarTexts(LunarTextLookup texts) { lunarTexts_ = std::move(texts); }
    // Sunday as the week's first day from the next fill on; Monday (false) by default.
    void setSundayFirst(bool sunday) { sundayFirst_ = sunday; }
    bool sundayFirst() const { return sundayFirst_; }

    // Fills the grid for the month of shown: every cell the month reaches gets its
    // caption, every other cell its initial caption, and Label6 today's text.
    void fill(QDate shown, QDate today, const CustomTextLookup& customText);
    // Shows the month `months` after today's (negative: before), the day clamped to
    // the target month, and fills the grid.
    void page(QDate today, int months, const CustomTextLookup& customText);

    Kind kind() const { return kind_; }
    QDate shownDate() const { return shown_; }
    QDate today() const { return today_; }
    QDate monthStart() const { return monthStart_; }

    const QString& Label3(int cell) const { return cells_.at(cell).caption; }
    // 周一 ... 周日, or 周日 ... 周六 when sundayFirst.
    static QString Label1(int column, bool sundayFirst = false);
    static QColor Label1Colour(int column, bool sundayFirst = false);
    // The cell of the shown month's 1st.
    int firstCell() const;
    const QString& Label2() const { return label2_; } // picker: shown month, two digits
    // Picker: the shown year. Main: today's month and year, "03. 2026".
    const QString& Label4() const { return label4_; }
    // The lunar month line, "农历:三月": picker, of the shown day (today's day in the shown
    // month); main, of today.
    const QString& Label5() const { return label5_; }
    const QString& Label6() const { return label6_; } // "今天是:" and today's text, or empty

    bool cellVisible(int cell) const { return cells_.at(cell).visible; }
    // The cell's 休 or 班 and the holiday's name; None for cells the month does not reach.
    const OfficialDay& cellMark(int cell) const { return cells_.at(cell).mark; }
    QColor cellColour(int cell) const { return cells_.at(cell).colour; }
    // Picker layout, in twips: rows move up when cell 0 is not used.
    int cellTop(int cell) const;
    int cellLeft(int cell) const;
    int label6Top() const;

    static QString initialCaption(int cell);
    static inline const QColor kCellColour{0, 96, 64};
    static inline const QColor kTodayColour{255, 0, 0};
    static inline const QColor kLabel6Colour{64, 0, 64};

private:
    struct Cell {
        QString caption;
        bool visible = false;
        QColor colour = kCellColour;
        OfficialDay mark;
    };
    bool cellZeroUsed() const { return cells_[0].caption != initialCaption(0); }

    Kind kind_;
    QDate shown_;
    QDate today_;
    QDate monthStart_;
    std::array<Cell, kCells> cells_;
    DayMarkLookup marks_;
    LunarTextLookup lunarTexts_;
    bool sundayFirst_ = false;
    QString label2_, label4_, label5_, label6_;
};

// The main grid's header texts, which the wallpaper prints: "03. 2026", "农历:三月".
QString monthYearHeader(QDate today);
QString lunarMonthHeader(QDate today);

// The user's lunar-date texts of a day, joined by "、": the text of its lunar month and day
// when the month is a regular one (a leap month shows none), and on the 29th of a month of
// 29 days, the text of day 30 after it. Empty when there is none.
QString lunarReminderText(QDate day, const MonthGrid::LunarTextLookup& lunarText);

// A day's lunar month and day, the month a regular one or a leap one.
struct LunarDay {
    int month;
    int day;
    bool leap;
};
// Nothing outside the lunar table.
std::optional<LunarDay> lunarDayOf(QDate day);
// "十一月初二", the month without 闰.
QString lunarDayName(int month, int day);

// Today's line: the lunar festival; else the user's month-day text and lunar-date text, both
// when both are stored, the month-day text first; else the name of the official holiday when
// today is a day off (holidayName); else nothing.
QString todayText(QDate today, const MonthGrid::CustomTextLookup& customText,
                  const QString& holidayName = {},
                  const MonthGrid::LunarTextLookup& lunarText = {});

} // namespace deskleaf
