#!/usr/bin/env bash
# Runs one fuzz target of build-fuzz on a temporary copy of its seed corpus, so that new
# units never land in the repository. Findings go to build-fuzz/findings/<target>/.
#   fuzz/run.sh settings_file|picture_import [seconds, default 60] [libFuzzer options...]
# Exits non-zero on a finding. FUZZ_CORPUS=<dir> keeps the grown corpus in <dir> instead.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: fuzz/run.sh settings_file|picture_import [seconds] [libFuzzer options...]}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))

binary=build-fuzz/fuzz/${target}_fuzz
[ -x "$binary" ] || { echo "fuzz: $binary is not built (cmake --build --preset fuzz)" >&2; exit 2; }
[ -d "fuzz/corpus/$target" ] || { echo "fuzz: no seed corpus fuzz/corpus/$target" >&2; exit 2; }

case "$target" in
  # A write waits at most 5 s for the lock; a unit that takes 10 s is stuck.
  settings_file) limits=(-timeout=10) ;;
  # One allocation past the program's 600 MiB goal is a finding; the RSS limit adds to
  # that goal what AddressSanitizer itself keeps (see fuzz/README.md).
  picture_import) limits=(-timeout=30 -malloc_limit_mb=600 -rss_limit_mb=1100) ;;
  *) echo "fuzz: unknown target $target" >&2; exit 2 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpus=${FUZZ_CORPUS:-$work/corpus}
mkdir -p "$corpus"
cp -n "fuzz/corpus/$target"/* "$corpus"/
findings=build-fuzz/findings/$target
mkdir -p "$findings"

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
echo "== fuzz $target for $seconds s" >&2
status=0
"$binary" "${limits[@]}" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$findings/" "$@" "$corpus" >"$work/log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 60 "$work/log" >&2
  cp "$work/log" "$findings/last-run.log"
  echo "fuzz: $target found a fault (exit $status); input in $findings/, log in $findings/last-run.log" >&2
  exit 1
fi
grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$work/log" >&2
