// The wallpaper setters of the desktops this program knows, one file each, and what they
// share. wallpaper_xdg.cpp picks one by XDG_CURRENT_DESKTOP.
#pragma once

#include "platform/wallpaper.h"

#include <memory>
#include <optional>

namespace deskleaf::detail {

// A file: URI for path, percent-encoded.
QString fileUri(const QString& path);

// A process of this user, found by its program's name.
struct RunningProgram {
    qint64 pid = 0;
    QStringList arguments; // after the program's name
};
// The oldest such process on this program's X display (pgrep), or nothing when none runs
// or pgrep is missing.
std::optional<RunningProgram> findRunning(CommandRunner& runner, const QString& program);
// The configuration profile (--profile NAME) of the running program: "default" when it was
// started without one, fallback when none runs.
QString runningProfile(CommandRunner& runner, const QString& program, const QString& fallback);
// The running program, drawing the desktop; throws StepError when none runs.
RunningProgram requireRunning(CommandRunner& runner, const QString& program);
// Turns the desktop of program (pcmanfm or pcmanfm-qt) off and on, so that it is drawn anew
// from its saved settings. With no other window open the program ends with its desktop, and
// a new one is started with the same profile. Throws StepError.
void redrawDesktop(CommandRunner& runner, const QString& program, const QString& profile);

// GNOME and its relatives, Cinnamon and MATE keep the wallpaper in GSettings.
enum class GSettingsDesktop { Gnome, Cinnamon, Mate };
std::unique_ptr<WallpaperSetter> makeGSettingsWallpaper(QString name, GSettingsDesktop desktop,
                                                        const DesktopEnvironment& env,
                                                        CommandRunner& runner);
std::unique_ptr<WallpaperSetter> makePlasmaWallpaper(QString name, const DesktopEnvironment& env,
                                                     CommandRunner& runner);
std::unique_ptr<WallpaperSetter> makeXfceWallpaper(QString name, const DesktopEnvironment& env,
                                                   CommandRunner& runner);
// LXQt: pcmanfm-qt.
std::unique_ptr<WallpaperSetter> makePcmanfmQtWallpaper(QString name, const DesktopEnvironment& env,
                                                        CommandRunner& runner);
// LXDE: pcmanfm.
std::unique_ptr<WallpaperSetter> makePcmanfmWallpaper(QString name, const DesktopEnvironment& env,
                                                      CommandRunner& runner);
// sway and other wlroots compositors.
std::unique_ptr<WallpaperSetter> makeWlrootsWallpaper(QString name, const DesktopEnvironment& env,
                                                      CommandRunner& runner);
// Other X11 window managers: program is feh or xwallpaper.
std::unique_ptr<WallpaperSetter> makeRootWindowWallpaper(QString name, QString program,
                                                         const DesktopEnvironment& env,
                                                         CommandRunner& runner);

} // namespace deskleaf::detail
