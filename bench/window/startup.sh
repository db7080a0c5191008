#!/usr/bin/env bash
# Times the programs' start-up as a user sees it: from process start until the
# first window is mapped on an X display (and until it is first drawn into),
# against two yardsticks:
#   dialog   the least a Qt Widgets program does to show a dialog: QApplication,
#            one QDialog with a caption, 430 x 354, show(), exec();
#   minimal  the earlier yardstick: one empty QDialog, no caption, no size.
# Runs alternate (dialog, program, minimal, dialog, program, ...); each figure
# is the median of its runs, each ratio the median of the ratios of the runs
# made side by side, so a machine that changes speed during the run moves
# both sides. The cards: the bundled sample, and the sample's fields with a
# 12 and a 48 megapixel JPEG photo (made here, in a temporary folder). The
# maker is timed to its first window, the splash.
#   bench/window/startup.sh BUILD_DIR [RUNS]
# Without a display it starts one with xvfb-run, and a session bus with
# dbus-run-session, as a desktop has one (without a bus the accessibility
# bridge of every Qt program looks for one first).
# Needs: xvfb (xvfb-run), dbus-daemon (dbus-run-session).
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-21}
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$build" "$runs"
fi
if [[ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]] && command -v dbus-run-session >/dev/null; then
  exec dbus-run-session -- "$0" "$build" "$runs"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
watch="$build/bench/window/startup_watch"
dialog="$build/bench/window/startup_dialog"
minimal="$build/bench/window/startup_minimal"
sample="$here/../../samples/sample.ovt"
"$build/bench/window/startup_cards" "$sample" "$work"

# Prints "MAP_MS PAINT_MS PEAK_KIB" of one run (a second try if the first fails).
run_once() {
  "$watch" -- "$@" 2>/dev/null || "$watch" -- "$@" 2>/dev/null || echo "nan nan 0"
}
# shellcheck source=bench/window/startup_figures.sh
source "$here/startup_figures.sh"

printf '%-8s %-16s %9s %9s %7s %6s %9s %7s %7s %9s %7s\n' program card "map ms" dialog ratio goal \
  "paint" ratio minimal ratio "peak MiB"
measure() {
  local name=$1 card=$2 goal=$3
  shift 3
  local f="$work/pairs"
  run_once "$dialog" >/dev/null
  run_once "$@" >/dev/null  # the file cache warmed
  : >"$f"
  for _ in $(seq "$runs"); do
    echo "$(run_once "$dialog") $(run_once "$@") $(run_once "$minimal")" >>"$f"
  done
  # Columns: dialog map, paint, peak; program map, paint, peak; minimal map, paint, peak.
  printf '%-8s %-16s %9.1f %9.1f %6.2fx %6s %9.1f %6.2fx %7.1f %8.2fx %7.1f\n' "$name" "$card" \
    "$(column 4 "$f" | median)" "$(column 1 "$f" | median)" "$(ratio 4 1 "$f")" "$goal" \
    "$(column 5 "$f" | median)" "$(ratio 5 2 "$f")" \
    "$(column 7 "$f" | median)" "$(ratio 4 7 "$f")" "$(awk '{print $6 / 1024}' "$f" | median)"
}
measure ovview sample.ovt "1.3x" "$build/programs/ovview" "$sample"
measure ovview photo-12mp.ovt "1.4x" "$build/programs/ovview" "$work/photo-12mp.ovt"
measure ovview photo-48mp.ovt "1.6x" "$build/programs/ovview" "$work/photo-48mp.ovt"
measure ovmake sample.ovt "-" "$build/programs/ovmake" "$sample"
echo "map: first window mapped; paint: first drawing into it (its ratio against the dialog's);"
echo "ratio: median of the side-by-side ratios; $runs runs each; $(uptime | sed 's/.*load/load/')"
