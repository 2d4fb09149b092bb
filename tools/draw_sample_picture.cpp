// Draws the sample background that ships with the program: an evening lake under
// mountains. Run: draw_sample_picture OUT.jpg [WIDTHxHEIGHT]
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>

namespace {

// A mountain ridge as a closed path from a seeded random walk.
QPainterPath ridge(QSizeF size, double base, double height, double roughness, quint32 seed)
{
    QRandomGenerator random(seed);
    QPainterPath path(QPointF(0, size.height()));
    double y = base;
    for (double x = 0; x <= size.width() + 20; x += 20) {
        y += (random.generateDouble() - 0.5) * roughness;
        y = std::clamp(y, base - height, base + height * 0.3);
        path.lineTo(x, y - height * 0.5 * std::sin(x / size.width() * 3.1 + seed));
    }
    path.lineTo(size.width(), size.height());
    path.closeSubpath();
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: draw_sample_picture OUT.jpg [WIDTHxHEIGHT]\n");
        return 2;
    }
    int width = 1920, height = 1080;
    if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) != 2)
        return 2;
    const QSizeF size(width, height);
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, height * 0.62);
    sky.setColorAt(0, QColor(24, 38, 86));
    sky.setColorAt(0.55, QColor(196, 104, 120));
    sky.setColorAt(1, QColor(252, 190, 120));
    p.fillRect(image.rect(), sky);

    QRadialGradient sun(width * 0.3, height * 0.55, height * 0.35);
    sun.setColorAt(0, QColor(255, 240, 200, 255));
    sun.setColorAt(0.08, QColor(255, 220, 160, 230));
    sun.setColorAt(1, QColor(255, 200, 150, 0));
    p.fillRect(image.rect(), sun);

    const struct {
        double base, height, roughness;
        QColor colour;
    } layers[] = {
        {0.50, 0.16, 30, QColor(120, 86, 120)},
        {0.56, 0.12, 40, QColor(84, 60, 96)},
        {0.62, 0.08, 50, QColor(48, 38, 66)},
    };
    quint32 seed = 7;
    for (const auto& layer : layers) {
        p.setPen(Qt::NoPen);
        p.setBrush(layer.colour);
        p.drawPath(
            ridge(size, height * layer.base, height * layer.height, layer.roughness, seed++));
    }

    // The lake mirrors the sky, darker, with ripples.
    const int shore = int(height * 0.68);
    QLinearGradient water(0, shore, 0, height);
    water.setColorAt(0, QColor(180, 110, 120));
    water.setColorAt(1, QColor(20, 26, 60));
    p.fillRect(QRect(0, shore, width, height - shore), water);
    QRandomGenerator random(42);
    for (int i = 0; i < 900; ++i) {
        const double y = shore + std::pow(random.generateDouble(), 1.6) * (height - shore);
        const double x = random.generateDouble() * width;
        const double length = 10 + random.generateDouble() * 60 * (y - shore) / (height - shore);
        p.setPen(QPen(QColor(255, 220, 180, 40 + random.bounded(60)), 1.5));
        p.drawLine(QPointF(x, y), QPointF(x + length, y));
    }
    p.end();
    return image.save(QString::fromLocal8Bit(argv[1]), nullptr, 90) ? 0 : 1;
}
