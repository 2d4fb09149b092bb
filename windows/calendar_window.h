// The date picker Calendar: one month of the grid, paged by year (HScroll2) and by month
// (HScroll1), today's day in red and today's festival line. Clicking a day writes the date
// into Text1 and into xzrq, which the festival editor reads after the window closes. The
// caller shows it modally over the settings window.
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
    const MonthGrid& grid() const { return grid_; }

protected:
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resetToToday();
    void fillGrid(); // the month of today moved by both bars
    void pick(int cell);

    std::function<QDate()> today_;
    MonthGrid::CustomTextLookup customText_;
    MonthGrid grid_{MonthGrid::Kind::Picker};
    QDate picked_;
    int wheelAngle_ = 0; // eighths of a degree not yet turned into a month

    QLabel* Label7_;
    QLabel* Label4_;
    QScrollBar* HScroll2_;
    QLabel* Label2_;
    QScrollBar* HScroll1_;
    QPushButton* Command1_;
    QLabel* Label5_;
    std::array<QLabel*, 7> Label1_{};
    std::array<QLabel*, MonthGrid::kCells> Label3_{};
    std::array<MarkSquare*, MonthGrid::kCells> marks_{}; // a cell's 休 or 班, at its top right
    QLabel* Label6_;
    QLabel* Label8_;
    QLineEdit* Text1_;
};

} // namespace deskleaf
