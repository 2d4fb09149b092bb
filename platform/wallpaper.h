// Makes a picture the desktop's wallpaper in the user's profile, or leaves the desktop
// without one, on the desktop the program runs on.
#pragma once

#include "platform/command_runner.h"
#include "platform/platform_error.h"

#include <QList>
#include <QRect>
#include <QString>

#include <memory>

namespace deskleaf {

// A picture for the desktop. screen names a monitor (the output's name, as QScreen::name()
// and the desktop's own tools call it) and area is where that monitor lies in the layout, in
// device pixels; an empty screen means every monitor. With spansScreens (and an empty
// screen) the picture was composed for the whole layout of monitors, each showing its own
// part of it, undistorted; without, every monitor shows the whole picture stretched.
struct WallpaperPicture {
    QString screen;
    QString path;
    QRect area;
    bool spansScreens = false;
};
using WallpaperPictures = QList<WallpaperPicture>;

// How a desktop takes pictures on several monitors: one for each monitor, or one picture for
// the whole layout that it spans over them (GNOME, Cinnamon, MATE).
enum class PictureLayout { PerScreen, Spanned };

class WallpaperSetter {
public:
    virtual ~WallpaperSetter() = default;
    // What the job should compose when there are several monitors.
    virtual PictureLayout layout() const { return PictureLayout::PerScreen; }
    // Shows the pictures as the wallpaper, all in one go: one for every screen, or one per
    // named screen. The desktop is handed copies under new names in
    // DesktopEnvironment::cacheFolder, and the copies it no longer shows are removed.
    // Throws PlatformError.
    virtual void apply(const WallpaperPictures& pictures) = 0;
    // The picture at path on every screen.
    void apply(const QString& path) { apply(WallpaperPictures{{QString(), path, {}, false}}); }
    // Puts back the wallpaper the desktop showed before this program first replaced it, or,
    // where none was recorded, leaves the desktop without a picture. Throws PlatformError.
    virtual void remove() = 0;
};

// What picks and feeds the implementation; main() fills it from the environment.
struct DesktopEnvironment {
    QString currentDesktop; // XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME"
    QString sessionType;    // XDG_SESSION_TYPE: "x11", "wayland" or empty
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString cacheFolder;    // where wallpaper snapshots are kept: $XDG_CACHE_HOME/deskleaf
    // Where the desktop's own wallpaper is recorded before it is first replaced, so that
    // remove can put it back: $XDG_DATA_HOME/deskleaf. Empty: nothing is recorded.
    QString stateFolder;
    QString swaySocket = {}; // SWAYSOCK: set in a sway session, whatever XDG_CURRENT_DESKTOP says

    static DesktopEnvironment fromProcess();
};

// The wallpaper setter for env, running its tools through runner, which must outlive it.
std::unique_ptr<WallpaperSetter> makeWallpaperSetter(const DesktopEnvironment& env,
                                                     CommandRunner& runner);

} // namespace deskleaf
