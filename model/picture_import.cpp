#include "model/picture_import.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace deskleaf {
namespace {

// What a decode may take: the decoded picture, the copy smooth scaling needs of a picture
// that is not 32-bit, and what a JPEG decoder keeps beside it. Together with the program's
// own ~45 MiB and its screen-sized images an import stays under 600 MiB, and a
// 100-megapixel photograph (385 MiB as 32-bit pixels) still opens.
constexpr qint64 kDecodeBudgetMiB = 512;
constexpr qint64 kDecodeBudget = kDecodeBudgetMiB * 1024 * 1024;
constexpr int kMaxSide = 65'535;

// The most a compressed format can pack into one byte, so that a header claiming more
// pixels than its file could hold is refused before anything is allocated for it.
// Deflate codes at best 258 bytes in 2 bits (1032 to 1); a full LZW table's 12-bit code
// stands for at most 4091 pixels; a Huffman-coded JPEG spends at least 1 bit on every 8x8
// block of every component.
constexpr qint64 kDeflateRatio = 1032;
constexpr qint64 kLzwPixelsPerCode = 4091;
constexpr qint64 kLzwCodeBits = 12;

// Decoder warnings that leave the picture whole. libjpeg shows only the first warning of a
// picture, so the two it gives while reading the header are kept from happening at all
// (JpegPatch below); this one comes after the last scan.
constexpr const char* kHarmlessWarnings[] = {
    "extraneous bytes before marker 0xd9", // stray bytes after the last scan
    "Unknown field with tag",              // libtiff: a tag it does not know
};
// The formats pictures come in whose decoders take their memory through Qt, within its
// allocation limit, or by the size the header gives, which the budget checks first. Not
// read: MNG (libmng allocates from a header Qt does not see: 612 MiB for a file of 200
// bytes), ICNS (Qt's reader takes an entry's length from the file: 2 GiB for 150 bytes), and
// the icon, TGA and WAP formats, which nobody chooses as a wallpaper.
constexpr const char* kBoundedFormats[] = {"bmp", "gif", "jpeg", "jpg",  "pbm", "pgm", "png",
                                           "ppm", "tif", "tiff", "webp", "xbm", "xpm"};
// The logging categories of Qt's image decoders and of the image format plugins.
constexpr const char* kDecoderCategories[] = {"qt.gui.imageio", "qt.imageformats"};

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw PictureError(
        QCoreApplication::translate("PictureImport", "Cannot use %1 as a picture: %2")
            .arg(path, why)
            .toStdString());
}

[[noreturn]] void refuseDamaged(const QString& path, const QString& reason)
{
    // The decoders' details mean little to a user: a translation may leave them out.
    const QString text = QCoreApplication::translate("PictureImport", "the file is damaged (%1).");
    refuse(path, text.contains(u"%1") ? text.arg(reason) : text);
}

QString claimed(qint64 width, qint64 height)
{
    return QCoreApplication::translate("PictureImport", "%1 x %2 pixels").arg(width).arg(height);
}

QString tooShort(qint64 width, qint64 height, const QString& need, qint64 needed, qint64 has)
{
    return QCoreApplication::translate(
               "PictureImport", "it claims %1, which %2 %L3 bytes, but the file has only %L4 bytes")
        .arg(claimed(width, height), need)
        .arg(needed)
        .arg(has);
}

// The file's bytes for the header checks, read through a window so that walking a large
// file's blocks costs neither a read per block nor the whole file in memory.
class FileBytes {
public:
    explicit FileBytes(QFile& file) : file_(file), size_(file.size()) {}

    qint64 size() const { return size_; }
    bool has(qint64 offset, qint64 count) const { return offset >= 0 && offset + count <= size_; }

    // The byte at offset; 0 past the end (callers check has() first).
    quint8 at(qint64 offset)
    {
        if (offset < start_ || offset >= start_ + window_.size()) {
            if (!has(offset, 1) || !file_.seek(offset))
                return 0;
            start_ = offset;
            window_ = file_.read(64 * 1024);
            if (window_.isEmpty())
                return 0;
        }
        return quint8(window_[offset - start_]);
    }
    quint32 le16(qint64 offset) { return at(offset) | at(offset + 1) << 8; }
    quint32 le32(qint64 offset) { return le16(offset) | le16(offset + 2) << 16; }
    quint32 be16(qint64 offset) { return at(offset) << 8 | at(offset + 1); }
    quint32 be32(qint64 offset) { return be16(offset) << 16 | be16(offset + 2); }

private:
    QFile& file_;
    qint64 size_;
    qint64 start_ = 0;
    QByteArray window_;
};

// What a header check found: why the file cannot be what it claims, and what its decoder
// needs beside the picture.
struct HeaderCheck {
    std::optional<QString> damage;
    qint64 decoderBytes = 0;
    std::optional<QString> tooLarge = std::nullopt; // the size claimed, past kMaxSide a side
    // Bytes to change before decoding (offset, new value), so that a warning that leaves
    // the picture whole does not hide the ones after it.
    QList<std::pair<qint64, char>> patches = {};
};

// Sides past kMaxSide are refused before any size is computed from them.
std::optional<HeaderCheck> oversized(qint64 width, qint64 height)
{
    if (width <= kMaxSide && height <= kMaxSide)
        return std::nullopt;
    return HeaderCheck{std::nullopt, 0, claimed(width, height)};
}

// Run-length coded BMP data (RLE8, RLE4) must reach its end mark, or end its last row,
// before the file ends: the decoder leaves whatever it did not reach in the first colour.
HeaderCheck checkBmpRle(FileBytes& bytes, qint64 pos, qint64 height, qint64 bits)
{
    qint64 row = 0;
    while (row < height) {
        if (!bytes.has(pos, 2))
            return {QCoreApplication::translate("PictureImport",
                                                "its run-length data stops at row %L1 of %L2 rows")
                        .arg(row + 1)
                        .arg(height)};
        const quint8 count = bytes.at(pos), code = bytes.at(pos + 1);
        pos += 2;
        if (count > 0) // a run of one colour
            continue;
        if (code == 0) // end of the row
            ++row;
        else if (code == 1) // end of the picture
            return {};
        else if (code == 2) { // a jump right and down
            row += bytes.at(pos + 1);
            pos += 2;
        } else // code pixels as they are, padded to a 16-bit boundary
            pos += ((code * bits + 7) / 8 + 1) / 2 * 2;
    }
    return {};
}

// An uncompressed BMP holds every row; only the last may lack its padding.
HeaderCheck checkBmp(FileBytes& bytes)
{
    if (!bytes.has(0, 30))
        return {QCoreApplication::translate("PictureImport", "the header is cut short")};
    const qint64 pixelsAt = bytes.le32(10);
    const quint32 headerSize = bytes.le32(14);
    qint64 width, height, bits;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = bytes.le16(18);
        height = bytes.le16(20);
        bits = bytes.le16(24);
    } else if (headerSize >= 40 && bytes.has(0, 34)) {
        width = qint32(bytes.le32(18));
        height = qint32(bytes.le32(22));
        bits = bytes.le16(28);
        compression = bytes.le32(30);
    } else {
        return {};
    }
    width = qAbs(width);
    height = qAbs(height); // negative for rows stored top down
    if (auto large = oversized(width, height))
        return *large;
    if (width == 0 || height == 0 || bits == 0)
        return {};
    if ((compression == 1 && bits == 8) || (compression == 2 && bits == 4))
        return checkBmpRle(bytes, pixelsAt, height, bits);
    // 0: BI_RGB, 3: BI_BITFIELDS, 6: BI_ALPHABITFIELDS; embedded formats are compressed.
    if (compression != 0 && compression != 3 && compression != 6)
        return {};
    const qint64 rowBytes = (width * bits + 7) / 8;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    const qint64 needed = pixelsAt + stride * (height - 1) + rowBytes;
    if (bytes.size() < needed)
        return {
            tooShort(width, height,
                     QCoreApplication::translate("PictureImport", "at %1 bits each need").arg(bits),
                     needed, bytes.size())};
    return {};
}

// The number of pixels a GIF picture's LZW data at pos (its code size byte, then data
// sub-blocks) decodes to, counted up to limit. Only the length of each table entry's
// string is kept, so it costs 8 KiB whatever the picture's size. Codes past the table
// count as the decoders take them: as the previous string and one pixel more.
qint64 lzwPixels(FileBytes& bytes, qint64 pos, qint64 limit)
{
    const int minimum = bytes.at(pos++);
    if (minimum > 11)
        return 0;
    const int clear = 1 << minimum, end = clear + 1;
    std::array<quint16, 4096> length{};
    int size = minimum + 1, next = clear + 2, previous = -1;
    quint32 buffer = 0;
    int buffered = 0, blockLeft = 0;
    qint64 pixels = 0;
    while (pixels < limit) {
        while (buffered < size) {
            if (blockLeft == 0) {
                if (!bytes.has(pos, 1) || (blockLeft = bytes.at(pos++)) == 0)
                    return pixels;
            }
            if (!bytes.has(pos, 1))
                return pixels;
            buffer |= quint32(bytes.at(pos++)) << buffered;
            buffered += 8;
            --blockLeft;
        }
        const int code = int(buffer & ((1u << size) - 1));
        buffer >>= size;
        buffered -= size;
        if (code == clear) {
            size = minimum + 1, next = clear + 2, previous = -1;
            continue;
        }
        if (code == end)
            return pixels;
        if (previous < 0) {
            pixels += 1;
        } else {
            const int before = previous < clear ? 1 : length[previous];
            pixels += code < clear ? 1 : code < next ? length[code] : before + 1;
            if (next < 4096) {
                length[next++] = quint16(before + 1);
                if (next == 1 << size && size < 12)
                    ++size;
            }
        }
        previous = code;
    }
    return pixels;
}

// A GIF is a chain of blocks up to its trailer; the first picture's compressed data must
// hold its pixels.
HeaderCheck checkGif(FileBytes& bytes)
{
    const QString cut =
        QCoreApplication::translate("PictureImport", "it ends before the GIF trailer");
    if (!bytes.has(0, 13))
        return {cut};
    const auto colourTable = [&](qint64 flagsAt) {
        const quint8 flags = bytes.at(flagsAt);
        return (flags & 0x80) ? 3 * (qint64(2) << (flags & 7)) : 0;
    };
    // Skips data sub-blocks from pos; returns their payload size, or -1 when the file ends.
    const auto subBlocks = [&](qint64& pos) -> qint64 {
        qint64 payload = 0;
        while (bytes.has(pos, 1)) {
            const quint8 length = bytes.at(pos++);
            if (length == 0)
                return payload;
            pos += length;
            payload += length;
        }
        return -1;
    };
    qint64 pos = 13 + colourTable(10);
    bool firstPicture = true;
    while (bytes.has(pos, 1)) {
        const quint8 block = bytes.at(pos);
        if (block == 0x3B)
            return {};
        if (block == 0x21) { // extension: label, then sub-blocks
            pos += 2;
            if (subBlocks(pos) < 0)
                return {cut};
        } else if (block == 0x2C) { // picture: descriptor, colour table, code size, data
            if (!bytes.has(pos, 11))
                return {cut};
            const qint64 width = bytes.le16(pos + 5), height = bytes.le16(pos + 7);
            pos += 10 + colourTable(pos + 9);
            const qint64 codeSizeAt = pos++;
            const qint64 data = subBlocks(pos);
            if (data < 0)
                return {cut};
            if (firstPicture && width * height * kLzwCodeBits > data * 8 * kLzwPixelsPerCode)
                return {tooShort(
                    width, height,
                    QCoreApplication::translate("PictureImport", "even at LZW's best need"),
                    (width * height * kLzwCodeBits / kLzwPixelsPerCode + 7) / 8, data)};
            if (firstPicture) {
                const qint64 pixels = lzwPixels(bytes, codeSizeAt, width * height);
                if (pixels < width * height)
                    return {
                        QCoreApplication::translate(
                            "PictureImport", "its picture data stops after %L1 of its %L2 pixels")
                            .arg(pixels)
                            .arg(width * height)};
            }
            firstPicture = false;
        } else {
            return {
                QCoreApplication::translate("PictureImport", "it has an unknown block at byte %L1")
                    .arg(pos)};
        }
    }
    return {cut};
}

HeaderCheck checkPng(FileBytes& bytes)
{
    if (!bytes.has(0, 29) || bytes.be32(12) != 0x49484452) // "IHDR"
        return {};
    const qint64 width = bytes.be32(16), height = bytes.be32(20);
    if (auto large = oversized(width, height))
        return *large;
    const int depth = bytes.at(24);
    const int channels = std::array{1, 0, 3, 1, 2, 0, 4, 0}[bytes.at(25) & 7];
    const qint64 rawBytes = width * height * channels * depth / 8;
    if (bytes.size() < rawBytes / kDeflateRatio)
        return {
            tooShort(width, height,
                     QCoreApplication::translate("PictureImport", "even at deflate's best need"),
                     rawBytes / kDeflateRatio, bytes.size())};
    return {};
}

// Reads the frame header and the first scan's header. A progressive JPEG, or one whose
// components come in scans of their own, is decoded through a buffer of all its
// coefficients (128 bytes for each 8x8 block). A JFIF revision other than 1.x and an Adobe
// colour transform code libjpeg does not know only make it warn, and it goes on as if it
// had read 1.x and the code for the picture's components (YCbCr, or YCCK for four): those
// bytes are changed to what it assumes, so that a later warning about the data is seen.
HeaderCheck checkJpeg(FileBytes& bytes)
{
    const auto startsWith = [&](qint64 at, QByteArrayView tag) {
        for (qsizetype i = 0; i < tag.size(); ++i)
            if (!bytes.has(at + i, 1) || bytes.at(at + i) != quint8(tag[i]))
                return false;
        return true;
    };
    QList<std::pair<qint64, char>> patches;
    QList<qint64> adobeTransforms;
    qint64 pos = 2, blocks = 0, width = 0, height = 0;
    int components = 0;
    bool progressive = false, arithmetic = false, frame = false;
    while (bytes.has(pos, 4)) {
        if (bytes.at(pos) != 0xFF)
            return {};
        const quint8 marker = bytes.at(pos + 1);
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        const qint64 length = bytes.be16(pos + 2);
        const qint64 at = pos + 4;
        if (marker == 0xE0 && length >= 16 && startsWith(at, QByteArrayView("JFIF", 5)) &&
            bytes.has(at + 5, 1) && bytes.at(at + 5) != 1)
            patches.append({at + 5, char(1)});
        if (marker == 0xEE && length >= 14 && startsWith(at, "Adobe") && bytes.has(at + 11, 1))
            adobeTransforms.append(at + 11);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC && bytes.has(at, 6)) {
            height = bytes.be16(at + 1);
            width = bytes.be16(at + 3);
            components = bytes.at(at + 5);
            progressive = (marker & 3) == 2;
            arithmetic = marker >= 0xC9;
            int maxH = 1, maxV = 1;
            for (int i = 0; i < components && bytes.has(at + 6 + 3 * i, 3); ++i) {
                const quint8 factors = bytes.at(at + 7 + 3 * i);
                maxH = std::max(maxH, factors >> 4);
                maxV = std::max(maxV, factors & 15);
            }
            for (int i = 0; i < components && bytes.has(at + 6 + 3 * i, 3); ++i) {
                const quint8 factors = bytes.at(at + 7 + 3 * i);
                const qint64 w = (width * std::max(1, factors >> 4) + maxH - 1) / maxH;
                const qint64 h = (height * std::max(1, factors & 15) + maxV - 1) / maxV;
                blocks += ((w + 7) / 8) * ((h + 7) / 8);
            }
            frame = true;
        } else if (marker == 0xDA) {
            if (!frame || !bytes.has(at, 1))
                return {};
            HeaderCheck check;
            const int assumed = components == 4 ? 2 : 1;
            for (const qint64 transform : adobeTransforms)
                if ((components == 3 || components == 4) && bytes.at(transform) != 0 &&
                    bytes.at(transform) != assumed)
                    patches.append({transform, char(assumed)});
            check.patches = patches;
            if (progressive || bytes.at(at) < components)
                check.decoderBytes = blocks * 128;
            if (!arithmetic && bytes.size() - pos < blocks / 8)
                check.damage = tooShort(
                    width, height, QCoreApplication::translate("PictureImport", "need at least"),
                    pos + blocks / 8, bytes.size());
            return check;
        }
        pos += 2 + length;
    }
    return {};
}

// An XBM's values follow its '{', one byte of eight pixels each; the decoder leaves the
// rows it finds no values for blank.
HeaderCheck checkXbm(FileBytes& bytes, QSize size)
{
    if (!size.isValid())
        return {};
    const qint64 needed = qint64(size.width() + 7) / 8 * size.height();
    qint64 pos = 0, values = 0;
    while (bytes.has(pos, 1) && bytes.at(pos) != '{')
        ++pos;
    for (; bytes.has(pos + 1, 1) && values < needed; ++pos)
        if (bytes.at(pos) == '0' && bytes.at(pos + 1) == 'x')
            ++values;
    if (values < needed)
        return {
            QCoreApplication::translate(
                "PictureImport", "it claims %1, which need %L2 values, but the file has only %L3")
                .arg(claimed(size.width(), size.height()))
                .arg(needed)
                .arg(values)};
    return {};
}

HeaderCheck checkHeader(const QString& path, const QByteArray& format, QSize size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    FileBytes bytes(file);
    if (format == "bmp")
        return checkBmp(bytes);
    if (format == "gif")
        return checkGif(bytes);
    if (format == "png")
        return checkPng(bytes);
    if (format == "jpeg")
        return checkJpeg(bytes);
    if (format == "xbm")
        return checkXbm(bytes, size);
    return {};
}

// Bytes per pixel while a picture is decoded and scaled: its own, plus a 32-bit copy when
// smooth scaling cannot work on its pixels in place.
qint64 decodeBytesPerPixel(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Invalid:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return 4;
    default: {
        const int depth = QImage::toPixelFormat(format).bitsPerPixel();
        return (depth + 7) / 8 + 4;
    }
    }
}

// Collects the warnings of the image decoders while it lives: Qt's readers pass them on
// only through qWarning, and a warning about damaged data is the only sign that a decoder
// filled the rest of the picture with one colour. Warnings of other threads and other
// messages go on to the handler it replaced.
class DecoderWarnings {
public:
    DecoderWarnings() : thread_(QThread::currentThread())
    {
        active_ = this;
        previousHandler_ = qInstallMessageHandler(&collect);
        previousFilter_ = QLoggingCategory::installFilter(&enable);
    }
    ~DecoderWarnings()
    {
        QLoggingCategory::installFilter(previousFilter_);
        qInstallMessageHandler(previousHandler_);
        active_ = nullptr;
    }
    DecoderWarnings(const DecoderWarnings&) = delete;
    DecoderWarnings& operator=(const DecoderWarnings&) = delete;

    const QStringList& damage() const { return damage_; }
    // For a decode that starts again from the header.
    void forget() { damage_.clear(); }

private:
    static bool isDecoder(const char* category)
    {
        for (const char* prefix : kDecoderCategories)
            if (category && qstrncmp(category, prefix, qstrlen(prefix)) == 0)
                return true;
        return false;
    }

    // The warnings are collected even where the logging rules turn them off.
    static void enable(QLoggingCategory* category)
    {
        if (active_->previousFilter_)
            active_->previousFilter_(category);
        if (isDecoder(category->categoryName()))
            category->setEnabled(QtWarningMsg, true);
    }

    static void collect(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if ((type == QtWarningMsg || type == QtCriticalMsg) &&
            QThread::currentThread() == active_->thread_) {
            for (const char* harmless : kHarmlessWarnings)
                if (text.contains(QLatin1String(harmless)))
                    return;
            active_->damage_ += text;
            return;
        }
        if (active_->previousHandler_)
            active_->previousHandler_(type, context, text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }

    static inline DecoderWarnings* active_ = nullptr;
    QThread* thread_;
    QtMessageHandler previousHandler_ = nullptr;
    QLoggingCategory::CategoryFilter previousFilter_ = nullptr;
    QStringList damage_;
};

QString tooLargeToOpen(QSize size, qint64 needed)
{
    return QCoreApplication::translate(
               "PictureImport",
               "it claims to be %1, which would take %L2 MiB of memory to open; this "
               "program opens pictures of up to %L3 MiB.")
        .arg(claimed(size.width(), size.height()))
        .arg((needed + 1024 * 1024 - 1) / (1024 * 1024))
        .arg(kDecodeBudgetMiB);
}

// What a background of this size takes to open again: a stored kel.bmp is a 24-bit BMP,
// which decodes to 32-bit pixels.
qint64 backgroundBytes(QSize size)
{
    return qint64(size.width()) * size.height() * decodeBytesPerPixel(QImage::Format_RGB32);
}

#ifdef Q_OS_LINUX
// Memory for a large decoded picture in huge pages where the system gives them on request:
// the decoder's first write to each 4 KiB page otherwise costs a page fault, which for a
// 12-megapixel photograph is a fifth of the import.
constexpr std::size_t kHugePage = 2 * 1024 * 1024;

void releaseMapping(void* mapping)
{
    const auto* header = static_cast<const std::size_t*>(mapping);
    ::munmap(mapping, header[0]);
}
#endif

// An empty picture of size and format for the decoder to write into (it keeps one that has
// its size and format), or a null one where the system's own allocation does as well.
QImage decodeTarget(QSize size, QImage::Format format)
{
#ifdef Q_OS_LINUX
    if (!size.isValid() || format != QImage::Format_RGB32)
        return {};
    const std::size_t bytesPerLine = std::size_t(size.width()) * 4;
    const std::size_t bytes = bytesPerLine * std::size_t(size.height());
    if (bytes < 4 * kHugePage)
        return {};
    // One huge page more: the pixels start at a huge page's boundary, the mapping's length
    // is kept in front of them.
    const std::size_t length = (bytes + 2 * kHugePage - 1) / kHugePage * kHugePage;
    void* mapping =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return {};
    static_cast<std::size_t*>(mapping)[0] = length;
    auto* pixels = reinterpret_cast<uchar*>(
        (reinterpret_cast<std::uintptr_t>(mapping) + kHugePage) / kHugePage * kHugePage);
    (void)::madvise(pixels, bytes, MADV_HUGEPAGE);
    return QImage(pixels, size.width(), size.height(), qsizetype(bytesPerLine), format,
                  releaseMapping, mapping);
#else
    Q_UNUSED(size);
    Q_UNUSED(format);
    return {};
#endif
}

} // namespace

std::optional<QString> backgroundSizeRefusal(QSize size)
{
    if (!size.isValid() || backgroundBytes(size) <= kDecodeBudget)
        return std::nullopt;
    const qint64 pixels = kDecodeBudget / decodeBytesPerPixel(QImage::Format_RGB32);
    return QCoreApplication::translate(
               "PictureImport",
               "A background of %1 x %2 pixels would take %L3 MiB of memory to open "
               "again; this program opens pictures of up to %L4 MiB, %L5 pixels "
               "(%6 x %7, for example).")
        .arg(size.width())
        .arg(size.height())
        .arg((backgroundBytes(size) + 1024 * 1024 - 1) / (1024 * 1024))
        .arg(kDecodeBudgetMiB)
        .arg(pixels)
        .arg(16384)
        .arg(pixels / 16384);
}

QList<QByteArray> pictureFormats()
{
    QList<QByteArray> formats;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        if (std::ranges::any_of(kBoundedFormats, [&](const char* f) { return format == f; }))
            formats << format;
    return formats;
}

QImage loadPicture(const QString& path, QSize size)
{
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, QCoreApplication::translate("PictureImport", "the file does not exist."));
    if (info.isDir())
        refuse(path, QCoreApplication::translate("PictureImport", "it is a folder."));
    if (info.size() == 0)
        refuse(path, QCoreApplication::translate("PictureImport", "the file is empty."));
    if (QFile file(path); !file.open(QIODevice::ReadOnly))
        refuse(path, file.errorString() + u'.'); // "Permission denied", not "not a picture"

    // From the first look at the header on: libjpeg warns once per picture, and the header
    // is read before the pixels.
    DecoderWarnings warnings;
    // A backstop for the check below, in the decoders themselves.
    QImageReader::setAllocationLimit(int(kDecodeBudgetMiB));
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        refuse(path, QCoreApplication::translate(
                         "PictureImport", "it is not a picture in a format this program reads."));
    // Asked first: a reader that fails to read the size forgets its format.
    const QByteArray format = reader.format();
    if (!pictureFormats().contains(format))
        refuse(path, QCoreApplication::translate(
                         "PictureImport", "it is not a picture in a format this program reads."));
    const QSize original = reader.size();
    if (original.isValid() && (original.width() > kMaxSide || original.height() > kMaxSide))
        refuse(path, QCoreApplication::translate("PictureImport",
                                                 "it claims to be %1, too large to open.")
                         .arg(claimed(original.width(), original.height())));

    HeaderCheck header = checkHeader(path, format, original);
    if (header.tooLarge)
        refuse(path, QCoreApplication::translate("PictureImport",
                                                 "it claims to be %1, too large to open.")
                         .arg(*header.tooLarge));
    if (header.damage)
        refuseDamaged(path, *header.damage);

    // The file with its patches, decoded from memory.
    QByteArray patched;
    QBuffer patchedDevice;
    if (!header.patches.isEmpty()) {
        if (info.size() > kDecodeBudget)
            refuse(path, tooLargeToOpen(original, info.size()));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            refuse(path, file.errorString());
        patched = file.readAll();
        for (const auto& [at, value] : std::as_const(header.patches))
            patched[at] = value;
        patchedDevice.setBuffer(&patched);
        patchedDevice.open(QIODevice::ReadOnly);
        // The header is read again, without the warnings reading it gave.
        reader.setDevice(&patchedDevice);
        reader.setFormat(format);
        warnings.forget();
        header.decoderBytes += patched.size();
    }

    // JPEG decodes at 1/2, 1/4 or 1/8 scale for the price of the smaller picture: take
    // the smallest that still covers the screen.
    QSize decoded = original;
    if (format == "jpeg" && original.isValid() && size.isValid()) {
        int scale = 1;
        while (scale < 8 && original.width() / (scale * 2) >= size.width() &&
               original.height() / (scale * 2) >= size.height())
            scale *= 2;
        if (scale > 1) {
            decoded = QSize((original.width() + scale - 1) / scale,
                            (original.height() + scale - 1) / scale);
            reader.setScaledSize(decoded);
        }
    }
    if (decoded.isValid()) {
        const qint64 needed =
            qint64(decoded.width()) * decoded.height() * decodeBytesPerPixel(reader.imageFormat()) +
            header.decoderBytes;
        if (needed > kDecodeBudget)
            refuse(path, tooLargeToOpen(original, needed));
    }

    QImage image = decodeTarget(decoded, reader.imageFormat());
    if (!reader.read(&image))
        image = QImage();
    if (!warnings.damage().isEmpty())
        refuseDamaged(path, warnings.damage().join(QStringLiteral("; ")));
    if (image.isNull())
        refuseDamaged(path, reader.errorString());
    // A decoder that stopped early and said nothing may still give a smaller picture.
    if (decoded.isValid() && image.size() != decoded && image.size() != decoded.transposed())
        refuseDamaged(path, QCoreApplication::translate("PictureImport",
                                                        "it claims %1, but only %2 could be read")
                                .arg(claimed(decoded.width(), decoded.height()),
                                     claimed(image.width(), image.height())));
    // Smooth scaling works on 32-bit pixels: converted in place, a large picture is not
    // copied first.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    return image;
}

QImage loadStretchedPicture(const QString& path, QSize size)
{
    if (const auto refusal = backgroundSizeRefusal(size))
        throw PictureError(refusal->toStdString());
    QImage image = loadPicture(path, size);
    if (size.isValid() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return std::move(image).convertToFormat(QImage::Format_RGB32);
}

QSize screenSizeInPixels(const QScreen* screen)
{
    if (!screen)
        return {1920, 1080};
    return (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
}

QString resolutionCaption(const ImportedPicture& picture)
{
    return QStringLiteral("当前屏幕分辨率是：%1X%2")
        .arg(picture.widthText)
        .arg(picture.size.height());
}

} // namespace deskleaf
