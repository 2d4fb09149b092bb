// The date picker Calendar: one month of the grid, paged by year (HScroll2) and by month
// (HScroll1), today's day in red, the picked day on a white square, and today's festival
// line. Clicking a day writes the date into Text1 and into xzrq, which the festival editor
// reads after the window closes. The caller shows it modally over the settings window.
//
// The keyboard does it all too: the days take the focus (one at a time in the Tab order),
// the arrow keys move it a day or a week, into the month before or after at its edges; Page
// Up and Page Down page a month (with Shift a year); Space picks the day as a click does,
// Enter picks it and closes the window, Escape closes it without a pick.
#pragma once

#include "model/month_grid.h"

#include <QDate>
#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace deskleaf {

class DayCell;
class MarkSquare;

class Calendar : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 293;  // 4395 twips
    static constexpr int kHeight = 393; // 5895 twips

    // today is asked at every fill; customText gives the user's text for today's line.
    Calendar(std::function<QDate()> today, MonthGrid::CustomTextLookup customText,
             QWidget* parent = nullptr);

    // The last date picked in any picker, "2026-03-7": the shown year, the shown month in
    // two digits, the day without a leading zero. Empty until the first pick; it lasts for
    // the program's run, past the window that set it.
    static inline QString xzrq;
    // A day written as xzrq writes it, and back; nothing when text names no day.
    static QString dateText(QDate day);
    static std::optional<QDate> dateOfText(const QString& text);

    // The 休 and 班 the cells show from the next fill on; none by default.
    void setDayMarks(MonthGrid::DayMarkLookup marks);
    // The lunar-date reminders today's line shows from the next fill on; none by default.
    void setLunarTexts(MonthGrid::LunarTextLookup texts);
    // Sunday as the week's first day, headers included; Monday by default.
    void setSundayFirst(bool sunday);

    // The date picked in this window, null until a pick.
    QDate picked() const { return picked_; }
    // Marks day as picked, as the caller's date field holds it, without picking it again: the
    // keyboard's focus starts there when its month opens. Before the window shows.
    void showPicked(QDate day);
    // The day the keyboard's focus is on, or goes to when a day takes it.
    QDate focusDay() const { return focusDay_; }
    const MonthGrid& grid() const { return grid_; }

protected:
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void resetToToday();
    void fillGrid(); // the month of today moved by both bars
    void pick(int cell);
    // The cell of day when the shown month has it, else -1.
    int cellOf(QDate day) const;
    // Moves the keyboard's focus to day, paging to its month.
    void moveFocusTo(QDate day);
    bool dayHasFocus() const;

    std::function<QDate()> today_;
    MonthGrid::CustomTextLookup customText_;
    MonthGrid grid_{MonthGrid::Kind::Picker};
    QDate picked_;
    QDate focusDay_;
    int wheelAngle_ = 0; // eighths of a degree not yet turned into a month

    QLabel* Label7_;
    QLabel* Label4_;
    QScrollBar* HScroll2_;
    QLabel* Label2_;
    QScrollBar* HScroll1_;
    QPushButton* Command1_;
    QLabel* Label5_;
    std::array<QLabel*, 7> Label1_{};
    std::array<DayCell*, MonthGrid::kCells> Label3_{};
    std::array<MarkSquare*, MonthGrid::kCells> marks_{}; // a cell's 休 or 班, at its top right
    QLabel* Label6_;
    QLabel* Label8_;
    QLineEdit* Text1_;
};

} // namespace deskleaf
