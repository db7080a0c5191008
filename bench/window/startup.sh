#!/usr/bin/env bash
# Times the programs' start-up as a user sees it: from process start until the
# card window is mapped and painted on an X display, against a minimal Qt
# program that shows one empty dialog. Runs alternate (minimal, program, ...);
# the report gives the median times, the median of the pairwise ratios and the
# median peak memory.
#   bench/window/startup.sh BUILD_DIR [RUNS] [CARD ...]
# Without a display it starts one with xvfb-run. The maker's splash is closed
# before it is shown (see startup_hook.cpp).
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-20}
shift $(( $# >= 2 ? 2 : $# ))
cards=("$@")
if (( ${#cards[@]} == 0 )); then cards=("$(dirname "$0")/../../samples/sample.ovt"); fi
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs" "${cards[@]}"
fi
hook="$build/bench/window/libstartup_hook.so"
minimal="$build/bench/window/startup_minimal"
programs=("$build/programs/ovview" "$build/programs/ovmake")
# Prints "microseconds kibibytes" for one run.
run_once() {
  local start end
  start=$(date +%s%N)
  LD_PRELOAD="$hook" /usr/bin/time -f %M -o /tmp/ovlet-startup.$$ "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 )) $(cat /tmp/ovlet-startup.$$)"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
for program in "${programs[@]}"; do
  for card in "${cards[@]}"; do
    run_once "$minimal" >/dev/null; run_once "$program" "$card" >/dev/null  # warm the file cache
    : >/tmp/ovlet-startup-pairs.$$
    for _ in $(seq "$runs"); do
      read -r mt mk < <(run_once "$minimal")
      read -r pt pk < <(run_once "$program" "$card")
      echo "$mt $mk $pt $pk" >>/tmp/ovlet-startup-pairs.$$
    done
    f=/tmp/ovlet-startup-pairs.$$
    mt=$(awk '{print $1}' $f | median); pt=$(awk '{print $3}' $f | median)
    ratio=$(awk '{printf "%.4f\n", $3 / $1}' $f | median)
    mk=$(awk '{print $2}' $f | median); pk=$(awk '{print $4}' $f | median)
    awk -v name="$(basename "$program")" -v card="$(basename "$card")" -v mt="$mt" -v pt="$pt" -v r="$ratio" \
        -v mk="$mk" -v pk="$pk" 'BEGIN { printf "%-8s %-20s minimal %6.1f ms  program %6.1f ms  ratio %.2f  peak %5.1f MiB (minimal %5.1f MiB)\n", name, card, mt / 1000, pt / 1000, r, pk / 1024, mk / 1024 }'
  done
done
rm -f /tmp/ovlet-startup.$$ /tmp/ovlet-startup-pairs.$$
