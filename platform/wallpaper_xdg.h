// Wallpaper setters for the desktops named by XDG_CURRENT_DESKTOP, and for bare X11 and
// Wayland sessions.
#pragma once

#include "platform/wallpaper.h"

namespace deskleaf::detail {

std::unique_ptr<WallpaperSetter> makeXdgWallpaperSetter(const DesktopEnvironment& env,
                                                        CommandRunner& runner);

} // namespace deskleaf::detail
