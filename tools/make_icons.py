#!/usr/bin/env python3
"""Draws the program's two icons (our own art) as 32-bit ICO files.

MVXICON: a blue archive box with a gold strap. DELICON: the same box with a
red cross over it, the icon the shell shows for the uninstaller.
Run: tools/make_icons.py res/
"""
import struct
import sys


def box(size, x, y):
    """Colour of the archive box at (x, y), or None for transparent."""
    s = size / 32.0
    left, right, top, bottom = 4 * s, 28 * s, 8 * s, 28 * s
    if not (left <= x < right and top <= y < bottom):
        return None
    if x < left + s or x >= right - s or y < top + s or y >= bottom - s:
        return (20, 40, 90)  # outline
    if y < 13 * s:
        return (90, 140, 220)  # lid
    if 14 * s <= x < 18 * s:
        return (230, 180, 40)  # strap
    return (50, 100, 190)


def cross(size, x, y):
    s = size / 32.0
    cx, cy = x - 22 * s, y - 22 * s
    if abs(cx) > 9 * s or abs(cy) > 9 * s:
        return None
    if abs(cx - cy) < 2.6 * s or abs(cx + cy) < 2.6 * s:
        return (210, 30, 30)
    return None


def image(size, with_cross):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = b""
        for x in range(size):
            c = cross(size, x, y) if with_cross else None
            if c is None:
                c = box(size, x, y)
            row += b"\0\0\0\0" if c is None else bytes((c[2], c[1], c[0], 255))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def write_icon(path, with_cross):
    images = [image(n, with_cross) for n in (32, 16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "res"
    write_icon(folder + "/mvxicon.ico", False)
    write_icon(folder + "/delicon.ico", True)
