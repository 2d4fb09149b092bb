// Renders every skinned control in each of its looks into DIR, one PNG each, and one
// combined picture DIR/gallery.png of them all with their names.
//   deskleaf_gallery DIR
#include "controls/button_gallery.h"
#include "controls/panel_gallery.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

// One labelled row of pictures.
struct Row {
    QString title;
    QStringList files;
};

QImage combine(const QDir& dir, const QList<Row>& rows)
{
    constexpr int margin = 16, gap = 12, label = 18, titleHeight = 26, column = 106;
    int width = 0, height = margin;
    for (const Row& row : rows) {
        int rowWidth = margin, rowHeight = 0;
        for (const QString& file : row.files) {
            const QImage image(dir.filePath(file));
            rowWidth += std::max(image.width(), column) + gap;
            rowHeight = std::max(rowHeight, image.height());
        }
        width = std::max(width, rowWidth + margin);
        height += titleHeight + rowHeight + label + gap;
    }
    QImage sheet(width, height + margin, QImage::Format_RGB32);
    sheet.fill(QColor(236, 233, 216));
    QPainter p(&sheet);
    QFont font(QStringLiteral("Liberation Sans"), 9);
    QFont bold = font;
    bold.setBold(true);
    bold.setPointSize(11);
    int y = margin;
    for (const Row& row : rows) {
        p.setFont(bold);
        p.setPen(Qt::black);
        p.drawText(QRect(margin, y, width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   row.title);
        y += titleHeight;
        int x = margin, rowHeight = 0;
        p.setFont(font);
        for (const QString& file : row.files) {
            const QImage image(dir.filePath(file));
            p.drawImage(x, y, image);
            // The row names the control; the label names the look.
            const QString name = file.section(u'-', 1).chopped(4);
            p.drawText(QRect(x, y + image.height() + 2, std::max(image.width(), column), label),
                       Qt::AlignLeft | Qt::AlignTop, name);
            x += std::max(image.width(), column) + gap;
            rowHeight = std::max(rowHeight, image.height());
        }
        y += rowHeight + label + gap;
    }
    return sheet;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskleaf_gallery DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    deskleaf::renderPanelGallery(dir.path());
    deskleaf::renderButtonGallery(dir.path());

    const auto files = [&](const QString& pattern) {
        return dir.entryList({pattern}, QDir::Files, QDir::Name);
    };
    QStringList buttons;
    for (const char* look : {"normal", "hover", "pressed", "disabled", "highlighted"})
        buttons << QStringLiteral("button-%1.png").arg(look);
    QStringList panels;
    for (const char* look : {"normal", "over", "pressed", "disabled"})
        panels << QStringLiteral("panel-%1.png").arg(look);
    const QStringList containers = files("container-theme-*.png");
    const QList<Row> rows{
        {"CustomPanel", panels},
        {"xpcmdbutton", buttons},
        {"xptopbuttons", files("caption-*.png")},
        {"XPContainer, themes 0-5", containers.mid(0, 6)},
        {"XPContainer, themes 6-11", containers.mid(6)},
    };
    return combine(dir, rows).save(dir.filePath("gallery.png")) ? 0 : 1;
}
