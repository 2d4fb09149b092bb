#include "controls/gradient.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace deskleaf {

int roundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

namespace {

QRgb toRgb(qint32 value)
{
    return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// n colours from a to b. The step divides by n, not n - 1, so the last entry is set to b apart
// from the others; together with the sweep running past the far edge this decides which rows
// come close to b.
std::vector<QRgb> colourRamp(qint32 a, qint32 b, int n)
{
    n = std::max(n, 2);
    std::vector<QRgb> ramp(n);
    const int from[3] = {a & 0xFF, (a >> 8) & 0xFF, (a >> 16) & 0xFF};
    const int to[3] = {b & 0xFF, (b >> 8) & 0xFF, (b >> 16) & 0xFF};
    double step[3];
    for (int c = 0; c < 3; ++c)
        step[c] = double(to[c] - from[c]) / n;
    ramp.front() = toRgb(a);
    ramp.back() = toRgb(b);
    for (int i = 1; i <= n - 2; ++i) {
        int channel[3];
        for (int c = 0; c < 3; ++c)
            channel[c] = roundEven(i * step[c] + from[c]);
        ramp[i] = qRgb(channel[0], channel[1], channel[2]);
    }
    return ramp;
}

// A one-pixel line from a to b with b itself left out, clipped to the image. The sweep lays its
// lines one pixel apart, so each must put exactly one pixel per step of its major axis.
void plotLine(QImage& image, QPoint a, QPoint b, QRgb colour)
{
    const int w = image.width();
    const int h = image.height();
    if (a.y() == b.y()) {
        if (a.y() < 0 || a.y() >= h)
            return;
        const int left = a.x() < b.x() ? a.x() : b.x() + 1;
        const int right = a.x() < b.x() ? b.x() - 1 : a.x();
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(a.y()));
        for (int x = std::max(left, 0); x <= std::min(right, w - 1); ++x)
            row[x] = colour;
        return;
    }
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    int x = a.x();
    int y = a.y();
    while (x != b.x() || y != b.y()) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

void sweepGradient(QImage& image, qint32 start, qint32 end, int w, int h, double angle)
{
    if (!std::isfinite(angle))
        return;
    const double cx = std::floor(w / 2.0);
    const double cy = std::floor(h / 2.0);
    const double s = w >= h ? w : h;
    const double half = (std::sqrt(s * s + s * s) + 2) / 2;
    const double turned = (angle + 90) - std::floor((angle + 90) / 360) * 360;
    const double radians = turned * 0.017453292519943278;
    double x0 = cx - half * std::cos(radians);
    double y0 = cy + half * std::sin(radians);
    double x1 = cx + half * std::cos(radians);
    double y1 = cy - half * std::sin(radians);

    // The sweep table goes by the angle as given, not the reduced one.
    const bool steep = std::abs(y0 - y1) >= std::abs(x0 - x1);
    QPoint step;
    double dx = 0;
    double dy = 0;
    if (steep) {
        const bool fromRight = angle > 90 && angle <= 270;
        step = QPoint(fromRight ? -1 : 1, 0);
        dx = fromRight ? w - std::min(x0, x1) : -std::max(x0, x1);
    } else {
        const bool fromBottom = angle >= 0 && angle <= 180;
        step = QPoint(0, fromBottom ? -1 : 1);
        dy = fromBottom ? h - std::min(y0, y1) : -std::max(y0, y1);
    }
    const auto beyond = [&](QPoint p) {
        if (step.x() > 0)
            return p.x() > w;
        if (step.x() < 0)
            return p.x() < 0;
        if (step.y() > 0)
            return p.y() > h;
        return p.y() < 0;
    };

    std::vector<QPoint> points;
    points.reserve(1000);
    points.emplace_back(roundEven(x0 + dx), roundEven(y0 + dy));
    points.emplace_back(roundEven(x1 + dx), roundEven(y1 + dy));
    do
        points.push_back(points[points.size() - 2] + step);
    while (!(beyond(points.back()) && beyond(points[points.size() - 2])));

    const std::vector<QRgb> ramp = colourRamp(start, end, roundEven(points.size() / 2.0));
    for (std::size_t j = 0; j + 1 < points.size(); j += 2)
        plotLine(image, points[j], points[j + 1], ramp[j / 2]);
}

} // namespace deskleaf
