#include "jobs.h"
#include "settings.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

using testfiles::readBytes;

void writeBytes(const QString& path, const QByteArray& data)
{
    ASSERT_TRUE(testfiles::writeBytes(path, data));
}

// A picture with a distinct colour in each quadrant, so stretching can be checked.
QImage quadrants(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y,
                           x < size.width() / 2 ? (y < size.height() / 2 ? 0xff0000 : 0x00ff00)
                                                : (y < size.height() / 2 ? 0x0000ff : 0xffff00));
    return image;
}

class PictureImport : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(name); }

    ImportedPicture import(const QString& picture, QSize screen = {1024, 768})
    {
        MonthGrid grid(MonthGrid::Kind::Main);
        grid.fill(QDate(2026, 3, 5), QDate(2026, 3, 5), {});
        return importPicture(folder, picture, screen, grid);
    }

    QTemporaryDir dir;
    ProgramFolder folder{dir.path()};
};

} // namespace

TEST_F(PictureImport, StretchesToTheScreenIgnoringProportions)
{
    quadrants({800, 600}).save(path("small.png"));
    const ImportedPicture picture = import(path("small.png"));
    EXPECT_EQ(resolutionCaption(picture), QStringLiteral("当前屏幕分辨率是：1024X768"));

    const QImage kel(path("kel.bmp"));
    const QImage zm(path("zm.bmp"));
    EXPECT_EQ(kel.size(), QSize(1024, 768));
    EXPECT_EQ(zm.size(), QSize(1024, 768));
    EXPECT_EQ(kel.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(kel.pixel(1014, 758), qRgb(255, 255, 0));
    EXPECT_EQ(kel.pixel(500, 10), qRgb(255, 0, 0)); // the left half stays the left half
    EXPECT_EQ(kel.pixel(530, 10), qRgb(0, 0, 255));
    EXPECT_NE(zm, kel); // the calendar is printed on zm.bmp only
    EXPECT_EQ(readSetting(ProfileFile(path("kel.ini")), settings::PictureWidth), "1024");
}

TEST_F(PictureImport, ShrinksALargeJpeg)
{
    quadrants({4000, 3000}).save(path("large.jpg"), "jpeg", 90);
    import(path("large.jpg"), {1920, 1080});
    const QImage kel(path("kel.bmp"));
    EXPECT_EQ(kel.size(), QSize(1920, 1080));
    EXPECT_LT(qAbs(qRed(kel.pixel(100, 100)) - 255), 8);
    EXPECT_LT(qAbs(qBlue(kel.pixel(1800, 100)) - 255), 8);
}

TEST_F(PictureImport, TakesAPictureLargerThanQtAllowsByDefault)
{
    QImage huge(9000, 8000, QImage::Format_RGB32); // 288 MB decoded
    huge.fill(qRgb(10, 200, 30));
    ASSERT_TRUE(huge.save(path("huge.png")));
    huge = QImage();
    import(path("huge.png"), {640, 360});
    EXPECT_EQ(QImage(path("kel.bmp")).pixel(5, 5), qRgb(10, 200, 30));
}

TEST_F(PictureImport, BadInputChangesNothing)
{
    quadrants({800, 600}).save(path("good.png"));
    import(path("good.png"));
    const QByteArray kel = readBytes(path("kel.bmp")), zm = readBytes(path("zm.bmp")),
                     ini = readBytes(path("kel.ini"));

    QByteArray jpeg;
    {
        QImage image = quadrants({640, 480});
        QFile f(path("full.jpg"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        image.save(&f, "jpeg");
    }
    jpeg = readBytes(path("full.jpg"));
    writeBytes(path("truncated.jpg"), jpeg.left(jpeg.size() / 2));
    QByteArray png = readBytes(path("good.png"));
    writeBytes(path("truncated.png"), png.left(png.size() / 3));
    QByteArray corrupt = png;
    for (int i = 100; i < corrupt.size(); i += 7)
        corrupt[i] = char(corrupt[i] ^ 0x5A);
    writeBytes(path("corrupt.png"), corrupt);
    writeBytes(path("text.txt"), "not a picture at all\n");
    writeBytes(path("empty.png"), {});
    // A PNG header claiming 100000 x 100000 pixels, with nothing behind it.
    writeBytes(path("bomb.png"), QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"
                                                     "000186a0000186a00806000000"));
    QDir(dir.path()).mkdir("folder.png");

    for (const char* name : {"truncated.jpg", "truncated.png", "corrupt.png", "text.txt",
                             "empty.png", "bomb.png", "folder.png", "missing.png"}) {
        SCOPED_TRACE(name);
        try {
            import(path(name));
            ADD_FAILURE() << "accepted";
        } catch (const PictureError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("Cannot use " + path(name)))
                << e.what();
        }
        EXPECT_EQ(readBytes(path("kel.bmp")), kel);
        EXPECT_EQ(readBytes(path("zm.bmp")), zm);
        EXPECT_EQ(readBytes(path("kel.ini")), ini);
    }
}

TEST_F(PictureImport, RefusedSettingsWriteKeepsTheBitmaps)
{
    quadrants({800, 600}).save(path("good.png"));
    import(path("good.png"));
    const QByteArray kel = readBytes(path("kel.bmp")), zm = readBytes(path("zm.bmp"));
    quadrants({300, 200}).save(path("other.png"));
    // kel.ini as a folder: the width, stored last, cannot be stored, so both bitmaps that were
    // already replaced are put back, and nothing is left beside them.
    QFile::remove(path("kel.ini"));
    QDir(dir.path()).mkdir("kel.ini");
    EXPECT_ANY_THROW(import(path("other.png")));
    EXPECT_EQ(readBytes(path("kel.bmp")), kel);
    EXPECT_EQ(readBytes(path("zm.bmp")), zm);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"good.png", "kel.bmp", "other.png", "zm.bmp"}));
}
