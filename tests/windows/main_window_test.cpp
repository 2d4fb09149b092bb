#include "controls/CustomPanel.h"
#include "controls/minimise_together.h"
#include "controls/xpcmdbutton.h"
#include "controls/xptopbuttons.h"
#include "model/settings.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "windows/main_window.h"
#include "wiring/translations.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindow& window(bool ticked = false)
    {
        window_ = std::make_unique<MainWindow>(
            MainWindowServices{folder,
                               {wallpaper, logon, refresh, "/opt/Tidemark"},
                               [this] { return clock(); },
                               [](QWidget*) { return QSize(640, 360); },
                               [this](QWidget*) { return chosen; },
                               [this](QWidget*, const QString& text) { told << text; },
                               openSettings},
            ticked);
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }
    template <typename T> T* find(const char* name) { return window_->findChild<T*>(name); }
    QString path(const char* name) const { return dir.filePath(name); }
    void click(const char* button) { QTest::mouseClick(find<QWidget>(button), Qt::LeftButton); }

    QTemporaryDir dir;
    ProgramFolder folder{dir.path()};
    fakes::FakeWallpaper wallpaper;
    fakes::FakeLogonStart logon;
    fakes::FakeDailyRefresh refresh;
    QDate today{2026, 9, 25};
    std::function<QDate()> clock = [this] { return today; };
    QString chosen;
    QStringList told;
    std::function<void(QWidget*)> openSettings;
    std::unique_ptr<MainWindow> window_;
};

} // namespace

TEST_F(MainWindowTest, ControlsSitWhereTheyWereDesigned)
{
    window();
    EXPECT_EQ(window_->size(), QSize(745, 505));
    EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
    const auto* panel = find<CustomPanel>("CustomPanel1");
    EXPECT_EQ(panel->Caption(), QStringLiteral("DeskleafV4.0"));
    EXPECT_EQ(panel->DownTitleGradientEnd(), 16569503);
    EXPECT_EQ(panel->DisabledBGGradientEnd(), 13160660);
    EXPECT_EQ(panel->font().families().first(), QStringLiteral("SimSun"));

    struct Row {
        const char* name;
        QRect place; // pixels, from twips at 15 to the pixel
        const char* caption;
        bool visible;
    };
    const Row rows[] = {
        {"CustomPanel1", {0, 0, 745, 505}, "DeskleafV4.0", true},
        {"xpcmdbutton1", {16, 32, 73, 25}, "打开图片", true},
        {"xpcmdbutton3", {96, 32, 73, 25}, "替换墙纸", true},
        {"xpcmdbutton4", {176, 32, 73, 25}, "去除墙纸", true},
        {"xpcmdbutton5", {256, 32, 73, 25}, "设  置", true},
        {"xpcmdbutton7", {336, 32, 73, 25}, "帮  助", true},
        {"xpcmdbutton2", {256, 80, 73, 25}, "预  览", false},
        {"xptopbuttons2", {696, 0, 21, 21}, nullptr, true},
        {"xptopbuttons1", {720, 0, 21, 21}, nullptr, true},
        {"Image1", {0, 64, 745, 441}, nullptr, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QWidget* w = find<QWidget>(r.name);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->geometry(), r.place);
        EXPECT_EQ(w->isVisible(), r.visible);
        EXPECT_FALSE(w->accessibleName().isEmpty());
        if (const auto* b = qobject_cast<const xpcmdbutton*>(w); b && r.caption) {
            EXPECT_EQ(b->caption(), QString::fromUtf8(r.caption));
        }
    }
    EXPECT_EQ(find<QLabel>("Label55")->text(), QStringLiteral("自动运行："));
    EXPECT_EQ(find<QWidget>("Check1")->pos(), QPoint(480, 37));
    EXPECT_EQ(find<QLabel>("Label7")->pos(), QPoint(600, 32));
}

TEST_F(MainWindowTest, CommandsReachTheJobs)
{
    window();
    click("xpcmdbutton3");
    ASSERT_EQ(told.size(), 1); // nothing to set yet
    EXPECT_TRUE(wallpaper.calls.isEmpty());

    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    picture.save(path("photo.png"));
    chosen = path("photo.png");
    click("xpcmdbutton1");
    EXPECT_EQ(find<QLabel>("Label7")->text(), QStringLiteral("当前屏幕分辨率是：640X360"));
    EXPECT_EQ(QImage(path("zm.bmp")).size(), QSize(640, 360));
    EXPECT_FALSE(find<QLabel>("Image1")->pixmap().isNull());
    EXPECT_EQ(window_->grid().Label6(), QStringLiteral("今天是:中秋节"));
    // What the settings window stores shows in the wallpaper composed when it closes.
    openSettings = [this](QWidget*) {
        writeSetting(folder.profile(), settings::CalendarColour, "65280");
    };
    window();
    const QByteArray composed = testfiles::readBytes(path("zm.bmp"));
    click("xpcmdbutton5");
    EXPECT_NE(testfiles::readBytes(path("zm.bmp")), composed);
    openSettings = {};
    window(); // opened again later: the stored picture and its size are shown
    EXPECT_EQ(find<QLabel>("Label7")->text(), QStringLiteral("当前屏幕分辨率是：640X360"));
    EXPECT_FALSE(find<QLabel>("Image1")->pixmap().isNull());
    // Back in front on the next day, the preview shows that day's calendar.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window_.get(), &activate);
    const QByteArray shown = testfiles::readBytes(path("zm.bmp"));
    today = today.addDays(1);
    QApplication::sendEvent(window_.get(), &activate);
    EXPECT_NE(testfiles::readBytes(path("zm.bmp")), shown);
    today = today.addDays(-1);

    // The keyboard presses the focused command as the pointer does.
    find<QWidget>("xpcmdbutton3")->setFocus();
    QTest::keyClick(find<QWidget>("xpcmdbutton3"), Qt::Key_Space);
    click("xpcmdbutton4");
    EXPECT_EQ(wallpaper.calls, QStringList({"apply " + path("zm.bmp"), "remove"}));
    wallpaper.fail = true;
    QTest::keyClick(find<QWidget>("xpcmdbutton3"), Qt::Key_Return);
    EXPECT_TRUE(told.last().contains("refused"));

    chosen = path("notes.txt");
    QFile notes(chosen);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("hello");
    notes.close();
    const int before = told.size();
    click("xpcmdbutton1");
    ASSERT_EQ(told.size(), before + 1);
    EXPECT_TRUE(told.last().contains("notes.txt")) << told.last().toStdString();
    EXPECT_EQ(find<QLabel>("Label7")->text(), QStringLiteral("当前屏幕分辨率是：640X360"));
}

TEST_F(MainWindowTest, AutoRunBoxAndActivationFollowTheClock)
{
    window(true);
    auto* box = find<QCheckBox>("Check1");
    EXPECT_TRUE(box->isChecked());
    box->click();
    EXPECT_EQ(readSetting(folder.profile(), settings::AutoRun), "0");
    box->click();
    EXPECT_EQ(readSetting(folder.profile(), settings::AutoRun), "1");
    EXPECT_EQ(logon.calls, QStringList({"disable qorvent", "enable qorvent /opt/Tidemark"}));
    EXPECT_EQ(refresh.calls, QStringList({"disable", "enable /opt/deskleaf " + dir.path()}));
    EXPECT_TRUE(told.isEmpty());
    // Without a daily refresh, ticking says so once, in the 提示 box.
    refresh.missing = "no timer here";
    box->click();
    box->click();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("at each logon only") && told[0].contains("no timer here"));
    box->click(); // and never again, in this window or the next
    box->click();
    EXPECT_EQ(told.size(), 1);
    EXPECT_TRUE(logonOnlyNoticeTold(folder.profile()));

    today = QDate(2026, 10, 1); // the window comes back to the front on another day
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window_.get(), &activate);
    EXPECT_EQ(window_->grid().monthStart(), QDate(2026, 10, 1));
    today = QDate(2026, 11, 2); // or the pointer enters the title panel
    emit find<CustomPanel>("CustomPanel1")->MouseEnters();
    EXPECT_EQ(window_->grid().Label4(), QStringLiteral("11. 2026"));
}

// Under a Chinese locale the 提示 boxes say the reasons in Chinese: nothing but paths left in
// Latin letters.
TEST_F(MainWindowTest, MessagesFollowTheLanguage)
{
    ASSERT_TRUE(
        installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("zh_CN"))));
    window();
    click("xpcmdbutton3"); // nothing to set yet
    chosen = path("notes.txt");
    QFile notes(chosen);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("hello") == 5);
    notes.close();
    click("xpcmdbutton1"); // not a picture
    refresh.missing = QStringLiteral("没有定时服务");
    find<QCheckBox>("Check1")->click(); // the logon start only
    for (QObject* child : QCoreApplication::instance()->children())
        if (auto* translator = qobject_cast<QTranslator*>(child))
            QCoreApplication::removeTranslator(translator);
    ASSERT_EQ(told.size(), 3);
    for (QString text : told) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(text.remove(path("notes.txt"))
                         .contains(QRegularExpression(QStringLiteral("[A-Za-z]"))));
    }
}

// Each command looks at the clock once and goes by that day: a second look could fall after
// midnight and compose one day's grid as another's.
TEST_F(MainWindowTest, EachCommandReadsTheClockOnce)
{
    ASSERT_TRUE(testfiles::writeBytes(path("zm.bmp"), "made on another day"));
    int reads = 0;
    clock = [&] {
        ++reads;
        return today;
    };
    window();
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"activation",
         [&] {
             QEvent activate(QEvent::WindowActivate);
             QCoreApplication::sendEvent(window_.get(), &activate);
         }},
        {"替换墙纸", [&] { click("xpcmdbutton3"); }},
    };
    for (const auto& [name, run] : commands) {
        reads = 0;
        run();
        EXPECT_EQ(reads, 1) << name;
    }
}

TEST_F(MainWindowTest, CloseButtonEndsTheProgram)
{
    window();
    QTimer::singleShot(0, [this] { click("xptopbuttons1"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(2); }); // not ended: fail, not hang
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(window_->isVisible());
}

// From 1 November without next year's days off, a line over the preview says which year is
// missing and how to add it; it goes on a day that lacks none, and with the marks turned off.
TEST_F(MainWindowTest, TheMissingYearOfDaysOffIsSaidOverThePreview)
{
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    window();
    auto* notice = find<QLabel>("holidayNotice");
    QEvent activate(QEvent::WindowActivate);
    const auto activateOn = [&](QDate day) {
        today = day;
        QApplication::sendEvent(window_.get(), &activate);
        return notice->isVisible() ? notice->text() : QString();
    };
    EXPECT_EQ(activateOn(QDate(2026, 10, 31)), QString());
    const QString said = activateOn(QDate(2026, 11, 1));
    EXPECT_TRUE(said.contains("2027") && said.contains("deskleaf holidays import") &&
                said.contains(dir.filePath("data/deskleaf/holidays/cn/2027.json")))
        << said.toStdString();
    EXPECT_TRUE(told.isEmpty()); // no prompt
    writeSetting(folder.profile(), settings::HolidayMarks, "0");
    EXPECT_EQ(activateOn(QDate(2026, 11, 2)), QString());
    qunsetenv("XDG_DATA_HOME");
}

// A window on top going down takes the program with it, and the main window coming back
// brings it back on top: the window-modal help and a settings window run modally alike.
TEST_F(MainWindowTest, MinimisingAnyWindowMinimisesTheProgramAndRestoringRaisesTheTopOne)
{
    for (const bool modal : {false, true}) {
        SCOPED_TRACE(modal);
        bool checked = false;
        const auto check = [this, &checked](QWidget* top) {
            QTest::mouseClick(top->findChild<QWidget*>("xptopbuttons2"), Qt::LeftButton);
            EXPECT_TRUE(top->isMinimized());
            EXPECT_TRUE(window_->isMinimized());
            window_->setWindowState(Qt::WindowNoState); // from the taskbar
            EXPECT_FALSE(top->isMinimized());
            EXPECT_TRUE(top->isVisible());
            EXPECT_TRUE(QTest::qWaitForWindowActive(top));
            checked = true;
        };
        openSettings = [&](QWidget* owner) {
            QDialog settings(owner, Qt::Dialog | Qt::FramelessWindowHint);
            auto* minimise = new xptopbuttons(&settings);
            minimise->setObjectName("xptopbuttons2");
            QObject::connect(minimise, &xptopbuttons::Click, &settings,
                             [&settings] { minimiseProgram(&settings); });
            QTimer::singleShot(0, &settings, [&] {
                check(&settings);
                settings.accept();
            });
            settings.exec();
        };
        window();
        click(modal ? "xpcmdbutton5" : "xpcmdbutton7");
        if (!modal)
            check(window_->findChild<QDialog*>("Form2"));
        EXPECT_TRUE(checked);
        window_.reset();
    }
}

// The picture dialog offers WebP and TIFF pictures with the others, and no format the
// import refuses.
TEST(PictureDialog, OffersWebpAndTiff)
{
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        const QString pictures = dialog->nameFilters().constFirst();
        for (const char* pattern : {"*.webp", "*.tif", "*.tiff", "*.jpg", "*.png"})
            EXPECT_TRUE(pictures.contains(QLatin1String(pattern))) << pattern;
        for (const char* pattern : {"*.mng", "*.icns"})
            EXPECT_FALSE(pictures.contains(QLatin1String(pattern))) << pattern;
        checked = true;
        dialog->reject();
    });
    EXPECT_EQ(MainWindow::askForPicture(nullptr), QString());
    EXPECT_TRUE(checked);
}
