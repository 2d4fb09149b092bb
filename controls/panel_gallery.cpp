#include "controls/panel_gallery.h"
#include "controls/song_font.h"

#include "controls/CustomPanel.h"
#include "controls/XPContainer.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace deskleaf {

namespace {

QPixmap sampleIcon(QColor colour)
{
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    return icon;
}

// The widget as it shows on screen: outside its window shape is transparent.
QImage picture(QWidget& widget)
{
    QImage image = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (!widget.mask().isEmpty()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setClipRegion(QRegion(image.rect()).subtracted(widget.mask()));
        painter.fillRect(image.rect(), Qt::transparent);
    }
    return image;
}

} // namespace

namespace {

void save(const QImage& image, const QString& path)
{
    if (!image.save(path))
        qWarning("Cannot write %s", qUtf8Printable(path));
}

} // namespace

void renderPanelGallery(const QString& dir)
{
    const QDir out(dir);
    const QPointF centre(160, 90);
    const char* looks[] = {"normal", "over", "pressed", "disabled"};
    for (int look = 0; look < 4; ++look) {
        CustomPanel panel;
        panel.setObjectName(QStringLiteral("CustomPanel1"));
        panel.resize(320, 180);
        const QFont font = songFont(9);
        panel.setPanelFont(font);
        panel.setCaption(QStringLiteral("DeskleafV4.0"));
        panel.setRoundedCorners(12);
        panel.setSmallIcon(sampleIcon(QColor(0x2E, 0x92, 0xE7)));
        panel.setDisabledSmallIcon(sampleIcon(Qt::gray));
        if (look == 1 || look == 2) {
            QEnterEvent enter(centre, centre, centre);
            QApplication::sendEvent(&panel, &enter);
            QMouseEvent move(QEvent::MouseMove, centre, centre, Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(&panel, &move);
        }
        if (look == 2) {
            QMouseEvent press(QEvent::MouseButtonPress, centre, centre, Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&panel, &press);
        }
        if (look == 3)
            panel.setPanelEnabled(false);
        save(picture(panel), out.filePath(QStringLiteral("panel-%1.png").arg(looks[look])));
    }
    for (int theme = 0; theme < XPContainer::kThemeCount; ++theme) {
        XPContainer container;
        container.resize(200, 120);
        container.setTheme(theme);
        save(picture(container),
             out.filePath(QStringLiteral("container-theme-%1.png").arg(theme, 2, 10, QChar('0'))));
    }
}

} // namespace deskleaf
