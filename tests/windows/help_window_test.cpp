#include "controls/CustomPanel.h"
#include "controls/title_drag.h"
#include "controls/xptopbuttons.h"
#include "engine/clsDate.h"
#include "model/festival_count.h"
#include "windows/help_window.h"

#include <QAccessible>
#include <QDir>
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

    HelpWindow window{QDir::homePath() + "/.local/share/Deskleaf"};
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
    EXPECT_EQ(label->text(),
              helpText(QDir::homePath() + "/.local/share/Deskleaf", HelpPlatform::Linux));
    EXPECT_LE(label->heightForWidth(label->width()), label->height()); // no line cut off
    // The other copies' texts too, with folders as long as a user's.
    for (const auto& [folder, copy] :
         {std::pair{R"(C:\Users\zhangsan\Desktop\墙纸月历 Deskleaf)", HelpPlatform::Windows},
          std::pair{"/home/zhangsan/下载/deskleaf-4.0-linux-x86_64",
                    HelpPlatform::LinuxUnpacked}}) {
        label->setText(helpText(folder, copy));
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << folder;
    }
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

    const QString text = helpText("/home/zhang/.local/share/Deskleaf", HelpPlatform::Linux);
    const QStringList lines = text.split('\n');
    EXPECT_TRUE(lines.first().contains(QRegularExpression("^Deskleaf V\\d+\\.\\d+$")));
    EXPECT_TRUE(text.contains(QString("和%1个中外节日").arg(names.size())));
    EXPECT_EQ(lines.last(), lines.filter(QRegularExpression("^■")).last()); // the tips close it
}

// Each platform's text says how that copy is started and refreshed, where it keeps its files,
// that 去除墙纸 puts the old wallpaper back, and what its command line is called.
TEST(HelpTextTest, TrueToEachPlatformsCopy)
{
    const struct {
        HelpPlatform platform;
        QString folder;
        QStringList says, never;
    } rows[] = {
        {HelpPlatform::Linux,
         QDir::homePath() + "/.local/share/Deskleaf",
         {"应用程序菜单", "保存在~/.local/share/Deskleaf。", "每天零点", "systemd",
          "deskleaf apply", "man deskleaf"},
         {".exe", "解压", "./deskleaf"}},
        {HelpPlatform::LinuxUnpacked,
         "/home/zhang/deskleaf-4.0",
         {"在它所在的文件夹里运行Tidemark", "保存在/home/zhang/deskleaf-4.0。", "每天零点",
          "./deskleaf apply"},
         {"菜单", "man deskleaf", ".exe", "解压"}},
        {HelpPlatform::Windows,
         R"(D:/日历/Deskleaf)",
         {"解压到任意文件夹（文件夹名称可以有中文和空格），运行Tidemark.exe",
          R"(保存在D:\日历\Deskleaf。)", "deskleaf.exe apply"},
         {"零点", "systemd", "菜单", "man "}},
    };
    // A copy keeping its files beside its program file runs unpacked.
    EXPECT_EQ(thisCopy(QCoreApplication::applicationDirPath()), HelpPlatform::LinuxUnpacked);
    EXPECT_EQ(thisCopy(rows[0].folder), HelpPlatform::Linux);
    for (const auto& row : rows) {
        const QString text = helpText(row.folder, row.platform);
        SCOPED_TRACE(text.toStdString());
        for (const QString& part : row.says + QStringList{"去除墙纸：换回", "替换墙纸", "--help"})
            EXPECT_TRUE(text.contains(part)) << part.toStdString();
        for (const QString& part : row.never)
            EXPECT_FALSE(text.contains(part)) << part.toStdString();
    }
}
