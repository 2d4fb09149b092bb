// The monitors a wallpaper is composed for, measured in the device pixels the platform
// drives them at (each output's mode), never as Qt's rounded logical size times its
// device pixel ratio, which is off at fractional scales (2560x1440 at 1.5 is 1707x960
// logical, 2561x1440 or 3414x1920 "device" pixels).
#pragma once

#include "platform/command_runner.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace deskleaf {

struct ScreenInfo {
    // The output's name as the desktop knows it (RandR "DUMMY0", sway "HEADLESS-1");
    // equals QScreen::name() where Qt has the screen.
    QString name;
    // Size: the mode in device pixels, width and height swapped on outputs turned by 90
    // or 270 degrees. Position: on X11 the place in the layout, in the same pixels; on
    // Wayland the compositor's layout position, which is in logical units (a layout of
    // outputs at different scales has no common device-pixel grid).
    QRect pixels;
    // The desktop's scale factor for the output: 1 at 100 %, 1.25, 1.5, 2 ...
    double scale = 1;
    bool primary = false;

    friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};
using ScreenList = QList<ScreenInfo>;

// Where the monitors are read from; main() fills it from the environment, tests choose.
struct ScreenEnvironment {
    QString swaySocket;     // SWAYSOCK: sway's IPC, read with swaymsg
    QString waylandDisplay; // WAYLAND_DISPLAY: any compositor, read over the Wayland protocol
    QString x11Display;     // DISPLAY: X11, read through RandR
    QString gdkScale;       // GDK_SCALE, an X11 scale hint
    QString qtScaleFactor;  // QT_SCALE_FACTOR, an X11 scale hint

    static ScreenEnvironment fromProcess();
};

// Every monitor of the desktop, the primary one first, the others left to right (then top
// to bottom). Exactly one is primary. Sources, by the environment: sway's outputs through
// swaymsg run by runner (a socket that does not answer falls back to the Wayland display);
// any Wayland compositor through wl_output and xdg-output; X11 through RandR; elsewhere
// (Windows) QScreen, which needs a QGuiApplication. None but the last depends on Qt's
// platform, so an offscreen QGuiApplication still gets the real monitors. Empty when there
// is no desktop to ask (no display, and Qt offscreen or not running). Throws PlatformError
// naming the source when the desktop is there but cannot be read.
ScreenList currentScreens(const ScreenEnvironment& env, CommandRunner& runner);
ScreenList currentScreens();

// `swaymsg -t get_outputs --raw`: the active outputs, each at its current mode, rotated
// by its transform, at its scale. Throws PlatformError on text that is not that answer.
ScreenList swayScreens(const QByteArray& json);

// The X11 desktop's scale: the largest of Xft.dpi / 96 (the root window's
// RESOURCE_MANAGER, written by GNOME, MATE, Cinnamon, Xfce, Plasma or ~/.Xresources),
// Gdk/WindowScalingFactor of the XSETTINGS (xsettings: the settings manager's
// _XSETTINGS_SETTINGS, where Cinnamon and Xfce keep their window scaling with Xft.dpi left
// at 96), GDK_SCALE and QT_SCALE_FACTOR, each where it is set and sane; 1 when none
// raises it.
double x11Scale(const QByteArray& resourceManager, const QByteArray& xsettings,
                const ScreenEnvironment& env);

// The integer setting name of an XSETTINGS property, as its settings manager publishes it;
// nothing when it is not there or the property is not well formed.
std::optional<int> xsettingsInteger(const QByteArray& xsettings, const QByteArray& name);

// Puts the primary screen first and the others in layout order. When the platform marks
// none (sway never does; X11 may have no primary output), the screen at the layout's
// origin, else the first in layout order, becomes the primary: the same monitor every
// day, where the focused output would follow the pointer.
ScreenList primaryFirst(ScreenList screens);

} // namespace deskleaf
