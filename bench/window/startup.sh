#!/usr/bin/env bash
# Times the viewer's start-up (process start to the first paint of the card
# window with a card) against a minimal Qt program showing one empty dialog,
# alternating the two, and prints the medians and their ratio.
#   bench/window/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$1
runs=${2:-30}
probe="$build/bench/window/startup_probe"
card="$(dirname "$0")/../../samples/sample.ovt"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
time_ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
}
minimal=(); viewer=()
"$probe" minimal >/dev/null 2>&1; "$probe" viewer "$card" >/dev/null 2>&1  # warm the file cache
for _ in $(seq "$runs"); do
  minimal+=("$(time_ms "$probe" minimal)")
  viewer+=("$(time_ms "$probe" viewer "$card")")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
m=$(median "${minimal[@]}"); v=$(median "${viewer[@]}")
echo "minimal Qt dialog: median ${m} us over $runs runs"
echo "ovview with the sample card: median ${v} us over $runs runs"
awk -v v="$v" -v m="$m" 'BEGIN { printf "ratio: %.2f\n", v / m }'
