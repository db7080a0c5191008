#!/usr/bin/env bash
# `ovlet print` as a user runs it, its PDFs read back by poppler's tools on
# Linux: the Linux tool (Qt's PDF writer) and the Windows one under Wine (our
# own PDF canvas with the system's font) must give the same pages, text,
# fonts and boxes.
#   print_check.sh RUNNER OVLET SAMPLE_CARD
# RUNNER starts the tool ("env" on Linux, cmake/wine-run for ovlet.exe).
set -uo pipefail
runner=$1 ovlet=$(realpath "$2") sample=$(realpath "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/ovlet-print-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$sample" card.ovt
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# Relative names: the Windows tool reads them in Wine's current folder.
print() { "$runner" "$ovlet" print card.ovt "$@"; }

name="Renée A. Okafor"
mail="renee.okafor@harbourlight.example"
count() { grep -o -F -- "$2" <<<"$1" | wc -l; }

# Sheets: the paper's size, ten cards of real text, every font embedded.
while IFS='|' read -r what options size cards; do
  rm -f sheet.pdf
  # shellcheck disable=SC2086
  print -o sheet.pdf $options 2>err.txt
  got=$?
  if ((got != 0)); then
    fail "$what: exit code $got: $(cat err.txt)"
    continue
  fi
  info=$(pdfinfo sheet.pdf 2>&1)
  # Poppler reads and draws the whole page without a complaint.
  complaints=$(pdftoppm -r 20 sheet.pdf 2>&1 >/dev/null)
  [[ -z $complaints ]] || fail "$what: poppler complains: $complaints"
  grep -q "^Pages: *1$" <<<"$info" || fail "$what: not one page: $info"
  grep -q "^Page size: *$size" <<<"$info" || fail "$what: page size, wanted $size: $(grep 'Page size' <<<"$info")"
  text=$(pdftotext -enc UTF-8 sheet.pdf -)
  [[ $(count "$text" "$name") == "$cards" ]] || fail "$what: '$name' $(count "$text" "$name") times, not $cards"
  [[ $(count "$text" "$mail") == "$cards" ]] || fail "$what: '$mail' $(count "$text" "$mail") times, not $cards"
  [[ $(count "$text" "Lead Engineer, Marine Sensors") == "$cards" ]] || fail "$what: the job title's spaces are lost"
  fonts=$(pdffonts sheet.pdf | tail -n +3)
  [[ -n $fonts ]] || fail "$what: no fonts"
  while read -r line; do
    [[ $line =~ \ yes\ +(yes|no)\ +yes\  ]] || fail "$what: a font not embedded with a Unicode map: $line"
  done <<<"$fonts"
done <<'EOF'
A4|--sheet a4|595 x 842 pts (A4)|10
Letter with a bleed|--sheet letter --bleed 2|612 x 792 pts (letter)|10
single card, bleed and crop marks|--sheet single --bleed 3 --crop-marks|298 x 213 pts|1
EOF

# A single card's page tells a print shop where to cut: 85 x 55 mm at 10 mm
# from the edges (3 mm bleed, 2 mm gap, 5 mm marks), the bleed 3 mm around.
# In points, to a hundredth (the writers round their last digit differently).
boxes=$(pdfinfo -box sheet.pdf)
near() {
  awk -v box="$1" -v want="$2" '$1 == box ":" {
    split(want, w, " "); for (i = 1; i <= 4; i++) if ((d = $(i + 1) - w[i]) > 0.02 || d < -0.02) exit 1; found = 1
  } END { exit !found }' <<<"$boxes" || fail "$1, wanted $2: $(grep "$1" <<<"$boxes")"
}
near TrimBox "28.35 28.75 269.29 184.65"
near BleedBox "19.84 20.24 277.80 193.16"

# Standard output gets the PDF itself.
print -o - --sheet single >out.pdf 2>err.txt || fail "-o -: $(cat err.txt)"
[[ $(head -c 5 out.pdf) == "%PDF-" ]] || fail "-o -: not a PDF"
pdftotext out.pdf - | grep -q -F "$mail" || fail "-o -: the PDF does not read"

# What cannot be printed is refused with the usage code and a reason.
while IFS='|' read -r what options code message; do
  # shellcheck disable=SC2086
  print -o refused.pdf $options 2>err.txt
  got=$?
  [[ $got == "$code" ]] || fail "$what: exit code $got, not $code"
  grep -q -F -- "$message" err.txt || fail "$what: no '$message' in: $(cat err.txt)"
  [[ ! -e refused.pdf ]] || fail "$what: a PDF was written"
done <<'EOF'
a bleed too wide for A4|--bleed 3|1|at most 2.2 mm
a bleed past 20 mm|--sheet single --bleed 21|1|--bleed
an unknown sheet|--sheet a5|1|--sheet
EOF

if ((failures > 0)); then
  echo "print_check: $failures failures"
  exit 1
fi
echo "print_check: all passed"
