#!/usr/bin/env python3
"""Writes the worst pictures found for each decoder: small files that declare
huge pictures, or make a decoder do far more work than their pixels need.

    bench/picture/make_bombs.py OUT_FOLDER [--small]

--small writes smaller variants (a few kilobytes to about 100 KB) of the same
shapes, the ones kept as fuzz regressions. Time and peak memory of a decode,
by hand:  /usr/bin/time -v ovlet decode OUT_FOLDER/FILE /dev/null
"""
import os
import struct
import sys
import zlib


def u16be(v):
    return struct.pack(">H", v)


def u32be(v):
    return struct.pack(">I", v)


# JPEG ---------------------------------------------------------------------

def jpeg_segment(marker, body):
    return bytes([0xFF, marker]) + u16be(len(body) + 2) + body


def jpeg_head(width, height, components, progressive):
    """SOI, one quantisation table, the frame and 1-bit Huffman tables whose
    only code is symbol 0 (DC difference 0; AC end of block)."""
    out = b"\xFF\xD8"
    out += jpeg_segment(0xDB, b"\x00" + bytes([1] * 64))
    frame = bytes([8]) + u16be(height) + u16be(width) + bytes([components])
    for c in range(components):
        frame += bytes([c + 1, 0x11, 0])
    out += jpeg_segment(0xC2 if progressive else 0xC0, frame)
    one_code = bytes([1] + [0] * 15) + b"\x00"
    out += jpeg_segment(0xC4, b"\x00" + one_code)  # DC table 0
    out += jpeg_segment(0xC4, b"\x10" + one_code)  # AC table 0
    return out


def jpeg_scan(component_ids, ss, se):
    body = bytes([len(component_ids)])
    for c in component_ids:
        body += bytes([c, 0x00])
    body += bytes([ss, se, 0])
    return jpeg_segment(0xDA, body)


def blocks(width, height):
    return ((width + 7) // 8) * ((height + 7) // 8)


def jpeg_progressive_scans(width, height, components, extra_scans):
    """A DC scan that codes every block (one bit each), then many AC scans
    that carry no data: each costs a pass over the picture's blocks."""
    out = jpeg_head(width, height, components, True)
    out += jpeg_scan(list(range(1, components + 1)), 0, 0)
    out += bytes((blocks(width, height) * components + 7) // 8)
    for i in range(extra_scans):
        out += jpeg_scan([1 + i % components], 1, 63)
    return out + b"\xFF\xD9"


def jpeg_truncated_baseline(width, height):
    """A baseline header of a huge grey picture and a few bytes of data."""
    out = jpeg_head(width, height, 1, False)
    out += jpeg_scan([1], 0, 63)
    return out + bytes(64)


# PNG ----------------------------------------------------------------------

def png_chunk(kind, data):
    return u32be(len(data)) + kind + data + u32be(zlib.crc32(kind + data) & 0xFFFFFFFF)


def png_file(width, height, bit_depth, colour_type, interlace, idat, extra=b""):
    ihdr = u32be(width) + u32be(height) + bytes([bit_depth, colour_type, 0, 0, interlace])
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra + png_chunk(b"IDAT", idat) +
            png_chunk(b"IEND", b""))


def zeros_compressed(count):
    """count zero bytes, deflated, without holding them all in memory."""
    z = zlib.compressobj(9)
    out = []
    block = bytes(1 << 20)
    while count > 0:
        n = min(count, len(block))
        out.append(z.compress(block[:n]))
        count -= n
    out.append(z.flush())
    return b"".join(out)


def png_blank(width, height, bit_depth, channels, colour_type, interlace):
    """Every row filter 0 and all samples 0: the most a deflate stream expands."""
    row = 1 + (width * bit_depth * channels + 7) // 8
    # Interlaced rows are shorter but more numerous; the non-interlaced count
    # plus a filter byte per pass row is enough for libpng.
    return png_file(width, height, bit_depth, colour_type, interlace, zeros_compressed(row * height + 8 * height))


def png_text_bomb(chunks, text_bytes):
    """Compressed text chunks that each inflate to text_bytes."""
    text = zeros_compressed(text_bytes)
    extra = b"".join(png_chunk(b"zTXt", b"k%d\x00\x00" % i + text) for i in range(chunks))
    ihdr_row = b"\x00\x00"
    return png_file(1, 1, 8, 0, 0, zlib.compress(ihdr_row[:2]), extra)


def png_short_idat(width, height):
    return png_file(width, height, 8, 0, 0, zlib.compress(bytes(64)))


# BMP ----------------------------------------------------------------------

def bmp_rle(width, height, bits, data):
    palette = bytes(4 * (1 << bits))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 1 if bits == 8 else 2, 0, 0, 0, 0, 0)
    file_header = b"BM" + struct.pack("<IHHI", 0, 0, 0, 14 + 40 + len(palette))
    return file_header + info + palette + data


# TGA ----------------------------------------------------------------------

def tga_rle(width, height):
    """Run packets of 128 grey pixels: the fewest bytes that describe every pixel."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 11, 0, 0, 0, 0, 0, width, height, 8, 0x20)
    packets = (width * height + 127) // 128
    return header + b"\xFF\x00" * packets


# PICT ---------------------------------------------------------------------

def bmp_rle8_runs(width, height):
    """Runs of 255 pixels: the fewest bytes that reach every pixel."""
    line = b"".join(bytes([min(255, width - x), x // 255 % 256]) for x in range(0, width, 255)) + b"\x00\x00"
    return bmp_rle(width, height, 8, line * height + b"\x00\x01")


def pict_packbits(width, height, row=b""):
    """A version 2 picture whose 8-bit pixel map has the given packed row
    (by default none at all: a row count of 0) for every row."""
    out = bytes(512) + u16be(0) + u16be(0) + u16be(0) + u16be(height) + u16be(width)
    out += u16be(0x0011) + u16be(0x02FF) + u16be(0x0C00) + bytes(24)
    out += u16be(0x0098)
    out += u16be(0x8000 | width)                       # rowBytes
    out += u16be(0) + u16be(0) + u16be(height) + u16be(width)  # bounds
    out += u16be(0) + u16be(0) + u32be(0) + u32be(0x480000) + u32be(0x480000)
    out += u16be(0) + u16be(8) + u16be(1) + u16be(8) + u32be(0) + u32be(0) + u32be(0)
    out += u32be(0) + u16be(0x8000) + u16be(1)         # colour table, 2 entries
    out += u16be(0) + u16be(0) * 3 + u16be(1) + u16be(0xFFFF) * 3
    out += (u16be(0) + u16be(0) + u16be(height) + u16be(width)) * 2 + u16be(0)
    return out + (u16be(len(row)) + row) * height + u16be(0x00FF)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 1
    folder = sys.argv[1]
    small = "--small" in sys.argv
    os.makedirs(folder, exist_ok=True)
    if small:
        files = {
            "bomb_jpeg_progressive_999_scans.jpg": jpeg_progressive_scans(2048, 1024, 1, 998),
            "bomb_jpeg_truncated_16000x16000.jpg": jpeg_truncated_baseline(16000, 16000),
            "bomb_png_short_idat_16000x16000.png": png_short_idat(16000, 16000),
            "bomb_png_wide_interlaced_16bit.png": png_blank(1 << 24, 1, 16, 4, 6, 1),
            "bomb_png_ztxt.png": png_text_bomb(4, 1 << 20),
            "bomb_bmp_rle8_16000x16000.bmp": bmp_rle(16000, 16000, 8, b"\x00\x01"),
            "bomb_bmp_rle4_16000x16000.bmp": bmp_rle(16000, 16000, 4, b"\x00\x01"),
            "bomb_pict_packbits_16000x2000.pct": pict_packbits(16000, 2000),
        }
    else:
        files = {
            "jpeg_progressive_999_scans.jpg": jpeg_progressive_scans(16000, 16000, 1, 998),
            "jpeg_progressive_999_scans_8000.jpg": jpeg_progressive_scans(8000, 8000, 1, 998),
            "jpeg_progressive_32_passes_13000.jpg": jpeg_progressive_scans(13000, 13000, 1, 31),
            "jpeg_progressive_444_12000.jpg": jpeg_progressive_scans(12000, 12000, 3, 9),
            "jpeg_truncated_16000x16000.jpg": jpeg_truncated_baseline(16000, 16000),
            "png_blank_16000x16000.png": png_blank(16000, 16000, 8, 1, 0, 0),
            "png_short_idat_16000x16000.png": png_short_idat(16000, 16000),
            "png_wide_interlaced_16bit.png": png_blank(1 << 27, 1, 16, 4, 6, 1),
            "png_wide_interlaced_16bit_2p25.png": png_blank(1 << 25, 1, 16, 4, 6, 1),
            "png_interlaced_16bit_8192.png": png_blank(8192, 8192, 16, 4, 6, 1),
            "png_ztxt_100x8MB.png": png_text_bomb(100, 7_900_000),
            "bmp_rle8_16000x16000.bmp": bmp_rle(16000, 16000, 8, b"\x00\x01"),
            "bmp_rle4_16000x16000.bmp": bmp_rle(16000, 16000, 4, b"\x00\x01"),
            "bmp_rle8_16000x16000_runs.bmp": bmp_rle8_runs(16000, 16000),
            "tga_rle_65535x4095.tga": tga_rle(65535, 4095),
            "pict_packbits_16000x16000_runs.pct": pict_packbits(16000, 16000, b"\x81\x07" * 125),
            "pict_packbits_16000x16000.pct": pict_packbits(16000, 16000),
        }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
