#include "fakes.h"
#include "main_window.h"
#include "settings.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindow& window(bool ticked = false)
    {
        window_ = std::make_unique<MainWindow>(
            MainWindowServices{profile, dir.path(), wallpaper, logon, "/opt/Tidemark",
                               [this] { return today; }, [] { return QSize(640, 360); },
                               [this](QWidget*) { return chosen; },
                               [this](QWidget*, const QString& text) { told << text; }},
            ticked);
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }
    template <typename T> T* find(const char* name) { return window_->findChild<T*>(name); }
    QString path(const char* name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    ProfileFile profile{dir.filePath("kel.ini")};
    fakes::FakeWallpaper wallpaper;
    fakes::FakeLogonStart logon;
    QDate today{2026, 9, 25};
    QString chosen;
    QStringList told;
    std::unique_ptr<MainWindow> window_;
};

} // namespace

TEST_F(MainWindowTest, OpenPictureThenReplaceAndRemoveTheWallpaper)
{
    window();
    QTest::mouseClick(find<QPushButton>("xpcmdbutton3"), Qt::LeftButton);
    ASSERT_EQ(told.size(), 1); // nothing to set yet
    EXPECT_TRUE(wallpaper.calls.isEmpty());

    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    picture.save(path("photo.png"));
    chosen = path("photo.png");
    QTest::mouseClick(find<QPushButton>("xpcmdbutton1"), Qt::LeftButton);
    EXPECT_EQ(find<QLabel>("Label7")->text(), QStringLiteral("当前屏幕分辨率是：640X360"));
    EXPECT_EQ(QImage(path("zm.bmp")).size(), QSize(640, 360));
    EXPECT_FALSE(find<QLabel>("Image1")->pixmap().isNull());
    EXPECT_EQ(window_->grid().Label6(), QStringLiteral("今天是:中秋节"));
    window(); // opened again later: the stored picture's size is shown
    EXPECT_EQ(find<QLabel>("Label7")->text(), QStringLiteral("当前屏幕分辨率是：640X360"));

    QTest::mouseClick(find<QPushButton>("xpcmdbutton3"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>("xpcmdbutton4"), Qt::LeftButton);
    EXPECT_EQ(wallpaper.calls, QStringList({"apply " + path("zm.bmp"), "remove"}));
    wallpaper.fail = true;
    QTest::mouseClick(find<QPushButton>("xpcmdbutton3"), Qt::LeftButton);
    EXPECT_TRUE(told.last().contains("refused"));
}

TEST_F(MainWindowTest, UnusablePictureIsToldAndChangesNothing)
{
    window();
    chosen.clear(); // the dialog was cancelled
    QTest::mouseClick(find<QPushButton>("xpcmdbutton1"), Qt::LeftButton);
    EXPECT_TRUE(told.isEmpty());
    chosen = path("notes.txt");
    QFile notes(chosen);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("hello");
    notes.close();
    QTest::mouseClick(find<QPushButton>("xpcmdbutton1"), Qt::LeftButton);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("notes.txt")) << told[0].toStdString();
    EXPECT_FALSE(QFile::exists(path("zm.bmp")));
    EXPECT_FALSE(QFile::exists(path("kel.ini")));
}

TEST_F(MainWindowTest, AutoRunBoxAndActivation)
{
    window(true);
    QCheckBox* box = find<QCheckBox>("Check1");
    EXPECT_TRUE(box->isChecked());
    box->click();
    EXPECT_EQ(readSetting(profile, settings::AutoRun), "0");
    box->click();
    EXPECT_EQ(readSetting(profile, settings::AutoRun), "1");
    EXPECT_EQ(logon.calls, QStringList({"disable qorvent", "enable qorvent /opt/Tidemark"}));

    today = QDate(2026, 10, 1); // the window comes back to the front on another day
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window_.get(), &activate);
    EXPECT_EQ(window_->grid().monthStart(), QDate(2026, 10, 1));
}
