#!/usr/bin/env bash
# What `cmake --install` puts under a prefix of its own, checked as a desktop would read it.
#   installed_tree_test.sh CHECK BUILD_DIR
# CHECK: files | launcher | metainfo | manpage | completion | first-start
set -euo pipefail
check=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# deskleaf speaks the user's language: the checks read its English.
export LC_ALL=C.UTF-8 LANGUAGE=''

# Another prefix than the configured one, as with `cmake --install build --prefix ~/.local`.
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.deskleaf.Deskleaf
launcher="$prefix/share/applications/$id.desktop"
# The commands `deskleaf --help` lists in its synopsis.
commands() { "$prefix/bin/deskleaf" --help | sed -n 's/^\(usage:\)\{0,1\} *deskleaf \([a-z][a-z]*\).*/\2/p' | sort -u; }

case $check in
files)
  expected="bin/Tidemark
bin/deskleaf
share/applications/$id.desktop
share/bash-completion/completions/deskleaf
share/doc/deskleaf/changelog.gz
share/doc/deskleaf/copyright
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/deskleaf.1.gz
share/metainfo/$id.metainfo.xml"
  actual=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
  [ "$actual" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
  for size in 48 128 256; do
    file "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
      fail "the ${size}px icon is not a ${size}x$size PNG"
  done
  zcat "$prefix/share/doc/deskleaf/changelog.gz" | head -1 |
    grep -qx "deskleaf ($("$prefix/bin/deskleaf" --version | cut -d' ' -f2)) stable; urgency=medium" ||
    fail "the changelog does not start with this version"
  ;;
launcher)
  desktop-file-validate "$launcher" || fail "desktop-file-validate refuses the launcher"
  for key in Name GenericName Comment; do
    grep -q "^$key=" "$launcher" && grep -q "^$key\[zh_CN\]=" "$launcher" ||
      fail "$key lacks its English text or its zh_CN translation"
  done
  grep -qx "Icon=$id" "$launcher" || fail "the launcher does not name the icon $id"
  grep -qx "Exec=Tidemark" "$launcher" || fail "the launcher does not start Tidemark"
  # The window's class, as the running program sets it, is what the launcher names.
  command -v xvfb-run >/dev/null && command -v xprop >/dev/null && command -v xdotool >/dev/null &&
    unshare -m true 2>/dev/null || { echo "SKIP: no Xvfb, xprop, xdotool or private mount namespace"; exit 77; }
  class=$(sed -n 's/^StartupWMClass=//p' "$launcher")
  echo "600.00 600.00" > "$work/uptime"
  export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
    XDG_CACHE_HOME="$work/cache" XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=keyfile work prefix
  unset XDG_SESSION_ID WAYLAND_DISPLAY QT_QPA_PLATFORM
  seen=$(xvfb-run -a -s "-screen 0 1280x800x24" bash -euo pipefail -c '
    unshare -m sh -c "mount --bind \"\$0\" /proc/uptime && exec \"\$1\"" "$work/uptime" \
      "$prefix/bin/Tidemark" >/dev/null 2>&1 & pid=$!
    win=$(timeout 15 xdotool search --sync --onlyvisible --name "^DeskleafV" | head -1) || true
    [ -n "$win" ] && xprop -id "$win" WM_CLASS
    kill $pid; wait $pid 2>/dev/null || true')
  [ "$seen" = "WM_CLASS(STRING) = \"$class\", \"$class\"" ] ||
    fail "the main window's class is \"$seen\", the launcher says StartupWMClass=$class"
  ;;
metainfo)
  metainfo="$prefix/share/metainfo/$id.metainfo.xml"
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses the metadata"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
  grep -q "<release version=\"$("$prefix/bin/deskleaf" --version | cut -d' ' -f2)\"" "$metainfo" ||
    fail "the metadata's release is not this version"
  ;;
manpage)
  page="$prefix/share/man/man1/deskleaf.1.gz"
  [ -s "$page" ] || fail "no man page"
  # The window's Chinese button names and the 休/班 marks as written, not as question marks.
  zcat "$page" | grep -q '替换墙纸' || fail "the man page lost its Chinese text"
  text=$(MANWIDTH=200 man -l "$page" 2>/dev/null | col -b)
  grep -q "^ *deskleaf - " <<<"$text" || fail "the man page has no NAME line"
  grep -q "$("$prefix/bin/deskleaf" --version)" <<<"$text" || fail "the man page is of another version"
  n=0
  for c in $(commands); do
    grep -q "^ *deskleaf $c\b" <<<"$text" || fail "the synopsis lacks deskleaf $c"
    grep -q "^ *$c\b" <<<"$(sed -n '/^DESCRIPTION/,$p' <<<"$text")" || fail "no description of $c"
    for option in $("$prefix/bin/deskleaf" "$c" --help | sed -n '/^options:/,${/^  --help /d;s/^  \(--[a-z]*\).*/\1/p}'); do
      grep -q -- "^ *$option\b" <<<"$text" || fail "the man page lacks $c's $option"
    done
    n=$((n + 1))
  done
  [ $n -ge 4 ] || fail "only $n commands found in deskleaf --help"
  for section in TIDEMARK FILES EXAMPLES; do
    grep -q "^$section$" <<<"$text" || fail "the man page has no $section section"
  done
  grep -q "kel.ini" <<<"$(sed -n '/^FILES/,/^EXAMPLES/p' <<<"$text")" || fail "FILES lacks kel.ini"
  ;;
completion)
  script="$prefix/share/bash-completion/completions/deskleaf"
  # complete WORD...: what Tab offers after them.
  complete_after() {
    bash -c 'source "$0"; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _deskleaf
      printf "%s\n" "${COMPREPLY[@]}"' "$script" deskleaf "$@"
  }
  offered=$(complete_after "")
  for c in $(commands) apply remove colour remind reminders autorun --help --version; do
    grep -qx -- "$c" <<<"$offered" || fail "Tab does not offer $c"
  done
  # After each command, the options its --help lists and no other.
  for c in $(commands); do
    listed=$("$prefix/bin/deskleaf" "$c" --help | sed -n '/^options:$/,$ s/^  \(--[a-z]*\).*/\1/p' | sort)
    [ "$(complete_after "$c" -- | sort)" = "$listed" ] || fail "Tab after $c -- does not offer $(echo $listed)"
  done
  [ "$(complete_after autorun o | tr '\n' ' ')" = "on off " ] || fail "autorun o does not offer on, off"
  [ "$(complete_after render --pic)" = "--picture" ] || fail "render --pic does not offer --picture"
  mkdir -p "$work/picked folder"
  [ "$(complete_after month --folder "$work/pick")" = "$work/picked folder" ] ||
    fail "--folder does not offer folders"
  ;;
first-start)
  # The unattended start of an installed copy, made to run before any window.
  export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
    XDG_CACHE_HOME="$work/cache" XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=keyfile
  unset XDG_SESSION_ID DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
  timeout 30 "$prefix/bin/Tidemark" --logon-start || true
  ini="$work/data/Deskleaf/kel.ini"
  [ -f "$ini" ] || fail "the installed copy wrote no kel.ini in \$XDG_DATA_HOME/Deskleaf"
  tr -d '\r' < "$ini" | grep -q '^text5=16771047$' || fail "kel.ini is not the shipped default"
  [ -z "$(find "$prefix/bin" -name 'kel.*')" ] || fail "the installed copy wrote beside its program"
  ;;
*) fail "unknown check $check" ;;
esac
echo "ok: $check"
