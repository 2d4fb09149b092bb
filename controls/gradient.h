// The gradient of CustomPanel's body and title band, drawn line by line: its pixels must match
// the sweep below exactly, which QLinearGradient's do not.
#pragma once

#include <QImage>
#include <QtGlobal>

namespace deskleaf {

// Halves go to the even neighbour, as the panel's coordinates and colours have always rounded.
int roundEven(double value);

// Fills a w x h area from the image's top-left corner with a gradient from start to end (colour
// values, 0x00BBGGRR) at angle degrees: 0 runs left to right, 270 top to bottom. A segment across
// the gradient direction is swept one pixel at a time from the near edge until it is past the far
// edge, each position one line in the next colour of a ramp from start to end. Lines are not
// clipped to the area, only to the image (Format_RGB32). An angle that is not finite draws nothing.
void sweepGradient(QImage& image, qint32 start, qint32 end, int w, int h, double angle);

} // namespace deskleaf
