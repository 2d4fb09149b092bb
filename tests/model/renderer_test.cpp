#include "model/calendar_renderer.h"
#include "model/settings.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace deskleaf;

namespace {

// A surface that records what is printed, with the drawing state of each print.
class RecordingSurface final : public TextSurface {
public:
    struct Print {
        QString text;
        double x, y, points;
        QColor colour;
        QString font;
        bool bold;
    };
    explicit RecordingSurface(int width = 1024) : width_(width) {}

    int width() const override { return width_; }
    void setFontName(const QString& name) override { font_ = name; }
    void setBold(bool bold) override { bold_ = bold; }
    void setFontSize(double points) override { points_ = points; }
    void setForeColor(QColor colour) override { colour_ = colour; }
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }
    void print(const QString& text) override
    {
        prints.push_back({text, x_, y_, points_, colour_, font_, bold_});
    }

    // The print of text at size points, which must be there exactly once.
    const Print& find(const QString& text, double points) const
    {
        const Print* found = nullptr;
        for (const Print& p : prints)
            if (p.text == text && p.points == points) {
                EXPECT_EQ(found, nullptr) << "printed twice: " << text.toStdString();
                found = &p;
            }
        if (!found) {
            ADD_FAILURE() << "not printed: " << text.toStdString();
            static const Print none{};
            return none;
        }
        return *found;
    }

    std::vector<Print> prints;

private:
    int width_;
    QString font_;
    bool bold_ = false;
    double points_ = 0, x_ = 0, y_ = 0;
    QColor colour_;
};

const QColor kDefault(231, 231, 255); // 16771047

RecordingSurface rendered(QDate month, QDate today, qint32 colour = settings::DefaultCalendarColour,
                          int width = 1024)
{
    MonthGrid grid(MonthGrid::Kind::Main);
    grid.fill(month, today, {});
    RecordingSurface surface(width);
    printCalendar(surface, grid, colour);
    return surface;
}

} // namespace

TEST(Renderer, MarchTwentyTwentySixBeginsOnSunday)
{
    const double x0 = 1024 - 340;
    const auto s = rendered(QDate(2026, 3, 1), QDate(2026, 3, 20));
    const auto& first = s.find("1 ", 16);
    EXPECT_EQ(first.x, x0 + 275);
    EXPECT_EQ(first.y, 95);
    const auto at = [&](double x, double y) {
        for (const auto& p : s.prints)
            if (p.x == x && p.y == y)
                return p.text;
        return QStringLiteral("(nothing)");
    };
    EXPECT_EQ(at(x0 + 270, 120), QStringLiteral("十三")); // the 1st's lunar text
    EXPECT_EQ(at(x0 + 80, 315), QStringLiteral("十三"));  // the 31st's
    const auto& second = s.find("2 ", 16);
    EXPECT_EQ(second.x, x0 + 50);
    EXPECT_EQ(second.y, 135);
    const auto& last = s.find("31", 16);
    EXPECT_EQ(last.x, x0 + 80);
    EXPECT_EQ(last.y, 290);
    const auto& footer = s.prints.back();
    EXPECT_EQ(footer.y, 335);
    EXPECT_EQ(footer.x, x0 + 45);
    EXPECT_EQ(footer.points, 9);
    EXPECT_EQ(footer.colour, kTodayRed);
}

TEST(Renderer, AugustTwentyTwentySixReachesCellThirtySix)
{
    const double x0 = 1024 - 340;
    const auto s = rendered(QDate(2026, 8, 1), QDate(2026, 8, 20));
    const auto& first = s.find("1 ", 16);
    EXPECT_EQ(first.x, x0 + 240);
    EXPECT_EQ(first.y, 100);
    const auto& last = s.find("31", 16);
    EXPECT_EQ(last.x, x0 + 45);
    EXPECT_EQ(last.y, 295);
    EXPECT_EQ(s.prints.back().y, 330);
}

TEST(Renderer, AnyOtherMonthShiftsRowsUp)
{
    const auto s = rendered(QDate(2026, 12, 1), QDate(2026, 12, 8));
    const auto& first = s.find("1 ", 16); // Tuesday, row 1
    EXPECT_EQ(first.y, 100);
    EXPECT_EQ(s.prints.back().y, 300);
    EXPECT_EQ(s.prints.back().text, QString()); // no festival today: nothing visible
}

TEST(Renderer, HeaderAndPlacementFollowTheWidth)
{
    const auto s = rendered(QDate(2026, 3, 1), QDate(2026, 3, 20));
    const auto& header = s.find("03. 2026", 25);
    EXPECT_EQ(header.x, 854);
    EXPECT_EQ(header.y, 40);
    const auto& lunar = s.find("农历:二月", 12);
    EXPECT_EQ(lunar.x, 684 + 50);
    EXPECT_EQ(lunar.y, 55);
    const auto& weekdays = s.find("周一 周二 周三 周四 周五 周六 周日", 11);
    EXPECT_EQ(weekdays.x, 684 + 40);
    EXPECT_EQ(weekdays.y, 80);
    EXPECT_EQ(s.find("1 ", 16).x, 959); // the Sunday column
    for (const auto& p : s.prints) {
        EXPECT_EQ(p.font, "Times New Roman");
        EXPECT_TRUE(p.bold);
    }
    // The block stands against the picture's right edge, whatever its width.
    EXPECT_EQ(rendered(QDate(2026, 3, 1), QDate(2026, 3, 20), settings::DefaultCalendarColour, 1920)
                  .find("1 ", 16)
                  .x,
              1920 - 340 + 275);
}

TEST(Renderer, APictureNarrowerThanTheBlockIsAnError)
{
    MonthGrid grid(MonthGrid::Kind::Main);
    grid.fill(QDate(2026, 3, 1), QDate(2026, 3, 20), {});
    RecordingSurface narrow(339);
    EXPECT_THROW(printCalendar(narrow, grid, 0xFF), PictureError);
    EXPECT_TRUE(narrow.prints.empty());
    RecordingSurface justRoom(340);
    printCalendar(justRoom, grid, 0xFF);
    EXPECT_EQ(justRoom.find("2 ", 16).x, 50);
}

TEST(Renderer, TodaysCellIsRed)
{
    const auto s = rendered(QDate(2026, 3, 1), QDate(2026, 3, 5), 0xFF);
    const QColor red(255, 0, 0); // the calendar colour 255
    EXPECT_EQ(s.find("5 ", 16).colour, kTodayRed);
    EXPECT_EQ(s.find("惊蛰", 8).colour, kTodayRed); // its lunar text too
    EXPECT_EQ(s.find("15", 16).colour, red);
    EXPECT_EQ(s.find("25", 16).colour, red);
    EXPECT_EQ(s.find("03. 2026", 25).colour, red);
    // Today on the 1st reddens the 1st alone, not the 10th to the 19th.
    const auto first = rendered(QDate(2026, 3, 1), QDate(2026, 3, 1), 0xFF);
    EXPECT_EQ(first.find("1 ", 16).colour, kTodayRed);
    for (int day = 10; day <= 19; ++day)
        EXPECT_EQ(first.find(QString::number(day), 16).colour, red) << day;
}

TEST(Renderer, DayWithoutLunarTextPrintsItsNumberOnce)
{
    // 2200 lies past the lunar table: its cells hold the day number alone.
    const auto s = rendered(QDate(2200, 1, 1), QDate(2200, 1, 20));
    int ones = 0;
    for (const auto& p : s.prints)
        ones += p.text.trimmed() == "1";
    EXPECT_EQ(ones, 1);
    EXPECT_EQ(s.find("农历:月", 12).points, 12);
}

TEST(Renderer, LunarMonthHeader)
{
    EXPECT_EQ(lunarMonthHeader(QDate(2026, 12, 20)), QStringLiteral("农历:十一月"));
    EXPECT_EQ(lunarMonthHeader(QDate(2026, 2, 20)), QStringLiteral("农历:一月"));
    EXPECT_EQ(lunarMonthHeader(QDate(2023, 4, 1)), QStringLiteral("农历:二月")); // leap 2
    EXPECT_EQ(lunarMonthHeader(QDate(2200, 1, 1)), QStringLiteral("农历:月"));
    EXPECT_EQ(monthYearHeader(QDate(2026, 3, 5)), QStringLiteral("03. 2026"));
}

TEST(Renderer, SystemColoursComeFromThePalette)
{
    EXPECT_EQ(shownColour(16771047), kDefault);
    EXPECT_EQ(shownColour(0xFF0000), QColor(0, 0, 255));
    // System colour 8, the window text.
    EXPECT_EQ(shownColour(qint32(0x80000008u)),
              QGuiApplication::palette().color(QPalette::Active, QPalette::WindowText));
}

// The real surface: pixels of a rendered wallpaper.
class RenderedWallpaper : public ::testing::Test {
protected:
    static constexpr QRgb kBackground = qRgb(40, 90, 40);

    QImage render(QDate today, const QString& colour)
    {
        QFile ini(dir.filePath("kel.ini"));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[MyApp3]\r\ntext5=" + colour.toLatin1() + "\r\ntext6=1024\r\n");
        ini.close();
        MonthGrid grid(MonthGrid::Kind::Main);
        grid.fill(today, today, {});
        RenderCalendarWallpaper(surface, grid, ProfileFile(dir.filePath("kel.ini")));
        saveBitmap(surface.composed(), dir.filePath("zm.bmp"));
        QImage image(dir.filePath("zm.bmp"));
        EXPECT_FALSE(image.isNull());
        return image.convertToFormat(QImage::Format_RGB32);
    }

    void SetUp() override
    {
        QImage background(1024, 768, QImage::Format_RGB32);
        background.fill(kBackground);
        surface.setBackground(background);
    }

    static int count(const QImage& image, QRect area, QRgb colour)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }

    QTemporaryDir dir;
    picBuffer surface;
};

TEST_F(RenderedWallpaper, PrintsOnlyInsideTheBlock)
{
    const QImage image = render(QDate(2026, 3, 5), "16771047");
    ASSERT_EQ(image.size(), QSize(1024, 768));
    const QRect block(684, 0, 340, 400);
    int changedOutside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!block.contains(x, y))
                changedOutside += image.pixel(x, y) != kBackground;
    EXPECT_EQ(changedOutside, 0);
    EXPECT_GT(count(image, block, qRgb(231, 231, 255)), 2000); // glyphs in the calendar colour
    // Today, the 5th, is a Thursday in row 1, which March does not shift: red there only.
    EXPECT_GT(count(image, QRect(684 + 165, 135, 30, 22), kTodayRed.rgb()), 15);
    EXPECT_EQ(count(image, QRect(684 + 45, 135, 115, 22), kTodayRed.rgb()), 0);

    QFile bmp(dir.filePath("zm.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    const QByteArray header = bmp.read(54);
    EXPECT_EQ(header.left(2), "BM");
    EXPECT_EQ(quint8(header[28]), 24); // bits per pixel
}

TEST_F(RenderedWallpaper, EachRunStartsFromTheBareBackground)
{
    const QImage first = render(QDate(2026, 3, 5), "255");
    const QImage second = render(QDate(2026, 3, 5), "65280");
    const QRect block(684, 0, 340, 400);
    EXPECT_GT(count(first, block, qRgb(255, 0, 0)), 1000);
    EXPECT_EQ(count(second, block, qRgb(255, 0, 0)), 0); // no trace of the first colour
    EXPECT_GT(count(second, block, qRgb(0, 255, 0)), 1000);
    EXPECT_EQ(render(QDate(2026, 3, 5), "255"), first);
}

TEST_F(RenderedWallpaper, FailedSaveKeepsTheOldFile)
{
    render(QDate(2026, 3, 5), "255");
    const auto bytes = [&] {
        QFile f(dir.filePath("zm.bmp"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    };
    const QByteArray before = bytes();
    // The writer refuses an image without pixels after the new file was begun beside zm.bmp.
    EXPECT_THROW(saveBitmap(QImage(), dir.filePath("zm.bmp")), PictureError);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"kel.ini", "zm.bmp"}));
}

// At a scale factor the whole block grows about the picture's right edge: every text keeps
// its place and size measured in the screen's own pixels.
TEST(CalendarRenderer, ScalesTheWholeBlockWithTheScreen)
{
    MonthGrid grid(MonthGrid::Kind::Main);
    grid.fill(QDate(2026, 3, 5), QDate(2026, 3, 5), {});
    RecordingSurface at100(1024);
    printCalendar(at100, grid, settings::DefaultCalendarColour);
    for (const double scale : {1.5, 2.0}) {
        SCOPED_TRACE(scale);
        RecordingSurface scaled(3840);
        printCalendar(scaled, grid, settings::DefaultCalendarColour, scale);
        ASSERT_EQ(scaled.prints.size(), at100.prints.size());
        for (std::size_t i = 0; i < at100.prints.size(); ++i) {
            const auto& a = at100.prints[i];
            const auto& b = scaled.prints[i];
            EXPECT_EQ(b.text, a.text);
            EXPECT_DOUBLE_EQ(3840 - b.x, (1024 - a.x) * scale) << a.text.toStdString();
            EXPECT_DOUBLE_EQ(b.y, a.y * scale);
            EXPECT_DOUBLE_EQ(b.points, a.points * scale);
        }
        RecordingSurface narrow(int(340 * scale) - 1);
        EXPECT_THROW(printCalendar(narrow, grid, settings::DefaultCalendarColour, scale),
                     PictureError);
    }
}

// The 休 and 班 of October 2026 go right of their day numbers, clear of the next cell's, at
// every scale; every other text is printed exactly as without them.
TEST(CalendarRenderer, DayMarksBesideTheNumbersMoveNothing)
{
    const OfficialDays shipped = OfficialDays::load(QString());
    const QDate today(2026, 10, 1);
    MonthGrid plain(MonthGrid::Kind::Main);
    plain.fill(today, today, {});
    MonthGrid marked(MonthGrid::Kind::Main);
    marked.setDayMarks([&](QDate day) { return shipped.day(day); });
    marked.fill(today, today, {});
    EXPECT_EQ(marked.Label6(), QStringLiteral("今天是:国庆节"));

    RecordingSurface without(1024);
    printCalendar(without, plain, settings::DefaultCalendarColour);
    for (const double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        RecordingSurface with(int(1024 * scale));
        printCalendar(with, marked, settings::DefaultCalendarColour, scale);
        std::vector<RecordingSurface::Print> texts, marks;
        for (const auto& p : with.prints)
            (p.text == "休" || p.text == "班" ? marks : texts).push_back(p);
        ASSERT_EQ(texts.size(), without.prints.size());
        EXPECT_EQ(texts.back().text, marked.Label6()); // today's line, empty without marks
        for (std::size_t i = 0; scale == 1 && i + 1 < texts.size(); ++i) {
            EXPECT_EQ(texts[i].text, without.prints[i].text);
            EXPECT_EQ(texts[i].x, without.prints[i].x) << texts[i].text.toStdString();
            EXPECT_EQ(texts[i].y, without.prints[i].y) << texts[i].text.toStdString();
            EXPECT_EQ(texts[i].colour, without.prints[i].colour) << texts[i].text.toStdString();
        }
        // 1 to 7 休, 10 班: each after its own number and before the next one's, level with it.
        const QStringList days{"1", "2", "3", "4", "5", "6", "7", "10"};
        ASSERT_EQ(marks.size(), std::size_t(days.size()));
        for (qsizetype i = 0; i < days.size(); ++i) {
            const auto& mark = marks[std::size_t(i)];
            const auto& number = without.find(days[i].leftJustified(2), 16); // "1 ", "10"
            const double x = 1024 - (1024 * scale - mark.x) / scale;         // back at 100 %
            EXPECT_EQ(mark.text, i < 7 ? "休" : "班");
            EXPECT_EQ(mark.colour, i < 7 ? kDayOffSquare : kWorkdaySquare);
            EXPECT_NE(mark.colour, kTodayRed);
            EXPECT_GE(x, number.x + 10.5 * double(days[i].size()));
            EXPECT_LE(x + 11, number.x + 34) << days[i].toStdString();
            EXPECT_NEAR(mark.y / scale, number.y + 3, 1e-9);
            EXPECT_DOUBLE_EQ(mark.points, 6.75 * scale);
        }
    }
}

// A reminder too long for one line wraps under itself inside the block, at every scale: three
// lines, the last ending in "…", none reaching past the day columns' right edge.
TEST(CalendarRenderer, LongTodayLineWrapsInsideTheBlock)
{
    const QString text = QStringLiteral("妈妈的生日，记得早点下班回家买蛋糕和花，给外婆打电话问好，"
                                        "周末全家一起去公园散步看樱花，晚上一起吃火锅，"
                                        "别忘了带上生日礼物和贺卡");
    MonthGrid grid(MonthGrid::Kind::Main);
    grid.fill(QDate(2026, 3, 5), QDate(2026, 3, 5), [&](int, int) { return std::optional(text); });
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        QImage picture(1024 * scale, 768 * scale, QImage::Format_RGB32);
        picture.fill(Qt::black);
        picBuffer surface;
        surface.setBackground(picture);
        printCalendar(surface, grid, settings::DefaultCalendarColour, scale);
        const QImage& image = surface.composed();
        const auto ink = [&](int x, int y) { return image.pixel(x, y) != qRgb(0, 0, 0); };
        // Below March's last lunar texts (y 335 on) only today's line is printed: its lines are
        // the bands of rows with ink, each {top, bottom, left, right}.
        std::vector<std::array<int, 4>> lines;
        for (int y = 333 * scale; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (ink(x, y)) {
                    if (lines.empty() || y > lines.back()[1] + 2)
                        lines.push_back({y, y, x, x});
                    auto& l = lines.back();
                    l = {l[0], y, std::min(l[2], x), std::max(l[3], x)};
                }
        ASSERT_EQ(lines.size(), 3u);
        const int x0 = image.width() - 340 * scale;
        for (const auto& l : lines) {
            EXPECT_GE(l[2], x0 + 45 * scale - 1);
            EXPECT_LE(l[3], x0 + 300 * scale);
        }
        EXPECT_GE(lines[0][3], x0 + 270 * scale); // as wide as there is room for
        // The last line ends in "…": the ink of its last 8 pixels (at 100 %) is a row of dots.
        int top = image.height(), bottom = 0;
        for (int y = lines[2][0]; y <= lines[2][1]; ++y)
            for (int x = lines[2][3] - 8 * scale; x <= lines[2][3]; ++x)
                if (ink(x, y))
                    top = std::min(top, y), bottom = std::max(bottom, y);
        EXPECT_LE(bottom - top, 3 * scale);
    }
}
