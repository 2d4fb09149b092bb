#!/usr/bin/env bash
# The command line speaks its user's language: the real deskleaf under LANG=zh_CN.UTF-8,
# through failing and ordinary commands, says every line in Chinese (the system's reasons
# too), with no Latin letter but names, paths, option and command words and what the user
# typed; under LANG=C the same command stays English.
#   messages_language_test.sh DESKLEAF
set -euo pipefail
deskleaf=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/run" "$work/prog"
chmod 700 "$work/run"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
unset LANGUAGE LC_ALL LC_MESSAGES DISPLAY WAYLAND_DISPLAY
echo "not a picture" > "$work/notes.txt"
# No user manager here, whatever runs on this machine: auto-run tells it cannot refresh daily.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho offline\nexit 1\n' >"$work/bin/systemctl"
chmod +x "$work/bin/systemctl"
export PATH="$work/bin:$PATH"
prog="$work/prog"
"$deskleaf" remind 03-07 生日 --folder "$prog" # says nothing: it worked

fail() { echo "FAIL: $*"; exit 1; }

# The system's own reasons (strerror) come from glibc in the locale's language: the zh_CN
# locale is built here (locales), its messages are libc-l10n's.
mkdir -p "$work/locale"
localedef -i zh_CN -f UTF-8 "$work/locale/zh_CN.UTF-8" 2>/dev/null &&
  [ -f /usr/share/locale/zh_CN/LC_MESSAGES/libc.mo ] ||
  fail "no zh_CN locale: install locales and libc-l10n (scripts/setup test)"
export LOCPATH="$work/locale"

# What may stay Latin: paths, what the user typed (“…”), words to be typed as they are ("…"),
# option names, the command's own words and the formats its synopsis names.
latin_left() {
  sed -E -e 's#/[^ ，。：；（）“”]*##g' -e 's/“[^”]*”//g' -e 's/"[^"]*"//g' -e 's/--[a-z-]+//g' \
    -e 's/\<(deskleaf|Tidemark|kel\.ini|zm\.bmp|JSON|0x00BBGGRR|month|render|remind|reminders|remove|colour|lunar|week|refresh|apply|autorun|holidays|import|marks|monday|sunday|on|off|status|stretch|fill|fit|default|FROM|TO|FILE|DIR|TEXT|VALUE|YYYY|MM|DD|RRGGBB|WxH|F)\>//g' |
    grep -o '[A-Za-z]\+' | tr '\n' ' ' || true
}

# Each row: the exit status, then the command's words.
rows=(
  "2 frob"
  "2 month 2026-13"
  "2 lunar 2026-02-30"
  "2 remind 02-30 生日 --folder $prog"
  "2 colour red --folder $prog"
  "2 week friday --folder $prog"
  "2 render --folder $prog --fit big --size 800x600"
  "2 render --folder $prog --size 0x0"
  "2 month 2026-09 --nonsense"
  "1 render --folder $work/none --size 800x600"
  "1 render --folder $prog --picture $work/notes.txt --size 800x600"
  "1 render --folder $prog --picture $work/missing.png --size 800x600"
  "1 render --folder $prog --picture $prog --size 800x600"
  "1 remind 03-07 婚礼 --folder $prog"
  "0 refresh --folder $prog"
  "1 apply --folder $work/empty"
  "1 holidays import $work/notes.txt"
  "1 holidays import $work/missing.json"
  "0 autorun on --folder $prog"
)
# Each command's own --help: what it does and each option's line.
for c in lunar month render refresh apply remove colour remind reminders autorun week holidays; do rows+=("0 $c --help"); done
for row in "${rows[@]}"; do
  read -r expected words <<<"$row"
  status=0
  # shellcheck disable=SC2086 # the row's words are split on purpose
  LANG=zh_CN.UTF-8 "$deskleaf" $words >"$work/out" 2>&1 || status=$?
  [ "$status" = "$expected" ] || fail "deskleaf $words: exit status $status: $(cat "$work/out")"
  [ -s "$work/out" ] || fail "deskleaf $words: said nothing"
  LC_ALL=C.UTF-8 grep -qP '\p{Han}' "$work/out" || fail "deskleaf $words: no Chinese: $(cat "$work/out")"
  while IFS= read -r line; do
    left=$(latin_left <<<"$line")
    [ -z "$left" ] || fail "deskleaf $words: '$line' is not Chinese ($left)"
  done <"$work/out"
done

# The man page is made from --help in English, whatever the builder's language.
man_help() { DESKLEAF="$deskleaf" sh "$(dirname "$0")/../../packaging/usage_for_man.sh" --help; }
[ "$(LANG=zh_CN.UTF-8 man_help)" = "$(LANG=C man_help)" ] || fail "the man page's --help is not English"

# Any other language keeps the English the messages are written in.
status=0
LANG=C "$deskleaf" month 2026-13 2>"$work/err" || status=$?
[ "$status" = 2 ] && [ "$(head -1 "$work/err")" = 'deskleaf month: "2026-13" is not a month (YYYY-MM)' ] ||
  fail "LANG=C: $status: $(cat "$work/err")"
echo PASS
