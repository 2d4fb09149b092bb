#include "windows/calendar_window.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

using deskleaf::Calendar;
using deskleaf::MonthGrid;

namespace {

class CalendarTest : public ::testing::Test {
protected:
    void open(QDate day)
    {
        today = day;
        window = std::make_unique<Calendar>(
            [this] { return today; }, [](int, int) { return std::optional<QString>("交房租"); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class T = QWidget> T* find(const QString& name)
    {
        return window->findChild<T*>(name);
    }
    QString text(const char* name) { return find<QLabel>(name)->text(); }
    QScrollBar* bar(const char* name) { return find<QScrollBar>(name); }
    // The shown cell whose first line reads the day number.
    QLabel* cellOf(int day)
    {
        for (QLabel* cell : window->findChildren<QLabel*>())
            if (cell->objectName().startsWith("Label3_") && cell->isVisible() &&
                cell->text().section(u'\n', 0, 0) == QString::number(day))
                return cell;
        return nullptr;
    }

    QDate today;
    std::unique_ptr<Calendar> window;
};

} // namespace

TEST_F(CalendarTest, ControlsSitAtTheirPlacesAndNeverMeet)
{
    open(QDate(2026, 3, 18)); // March 2026 begins on a Sunday: the rows keep their places
    EXPECT_TRUE(window->windowTitle() == "Calendar" && window->isModal() &&
                !(window->windowFlags() & Qt::FramelessWindowHint));
    const struct {
        const char* name;
        QPoint place; // designed twips / 15
        QString accessible;
    } rows[] = {
        {"Label7", {24, 8}, "公历："},          {"Label4", {72, 8}, "2026"},
        {"HScroll2", {104, 8}, "年"},           {"Label2", {144, 8}, "03"},
        {"HScroll1", {184, 8}, "月"},           {"Command1", {216, 8}, "回今天"},
        {"Label5", {32, 40}, "农历:一月"},      {"Label1_6", {223, 56}, "周日"},
        {"Label3_0", {224, 72}, "1 十三"},      {"Label3_17", {96, 192}, "18 三十"},
        {"Label6", {32, 312}, "今天是:交房租"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(find(row.name)->pos(), row.place);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(find(row.name))->text(QAccessible::Name),
                  row.accessible);
    }
    EXPECT_EQ(find("Label3_17")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(std::tuple(bar("HScroll1")->minimum(), bar("HScroll1")->maximum()),
              std::tuple(-1500, 1500));

    // March; August, from a Saturday to cell 36; April: rows moved up.
    for (int months : {0, 5, 1}) {
        bar("HScroll1")->setValue(months);
        std::vector<QWidget*> shown;
        for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const auto* label = qobject_cast<QLabel*>(w);
            if (w->isVisible() && !(label && label->text().isEmpty()) &&
                w->objectName() != "focusRing") // drawn over its control, by design
                shown.push_back(w);
        }
        for (QWidget* a : shown) {
            SCOPED_TRACE(a->objectName().toStdString() + " in month " + std::to_string(months));
            EXPECT_TRUE(window->rect().contains(a->geometry()));
            if (qobject_cast<QLabel*>(a)) { // its text is not cut
                EXPECT_TRUE(QRect(QPoint(), a->size()).contains(QRect(QPoint(), a->sizeHint())));
            }
            for (QWidget* b : shown)
                EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                    << qPrintable(b->objectName());
        }
    }
}

TEST_F(CalendarTest, ClickingADayPicksThatDate)
{
    const struct {
        QDate today;
        int years, months, day; // HScroll2, HScroll1, the number clicked
        QString text;
    } rows[] = {
        {QDate(2026, 3, 18), 0, 0, 7, "2026-03-7"},
        {QDate(2026, 3, 18), 0, 0, 15, "2026-03-15"},
        {QDate(2026, 3, 18), 1, 0, 7, "2027-03-7"},
        {QDate(2026, 3, 18), 1, -14, 1, "2026-01-1"}, // both bars count
        {QDate(2150, 6, 10), 0, 0, 9, "2150-06-9"},   // past the lunar table: no lunar line
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        open(row.today);
        bar("HScroll2")->setValue(row.years);
        bar("HScroll1")->setValue(row.months);
        ASSERT_NE(cellOf(row.day), nullptr);
        QTest::mouseClick(cellOf(row.day), Qt::LeftButton);
        EXPECT_EQ(find<QLineEdit>("Text1")->text(), row.text);
        EXPECT_EQ(Calendar::xzrq, row.text);
        EXPECT_EQ(window->picked(), QDate::fromString(row.text, "yyyy-MM-d"));
    }
}

TEST_F(CalendarTest, EmptyCellsPickNothingWheelPagesCommand1GoesBack)
{
    open(QDate(2026, 4, 20)); // April 2026: the 1st in cell 3, the 30th in cell 32
    QTest::mouseClick(cellOf(7), Qt::LeftButton);
    for (int empty : {0, 2, 33, 36})
        QTest::mouseClick(find(QStringLiteral("Label3_%1").arg(empty)), Qt::LeftButton);
    EXPECT_EQ(window->picked(), QDate(2026, 4, 7));

    // As the window gets a turn that the control under the pointer passes on.
    auto turn = [&](QWidget* over, int notches) {
        const QPointF at = over->geometry().center();
        QWheelEvent wheel(at, window->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.get(), &wheel);
    };
    turn(cellOf(10), -1);    // towards the user: the next month
    turn(find("Text1"), -1); // not over the grid
    EXPECT_EQ(text("Label2"), "05");
    turn(cellOf(10), 3);
    EXPECT_EQ(std::pair(bar("HScroll1")->value(), text("Label2")), std::pair(-2, QString("02")));

    bar("HScroll2")->setValue(-4);
    QTest::mouseClick(find("Command1"), Qt::LeftButton);
    EXPECT_EQ(std::pair(bar("HScroll1")->value(), bar("HScroll2")->value()), std::pair(0, 0));
    EXPECT_EQ(text("Label4") + text("Label2"), "202604");
}

TEST_F(CalendarTest, EscClosesAndThePickOutlivesTheWindow)
{
    open(QDate(2026, 3, 18));
    QTest::mouseClick(cellOf(7), Qt::LeftButton);
    bar("HScroll2")->setValue(2);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    window->show(); // opened again: at today's month
    EXPECT_EQ(text("Label4"), "2026");

    open(QDate(2026, 5, 1)); // a new window has no pick of its own, xzrq keeps the last
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "");
    EXPECT_FALSE(window->picked().isValid());
    EXPECT_EQ(Calendar::xzrq, "2026-03-7");
}

// The keyboard alone: the focus starts on today (on the picked day when its month shows), the
// arrows move it a day or a week and into the next or last month at the edges, Page Up and
// Down page a month (Shift: a year); Space picks and marks the day, Enter picks and closes.
// The ring is around the day with the focus.
TEST_F(CalendarTest, TheKeyboardMovesOverTheDaysAndPicks)
{
    today = QDate(2026, 3, 18);
    window = std::make_unique<Calendar>([this] { return today; }, MonthGrid::CustomTextLookup());
    window->showPicked(QDate(2026, 3, 30));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        return window->focusDay();
    };
    EXPECT_EQ(QApplication::focusWidget(), cellOf(30));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QDate day;
    } rows[] = {
        {Qt::Key_Right, {}, {2026, 3, 31}}, {Qt::Key_Right, {}, {2026, 4, 1}},
        {Qt::Key_Left, {}, {2026, 3, 31}},  {Qt::Key_Up, {}, {2026, 3, 24}},
        {Qt::Key_Down, {}, {2026, 3, 31}},  {Qt::Key_Down, {}, {2026, 4, 7}},
        {Qt::Key_PageUp, {}, {2026, 3, 7}}, {Qt::Key_PageDown, Qt::ShiftModifier, {2027, 3, 7}},
        {Qt::Key_PageUp, {}, {2027, 2, 7}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.day.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(press(row.key, row.modifiers), row.day);
        EXPECT_EQ(text("Label4") + text("Label2"), row.day.toString("yyyyMM"));
        QWidget* focused = QApplication::focusWidget();
        ASSERT_EQ(focused, cellOf(row.day.day()));
        const auto* ring = find("focusRing");
        EXPECT_TRUE(ring->isVisible());
        EXPECT_EQ(ring->geometry(), focused->geometry().adjusted(-2, -2, 2, 2));
    }
    EXPECT_EQ(text("Label5"), "农历:一月"); // 2027-02-07 is 正月初一
    press(Qt::Key_Space);
    EXPECT_EQ(window->picked(), QDate(2027, 2, 7));
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "2027-02-7");
    EXPECT_TRUE(cellOf(7)->accessibleName().endsWith(" 已选"));
    EXPECT_FALSE(cellOf(8)->accessibleName().endsWith(" 已选"));
    EXPECT_TRUE(window->isVisible());
    press(Qt::Key_Right);
    press(Qt::Key_Return);
    EXPECT_EQ(std::pair(window->picked(), window->result()),
              std::pair(QDate(2027, 2, 8), int(QDialog::Accepted)));
    EXPECT_FALSE(window->isVisible());
}
