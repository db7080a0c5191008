#!/usr/bin/python3
"""Reads the QR code in an 8-bit greyscale PNG with zxing-cpp and writes its
text as UTF-8 to standard output (exit 1 when no code is found). The PNG is
read here with zlib alone, so nothing of ours takes part in the decode."""
import struct
import sys
import zlib

import numpy
import zxingcpp


def read_grey_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour != 0 or interlace != 0:
                raise SystemExit("only 8-bit greyscale PNGs")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    rows, prev = [], bytearray(width)
    for y in range(height):
        kind, line = raw[y * (width + 1)], bytearray(raw[y * (width + 1) + 1:(y + 1) * (width + 1)])
        for x in range(width):
            a = line[x - 1] if x else 0
            b = prev[x]
            c = prev[x - 1] if x else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return numpy.frombuffer(b"".join(rows), dtype=numpy.uint8).reshape(height, width)


result = zxingcpp.read_barcode(read_grey_png(sys.argv[1]))
if result is None or not result.valid:
    sys.exit(1)
sys.stdout.buffer.write(result.text.encode("utf-8"))
