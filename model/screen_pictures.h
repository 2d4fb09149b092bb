// One wallpaper per monitor from one decode of the user's picture: each monitor's picture is
// fitted to its real size and shape, the calendar is printed on the primary one (or on
// every one), and desktops that span one picture over all their monitors get that picture,
// with each monitor's part at its place.
#pragma once

#include "model/month_grid.h"
#include "platform/screens.h"
#include "platform/wallpaper.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace deskleaf {

// How the picture fills a monitor.
enum class PictureFit {
    Stretch, // to the monitor's size, its proportions lost (拉伸)
    Fill,    // scaled to cover the monitor, the overflow cut off evenly (填充)
    Fit,     // whole, with bars in the colour of its edges (适应)
};
// "stretch", "fill", "fit"; nothing for any other text.
std::optional<PictureFit> pictureFitFromText(const QString& text);
QString pictureFitText(PictureFit fit);

// picture fitted to size.
QImage fitPicture(const QImage& picture, QSize size, PictureFit fit);

// What the wallpaper is composed for.
struct ComposeTarget {
    ScreenList screens; // the primary first; one screen for a single picture of a given size
    PictureLayout layout = PictureLayout::PerScreen;
    PictureFit fit = PictureFit::Stretch;
    bool calendarOnEveryScreen = false;

    // The primary screen alone, of size, at scale: the one picture of a given size.
    static ComposeTarget single(QSize size, double scale = 1);
    // Several monitors whose desktop spans one picture over them.
    bool spans() const { return layout == PictureLayout::Spanned && screens.size() > 1; }
    // The size a picture must be decoded at so that no monitor's part is enlarged.
    QSize decodeSize() const;
};

struct ScreenPicture {
    ScreenInfo screen;
    QImage background; // the picture fitted to the screen
    QImage composed;   // with the calendar, where it goes
    bool calendar = false;
};

struct ComposedWallpaper {
    QList<ScreenPicture> screens; // in the target's order, the primary first
    QImage spanned;               // when the target spans: every screen at its place
    QRect spannedArea;            // the layout's bounding rectangle
};

// Composes every screen's picture from picture; colour is the calendar colour (a colour integer).
// Throws PictureError, composing nothing, when a screen that gets the calendar is narrower
// than the calendar.
ComposedWallpaper composeWallpaper(const QImage& picture, const ComposeTarget& target,
                                   const MonthGrid& grid, qint32 colour);

// Prints the calendar afresh on each screen that gets one, keeping the backgrounds, and
// pastes the spanned picture again.
void recompose(ComposedWallpaper& wallpaper, const ComposeTarget& target, const MonthGrid& grid,
               qint32 colour);

// "当前屏幕分辨率是：1920X1080", the primary monitor first, then the others.
QString resolutionCaption(const ComposedWallpaper& wallpaper);

// "1920x1080 (DUMMY0, primary, calendar), 1080x1920 (DUMMY1)": what was composed.
QString describeScreens(const ComposedWallpaper& wallpaper);

} // namespace deskleaf
