# Sourced by the whole-process benchmarks: a program folder of its own in $work holding a
# copy of Tidemark and a 1920x1080 wallpaper composed from the sample picture, and a home of
# its own with the real gsettings (keyfile backend) as the desktop.
#   . bench/program_folder.sh      (from the top folder, after a default build)
tidemark=$PWD/build/bin/Tidemark
deskleaf=$PWD/build/bin/deskleaf
[ -x "$tidemark" ] || { echo "build first: cmake --preset default && cmake --build --preset default" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog"
cp "$tidemark" "$work/prog/Tidemark"
QT_QPA_PLATFORM=offscreen "$deskleaf" render --folder "$work/prog" --picture assets/sample.jpg \
  --size 1920x1080 >/dev/null
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
  XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=keyfile
