#include "pic_buffer.h"

#include "pending_file.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>

#include <cmath>

namespace deskleaf {
namespace {

// Chinese glyphs come from a serif CJK face next in the family list: plain font
// substitution would fall back to a sans-serif one.
constexpr const char* kCjkFamily = "Noto Serif CJK SC";

// Sizes are points on a 96 dpi screen, rounded to whole pixels as the desktop does.
int pixelSize(double points)
{
    return std::max(1, int(std::lround(points * 96.0 / 72.0)));
}

} // namespace

picBuffer::picBuffer()
{
    QImage initial(381, 201, QImage::Format_RGB32); // 5715 x 3015 twips
    initial.fill(QColor(206, 231, 247));
    setBackground(initial);
}

void picBuffer::setBackground(const QImage& image)
{
    background_ = image.convertToFormat(QImage::Format_RGB32);
    composed_ = background_;
}

void picBuffer::restartFromBackground()
{
    composed_ = background_;
}

void picBuffer::print(const QString& text)
{
    if (text.trimmed().isEmpty() || composed_.isNull())
        return;
    QFont font;
    font.setFamilies({fontName_, QString::fromLatin1(kCjkFamily)});
    font.setBold(bold_);
    font.setPixelSize(pixelSize(points_));
    font.setStyleStrategy(QFont::PreferAntialias);

    QPainter painter(&composed_);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(colour_);
    const QFontMetricsF metrics(font, &composed_);
    painter.drawText(QPointF(x_, y_ + metrics.ascent()), text);
}

void picBuffer::printBadge(const QString& mark, QColor fill)
{
    if (mark.isEmpty() || composed_.isNull())
        return;
    QFont font;
    font.setFamilies({QString::fromLatin1(kCjkFamily)});
    font.setBold(true);
    const int glyph = pixelSize(points_);
    font.setPixelSize(glyph);
    font.setStyleStrategy(QFont::PreferAntialias);

    // A square one pixel wider than the glyph on each side, at least 1/8 of it.
    const double pad = std::max(1.0, glyph / 8.0);
    const QRectF square(x_, y_, glyph + 2 * pad, glyph + 2 * pad);
    QPainter painter(&composed_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(square, pad * 1.5, pad * 1.5);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(square, Qt::AlignCenter, mark);
}

namespace {
[[noreturn]] void failed(const QString& path, const QString& why)
{
    throw PictureError(QStringLiteral("Could not write %1: %2").arg(path, why).toStdString());
}
} // namespace

PendingBitmap::PendingBitmap(const QImage& image, const QString& path)
    : file_(std::make_unique<PendingFile>(path))
{
    if (!file_->create())
        failed(path, file_->errorString());
    // Qt writes a 32-bit image without alpha as a 24-bit bitmap.
    QImageWriter writer(file_.get(), "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        failed(path, file_->failed() ? file_->errorString() : writer.errorString());
}

PendingBitmap::~PendingBitmap() = default;

void PendingBitmap::sync()
{
    if (!file_->sync())
        failed(file_->path(), file_->errorString());
}

void PendingBitmap::commit()
{
    if (!file_->commit())
        failed(file_->path(), file_->errorString());
}

void saveBitmap(const QImage& image, const QString& path)
{
    PendingBitmap(image, path).commit();
}

} // namespace deskleaf
