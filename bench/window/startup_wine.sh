#!/usr/bin/env bash
# Times the Windows programs' start-up under Wine as a user sees it: from
# `wine PROGRAM` until the program's first window is mapped on the X display
# (and until it is first drawn into), against a yardstick:
#   minimal  the least a Win32 program does to show a dialog of the card
#            window's size with a caption (startup_minimal_win32.exe: one
#            dialog from a template in memory, DialogBoxIndirect).
# Runs alternate (program, minimal, program, ...); each figure is the median
# of its runs, each ratio the median of the ratios of the runs made side by
# side. Beside the wall-clock times, the processor time of the program's own
# process, which a busy machine changes less. The cards: the bundled sample,
# and the sample's fields with a 12 megapixel JPEG photo (made here). The
# maker is timed to its first window, the splash.
#   bench/window/startup_wine.sh OUT_WINDOWS_BIN_DIR [RUNS]
# OUT_WINDOWS_BIN_DIR is scripts/build-windows' out/windows/bin; the yardstick
# is beside it in out/windows/bench. The watcher (startup_watch) and the card
# maker (startup_cards) come from the Linux build: OVLET_LINUX_BUILD, by
# default out/build/default. One fresh Wine prefix in a temporary folder,
# made once, with its server and Wine's own processes (the desktop, the
# services) kept running between the runs, as they are on Windows; each
# program and the yardstick are run once before the timed runs, so the file
# cache is warm. Without a display it starts one with xvfb-run.
# Needs: wine, xvfb (xvfb-run), xdotool.
set -euo pipefail
if (($# < 1)); then
  echo "usage: bench/window/startup_wine.sh OUT_WINDOWS_BIN_DIR [RUNS]" >&2
  exit 2
fi
bin=$(cd "$1" && pwd)
runs=${2:-11}
here=$(cd "$(dirname "$0")" && pwd)
export OVLET_LINUX_BUILD
OVLET_LINUX_BUILD=$(cd "${OVLET_LINUX_BUILD:-$here/../../out/build/default}" && pwd)
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$bin" "$runs"
fi
watch="$OVLET_LINUX_BUILD/bench/window/startup_watch"
minimal="$bin/../bench/startup_minimal_win32.exe"
for needed in "$watch" "$OVLET_LINUX_BUILD/bench/window/startup_cards" "$minimal" "$bin/ovview.exe" "$bin/ovmake.exe"; do
  if [[ ! -e "$needed" ]]; then
    echo "startup_wine: $needed is missing (scripts/build-windows and the Linux build make it)" >&2
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/ovlet-startup-XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
finish() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot -i >/dev/null 2>&1 || true
# Wine closes its desktop (and ends the process that draws it) a second
# after the last program on it ends, and the next program starts it again,
# in its own process group, which the watcher kills with the program: every
# run would pay for the desktop. One yardstick dialog started here, before
# any watching, holds the desktop for the whole run, as a desktop is always
# there on Windows (windows mapped before the watcher starts are not counted).
wine "$minimal" >/dev/null 2>&1 &
timeout 120 xdotool search --sync --onlyvisible --name '^Yardstick$' >/dev/null
sample="$here/../../samples/sample.ovt"
"$OVLET_LINUX_BUILD/bench/window/startup_cards" "$sample" "$work"
# The programs are given the cards as a Windows user would, by drive paths.
sample_w=$(winepath -w "$(cd "$(dirname "$sample")" && pwd)/sample.ovt" 2>/dev/null)
photo_w=$(winepath -w "$work/photo-12mp.ovt" 2>/dev/null)

# Prints "MAP_MS PAINT_MS PEAK_KIB CPU_MS" of one run (a second try if the first fails).
run_once() {
  "$watch" --cpu -- wine "$@" 2>/dev/null || "$watch" --cpu -- wine "$@" 2>/dev/null || echo "nan nan 0 nan"
}
# shellcheck source=bench/window/startup_figures.sh
source "$here/startup_figures.sh"

printf '%-8s %-16s %8s %8s %7s %5s %8s %8s %7s %8s %8s %7s %8s\n' program card "map ms" minimal ratio goal \
  "paint" minimal ratio "cpu ms" minimal ratio "peak MiB"
measure() {
  local name=$1 card=$2 goal=$3
  shift 3
  local f="$work/pairs"
  run_once "$minimal" >/dev/null
  run_once "$@" >/dev/null  # the file cache warmed
  : >"$f"
  for _ in $(seq "$runs"); do
    echo "$(run_once "$@") $(run_once "$minimal")" >>"$f"
  done
  # Columns: program map, paint, peak, cpu; minimal map, paint, peak, cpu.
  printf '%-8s %-16s %8.1f %8.1f %6.2fx %5s %8.1f %8.1f %6.2fx %8.1f %8.1f %6.2fx %8.1f\n' "$name" "$card" \
    "$(column 1 "$f" | median)" "$(column 5 "$f" | median)" "$(ratio 1 5 "$f")" "$goal" \
    "$(column 2 "$f" | median)" "$(column 6 "$f" | median)" "$(ratio 2 6 "$f")" \
    "$(column 4 "$f" | median)" "$(column 8 "$f" | median)" "$(ratio 4 8 "$f")" \
    "$(awk '{print $3 / 1024}' "$f" | median)"
}
measure ovview sample.ovt "1.3x" "$bin/ovview.exe" "$sample_w"
measure ovview photo-12mp.ovt "1.5x" "$bin/ovview.exe" "$photo_w"
measure ovmake sample.ovt "-" "$bin/ovmake.exe" "$sample_w"
echo "map: first window mapped; paint: first drawing into it; cpu: processor time of the program's"
echo "process until it is killed (Wine's server and the X server not counted); ratio: median of the"
echo "side-by-side ratios against the minimal dialog; $runs runs each; $(wine --version); $(uptime | sed 's/.*load/load/')"
