# shellcheck shell=bash
# The figures' arithmetic the start-up benchmarks share: sourced by
# startup.sh and startup_wine.sh.
#   median          the median of the numbers on standard input
#   column C FILE   column C of FILE
#   ratio A B FILE  the median of the ratios column A / column B of FILE
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
column() { awk -v c="$1" '{print $c}' "$2"; }
ratio() { awk -v a="$1" -v b="$2" '{printf "%.4f\n", $a / $b}' "$3" | median; }
