#!/usr/bin/env python3
"""Packs PNG pictures into one Windows icon file (each image stored as PNG,
which Windows reads since Vista): make_ico.py OUT.ico IN.png..."""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main():
    out, pictures = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:]]
    head = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    entries, body = b"", b""
    for data in pictures:
        width, height = png_size(data)
        # 0 stands for 256 in the one-byte width and height.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    with open(out, "wb") as f:
        f.write(head + entries + body)


main()
