#include "model/screen_pictures.h"

#include "model/calendar_renderer.h"
#include "model/pic_buffer.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <future>
#include <vector>

namespace deskleaf {
namespace {

struct FitName {
    PictureFit fit;
    const char* text;
};
constexpr FitName kFitNames[] = {
    {PictureFit::Stretch, "stretch"},
    {PictureFit::Fill, "fill"},
    {PictureFit::Fit, "fit"},
};

// The mean colour of the picture's sides that the bars touch: left and right columns for
// bars beside the picture, top and bottom rows for bars above and below.
QColor edgeColour(const QImage& picture, bool barsBeside)
{
    qint64 sum[3] = {0, 0, 0};
    qint64 count = 0;
    const auto add = [&](int x, int y) {
        const QRgb pixel = picture.pixel(x, y);
        sum[0] += qRed(pixel);
        sum[1] += qGreen(pixel);
        sum[2] += qBlue(pixel);
        ++count;
    };
    if (barsBeside) {
        for (int y = 0; y < picture.height(); ++y) {
            add(0, y);
            add(picture.width() - 1, y);
        }
    } else {
        for (int x = 0; x < picture.width(); ++x) {
            add(x, 0);
            add(x, picture.height() - 1);
        }
    }
    if (count == 0)
        return Qt::black;
    return QColor(int(sum[0] / count), int(sum[1] / count), int(sum[2] / count));
}

void printOn(ScreenPicture& screen, const MonthGrid& grid, qint32 colour)
{
    if (!screen.calendar) {
        screen.composed = screen.background;
        return;
    }
    picBuffer surface;
    surface.setBackground(screen.background);
    printCalendar(surface, grid, colour, screen.screen.scale);
    screen.composed = surface.composed();
}

void paste(ComposedWallpaper& wallpaper)
{
    QRect area;
    for (const ScreenPicture& screen : wallpaper.screens)
        area |= screen.screen.pixels;
    QImage spanned(area.size(), QImage::Format_RGB32);
    spanned.fill(Qt::black); // where no monitor shows
    QPainter painter(&spanned);
    for (const ScreenPicture& screen : wallpaper.screens)
        painter.drawImage(screen.screen.pixels.topLeft() - area.topLeft(), screen.composed);
    painter.end();
    wallpaper.spanned = std::move(spanned);
    wallpaper.spannedArea = area;
}

} // namespace

std::optional<PictureFit> pictureFitFromText(const QString& text)
{
    for (const FitName& name : kFitNames)
        if (text.trimmed().compare(QLatin1String(name.text), Qt::CaseInsensitive) == 0)
            return name.fit;
    return std::nullopt;
}

QString pictureFitText(PictureFit fit)
{
    for (const FitName& name : kFitNames)
        if (name.fit == fit)
            return QString::fromLatin1(name.text);
    return {};
}

QImage fitPicture(const QImage& picture, QSize size, PictureFit fit)
{
    if (picture.size() == size || picture.isNull() || size.isEmpty())
        return picture.convertToFormat(QImage::Format_RGB32);
    const double w = picture.width();
    const double h = picture.height();
    switch (fit) {
    case PictureFit::Stretch:
        break;
    case PictureFit::Fill: {
        // The largest part of the picture with the monitor's shape, centred.
        QRectF part(0, 0, w, h);
        if (w * size.height() > h * size.width())
            part.setWidth(h * size.width() / size.height());
        else
            part.setHeight(w * size.height() / size.width());
        part.moveCenter(QPointF(w / 2, h / 2));
        const QRect pixels = part.toAlignedRect() & picture.rect();
        return picture.copy(pixels)
            .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    }
    case PictureFit::Fit: {
        const double factor = std::min(size.width() / w, size.height() / h);
        const QSize scaled(std::max(1, int(std::lround(w * factor))),
                           std::max(1, int(std::lround(h * factor))));
        QImage canvas(size, QImage::Format_RGB32);
        canvas.fill(edgeColour(picture, scaled.width() < size.width()));
        QPainter painter(&canvas);
        painter.drawImage(
            QPoint((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2),
            picture.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        return canvas;
    }
    }
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

ComposeTarget ComposeTarget::single(QSize size, double scale)
{
    ComposeTarget target;
    target.screens = {ScreenInfo{QString(), QRect(QPoint(0, 0), size), scale, true}};
    return target;
}

QSize ComposeTarget::decodeSize() const
{
    QSize size(0, 0);
    for (const ScreenInfo& screen : screens)
        size = size.expandedTo(screen.pixels.size());
    return size;
}

ComposedWallpaper composeWallpaper(const QImage& picture, const ComposeTarget& target,
                                   const MonthGrid& grid, qint32 colour)
{
    // Each monitor's picture only reads the one decoded picture: the others are fitted, and
    // printed where they get the calendar, beside the first.
    const auto compose = [&](const ScreenInfo& screen) {
        ScreenPicture made{screen,
                           fitPicture(picture, screen.pixels.size(), target.fit),
                           {},
                           screen.primary || target.calendarOnEveryScreen};
        printOn(made, grid, colour);
        return made;
    };
    if (target.screens.isEmpty())
        return {};
    std::vector<std::future<ScreenPicture>> others;
    for (const ScreenInfo& screen : target.screens.mid(1))
        others.push_back(std::async(std::launch::async, compose, screen));
    ComposedWallpaper wallpaper;
    wallpaper.screens.append(compose(target.screens.front()));
    for (auto& other : others)
        wallpaper.screens.append(other.get());
    if (target.spans())
        paste(wallpaper);
    return wallpaper;
}

void recompose(ComposedWallpaper& wallpaper, const ComposeTarget& target, const MonthGrid& grid,
               qint32 colour)
{
    for (ScreenPicture& screen : wallpaper.screens)
        printOn(screen, grid, colour);
    if (target.spans())
        paste(wallpaper);
}

QString resolutionCaption(const ComposedWallpaper& wallpaper)
{
    QStringList sizes;
    for (const ScreenPicture& screen : wallpaper.screens)
        sizes << QStringLiteral("%1X%2")
                     .arg(screen.screen.pixels.width())
                     .arg(screen.screen.pixels.height());
    return QStringLiteral("当前屏幕分辨率是：") + sizes.join(QStringLiteral("，"));
}

QString describeScreens(const ComposedWallpaper& wallpaper)
{
    QStringList parts;
    for (const ScreenPicture& screen : wallpaper.screens) {
        QStringList notes;
        if (!screen.screen.name.isEmpty())
            notes << screen.screen.name;
        if (screen.screen.primary && wallpaper.screens.size() > 1)
            notes << QCoreApplication::translate("Pictures", "primary");
        if (screen.screen.scale != 1)
            notes << QCoreApplication::translate("Pictures", "scale %1").arg(screen.screen.scale);
        if (screen.calendar && wallpaper.screens.size() > 1)
            notes << QStringLiteral("calendar");
        QString part = QStringLiteral("%1x%2")
                           .arg(screen.screen.pixels.width())
                           .arg(screen.screen.pixels.height());
        if (!notes.isEmpty())
            part += QStringLiteral(" (%1)").arg(notes.join(QStringLiteral(", ")));
        parts << part;
    }
    if (!wallpaper.spanned.isNull())
        parts << QCoreApplication::translate("Pictures", "spanned as one %1x%2 picture")
                     .arg(wallpaper.spannedArea.width())
                     .arg(wallpaper.spannedArea.height());
    return parts.join(QStringLiteral(", "));
}

} // namespace deskleaf
