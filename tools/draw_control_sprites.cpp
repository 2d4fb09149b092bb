// Draws the sprite sheets of the skinned buttons into controls/images/:
//   xpcmdbutton.png            five 18 x 21 faces: normal, pressed, disabled, hover, highlighted
//   xptopbuttons-close.png     four 21 x 21 cells: normal, hover, pressed, disabled
//   xptopbuttons-maximise.png
//   xptopbuttons-minimise.png
// and each again at twice the size as NAME@2x.png, for screens at 150% and more: the frames
// keep their logical pixels, the gradients and glyph edges are worked out at the finer pixels.
// Run: draw_control_sprites OUTDIR
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

QColor mix(const QColor& a, const QColor& b, double t) // t = 0 gives a, 1 gives b
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// --- Command button faces -------------------------------------------------------------

struct Ring {
    int width = 0; // pixels inside the outline, 0 to 2
    QColor top, sideTop, sideBottom, bottom;
};

struct CommandFace {
    QColor outline;
    QColor backdrop; // what the rounded corners fade into
    QColor fillTop, fillBottom;
    Ring ring;
};

// Every pixel depends only on its distance to the nearest edges and on its row, so the 3-pixel
// frame stretches along its length and the centre stretches both ways.
// At scale s each logical pixel is s x s sheet pixels.
void drawCommandFace(QImage& sheet, int left, const CommandFace& face, int s)
{
    constexpr int w = 18, h = 21;
    for (int Y = 0; Y < h * s; ++Y) {
        const int y = Y / s;
        const double fy = (Y + 0.5) / s - 0.5;
        const QColor fill =
            mix(face.fillTop, face.fillBottom, std::clamp((fy - 1) / 18.0, 0.0, 1.0));
        for (int X = 0; X < w * s; ++X) {
            const int x = X / s;
            const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
            const int d = std::min(dx, dy);
            QColor c;
            if (dx == 0 && dy == 0)
                c = mix(face.backdrop, face.outline, 0.12);
            else if (dx + dy == 1)
                c = mix(face.backdrop, face.outline, 0.55);
            else if (d == 0 || (dx == 1 && dy == 1))
                c = face.outline;
            else if (d <= face.ring.width) {
                const Ring& r = face.ring;
                QColor ring;
                if (dy <= dx)
                    ring = y < h / 2 ? r.top : r.bottom;
                else
                    ring = mix(r.sideTop, r.sideBottom, (y - 2) / 16.0);
                c = d == 1 ? ring : mix(ring, fill, 0.4);
            } else
                c = fill;
            sheet.setPixelColor(left * s + X, Y, c);
        }
    }
}

QImage commandSheet(int s)
{
    const QColor blue(0x00, 0x3c, 0x74), beige(0xdd, 0xd7, 0xc5);
    const QColor top(0xfd, 0xfd, 0xfd), lavender(0xc6, 0xc5, 0xd7);
    const CommandFace faces[5] = {
        // normal: a white highlight inside the outline
        {blue, beige, top, lavender, {1, Qt::white, Qt::white, QColor(0xec, 0xec, 0xf2), lavender}},
        // pressed: the fill turned upside down, no highlight
        {blue, beige, QColor(0xac, 0xab, 0xbd), Qt::white, {}},
        // disabled
        {QColor(0xc4, 0xc3, 0xbf),
         Qt::white,
         QColor(0xf1, 0xf1, 0xed),
         QColor(0xf1, 0xf1, 0xed),
         {}},
        // hover: amber ring
        {blue,
         beige,
         top,
         lavender,
         {2, QColor(0xff, 0xf0, 0xcf), QColor(0xfc, 0xca, 0x69), QColor(0xf8, 0xb3, 0x30),
          QColor(0xe5, 0x97, 0x00)}},
        // highlighted: light-blue ring
        {blue,
         beige,
         top,
         lavender,
         {2, QColor(0xce, 0xe7, 0xff), QColor(0xa0, 0xbe, 0xec), QColor(0x89, 0xad, 0xe4),
          QColor(0x69, 0x82, 0xee)}},
    };
    QImage sheet(90 * s, 21 * s, QImage::Format_RGB32);
    for (int i = 0; i < 5; ++i)
        drawCommandFace(sheet, i * 18, faces[i], s);
    return sheet;
}

// --- Caption buttons ------------------------------------------------------------------

struct CaptionCell {
    QColor outline;
    QColor faceTop, faceBottom;
    QColor light, shade; // 1-pixel bevel inside the outline: top/left and bottom/right
    Ring ring;           // replaces the bevel where set
    QColor glyph;
    QColor glyphBorder; // invalid: none
};

// A glyph is a set of points of the 21 x 21 cell, pixel centres at whole numbers; at scale 1
// it is asked for whole numbers only.
using Glyph = std::function<bool(double x, double y)>;

void drawCaptionCell(QImage& sheet, int left, const CaptionCell& cell, const Glyph& glyph, int s)
{
    constexpr int n = 21;
    // Within one logical pixel of the glyph, looked for in steps of one sheet pixel.
    const auto near = [&](double x, double y) {
        for (int j = -s; j <= s; ++j)
            for (int i = -s; i <= s; ++i)
                if (glyph(x + double(i) / s, y + double(j) / s))
                    return true;
        return false;
    };
    for (int Y = 0; Y < n * s; ++Y) {
        const int y = Y / s;
        const double fy = (Y + 0.5) / s - 0.5;
        const QColor face = mix(cell.faceTop, cell.faceBottom, (fy - 1) / 18.0);
        for (int X = 0; X < n * s; ++X) {
            const int x = X / s;
            const double fx = (X + 0.5) / s - 0.5;
            const int dx = std::min(x, n - 1 - x), dy = std::min(y, n - 1 - y);
            const int d = std::min(dx, dy);
            QColor c = face;
            if (d == 0)
                c = dx == 0 && dy == 0 ? mix(cell.outline, face, 0.5) : cell.outline;
            else if (d <= cell.ring.width) {
                const Ring& r = cell.ring;
                QColor ring;
                if (dy <= dx)
                    ring = y < n / 2 ? r.top : r.bottom;
                else
                    ring = mix(r.sideTop, r.sideBottom, (y - 2) / 16.0);
                c = d == 1 ? ring : mix(ring, face, 0.4);
            } else if (d == 1 && cell.light.isValid())
                c = (x == 1 || y == 1) && x < n - 2 && y < n - 2 ? cell.light : cell.shade;
            if (glyph(fx, fy))
                c = cell.glyph;
            else if (cell.glyphBorder.isValid() && near(fx, fy))
                c = cell.glyphBorder;
            sheet.setPixelColor(left * s + X, Y, c);
        }
    }
}

// Whether v lies in the pixels first to last.
bool within(double v, int first, int last)
{
    return v > first - 0.5 && v < last + 0.5;
}

bool inSquare(double x, double y)
{
    return within(x, 6, 14) && within(y, 6, 14);
}

// Two strokes three pixels wide, corner to corner of the middle 9 x 9 square, without their
// four outermost corner pixels.
bool cross(double x, double y)
{
    return inSquare(x, y) && (std::abs(x - y) < 1.25 || std::abs(x + y - 20) < 1.25) &&
           !(std::abs(x - 10) > 3.5 && std::abs(y - 10) > 3.5);
}

// A window: 1-pixel frame with a 3-pixel title bar.
bool window(double x, double y)
{
    return inSquare(x, y) && (within(x, 6, 6) || within(x, 14, 14) || y < 8.5 || within(y, 14, 14));
}

// A bar near the bottom edge.
bool bar(double x, double y)
{
    return within(x, 6, 11) && within(y, 13, 15);
}

QImage captionSheet(const CaptionCell (&cells)[4], const Glyph& glyph, int s)
{
    QImage sheet(84 * s, 21 * s, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i)
        drawCaptionCell(sheet, i * 21, cells[i], glyph, s);
    return sheet;
}

// Close and minimise share their silver faces.
void silverCells(CaptionCell (&cells)[4], const QColor& pressedGlyph)
{
    const QColor slate(0x41, 0x43, 0x5d), silver(0xc1, 0xc2, 0xd7);
    const Ring amber{2, QColor(0xff, 0xe7, 0xa8), QColor(0xfc, 0xca, 0x69),
                     QColor(0xf8, 0xb3, 0x30), QColor(0xe5, 0x97, 0x00)};
    cells[0] = {slate,
                QColor(0xd0, 0xd1, 0xe3),
                silver,
                QColor(0xee, 0xee, 0xf7),
                QColor(0xa5, 0xa6, 0xbe),
                {},
                slate,
                {}};
    cells[1] = {slate, QColor(0xf0, 0xf1, 0xff), QColor(0xe6, 0xe7, 0xfc), {}, {}, amber, slate,
                {}};
    cells[2] = {slate,
                QColor(0x86, 0x87, 0xa2),
                QColor(0xa8, 0xa9, 0xc1),
                QColor(0x6a, 0x6b, 0x86),
                QColor(0xb4, 0xb5, 0xcb),
                {},
                pressedGlyph,
                slate};
    cells[3] = {QColor(0x7c, 0x7c, 0x86),
                QColor(0x9c, 0x9c, 0xa6),
                QColor(0x9c, 0x9c, 0xa6),
                {},
                {},
                {},
                QColor(0x64, 0x66, 0x71),
                {}};
}

QImage closeSheet(int s)
{
    CaptionCell cells[4];
    silverCells(cells, Qt::white);
    return captionSheet(cells, cross, s);
}

QImage minimiseSheet(int s)
{
    CaptionCell cells[4];
    silverCells(cells, QColor(0xf4, 0xf4, 0xff));
    return captionSheet(cells, bar, s);
}

QImage maximiseSheet(int s)
{
    const CaptionCell cells[4] = {
        {Qt::white,
         QColor(0x3f, 0x70, 0xf0),
         QColor(0x10, 0x40, 0xbf),
         QColor(0x7a, 0x9c, 0xf6),
         QColor(0x0c, 0x32, 0x98),
         {},
         Qt::white,
         {}},
        {Qt::white,
         QColor(0x70, 0x98, 0xff),
         QColor(0x38, 0x68, 0xe6),
         QColor(0xa6, 0xc0, 0xff),
         QColor(0x28, 0x52, 0xc4),
         {},
         Qt::white,
         {}},
        {QColor(0xd0, 0xdc, 0xf4),
         QColor(0x00, 0x2f, 0x6f),
         QColor(0x00, 0x50, 0xbf),
         QColor(0x00, 0x22, 0x52),
         QColor(0x1c, 0x62, 0xc8),
         {},
         QColor(0xc6, 0xd3, 0xf2),
         {}},
        {QColor(0xe4, 0xea, 0xf8),
         QColor(0xa6, 0xb8, 0xea),
         QColor(0x8c, 0xa1, 0xdb),
         {},
         {},
         {},
         QColor(0xe2, 0xda, 0xf6),
         {}},
    };
    return captionSheet(cells, window, s);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: draw_control_sprites OUTDIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const struct {
        const char* name;
        QImage (*draw)(int s);
    } sheets[] = {
        {"xpcmdbutton", commandSheet},
        {"xptopbuttons-close", closeSheet},
        {"xptopbuttons-maximise", maximiseSheet},
        {"xptopbuttons-minimise", minimiseSheet},
    };
    for (const auto& sheet : sheets)
        for (const int s : {1, 2}) {
            const QString path =
                dir.filePath(QString::fromLatin1(sheet.name) +
                             (s == 1 ? QString() : QStringLiteral("@2x")) + QStringLiteral(".png"));
            if (!sheet.draw(s).save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    return 0;
}
