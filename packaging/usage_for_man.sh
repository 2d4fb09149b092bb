#!/bin/sh
# Puts deskleaf's own --help into the form help2man reads: "Usage:", "  or:" before each
# further synopsis, and each command alone on its line with its description below it at
# one fixed indent; then the options of each command that has more than --help and the
# --folder every command takes, from its own --help, under a heading of its own ("Render
# options:"). Every word stays as the program prints it, in English whatever the builder's
# locale (deskleaf speaks the user's language).
#   DESKLEAF=path/to/deskleaf usage_for_man.sh --help|--version
set -e
run() { LC_ALL=C.UTF-8 LANGUAGE='' "$DESKLEAF" "$@"; }
run "$@" | awk '
  BEGIN { pad = sprintf("%20s", "") }
  NR == 1 { sub(/^usage:/, "Usage:") }
  /^       deskleaf / { sub(/^       /, "  or:  "); print; next }
  /^  [a-z]+( |$)/ {
    text = substr($0, 3 + length($1)); sub(/^ +/, "", text)
    print "  " $1; if (text != "") print pad text; next
  }
  /^   +[^ ]/ { sub(/^ +/, ""); print pad $0; next }
  { print }'
[ "$1" = --help ] || exit 0
for command in $(run --help | awk '/^  [a-z]+( |$)/ { print $1 }'); do
  run "$command" --help | awk -v command="$command" '
    /^options:/ { on = 1; next }
    on && !/^  --help / { lines = lines $0 "\n"; if ($0 !~ /^  --folder DIR +works on DIR/) own = 1 }
    END { if (own) printf "\n%s options:\n%s", toupper(substr(command, 1, 1)) substr(command, 2), lines }'
done
