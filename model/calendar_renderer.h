// Prints the current month's calendar onto the background picture, in a block at its
// right-hand side; the jobs save the result.
#pragma once

#include "model/month_grid.h"
#include "model/pic_buffer.h"
#include "model/profile_file.h"

#include <QColor>
#include <QString>

namespace deskleaf {

// Today's number and the footer line are printed in this red (red 255, green 11, blue 23).
inline const QColor kTodayRed{255, 11, 23};

// A colour integer as the calendar shows it: a system colour through the current palette.
QColor shownColour(qint32 colour);

// The squares behind the 休 of an official day off and the 班 of a make-up working day: dark
// enough for their white glyphs on any picture, and neither is today's red.
inline const QColor kDayOffSquare{0, 128, 80};
inline const QColor kWorkdaySquare{72, 84, 110};

// The width of the calendar block at the picture's right-hand side.
inline constexpr int kCalendarBlockWidth = 340;

// Prints the grid's month onto surface: its header, the day cells (the grid's today in
// red, the cells' 休 and 班 marks beside their numbers) and the today line (wrapped inside the
// block on at most three lines, the last cut with "…"), in a block against the surface's right
// edge. scale is the screen's scale factor: the block, its fonts and its offsets
// grow with it, and at 1 every pixel is where it was placed for 100 %. The block goes by the
// picture's own width, not by the width stored at import: a picture replaced without its stored
// width must still show its calendar. Throws PictureError, printing nothing, when the picture is
// narrower than the block.
void printCalendar(TextSurface& surface, const MonthGrid& grid, qint32 colour, double scale = 1);

// Composes the calendar afresh on the surface's background with the colour stored in the
// settings file; the caller saves surface.composed(). Throws PictureError as printCalendar.
void RenderCalendarWallpaper(picBuffer& surface, const MonthGrid& grid, const ProfileFile& profile,
                             double scale = 1);

} // namespace deskleaf
