# Sourced by the window tests with the Tidemark to run: skips (status 77) where they cannot
# run, and sets up $work with a program folder of its own ($prog, holding Tidemark), a private
# home and XDG folders, and the real gsettings on its keyfile backend as the desktop.
command -v xdotool >/dev/null || { echo "SKIP: xdotool is missing"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prog="$work/程序 folder"
mkdir -p "$prog" "$work/home"
cp "$1" "$prog/Tidemark"

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
  XDG_DATA_HOME="$work/data" XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=keyfile
unset XDG_SESSION_ID WAYLAND_DISPLAY QT_QPA_PLATFORM
export work prog
