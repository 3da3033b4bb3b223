#!/usr/bin/env python3
"""Draws the clock-face icon (16, 32 and 48 px, 24-bit colour) into res/app.ico.

Run it again after changing the drawing; the output is byte-for-byte reproducible.
"""
import math
import struct
import sys

FACE = (255, 255, 255)
RIM = (40, 52, 64)
HAND = (30, 30, 30)
ALERT = (224, 48, 48)


def coverage(size, x, y):
    """Colour and alpha of one pixel, by 4x4 supersampling."""
    samples = 4
    r = g = b = a = 0.0
    c = size / 2.0
    radius = size / 2.0 - 0.5
    for sy in range(samples):
        for sx in range(samples):
            px = x + (sx + 0.5) / samples - c
            py = y + (sy + 0.5) / samples - c
            d = math.hypot(px, py)
            colour = None
            if d <= radius:
                colour = RIM if d > radius * 0.82 else FACE
                angle = math.atan2(px, -py)
                # The countdown wedge: the last quarter hour in red.
                if d < radius * 0.78 and -math.pi / 2 <= angle <= 0:
                    colour = ALERT
                # Hands: minute hand to 12, hour hand to 3.
                if abs(px) < max(0.7, size / 28) and -radius * 0.72 < py < 0.5:
                    colour = HAND
                if abs(py) < max(0.7, size / 28) and -0.5 < px < radius * 0.5:
                    colour = HAND
            if colour:
                r += colour[0]
                g += colour[1]
                b += colour[2]
                a += 1
    n = samples * samples
    if a == 0:
        return (0, 0, 0, 0)
    return (r / a, g / a, b / a, a / n)


def image(size):
    """A BMP-in-ICO image: 24-bit XOR bitmap (bottom-up) plus a 1-bit AND mask."""
    rows = []
    mask_rows = []
    for y in reversed(range(size)):
        row = bytearray()
        mask = 0
        mask_bytes = bytearray()
        for x in range(size):
            r, g, b, a = coverage(size, x, y)
            # No alpha channel in 24-bit: blend edges onto a light grey.
            row += bytes(round(c * a + 200 * (1 - a)) for c in (b, g, r))
            mask = mask << 1 | (1 if a < 0.5 else 0)
            if x % 8 == 7:
                mask_bytes.append(mask)
                mask = 0
        if size % 8:
            mask_bytes.append(mask << (8 - size % 8))
        row += bytes((-len(row)) % 4)
        mask_bytes += bytes((-len(mask_bytes)) % 4)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask_bytes))
    pixels = b"".join(rows)
    masks = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, len(pixels) + len(masks), 0, 0, 0, 0)
    return header + pixels + masks


def main(path):
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/app.ico")
