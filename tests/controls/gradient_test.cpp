#include "controls/gradient.h"
#include "controls/system_colour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using deskleaf::colourValue;
using deskleaf::sweepGradient;

namespace {

constexpr QRgb kUnpainted = qRgb(1, 2, 3);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kUnpainted);
    return image;
}

struct Probe {
    double angle;
    QPoint at;
    QRgb colour;
    const char* why;
};

// A 100 x 30 area swept from red to blue, on a 102 x 40 image with room past its right and
// bottom edges. The ramp has two entries more than the lines across the area.
constexpr Probe kProbes[] = {
    {0, {0, 10}, kRed, "0 runs left to right"},
    {0, {1, 10}, qRgb(252, 0, 2), "column c is entry c of 102: 252.5 rounds to even"},
    {0, {98, 10}, qRgb(10, 0, 245), "the step divides by 102, not 101"},
    {0, {101, 10}, kBlue, "the last entry lies past the area"},
    {0, {50, 35}, qRgb(130, 0, 125), "lines are clipped to the image, not to the area"},
    {180, {100, 10}, kRed, "180 starts one column past the right edge"},
    {180, {0, 10}, qRgb(5, 0, 250), "and ends short of the last entry"},
    {180, {101, 10}, kUnpainted, "nothing right of its start"},
    {270, {50, 0}, kRed, "270 runs top to bottom"},
    {270, {50, 1}, qRgb(247, 0, 8), "row r is entry r of 32"},
    {270, {50, 31}, kBlue, "the last entry lies past the area"},
    {270, {50, 32}, kUnpainted, "the sweep stops there"},
    {90, {50, 30}, kRed, "90 starts one row below the bottom edge"},
    {90, {50, 0}, qRgb(16, 0, 239), "and ends short of the last entry"},
    {45, {0, 15}, qRgb(191, 0, 64), "a diagonal line steps across and down at once"},
    {450, {50, 0}, kRed, "the direction goes by the angle as given: 450 sweeps as 270, not 90"},
};

} // namespace

TEST(SweepGradient, EachLineTakesTheNextRampEntryFromTheNearEdge)
{
    for (const Probe& probe : kProbes) {
        SCOPED_TRACE(testing::Message() << probe.angle << " at " << probe.at.x() << ","
                                        << probe.at.y() << ": " << probe.why);
        QImage image = blank(102, 40);
        sweepGradient(image, colourValue(255, 0, 0), colourValue(0, 0, 255), 100, 30, probe.angle);
        EXPECT_EQ(QColor(image.pixel(probe.at)), QColor(probe.colour));
    }
}

// The lines lie one pixel apart, so a line that misses or doubles a step leaves a hole.
TEST(SweepGradient, PaintsEveryPixelOfTheAreaAtEveryAngle)
{
    for (const QSize area : {QSize(40, 30), QSize(30, 40), QSize(7, 50), QSize(50, 7), QSize(2, 2)})
        for (double angle = -360; angle <= 720; angle += 0.75) {
            QImage image = blank(area.width(), area.height());
            sweepGradient(image, colourValue(255, 0, 0), colourValue(0, 0, 255), area.width(),
                          area.height(), angle);
            int holes = 0;
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    holes += image.pixel(x, y) == kUnpainted;
            ASSERT_EQ(holes, 0) << area.width() << "x" << area.height() << " at " << angle;
        }
}

TEST(SweepGradient, AnAngleThatIsNotFiniteDrawsNothing)
{
    for (const double angle :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        QImage image = blank(20, 10);
        sweepGradient(image, colourValue(255, 0, 0), colourValue(0, 0, 255), 20, 10, angle);
        EXPECT_EQ(image, blank(20, 10));
    }
}
