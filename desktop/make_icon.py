#!/usr/bin/env python3
"""Draws Tavrel's application icon (a pocket device with lines of a note and a pen) at the
sizes the hicolor theme installs, as RGBA PNGs whose bytes depend only on the pixels.
Run from anywhere: python3 desktop/make_icon.py [--check]. The output is committed."""
import os
import struct
import sys
import zlib

SIZES = (48, 64, 128)
HERE = os.path.dirname(os.path.abspath(__file__))

BODY = (52, 58, 72, 255)
SCREEN = (236, 240, 228, 255)
INK = (40, 70, 140, 255)
PEN = (214, 120, 40, 255)
CLEAR = (0, 0, 0, 0)


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius - 1)
    cy = min(max(y, top + radius), bottom - radius - 1)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(x, y, n):
    """The icon's colour at pixel (x, y) of an n x n icon, drawn on a 64-unit grid."""
    u = 64.0 / n
    gx, gy = (x + 0.5) * u, (y + 0.5) * u
    # The pen: a band from the lower right towards the screen.
    along = (gx + gy) / 2 - 40
    across = (gx - gy) - 14
    if 0 <= along <= 18 and abs(across) <= 3.2:
        return PEN
    if not inside_rounded(gx, gy, 12, 4, 52, 60, 6):
        return CLEAR
    if 16 <= gx < 48 and 9 <= gy < 48:
        for line, length in enumerate((26, 22, 28, 16)):
            top = 14 + line * 8
            if top <= gy < top + 3 and 19 <= gx < 19 + length:
                return INK
        return SCREEN
    if 52 <= gy < 56 and 26 <= gx < 38:
        return SCREEN  # the button under the screen
    return BODY


def encode_rgba(n, rows):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)
    data = zlib.compress(raw, 9)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def main():
    check = "--check" in sys.argv[1:]
    differ = False
    for n in SIZES:
        png = encode_rgba(n, [[pixel(x, y, n) for x in range(n)] for y in range(n)])
        path = os.path.join(HERE, "icons", f"tavrel-{n}.png")
        old = open(path, "rb").read() if os.path.exists(path) else None
        if old == png:
            continue
        differ = True
        if check:
            print(f"{path}: differs from what make_icon.py draws")
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "wb").write(png)
            print(f"wrote {path}")
    return 1 if check and differ else 0


if __name__ == "__main__":
    sys.exit(main())
