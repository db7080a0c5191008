#!/usr/bin/env bash
# The Windows icon files as an independent reader (ImageMagick) sees them:
# every picture of the programs' icons is there, pixel for pixel, the small
# ones as bitmaps the system reads without a picture decoder, 256 pixels as
# PNG.
#   icon_file_check.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
sizes=(16 32 48 256)
failed=0
for program in ovmake ovview; do
  pngs=()
  for size in "${sizes[@]}"; do pngs+=("$source_dir/resources/icons/$program-$size.png"); done
  python3 "$source_dir/cmake/windows/make_ico.py" "$scratch/$program.ico" "${pngs[@]}"
  for i in "${!sizes[@]}"; do
    size=${sizes[$i]}
    kind=$(identify -format '%m %w\n' "$scratch/$program.ico[$i]" | head -n 1)
    want="ICO $size"
    ((size == 256)) && want="PNG 256"
    if [[ "$kind" != "$want" ]]; then
      echo "$program $size: stored as '$kind', not '$want'" >&2
      failed=1
    fi
    convert "$scratch/$program.ico[$i]" -depth 8 "rgba:$scratch/icon.rgba"
    convert "${pngs[$i]}" -depth 8 "rgba:$scratch/png.rgba"
    if ! cmp -s "$scratch/icon.rgba" "$scratch/png.rgba"; then
      echo "$program $size: the icon's pixels are not the picture's" >&2
      failed=1
    fi
  done
done
exit "$failed"
