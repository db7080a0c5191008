#!/usr/bin/env bash
# Time and peak memory of ovlet at its edges, run by hand:
#   bench/cli/edges.sh [OVLET]      (default: out/build/default/cli/ovlet)
# Each line: the case, wall time, peak resident memory, exit code. The cases:
# a sparse 4 GiB card, a FIFO, a device as a picture, CSV batches (5,000
# distinct rows, 20,000 rows of one name, 2,000 rows with a 1 MB picture).
set -uo pipefail
cd "$(dirname "$0")/../.."
ovlet=$(realpath "${1:-out/build/default/cli/ovlet}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - <<'PY'
import struct
notice = (b"If you do not have an Electronic Business Card Viewer, download latest FREE version from "
          b"https://ovlet.app/.")
head = bytes([0, 0, 0, 0, 0, 0, 0xF0, 0x3F]) + bytes([len(notice)]) + notice + b"\0" * 4
open("sparse.ovt", "wb").write(head + b"\0" * 19 + struct.pack("<i", 0x7FFFFFFF))
with open("distinct.csv", "w") as f:
    f.write("FirstName,LastName,City\n")
    f.writelines(f"Ann{i},Lee{i},Oslo\n" for i in range(5000))
with open("same.csv", "w") as f:
    f.write("FirstName,LastName,City\n")
    f.writelines("Ann,Lee,Oslo\n" for _ in range(20000))
with open("picture.csv", "w") as f:
    f.write("FirstName,LastName,City\n")
    f.writelines(f"Ann{i},Lee{i},Oslo\n" for i in range(2000))
PY
truncate -s 4G sparse.ovt
mkfifo fifo
# A 1 MB JPEG: a real picture followed by padding a decoder ignores.
cp "$OLDPWD/samples/sample.jpg" big.jpg
head -c $((1000000 - $(stat -c %s big.jpg))) /dev/zero >>big.jpg

measure() {  # measure LABEL COMMAND...
    local label=$1
    shift
    /usr/bin/time -f '%e %M %x' -o time.out timeout 60 "$@" >/dev/null 2>err.out
    read -r seconds kib code < <(tail -n 1 time.out)
    printf '%-34s %8.2f s %9d KiB  exit %s\n' "$label" "$seconds" "$kib" "$code"
}

measure "show of a 4 GiB sparse card" "$ovlet" show sparse.ovt
measure "show of a FIFO" "$ovlet" show fifo
measure "make --picture /dev/zero" "$ovlet" make o.ovt --picture /dev/zero
measure "make --csv, 5,000 distinct rows" "$ovlet" make --csv distinct.csv -o distinct
measure "make --csv, 20,000 same-named rows" "$ovlet" make --csv same.csv -o same
measure "make --csv, 2,000 rows, 1 MB picture" "$ovlet" make --csv picture.csv -o picture --picture big.jpg
