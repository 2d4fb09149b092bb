#!/bin/sh
# Puts deskleaf's own --help into the form help2man reads: "Usage:", "  or:" before each
# further synopsis, and each command alone on its line with its description below it at
# one fixed indent. Every word stays as the program prints it, in English whatever the
# builder's locale (deskleaf speaks the user's language).
#   DESKLEAF=path/to/deskleaf usage_for_man.sh --help|--version
LC_ALL=C.UTF-8 LANGUAGE='' "$DESKLEAF" "$@" | awk '
  BEGIN { pad = sprintf("%20s", "") }
  NR == 1 { sub(/^usage:/, "Usage:") }
  /^       deskleaf / { sub(/^       /, "  or:  "); print; next }
  /^  [a-z]+( |$)/ {
    text = substr($0, 3 + length($1)); sub(/^ +/, "", text)
    print "  " $1; if (text != "") print pad text; next
  }
  /^   +[^ ]/ { sub(/^ +/, ""); print pad $0; next }
  { print }'
