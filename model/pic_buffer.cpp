#include "model/pic_buffer.h"

#include "files/pending_file.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QTextLayout>

#include <cmath>
#include <limits>

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

QFont picBuffer::textFont() const
{
    QFont font;
    font.setFamilies({fontName_, QString::fromLatin1(kCjkFamily)});
    font.setBold(bold_);
    font.setPixelSize(pixelSize(points_));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void picBuffer::print(const QString& text)
{
    printWrapped(text, std::numeric_limits<double>::infinity(), 1);
}

void picBuffer::printWrapped(const QString& text, double width, int maxLines)
{
    if (text.trimmed().isEmpty() || composed_.isNull())
        return;
    const QFont font = textFont();
    const QFontMetricsF metrics(font, &composed_);
    QStringList lines{text};
    double lineStep = 0;
    if (maxLines > 1 && metrics.horizontalAdvance(text) > width) {
        // Qt's line breaking: at blanks, between CJK characters, inside a word only when it
        // is wider than a line. The line step fits the tallest face a line falls back to.
        lines.clear();
        QTextLayout layout(text, font, &composed_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lineStep = std::max(lineStep, line.height());
            if (lines.size() + 1 == maxLines) {
                // The last line takes the rest of the text, cut to width with an ellipsis.
                lines << metrics.elidedText(text.mid(line.textStart()).trimmed(), Qt::ElideRight,
                                            width);
                break;
            }
            lines << text.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }

    QPainter painter(&composed_);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(colour_);
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(x_, y_ + metrics.ascent() + double(i) * lineStep), lines[i]);
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
    throw PictureError(QCoreApplication::translate("Pictures", "Could not write %1: %2")
                           .arg(path, why)
                           .toStdString());
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
