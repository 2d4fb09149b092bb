#!/usr/bin/env bash
# Runs one GoogleTest case as the unprivileged user nobody, for a refusal that root would
# never meet (a folder without write permission). Skips where that cannot be arranged.
#   as_unprivileged.sh BINARY TEST_NAME
set -u
binary=$(realpath "$1")
name=$2
if [ "$(id -u)" -ne 0 ]; then
  run=()
else
  command -v setpriv >/dev/null || { echo "SKIP: setpriv is missing"; exit 77; }
  run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  "${run[@]}" test -x "$binary" || { echo "SKIP: nobody cannot run $binary"; exit 77; }
fi
out=$(cd /tmp && HOME=/tmp TMPDIR=/tmp "${run[@]}" "$binary" --gtest_filter="$name" 2>&1)
status=$?
echo "$out"
[ $status -eq 0 ] || exit $status
# Run as nobody the case must not skip itself.
! grep -q '\[  SKIPPED \]' <<< "$out"
