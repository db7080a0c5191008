#!/usr/bin/env bash
# Pictures of the exchange commands' output for the README, made by hand:
#   tests/exchange/screenshots.sh BUILD_DIR [CARD]
# The web card in headless Chromium (Debian package chromium) at a phone's
# 390 x 844 and a desktop's 1280 x 800, and the A4 sheet of `ovlet print`
# through pdftoppm (poppler-utils), into docs/screenshots/.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
card=${2:-$root/samples/sample.ovt}
out=$root/docs/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/cli/ovlet" html "$card" -o "$work/card.html"
for size in 390,844 1280,800; do
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" \
    --screenshot="$out/web-card-${size/,/x}.png" --window-size="$size" "file://$work/card.html" 2>/dev/null
done
"$build/cli/ovlet" print "$card" -o "$work/sheet.pdf" 2>/dev/null
pdftoppm -r 50 -png -singlefile "$work/sheet.pdf" "$out/print-a4-sheet"
"$build/cli/ovlet" print "$card" -o "$work/single.pdf" --sheet single --bleed 3 --crop-marks 2>/dev/null
pdftoppm -r 150 -png -singlefile "$work/single.pdf" "$out/print-single-bleed"
ls -l "$out"/web-card-*.png "$out"/print-*.png
