#include "model/month_grid.h"

#include <gtest/gtest.h>

#include <map>

using deskleaf::MonthGrid;
using deskleaf::OfficialDays;

namespace {

MonthGrid::CustomTextLookup texts(std::map<std::pair<int, int>, QString> stored)
{
    return [stored](int month, int day) -> std::optional<QString> {
        const auto it = stored.find({month, day});
        if (it == stored.end())
            return std::nullopt;
        return it->second;
    };
}

MonthGrid filled(MonthGrid::Kind kind, QDate month, QDate today = QDate(2026, 12, 8))
{
    MonthGrid grid(kind);
    grid.fill(month, today, {});
    return grid;
}

// Cells holding a day, as cell index to caption.
std::map<int, QString> usedCells(const MonthGrid& grid)
{
    std::map<int, QString> used;
    for (int i = 0; i < MonthGrid::kCells; ++i)
        if (grid.Label3(i) != MonthGrid::initialCaption(i))
            used[i] = grid.Label3(i);
    return used;
}

} // namespace

TEST(MonthGrid, FirstDayGoesUnderItsWeekday)
{
    struct Row {
        QDate month;
        int firstCell;
        int lastCell;
    };
    const Row rows[] = {
        {QDate(2026, 3, 1), 0, 30},  // begins on a Sunday: alone in row 0
        {QDate(2026, 6, 1), 1, 30},  // begins on a Monday, 30 days
        {QDate(2026, 8, 1), 6, 36},  // begins on a Saturday with 31 days: reaches cell 36
        {QDate(2026, 2, 1), 0, 27},  // 28 days from a Sunday
        {QDate(2024, 2, 1), 4, 32},  // 29 days from a Thursday
        {QDate(2026, 12, 1), 2, 32}, // 31 days from a Tuesday
    };
    for (const Row& r : rows) {
        const auto used = usedCells(filled(MonthGrid::Kind::Main, r.month));
        SCOPED_TRACE(r.month.toString(Qt::ISODate).toStdString());
        ASSERT_FALSE(used.empty());
        EXPECT_EQ(used.begin()->first, r.firstCell);
        EXPECT_EQ(used.rbegin()->first, r.lastCell);
        EXPECT_EQ(int(used.size()), r.month.daysInMonth());
        EXPECT_TRUE(used.begin()->second.startsWith(QStringLiteral("1 ")));
    }
}

TEST(MonthGrid, MainCaptionsAreDayBlankLunarText)
{
    const MonthGrid grid = filled(MonthGrid::Kind::Main, QDate(2024, 4, 1));
    EXPECT_EQ(grid.Label3(1), QStringLiteral("1 廿三"));
    EXPECT_EQ(grid.Label3(4), QStringLiteral("4 清明")); // a solar term replaces the day name
    EXPECT_EQ(grid.Label3(9), QStringLiteral("9 初一"));
    EXPECT_EQ(grid.Label3(0), QStringLiteral(" "));
    for (int i = 0; i < MonthGrid::kCells; ++i)
        EXPECT_FALSE(grid.cellVisible(i));
}

TEST(MonthGrid, CellsTheMonthDoesNotReachAreReset)
{
    MonthGrid grid(MonthGrid::Kind::Main);
    grid.fill(QDate(2026, 3, 1), QDate(2026, 3, 1), {}); // uses cell 0
    grid.fill(QDate(2026, 4, 1), QDate(2026, 4, 1), {});
    EXPECT_EQ(grid.Label3(0), QStringLiteral(" "));
    EXPECT_EQ(grid.Label3(3), QStringLiteral("1 十四"));

    grid.fill(QDate(2026, 7, 1), QDate(2026, 7, 1), {}); // begins on a Wednesday, in cell 3
    grid.fill(QDate(2026, 8, 1), QDate(2026, 8, 1), {}); // begins in cell 6, reaches cell 36
    EXPECT_EQ(grid.Label3(4), QStringLiteral("  "));
    EXPECT_EQ(grid.Label3(36), QStringLiteral("31 十九"));
    grid.fill(QDate(2026, 9, 1), QDate(2026, 9, 1), {});
    EXPECT_EQ(grid.Label3(36), QString());
    EXPECT_EQ(grid.Label3(2), QStringLiteral("1 二十"));
}

TEST(MonthGrid, TodaysLine)
{
    MonthGrid grid(MonthGrid::Kind::Main);
    // A lunar festival wins over the user's text.
    grid.fill(QDate(2024, 2, 10), QDate(2024, 2, 10), texts({{{2, 10}, "生日"}}));
    EXPECT_EQ(grid.Label6(), QStringLiteral("今天是:春节"));
    grid.fill(QDate(2024, 2, 11), QDate(2024, 2, 11), texts({{{2, 11}, "Bob's birthday"}}));
    EXPECT_EQ(grid.Label6(), QStringLiteral("今天是:Bob's birthday"));
    grid.fill(QDate(2024, 2, 12), QDate(2024, 2, 12), texts({{{2, 11}, "生日"}}));
    EXPECT_EQ(grid.Label6(), QString());
    // The line is today's, whichever month is shown.
    grid.fill(QDate(2024, 7, 1), QDate(2024, 2, 10), {});
    EXPECT_EQ(grid.Label6(), QStringLiteral("今天是:春节"));
}

TEST(MonthGrid, OutsideTheLunarTableDaysHaveNoLunarText)
{
    const MonthGrid main = filled(MonthGrid::Kind::Main, QDate(2200, 1, 1));
    EXPECT_EQ(main.Label3(3), QStringLiteral("1 ")); // 2200-01-01 is a Wednesday
    const MonthGrid picker = filled(MonthGrid::Kind::Picker, QDate(1899, 12, 1));
    EXPECT_EQ(picker.Label3(5), QStringLiteral("1"));      // 1899-12-01 is a Friday
    EXPECT_EQ(picker.Label5(), QStringLiteral("农历:月")); // as the wallpaper writes it
    // The last month there is: its day 31 is the last day a date can have.
    const MonthGrid last = filled(MonthGrid::Kind::Picker, QDate(9999, 12, 1));
    const int start = QDate(9999, 12, 1).dayOfWeek() % 7;
    EXPECT_EQ(last.Label3(start + 30), QStringLiteral("31"));
}

TEST(MonthGrid, PickerShowsTwoLineCellsAndItsHeadings)
{
    const MonthGrid grid = filled(MonthGrid::Kind::Picker, QDate(2026, 3, 1), QDate(2026, 3, 7));
    EXPECT_EQ(grid.Label2(), QStringLiteral("03"));
    EXPECT_EQ(grid.Label4(), QStringLiteral("2026"));
    EXPECT_EQ(grid.Label3(0), QStringLiteral("1\r\n十三"));
    EXPECT_TRUE(grid.cellVisible(0));
    EXPECT_TRUE(grid.cellVisible(30));
    EXPECT_FALSE(grid.cellVisible(31));
    // The lunar month of the shown day, written as the wallpaper writes it.
    EXPECT_EQ(grid.Label5(), QStringLiteral("农历:一月"));
}

TEST(MonthGrid, PickerMarksTodayOnlyInTodaysMonth)
{
    MonthGrid grid(MonthGrid::Kind::Picker);
    grid.fill(QDate(2026, 3, 1), QDate(2026, 3, 7), {});
    for (int i = 0; i < MonthGrid::kCells; ++i)
        EXPECT_EQ(grid.cellColour(i), i == 6 ? MonthGrid::kTodayColour : MonthGrid::kCellColour)
            << i;
    grid.page(QDate(2026, 3, 7), 1, {}); // April
    EXPECT_EQ(grid.shownDate(), QDate(2026, 4, 7));
    for (int i = 0; i < MonthGrid::kCells; ++i)
        EXPECT_EQ(grid.cellColour(i), MonthGrid::kCellColour) << i;
}

TEST(MonthGrid, PickerRowsFollowTheMonthShown)
{
    MonthGrid grid(MonthGrid::Kind::Picker);
    grid.fill(QDate(2026, 4, 1), QDate(2026, 4, 1), {}); // cell 0 unused: rows move up
    EXPECT_EQ(grid.cellTop(1), 1200);
    EXPECT_EQ(grid.cellTop(8), 1760);
    EXPECT_EQ(grid.cellTop(36), 4020);
    EXPECT_EQ(grid.label6Top(), 4000);
    grid.fill(QDate(2026, 3, 1), QDate(2026, 4, 1), {}); // cell 0 used: design rows
    EXPECT_EQ(grid.cellTop(0), 1080);
    EXPECT_EQ(grid.cellTop(1), 1680);
    EXPECT_EQ(grid.cellTop(36), 4680);
    EXPECT_EQ(grid.label6Top(), 4680);
    EXPECT_GT(grid.cellTop(1), grid.cellTop(0) + 525); // row 0 never overlaps row 1
    EXPECT_EQ(grid.cellLeft(36), 480);
    EXPECT_EQ(grid.cellLeft(7), 3360);
}

TEST(MonthGrid, PagingClampsTheDay)
{
    MonthGrid grid(MonthGrid::Kind::Picker);
    grid.page(QDate(2026, 1, 31), 1, {});
    EXPECT_EQ(grid.shownDate(), QDate(2026, 2, 28));
    grid.page(QDate(2026, 1, 31), -12 * 1500, {});
    EXPECT_EQ(grid.shownDate(), QDate(526, 1, 31));
    EXPECT_EQ(grid.Label4(), QStringLiteral("0526"));
}

// The year a day's calendar lacks: its own without a file, else the next from 1 November.
TEST(OfficialDays, MissingYearFromTheFirstOfNovember)
{
    const OfficialDays shipped = OfficialDays::load(QString());
    const struct {
        QDate day;
        std::optional<int> missing;
    } rows[] = {
        {QDate(2006, 12, 31), 2006},         {QDate(2007, 1, 1), std::nullopt},
        {QDate(2026, 10, 31), std::nullopt}, {QDate(2026, 11, 1), 2027},
        {QDate(2027, 1, 1), 2027},
    };
    for (const auto& row : rows)
        EXPECT_EQ(shipped.missingYear(row.day), row.missing) << row.day.toString().toStdString();
}

// Sunday first: the 1st goes under its weekday with Sunday in column 0, and a Saturday 1st
// stands alone in cell 0, which is under Saturday, the week's last day.
TEST(MonthGrid, SundayFirstGridAndHeaders)
{
    struct Row {
        QDate month;
        int firstCell;
        int lastCell;
    };
    const Row rows[] = {
        {QDate(2026, 2, 1), 1, 28},  // begins on a Sunday, 28 days: rows 1 to 4 exactly
        {QDate(2026, 1, 1), 5, 35},  // ends on a Saturday, in the last column of row 5
        {QDate(2025, 11, 1), 0, 29}, // begins on a Saturday: alone in row 0
        {QDate(2025, 8, 1), 6, 36},  // begins on a Friday with 31 days: reaches cell 36
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.month.toString(Qt::ISODate).toStdString());
        MonthGrid grid(MonthGrid::Kind::Main);
        grid.setSundayFirst(true);
        grid.fill(r.month, QDate(2026, 12, 8), {});
        const auto used = usedCells(grid);
        ASSERT_FALSE(used.empty());
        EXPECT_EQ(used.begin()->first, r.firstCell);
        EXPECT_EQ(grid.firstCell(), r.firstCell);
        EXPECT_EQ(used.rbegin()->first, r.lastCell);
        EXPECT_EQ(int(used.size()), r.month.daysInMonth());
        EXPECT_TRUE(used.begin()->second.startsWith(QStringLiteral("1 ")));
        // Every day sits under its own weekday's header.
        for (const auto& [cell, caption] : used) {
            const QDate day = r.month.addDays(caption.section(u' ', 0, 0).toInt() - 1);
            const int column = cell == 0 ? 6 : (cell - 1) % 7;
            EXPECT_EQ(MonthGrid::Label1(column, true),
                      MonthGrid::Label1(day.dayOfWeek() - 1)) // Monday-first: 0 = Monday
                << caption.toStdString();
        }
    }
    const QString sundayFirst[] = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(MonthGrid::Label1(column, true), sundayFirst[column]);
        const bool weekend = column == 0 || column == 6;
        EXPECT_EQ(MonthGrid::Label1Colour(column, true),
                  weekend ? QColor(255, 0, 0) : QColor(0, 0, 255));
    }
}

// The lunar-date reminders on today's line, on the leap years 2023 (闰二月) and 2025 (闰六月):
// only the regular month shows its month's texts; day 30 shows on the 29th of a 29-day month;
// a month-day text comes before a lunar one; a lunar festival stands alone.
TEST(MonthGrid, LunarRemindersOnTodaysLine)
{
    const auto lunar = [](int month, int day) -> std::optional<QString> {
        static const std::map<std::pair<int, int>, QString> stored{
            {{1, 1}, "L1-1"},   {{1, 29}, "L1-29"}, {{1, 30}, "L1-30"},
            {{2, 1}, "L2-1"},   {{2, 29}, "L2-29"}, {{2, 30}, "L2-30"},
            {{5, 30}, "L5-30"}, {{6, 1}, "L6-1"},   {{6, 30}, "L6-30"}};
        const auto it = stored.find({month, day});
        return it == stored.end() ? std::nullopt : std::optional(it->second);
    };
    const auto gregorian = texts({{{6, 25}, "G6-25"}, {{1, 22}, "G1-22"}, {{3, 22}, "G3-22"}});
    const std::pair<QDate, QString> rows[] = {
        {QDate(2023, 2, 19), "L1-29、L1-30"}, // 正月廿九, the last of 29 days
        {QDate(2023, 2, 20), "L2-1"},         // 二月初一
        {QDate(2023, 3, 20), "L2-29"},        // 二月廿九 of 30 days: day 30 waits
        {QDate(2023, 3, 21), "L2-30"},        // 二月三十
        {QDate(2023, 3, 22), "G3-22"},        // 闰二月初一: the month-day text alone
        {QDate(2023, 4, 19), ""},             // 闰二月廿九, the last of 29 days: nothing
        {QDate(2025, 6, 24), "L5-30"},        // 五月廿九, the last of 29 days
        {QDate(2025, 6, 25), "G6-25、L6-1"},  // 六月初一: month-day text first
        {QDate(2025, 7, 24), "L6-30"},        // 六月三十
        {QDate(2025, 7, 25), ""},             // 闰六月初一
        {QDate(2025, 8, 22), ""},             // 闰六月廿九, the last of 29 days
        {QDate(2023, 1, 22), "春节"},         // 正月初一: the festival alone
    };
    for (const auto& [day, expected] : rows) {
        MonthGrid grid(MonthGrid::Kind::Picker);
        grid.setLunarTexts(lunar);
        grid.fill(day, day, gregorian);
        EXPECT_EQ(grid.Label6(), expected.isEmpty() ? QString() : "今天是:" + expected)
            << day.toString(Qt::ISODate).toStdString();
    }
}
