#!/usr/bin/env python3
"""Writes an RGB PNG with a gradient: big_png.py path width height."""
import struct
import sys
import zlib

path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


row = bytearray(1 + 3 * width)
row[1::3] = bytes(x * 255 // width for x in range(width))
row[3::3] = bytes((x * 7) & 255 for x in range(width))
compressor = zlib.compressobj(1)
parts = []
for y in range(height):
    row[2::3] = bytes([y * 255 // height]) * width
    parts.append(compressor.compress(bytes(row)))
parts.append(compressor.flush())
with open(path, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n")
    f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
    f.write(chunk(b"IDAT", b"".join(parts)))
    f.write(chunk(b"IEND", b""))
