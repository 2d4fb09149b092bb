// Makes a picture the desktop's wallpaper in the user's profile, or leaves the desktop
// without one, on the desktop the program runs on.
#pragma once

#include "command_runner.h"
#include "platform_error.h"

#include <QList>
#include <QString>

#include <memory>

namespace deskleaf {

// A picture for the desktop: screen names a monitor (QScreen::name()), empty for every one.
struct WallpaperPicture {
    QString screen;
    QString path;
};
using WallpaperPictures = QList<WallpaperPicture>;

class WallpaperSetter {
public:
    virtual ~WallpaperSetter() = default;
    // Shows the pictures as the wallpaper, all in one go: one for every screen, or one per
    // named screen. The desktop is handed copies under new names in
    // DesktopEnvironment::cacheFolder, and the copies it no longer shows are removed.
    // Throws PlatformError.
    virtual void apply(const WallpaperPictures& pictures) = 0;
    // The picture at path on every screen.
    void apply(const QString& path) { apply(WallpaperPictures{{QString(), path}}); }
    // Leaves the desktop without a picture. Throws PlatformError.
    virtual void remove() = 0;
};

// What picks and feeds the implementation; main() fills it from the environment.
struct DesktopEnvironment {
    QString currentDesktop; // XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME"
    QString sessionType;    // XDG_SESSION_TYPE: "x11", "wayland" or empty
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString cacheFolder;    // where wallpaper snapshots are kept: $XDG_CACHE_HOME/deskleaf

    static DesktopEnvironment fromProcess();
};

// The wallpaper setter for env, running its tools through runner, which must outlive it.
std::unique_ptr<WallpaperSetter> makeWallpaperSetter(const DesktopEnvironment& env,
                                                     CommandRunner& runner);

} // namespace deskleaf
