#include "model/jobs.h"
#include "model/settings.h"
#include "support/test_files.h"
#include "support/throws.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLoggingCategory>
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

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return buffer.data();
}

void putLe16(QByteArray& bytes, qsizetype at, int value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

void putBe16(QByteArray& bytes, qsizetype at, int value)
{
    bytes[at] = char(value >> 8);
    bytes[at + 1] = char(value & 0xFF);
}

// Qt writes no GIF: this one keeps its LZW data uncompressed, a code for each pixel, and
// clears the code table after 1000 of them, so that the codes grow from 9 to 11 bits as the
// decoder's table does. The screen's size is at byte 6, the picture's at 786.
QByteArray gifOf(const QImage& image)
{
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
    QByteArray gif("GIF89a");
    const auto le16 = [&gif](int value) { gif += char(value & 0xFF), gif += char(value >> 8); };
    le16(image.width());
    le16(image.height());
    gif += "\xF7";
    gif += QByteArray(2, '\0');
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < indexed.colorCount() ? indexed.color(i) : 0;
        gif += char(qRed(colour)), gif += char(qGreen(colour)), gif += char(qBlue(colour));
    }
    gif += ',';
    le16(0), le16(0), le16(image.width()), le16(image.height());
    gif += '\0';
    gif += '\x08';
    QByteArray data;
    quint32 bits = 0;
    int pending = 0, sinceClear = 0, size = 9, next = 257; // the first code adds no entry
    const auto put = [&](int code) {
        bits |= quint32(code) << pending;
        for (pending += size; pending >= 8; pending -= 8, bits >>= 8)
            data += char(bits & 0xFF);
    };
    put(256);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (++sinceClear == 1000)
                put(256), sinceClear = 0, size = 9, next = 257;
            put(indexed.pixelIndex(x, y));
            // The decoder adds an entry for every code but the first after a clear.
            if (++next == 1 << size)
                ++size;
        }
    put(257);
    if (pending)
        data += char(bits & 0xFF);
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const QByteArray part = data.mid(i, 255);
        gif += char(part.size());
        gif += part;
    }
    gif += '\0';
    return gif + ';';
}

// Qt writes no run-length BMP: an RLE8 one, each row as runs of up to 255 pixels.
QByteArray rle8Of(const QImage& image)
{
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
    QByteArray data;
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width();) {
            int run = 1;
            while (x + run < image.width() && run < 255 &&
                   indexed.pixelIndex(x + run, y) == indexed.pixelIndex(x, y))
                ++run;
            data += char(run), data += char(indexed.pixelIndex(x, y));
            x += run;
        }
        data += QByteArray(2, '\0'); // end of the row
    }
    data += QByteArray("\0\1", 2); // end of the picture
    QByteArray bmp(54, '\0');
    const qsizetype colours = indexed.colorCount();
    bmp[0] = 'B', bmp[1] = 'M';
    putLe16(bmp, 10, int(54 + 4 * colours));
    bmp[14] = 40;
    putLe16(bmp, 18, image.width());
    putLe16(bmp, 22, image.height());
    bmp[26] = 1, bmp[28] = 8, bmp[30] = 1; // one plane, 8 bits, RLE8
    putLe16(bmp, 34, int(data.size()));
    putLe16(bmp, 46, int(colours));
    for (const QRgb colour : indexed.colorTable())
        bmp += char(qBlue(colour)), bmp += char(qGreen(colour)), bmp += char(qRed(colour)),
            bmp += '\0';
    return bmp + data;
}

// A JPEG whose header makes libjpeg warn before the pixels: a JFIF revision 2.01 and an
// Adobe marker with a colour transform code it does not know.
QByteArray withHarmlessWarnings(QByteArray jpeg)
{
    EXPECT_EQ(jpeg.mid(6, 5), QByteArray("JFIF", 5));
    jpeg[11] = 2;
    return jpeg.insert(2, QByteArray::fromHex("ffee000e41646f6265006400000000"
                                              "07"));
}

// The offset of a JPEG's frame header (SOF0 or SOF2).
qsizetype frameHeader(const QByteArray& jpeg)
{
    const qsizetype at = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    return at >= 0 ? at : jpeg.indexOf(QByteArray("\xFF\xC2", 2));
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

// The formats of Qt's image format plugins come in whole, as the built-in ones do.
TEST_F(PictureImport, TakesWebpAndTiff)
{
    for (const char* format : {"webp", "tiff"}) {
        SCOPED_TRACE(format);
        const QString file = path("picture.") + QLatin1String(format);
        writeBytes(file, encoded(quadrants({64, 48}), format));
        const QImage image = loadStretchedPicture(file, {128, 96});
        EXPECT_EQ(image.size(), QSize(128, 96));
        // Lossy WebP moves the colours a little.
        const auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b)) <
                   24;
        };
        EXPECT_TRUE(near(image.pixel(10, 10), qRgb(255, 0, 0)));
        EXPECT_TRUE(near(image.pixel(118, 86), qRgb(255, 255, 0)));
    }
}

// Formats whose readers allocate what the file asks (these two, found by the fuzzer, asked
// for 612 MiB and 2 GiB) are refused before decoding, whatever the file's name says.
TEST_F(PictureImport, RefusesFormatsWhoseReadersAllocateWhatTheFileAsks)
{
    const struct {
        const char* format;
        QByteArray bytes;
    } rows[] = {
        {"mng",
         QByteArray::fromBase64(
             "ik1ORw0KGgoAAAANSUhEUgAAABAAZgAMEAIAAAC0EXaVAAAARUlEQVQ4y2NkYGhoYCGgAQABAAAAAAA"
             "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAACEAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
             "AAAAAAAAP/bAEMAAwICAwICAwICAgMDAwMEBtA6DmhtAY2DiHGX3l1LWvuAtqmI1nHA+P////+0SUUB"
             "AAAAYII=")},
        {"icns",
         QByteArray::fromBase64(
             "aWNucwAAAJZUT0MgAAAAEGljcGlwNABjAAB+NAAAAH6JUE5HDQoaCgAAAA1JSERSAAAAEAAAABAIAgA"
             "AAJCRaDYAAAAJcEhZcwAADsQAAA7EAZUrDhsAAAAoSURBVCiRY2RgiGJnYOAnDnEwMLAwMDGQBFgY+E"
             "c1jGoYKA3MpGkAABK/AjLfx3zUAAAAAElFTkSuQmCC")},
    };
    for (const auto& row : rows) {
        const QByteArray named = QByteArray("picture.") + row.format;
        for (const char* name : {named.constData(), "picture.png"}) {
            SCOPED_TRACE(name);
            writeBytes(path(name), row.bytes);
            EXPECT_THROW_MSG(loadPicture(path(name), {}), PictureError,
                             ::testing::EndsWith("not a picture in a format this program reads."));
        }
        EXPECT_FALSE(pictureFormats().contains(row.format));
    }
}

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
        EXPECT_THROW_MSG(import(path(name)), PictureError,
                         ::testing::StartsWith(("Cannot use " + path(name)).toStdString()));
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
              QStringList({"good.png", "jobs.lock", "kel.bmp", "kel.ini.lock", "original.png",
                           "other.png", "zm.bmp"}));
    EXPECT_EQ(readBytes(path("original.png")), readBytes(path("good.png")));
}

TEST_F(PictureImport, RefusesEveryPictureItsDecoderCouldNotReadWhole)
{
    const QImage picture = quadrants({64, 48});
    const QByteArray jpeg = encoded(quadrants({640, 480}), "jpeg");
    const QByteArray gif = gifOf(picture);
    const QByteArray bmp = encoded(quadrants({3, 4}), "bmp"); // 24-bit rows of 9 + 3 bytes

    QByteArray jpegClaim = encoded(quadrants({16, 16}), "jpeg");
    putBe16(jpegClaim, frameHeader(jpegClaim) + 5, 16000);
    putBe16(jpegClaim, frameHeader(jpegClaim) + 7, 16000);
    // Progressive: decoded through a buffer of every coefficient, 1.2 GB for 20000 x 20000.
    QByteArray progressive = encoded(quadrants({64, 64}), "jpeg", true);
    putBe16(progressive, frameHeader(progressive) + 5, 20000);
    putBe16(progressive, frameHeader(progressive) + 7, 20000);
    progressive += QByteArray(1'500'000, 'v');
    QByteArray bmpClaim = encoded(quadrants({16, 16}), "bmp");
    bmpClaim.resize(4096);
    putLe16(bmpClaim, 18, 16000);
    putLe16(bmpClaim, 22, 16000);
    QByteArray gifClaim = gif;
    for (const qsizetype at : {6, 786}) {
        putLe16(gifClaim, at, 4000);
        putLe16(gifClaim, at + 2, 4000);
    }
    // The logical screen 0 x 0, the picture claiming 3000 x 3000 with data for 64 x 48.
    QByteArray gifScreen0 = gif;
    putLe16(gifScreen0, 6, 0), putLe16(gifScreen0, 8, 0);
    putLe16(gifScreen0, 786, 3000), putLe16(gifScreen0, 788, 3000);
    // The LZW data cut to a third, its blocks and the trailer still in place.
    const QByteArray gifData = gifOf(quadrants({256, 256})).mid(792).chopped(2);
    QByteArray gifThird = gifOf(quadrants({256, 256})).left(792);
    for (qsizetype i = 0; i < gifData.size() / 3; i += 256)
        gifThird += gifData.mid(i, 256); // whole sub-blocks, each its length byte first
    gifThird += QByteArray("\0;", 2);
    const QByteArray rle = rle8Of(quadrants({64, 48}));
    const QByteArray xbm = encoded(quadrants({64, 48}), "xbm");
    const QByteArray harmless = withHarmlessWarnings(jpeg);
    QByteArray pngClaim = encoded(quadrants({16, 16}), "png");
    pngClaim.replace(16, 8, QByteArray::fromHex("00002ee0000020d0")); // 12000 x 8400
    const QByteArray webp = encoded(quadrants({640, 480}), "webp");
    const QByteArray tiff = encoded(quadrants({640, 480}), "tiff");

    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"cut.jpg", jpeg.left(jpeg.size() / 2),
         "damaged (Corrupt JPEG data: premature end of data segment)"},
        {"cut-with-end-marker.jpg", jpeg.left(jpeg.size() / 2) + "\xFF\xD9",
         "damaged (Corrupt JPEG data: premature end of data segment)"},
        {"claims-16000.jpg", jpegClaim,
         "damaged (it claims 16000 x 16000 pixels, which need at least 750,609 bytes, but the file "
         "has only"},
        {"progressive-claims-20000.jpg", progressive,
         "it claims to be 20000 x 20000 pixels, which would take 1,1"},
        {"cut.gif", gif.left(gif.size() / 2), "damaged (it ends before the GIF trailer)."},
        {"no-trailer.gif", gif.chopped(1), "damaged (it ends before the GIF trailer)."},
        {"unknown-block.gif", gif.chopped(1) + "\x07", "unknown block at byte"},
        {"claims-4000.gif", gifClaim,
         "damaged (it claims 4000 x 4000 pixels, which even at LZW's best need 5,867 bytes, "
         "but the file has only"},
        // The last pixel byte is missing: only the padding of the last row may be.
        {"short-by-one.bmp", bmp.chopped(4),
         "damaged (it claims 3 x 4 pixels, which at 24 bits each need 99 bytes, but the file "
         "has only 98 bytes)."},
        {"cut.bmp", bmp.left(bmp.size() / 2), "at 24 bits each need 99 bytes"},
        {"claims-16000-4k.bmp", bmpClaim,
         "damaged (it claims 16000 x 16000 pixels, which at 24 bits each need 768,000,054 bytes, "
         "but the file has only 4,096 bytes)."},
        {"claims-12000x8400.png", pngClaim, "which even at deflate's best need 293,023 bytes"},
        // Each harmless warning would hide the damage after it.
        {"harmless-warnings-then-cut.jpg", harmless.left(harmless.size() / 2),
         "damaged (Corrupt JPEG data: premature end of data segment)"},
        {"screen-0x0-claims-3000.gif", gifScreen0,
         "damaged (its picture data stops after 3,072 of its 9,000,000 pixels)."},
        {"lzw-third.gif", gifThird, "its picture data stops after 2"},
        {"cut-rle8.bmp", rle.left(rle.size() / 2),
         "damaged (its run-length data stops at row 19 of 48 rows)."},
        {"cut.xbm", xbm.left(xbm.size() / 3),
         "damaged (it claims 64 x 48 pixels, which need 384 values, but the file has only 1"},
        {"cut.webp", webp.left(webp.size() / 2), "damaged (Unable to read image data)."},
        {"cut.tiff", tiff.left(tiff.size() / 2), "damaged (Unable to read image data)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(c.name), c.bytes);
        EXPECT_THROW_MSG(
            loadStretchedPicture(path(c.name), {1920, 1080}), PictureError,
            ::testing::AllOf(::testing::StartsWith(
                                 ("Cannot use " + path(c.name) + " as a picture: ").toStdString()),
                             ::testing::HasSubstr(c.says)));
    }
}

TEST_F(PictureImport, TakesWholePicturesWhateverFollowsThem)
{
    const QImage picture = quadrants({64, 48});
    const QByteArray bmp = encoded(quadrants({3, 4}), "bmp");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        // A phone's motion photo: the video follows the picture's end marker.
        {"motion.jpg", encoded(picture, "jpeg", false) + QByteArray(200 * 1024, 'v')},
        {"progressive.jpg", encoded(picture, "jpeg", true)},
        {"picture.gif", gifOf(picture)},
        {"after-trailer.gif", gifOf(picture) + "trailing"},
        {"no-last-padding.bmp", bmp.chopped(3)},
        {"alpha.png", encoded(picture.convertToFormat(QImage::Format_ARGB32), "png")},
        {"harmless-warnings.jpg", withHarmlessWarnings(encoded(picture, "jpeg"))},
        {"rle8.bmp", rle8Of(picture)},
        {"picture.xbm", encoded(picture, "xbm")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(c.name), c.bytes);
        const QImage image = loadStretchedPicture(path(c.name), {320, 240});
        EXPECT_EQ(image.size(), QSize(320, 240));
        if (QByteArray(c.name).startsWith("no-last-padding") || QByteArray(c.name).endsWith(".xbm"))
            continue; // 3 x 4 pixels do not keep their quadrants, nor black and white
        EXPECT_LT(qAbs(qRed(image.pixel(10, 10)) - 255), 8);
        EXPECT_LT(qAbs(qBlue(image.pixel(310, 10)) - 255), 8);
        EXPECT_LT(qAbs(qGreen(image.pixel(10, 230)) - 255), 8);
    }
}

QStringList seenWarnings;

TEST_F(PictureImport, DecoderWarningsGoBackToTheirHandlerAfterAnImport)
{
    const QByteArray jpeg = encoded(quadrants({64, 48}), "jpeg");
    writeBytes(path("cut.jpg"), jpeg.left(jpeg.size() / 2));
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
    seenWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { seenWarnings += text; });
    // Caught even with the logging rules turning the decoder's warnings off.
    EXPECT_THROW(loadStretchedPicture(path("cut.jpg"), {}), PictureError);
    qWarning("after the import");
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules({});
    EXPECT_EQ(seenWarnings, QStringList{"after the import"});
}

TEST_F(PictureImport, RefusesAtOnceASizeWhoseBackgroundCouldNotBeOpenedAgain)
{
    EXPECT_EQ(backgroundSizeRefusal({16384, 8192}), std::nullopt);
    const auto refusal = backgroundSizeRefusal({16384, 8193});
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, QStringLiteral("A background of 16384 x 8193 pixels would take 513 MiB of "
                                       "memory to open again; this program opens pictures of up "
                                       "to 512 MiB, 134,217,728 pixels (16384 x 8192, for "
                                       "example)."));
    quadrants({64, 48}).save(path("small.png"));
    EXPECT_THROW_MSG(import(path("small.png"), {16384, 8193}), PictureError,
                     ::testing::StrEq(refusal->toStdString()));
    EXPECT_FALSE(QFile::exists(path("kel.bmp")));

    // The same limit where such a background is opened again: a 24-bit BMP of that size,
    // its pixels a hole in the file.
    QByteArray bmp = encoded(quadrants({4, 4}), "bmp").left(54);
    putLe16(bmp, 18, 16384);
    putLe16(bmp, 22, 8193);
    writeBytes(path("stored.bmp"), bmp);
    ASSERT_TRUE(QFile::resize(path("stored.bmp"), 54 + qint64(16384) * 3 * 8193));
    EXPECT_THROW_MSG(
        loadStretchedPicture(path("stored.bmp"), {}), PictureError,
        ::testing::EndsWith("which would take 513 MiB of memory to open; this program opens "
                            "pictures of up to 512 MiB."));
}
