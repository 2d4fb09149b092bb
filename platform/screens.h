// The monitors a wallpaper is composed for, measured in the device pixels the platform
// drives them at.
#pragma once

#include <QList>
#include <QRect>
#include <QString>

namespace deskleaf {

struct ScreenInfo {
    // The output's name as the desktop knows it (RandR "DUMMY0", sway "HEADLESS-1").
    QString name;
    // The mode in device pixels, at the output's place in the layout.
    QRect pixels;
    // The desktop's scale factor for the output: 1 at 100 %, 1.25, 1.5, 2 ...
    double scale = 1;
    bool primary = false;

    friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};
using ScreenList = QList<ScreenInfo>;

} // namespace deskleaf

namespace deskleaf {

// Every monitor of the desktop, the primary one first; empty when there is none to ask.
ScreenList currentScreens();

} // namespace deskleaf
