// The wallpaper setters of the desktops this program knows, one file each, and what they
// share. wallpaper_xdg.cpp picks one by XDG_CURRENT_DESKTOP.
#pragma once

#include "wallpaper.h"

#include <memory>

namespace deskleaf::detail {

// A file: URI for path, percent-encoded.
QString fileUri(const QString& path);

// GNOME and its relatives, Cinnamon and MATE keep the wallpaper in GSettings.
enum class GSettingsDesktop { Gnome, Cinnamon, Mate };
std::unique_ptr<WallpaperSetter> makeGSettingsWallpaper(QString name, GSettingsDesktop desktop,
                                                        const DesktopEnvironment& env,
                                                        CommandRunner& runner);
std::unique_ptr<WallpaperSetter> makePlasmaWallpaper(QString name, const DesktopEnvironment& env,
                                                     CommandRunner& runner);
std::unique_ptr<WallpaperSetter> makeXfceWallpaper(QString name, const DesktopEnvironment& env,
                                                   CommandRunner& runner);
// program: pcmanfm-qt (LXQt) or pcmanfm (LXDE).
std::unique_ptr<WallpaperSetter> makePcmanfmWallpaper(QString name, QString program,
                                                      const DesktopEnvironment& env,
                                                      CommandRunner& runner);
// sway and other wlroots compositors.
std::unique_ptr<WallpaperSetter> makeWlrootsWallpaper(QString name, const DesktopEnvironment& env,
                                                      CommandRunner& runner);
// Other X11 window managers: program is feh or xwallpaper.
std::unique_ptr<WallpaperSetter> makeRootWindowWallpaper(QString name, QString program,
                                                         const DesktopEnvironment& env,
                                                         CommandRunner& runner);

} // namespace deskleaf::detail
