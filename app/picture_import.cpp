#include "picture_import.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QScreen>

namespace deskleaf {
namespace {

// Larger pictures are refused before anything is allocated for them. The limit holds the
// largest camera pictures (a 32-bit image of kMaxPixels takes kAllocationLimitMiB).
constexpr qint64 kMaxPixels = 256 * 1024 * 1024;
constexpr int kMaxSide = 65'535;
constexpr int kAllocationLimitMiB = 1024;

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw PictureError(
        QStringLiteral("Cannot use %1 as a picture: %2").arg(path, why).toStdString());
}

// Whether the bytes of a JPEG end with its end-of-image marker: libjpeg decodes a
// truncated file without an error, filling the missing part with grey.
bool jpegIsComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 4)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 4096));
    const QByteArray tail = file.readAll();
    return tail.contains("\xFF\xD9");
}

} // namespace

QImage loadStretchedPicture(const QString& path, QSize size)
{
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, QStringLiteral("the file does not exist."));
    if (info.isDir())
        refuse(path, QStringLiteral("it is a folder."));
    if (info.size() == 0)
        refuse(path, QStringLiteral("the file is empty."));

    // Qt's own default (256 MiB) would refuse a 100-megapixel photograph.
    QImageReader::setAllocationLimit(kAllocationLimitMiB);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        refuse(path, QStringLiteral("it is not a picture in a format this program reads."));
    const QSize original = reader.size();
    if (original.isValid() && (original.width() > kMaxSide || original.height() > kMaxSide ||
                               qint64(original.width()) * original.height() > kMaxPixels))
        refuse(path, QStringLiteral("it claims to be %1 x %2 pixels, too large to open.")
                         .arg(original.width())
                         .arg(original.height()));

    const QByteArray format = reader.format();
    if (format == "jpeg" && !jpegIsComplete(path))
        refuse(path, QStringLiteral("the file is truncated."));
    // JPEG decodes at 1/2, 1/4 or 1/8 scale for the price of the smaller picture: take
    // the smallest that still covers the screen.
    if (format == "jpeg" && original.isValid() && size.isValid()) {
        int scale = 1;
        while (scale < 8 && original.width() / (scale * 2) >= size.width() &&
               original.height() / (scale * 2) >= size.height())
            scale *= 2;
        if (scale > 1)
            reader.setScaledSize(QSize((original.width() + scale - 1) / scale,
                                       (original.height() + scale - 1) / scale));
    }

    QImage image = reader.read();
    if (image.isNull())
        refuse(path, reader.errorString() + QLatin1Char('.'));
    if (size.isValid() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_RGB32);
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
