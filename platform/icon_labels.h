// The text labels under the desktop icons, asked to show no background box of their own so
// that the wallpaper's calendar shows between them.
#pragma once

namespace deskleaf {

enum class IconLabels {
    Cleared,      // the desktop was told to draw its labels without a background
    NoBackground, // this desktop draws its labels without one: nothing to change
};

// Windows: sets the desktop icon view's text background to none. The icon views of the Linux
// desktops (GNOME, Plasma, Xfce, MATE, Cinnamon, LXQt) have no setting for a label background,
// and nothing here edits another program's files, so elsewhere nothing changes.
IconLabels clearIconLabelBackground();

} // namespace deskleaf
