// Makes a picture the desktop's wallpaper in the user's profile, or leaves the desktop
// without one, on the desktop the program runs on.
#pragma once

#include "command_runner.h"
#include "platform_error.h"

#include <QString>

#include <memory>

namespace deskleaf {

class WallpaperSetter {
public:
    virtual ~WallpaperSetter() = default;
    // Shows the picture at path as the wallpaper. The desktop is handed a copy under a new
    // name in DesktopEnvironment::cacheFolder, and the copies it no longer shows are
    // removed. Throws PlatformError.
    virtual void apply(const QString& path) = 0;
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
