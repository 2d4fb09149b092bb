#include "controls/CustomPanel.h"
#include "controls/title_drag.h"
#include "controls/xptopbuttons.h"
#include "engine/clsDate.h"
#include "model/festival_count.h"
#include "windows/help_window.h"

#include <QAccessible>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QWidget* find(const char* name) { return window.findChild<QWidget*>(name); }

    HelpWindow window;
};

} // namespace

// What a user sees: every control inside the window, below the title band or on it, none
// over another, the caption buttons named for a screen reader, and the whole text shown.
TEST_F(HelpWindowTest, ShowsEveryControlWholeAndApart)
{
    EXPECT_TRUE((window.windowFlags() & Qt::FramelessWindowHint) && window.isModal());
    EXPECT_EQ(window.windowTitle(), "帮 助");
    QList<QWidget*> shown;
    for (QWidget* w : find("XPContainer1")->findChildren<QWidget*>())
        if (w->isVisible())
            shown.append(w);
    ASSERT_EQ(shown.size(), 3);
    const auto place = [&](QWidget* w) { return QRect(w->mapTo(&window, QPoint()), w->size()); };
    for (QWidget* a : shown) {
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_TRUE(window.rect().contains(place(a)));
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(a)->text(QAccessible::Name).isEmpty());
        for (QWidget* b : shown)
            EXPECT_TRUE(a == b || !place(a).intersects(place(b))) << b->objectName().toStdString();
    }
    auto* label = static_cast<QLabel*>(find("Label1"));
    EXPECT_EQ(label->text(), helpText());
    EXPECT_LE(label->heightForWidth(label->width()), label->height()); // no line cut off
    EXPECT_EQ(QAccessible::queryAccessibleInterface(find("xptopbuttons1"))->text(QAccessible::Name),
              "关闭");
}

TEST_F(HelpWindowTest, CloseButtonAndEscCloseMinimiseMinimises)
{
    QSignalSpy rejected(&window, &QDialog::rejected);
    QTest::mouseClick(find("xptopbuttons2"), Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
    window.showNormal();
    QTest::mouseClick(find("xptopbuttons1"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());

    window.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(rejected.count(), 2);
}

TEST(TitleBandDragTest, TheBandMovesTheWindowAndStillGetsItsEvents)
{
    CustomPanel panel;
    panel.resize(200, 100);
    new TitleBandDrag(&panel, 23);
    QSignalSpy downs(&panel, &CustomPanel::MouseDown), ups(&panel, &CustomPanel::MouseUp);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const QPoint start = panel.pos();

    // Below the band: the window stays.
    QTest::mousePress(&panel, Qt::LeftButton, {}, {50, 23});
    QTest::mouseMove(&panel, {90, 60});
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, {90, 60});
    EXPECT_EQ(panel.pos(), start);

    // The offscreen platform cannot move windows itself, so the window follows the pointer.
    QTest::mousePress(&panel, Qt::LeftButton, {}, {50, 10});
    QTest::mouseMove(&panel, {80, 15});
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, {80, 15});
    EXPECT_EQ(panel.pos(), start + QPoint(30, 5));
    EXPECT_EQ(downs.count() + ups.count(), 4);
}

// Counted here from the tables and the shipped file read as an INI file, each blank-separated
// name once.
TEST(HelpTextTest, CountsEveryKnownFestivalAndSaysHowToUseTheProgram)
{
    QSet<QString> names{"除夕"};
    const auto add = [&](const QString& text) {
        for (const QString& name : text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
            names << name;
    };
    const auto addTable = [&](const auto& table) {
        for (const clsDate::Festival& f : table)
            add(QString::fromUtf8(f.Text));
    };
    addTable(clsDate::LunarFestivals);
    addTable(clsDate::WeekdayFestivals);
    addTable(clsDate::SolarFestivals);
    festivalCount(); // loads the resource
    QSettings ini(":/deskleaf/default_kel.ini", QSettings::IniFormat);
    ini.beginGroup("MyApp4");
    for (const QString& key : ini.childKeys())
        add(ini.value(key).toString());
    EXPECT_EQ(festivalCount(), names.size());

    const QStringList lines = helpText().split('\n');
    EXPECT_TRUE(lines.first().contains(QRegularExpression("^Deskleaf V\\d+\\.\\d+$")));
    EXPECT_TRUE(helpText().contains(QString("和%1个中外节日").arg(names.size())));
    const QStringList tips = lines.filter(QRegularExpression("^■"));
    ASSERT_EQ(tips.size(), 4);
    EXPECT_EQ(lines.last(), tips.last()); // the tips close the text
    EXPECT_TRUE(tips[0].contains("中文") && tips[0].contains("Tidemark.exe"));
    EXPECT_FALSE(tips[0].contains(u'不')) << "the folder name may hold Chinese";
}
