// One picture per monitor: fitting, the calendar's monitor, the spanning picture, and the jobs
// that store and hand them over.
#include "model/jobs.h"
#include "model/screen_pictures.h"
#include "model/settings.h"
#include "support/fakes.h"
#include "support/test_files.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

// 400x100: a blue quarter, white middle, a red quarter.
QImage bands()
{
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            image.setPixel(x, y, qRgb(0, 0, 255));
            image.setPixel(300 + x, y, qRgb(255, 0, 0));
        }
    return image;
}

MonthGrid gridFor(QDate day)
{
    MonthGrid grid(MonthGrid::Kind::Main);
    grid.fill(day, day, {});
    return grid;
}

// A landscape primary and a portrait monitor to its right.
ComposeTarget twoMonitors(PictureLayout layout)
{
    ComposeTarget target;
    target.screens = {{"DP-1", QRect(0, 0, 640, 360), 1, true},
                      {"DP-2", QRect(640, 0, 360, 640), 1, false}};
    target.layout = layout;
    return target;
}

} // namespace

TEST(FitPicture, StretchFillAndFitKeepWhatEachPromises)
{
    struct Row {
        PictureFit fit;
        QRgb left, centre, top; // at (2, 50), (50, 50), (50, 2) of a 100x100 result
    };
    // Fit: a 100x25 band across the middle; the bars take the mean of its top and bottom
    // rows (a quarter blue, half white, a quarter red).
    const QRgb bar = qRgb(191, 128, 191);
    const Row rows[] = {
        {PictureFit::Stretch, qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(255, 255, 255)},
        {PictureFit::Fill, qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(255, 255, 255)},
        {PictureFit::Fit, qRgb(0, 0, 255), qRgb(255, 255, 255), bar},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(pictureFitText(r.fit).toStdString());
        const QImage fitted = fitPicture(bands(), {100, 100}, r.fit);
        ASSERT_EQ(fitted.size(), QSize(100, 100));
        EXPECT_EQ(fitted.pixel(2, 50), r.left);
        EXPECT_EQ(fitted.pixel(50, 50), r.centre);
        const QRgb top = fitted.pixel(50, 2);
        EXPECT_NEAR(qRed(top), qRed(r.top), 2);
        EXPECT_NEAR(qGreen(top), qGreen(r.top), 2);
        EXPECT_NEAR(qBlue(top), qBlue(r.top), 2);
    }
    EXPECT_EQ(pictureFitFromText(" Fill"), PictureFit::Fill);
    EXPECT_EQ(pictureFitFromText("zoom"), std::nullopt);
}

TEST(ComposeWallpaper, CalendarOnThePrimaryAndEachMonitorAtItsPlace)
{
    const MonthGrid grid = gridFor(QDate(2026, 12, 8));
    ComposeTarget target = twoMonitors(PictureLayout::Spanned);
    EXPECT_EQ(target.decodeSize(), QSize(640, 640));
    const ComposedWallpaper w =
        composeWallpaper(bands(), target, grid, settings::DefaultCalendarColour);
    ASSERT_EQ(w.screens.size(), 2);
    EXPECT_EQ(w.screens[0].composed.size(), QSize(640, 360));
    EXPECT_NE(w.screens[0].composed, w.screens[0].background);
    EXPECT_EQ(w.screens[1].composed.size(), QSize(360, 640));
    EXPECT_EQ(w.screens[1].composed, w.screens[1].background); // no calendar there
    ASSERT_EQ(w.spanned.size(), QSize(1000, 640));
    EXPECT_EQ(w.spanned.copy(640, 0, 360, 640), w.screens[1].composed);
    EXPECT_EQ(w.spanned.copy(0, 0, 640, 360), w.screens[0].composed);
    EXPECT_EQ(describeScreens(w), "640x360 (DP-1, primary, calendar), 360x640 (DP-2), "
                                  "spanned as one 1000x640 picture");

    target.calendarOnEveryScreen = true;
    target.layout = PictureLayout::PerScreen;
    const ComposedWallpaper every =
        composeWallpaper(bands(), target, grid, settings::DefaultCalendarColour);
    EXPECT_NE(every.screens[1].composed, every.screens[1].background);
    EXPECT_TRUE(every.spanned.isNull());
}

class ScreenJobs : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    ProgramFolder folder{dir.path()};
    fakes::FakeWallpaper wallpaper;
};

TEST_F(ScreenJobs, EachMonitorGetsItsPictureAndANewLayoutIsComposedFromTheKeptOne)
{
    ASSERT_TRUE(bands().save(path("photo.png")));
    const MonthGrid grid = gridFor(QDate(2026, 12, 8));
    const ComposeTarget two = twoMonitors(PictureLayout::PerScreen);
    importPicture(folder, path("photo.png"), two, grid);
    EXPECT_EQ(QImage(path("zm.bmp")).size(), QSize(640, 360));
    EXPECT_EQ(QImage(path("kel.bmp")).size(), QSize(640, 360));
    EXPECT_EQ(QImage(path("zm-DP-2.bmp")).size(), QSize(360, 640));
    EXPECT_EQ(testfiles::readBytes(path("original.png")), testfiles::readBytes(path("photo.png")));
    EXPECT_EQ(readSetting(folder.profile(), settings::PictureWidth), "640");

    applyWallpaper(folder, wallpaper, two, QDate(2026, 12, 8));
    EXPECT_EQ(wallpaper.calls,
              QStringList({"apply DP-1 " + path("zm.bmp"), "apply DP-2 " + path("zm-DP-2.bmp")}));
    const QImage monday(path("zm.bmp"));
    applyWallpaper(folder, wallpaper, two, QDate(2026, 12, 9)); // another day, another calendar
    EXPECT_NE(QImage(path("zm.bmp")), monday);
    const ComposeTarget spanning = twoMonitors(PictureLayout::Spanned);
    EXPECT_EQ(wallpaperPictures(folder, spanning).front().area, QRect(0, 0, 1000, 640));

    // The picture itself is gone: one monitor of another size and another fit are made from
    // the kept copy, and the other monitor's wallpaper goes.
    QFile::remove(path("photo.png"));
    ComposeTarget one = ComposeTarget::single({800, 450});
    renderWallpaper(folder, grid, one);
    EXPECT_EQ(QImage(path("kel.bmp")).size(), QSize(800, 450));
    EXPECT_EQ(readSetting(folder.profile(), settings::PictureWidth), "800");
    EXPECT_FALSE(QFile::exists(path("zm-DP-2.bmp")));
    EXPECT_EQ(QImage(path("kel.bmp")).pixel(2, 200), qRgb(0, 0, 255));
    storePictureFit(folder, PictureFit::Fill);
    one.fit = storedPictureFit(folder);
    renderWallpaper(folder, grid, one);
    EXPECT_EQ(QImage(path("kel.bmp")).pixel(2, 200), qRgb(255, 255, 255));
    EXPECT_EQ(readSetting(folder.profile(), settings::BackgroundFit), "fill");
}

// Another monitor's wallpaper is written on a thread of its own: its failure still fails the
// import, naming the file, and the primary's files stay as they were.
TEST_F(ScreenJobs, AnotherMonitorsWallpaperThatCannotBeWrittenFailsTheImport)
{
    ASSERT_TRUE(bands().save(path("photo.png")));
    ASSERT_TRUE(bands().mirrored(true, false).save(path("other.png")));
    const MonthGrid grid = gridFor(QDate(2026, 12, 8));
    const ComposeTarget two = twoMonitors(PictureLayout::PerScreen);
    importPicture(folder, path("photo.png"), two, grid);
    const QByteArray before = testfiles::readBytes(path("zm.bmp"));
    ASSERT_TRUE(QFile::setPermissions(path("zm-DP-2.bmp"), QFile::ReadOwner));
    try {
        importPicture(folder, path("other.png"), two, grid);
        ADD_FAILURE() << "the import did not fail";
    } catch (const PictureError& e) {
        EXPECT_NE(std::string(e.what()).find("zm-DP-2.bmp"), std::string::npos) << e.what();
    }
    EXPECT_EQ(testfiles::readBytes(path("zm.bmp")), before);
}
