#!/usr/bin/env python3
"""Packs PNG pictures into one Windows icon file: make_ico.py OUT.ico IN.png...

Pictures under 256 pixels are stored as 32-bit bitmaps with their mask, the
form the system reads without a picture decoder (a window's caption and the
taskbar ask for 16 and 32 pixels at every start); the 256-pixel picture
stays PNG, as Windows reads it since Vista. A PNG this script cannot unpack
(anything but 8-bit RGBA, not interlaced) is stored as PNG too."""
import struct
import sys
import zlib


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", data[16:24])


def png_rgba_rows(data):
    """The rows of an 8-bit RGBA PNG, top first, or None for any other kind."""
    width, height = png_size(data)
    depth, colour, _, _, interlace = struct.unpack(">BBBBB", data[24:29])
    if depth != 8 or colour != 6 or interlace != 0:
        return None
    packed, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            packed += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(packed)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for x in range(stride):
            left = row[x - 4] if x >= 4 else 0
            up = previous[x]
            corner = previous[x - 4] if x >= 4 else 0
            if kind == 1:
                row[x] = (row[x] + left) & 0xFF
            elif kind == 2:
                row[x] = (row[x] + up) & 0xFF
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                guess = left + up - corner
                pa, pb, pc = abs(guess - left), abs(guess - up), abs(guess - corner)
                near = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                row[x] = (row[x] + near) & 0xFF
            elif kind != 0:
                raise SystemExit("broken PNG picture")
        rows.append(bytes(row))
        previous = row
    return rows


def icon_bitmap(width, height, rows):
    """A 32-bit icon image: its header (twice the height: colour and mask),
    the BGRA pixels bottom-up, then the 1-bit mask, set where transparent."""
    head = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b""
    mask_stride = ((width + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x in range(width):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return head + pixels + mask


def main():
    out, pictures = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:]]
    head = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    entries, body = b"", b""
    for data in pictures:
        width, height = png_size(data)
        rows = png_rgba_rows(data) if width < 256 and height < 256 else None
        image = icon_bitmap(width, height, rows) if rows is not None else data
        # 0 stands for 256 in the one-byte width and height.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), offset + len(body))
        body += image
    with open(out, "wb") as f:
        f.write(head + entries + body)


main()
