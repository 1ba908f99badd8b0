#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files.

    python3 tools/icons/make_icons.py resources/

remote.ico   icon group 50: a dark remote-control handset, tilted, with a red
             power key, coloured keys, a navigation ring and an infrared lens
             sending waves to the top right; 16, 32 and 48 pixels.
shutdown.ico icon 110: a red power button with a white power symbol; 16, 32
             and 48 pixels.

Plain Python, no imaging library: every pixel is the average of a grid of
samples of the scene (simple anti-aliasing), written as 32-bit BGRA icon
images with an AND mask.
"""
import math
import struct
import sys
from pathlib import Path

SAMPLES = 6  # per axis, per pixel


def rounded_rect(x, y, x0, y0, x1, y1, r):
    """True inside the rectangle (x0, y0)-(x1, y1) with corner radius r."""
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def disc(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rotate(x, y, angle, cx=0.5, cy=0.5):
    c, s = math.cos(angle), math.sin(angle)
    dx, dy = x - cx, y - cy
    return cx + c * dx - s * dy, cy + s * dx + c * dy


# Colours (r, g, b, a)
BODY = (40, 44, 52, 255)
BODY_EDGE = (112, 120, 134, 255)
BODY_SHINE = (70, 76, 88, 255)
LENS = (96, 14, 26, 255)
LENS_SHINE = (255, 120, 120, 255)
POWER = (226, 46, 40, 255)
KEY = (196, 202, 212, 255)
RING = (150, 158, 172, 255)
OK_KEY = (230, 234, 240, 255)
RED = (232, 62, 52, 255)
GREEN = (64, 190, 72, 255)
YELLOW = (244, 200, 40, 255)
BLUE = (52, 120, 230, 255)
WAVE = (236, 60, 48, 255)


def remote_scene(size):
    """Gives f(x, y) -> colour or None for the remote icon at this size; x and
    y run from 0 to 1 across the icon."""
    small = size <= 16
    tilt = math.radians(28 if not small else 22)

    def handset(u, v):
        # u, v: coordinates in the upright handset's frame.
        x0, y0, x1, y1 = 0.35, 0.17, 0.65, 0.99
        if small:
            x0, y0, x1, y1 = 0.27, 0.16, 0.73, 1.0
        if not rounded_rect(u, v, x0, y0, x1, y1, 0.09):
            return None
        edge = 0.025 if not small else 0.05
        if not rounded_rect(u, v, x0 + edge, y0 + edge, x1 - edge, y1 - edge, 0.07):
            return BODY_EDGE
        # infrared lens at the top end
        if disc(u, v, 0.5, y0 + 0.07, 0.055 if not small else 0.08):
            if disc(u, v, 0.485, y0 + 0.055, 0.02) and not small:
                return LENS_SHINE
            return LENS
        # power key
        if disc(u, v, 0.5, y0 + 0.20, 0.05 if not small else 0.075):
            return POWER
        if small:
            # two rows of coloured dots stand for the keys
            for i, colour in enumerate((GREEN, YELLOW, BLUE)):
                if disc(u, v, 0.37 + 0.13 * i, 0.55, 0.06):
                    return colour
            if disc(u, v, 0.5, 0.77, 0.10):
                return KEY
            return BODY
        # four coloured keys
        for i, colour in enumerate((RED, GREEN, YELLOW, BLUE)):
            if rounded_rect(u, v, 0.385 + 0.062 * i, 0.47, 0.425 + 0.062 * i, 0.50, 0.01):
                return colour
        # navigation ring with its OK key
        if disc(u, v, 0.5, 0.63, 0.095):
            if disc(u, v, 0.5, 0.63, 0.045):
                return OK_KEY
            if disc(u, v, 0.5, 0.63, 0.06):
                return BODY
            return RING
        # number keys
        for row in range(2):
            for col in range(3):
                if rounded_rect(u, v, 0.39 + 0.08 * col, 0.78 + 0.08 * row, 0.45 + 0.08 * col,
                                0.82 + 0.08 * row, 0.012):
                    return KEY
        # a soft shine along the left side
        if u < x0 + 0.07 and v > y0 + 0.1:
            return BODY_SHINE
        return BODY

    def waves(x, y):
        # infrared waves leaving the lens towards the top right
        lx, ly = rotate(0.5, 0.23 if not small else 0.24, -tilt)
        d = math.hypot(x - lx, y - ly)
        ang = math.atan2(-(y - ly), x - lx)
        # the handset points up and to the right; the waves fan around that
        centre = math.radians(90) - tilt
        if abs(ang - centre) > math.radians(38):
            return None
        widths = (0.035, 0.035) if not small else (0.075,)
        radii = (0.13, 0.22) if not small else (0.17,)
        for r, w in zip(radii, widths):
            if abs(d - r) <= w / 2:
                return WAVE
        return None

    def scene(x, y):
        u, v = rotate(x, y, -tilt)
        colour = handset(u, v)
        if colour is not None:
            return colour
        return waves(x, y)

    return scene


def shutdown_scene(size):
    small = size <= 16

    def scene(x, y):
        if not disc(x, y, 0.5, 0.5, 0.47):
            return None
        if not disc(x, y, 0.5, 0.5, 0.43):
            return (150, 24, 20, 255)
        # the power symbol: an open ring and a bar
        r_out, r_in = (0.30, 0.20) if not small else (0.32, 0.18)
        d = math.hypot(x - 0.5, y - 0.5)
        ang = math.degrees(math.atan2(x - 0.5, 0.5 - y))  # 0 at the top
        in_ring = r_in <= d <= r_out and abs(ang) > 38
        bar_w = 0.05 if not small else 0.08
        in_bar = abs(x - 0.5) <= bar_w and 0.14 <= y <= 0.50
        if in_ring or in_bar:
            return (255, 255, 255, 255)
        # a light top half, a darker bottom half
        return (232, 58, 44, 255) if y < 0.5 else (200, 36, 28, 255)

    return scene


def render(scene, size):
    """Rows of (r, g, b, a), top row first, premultiplied then averaged."""
    rows = []
    n = SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    c = scene((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is None:
                        continue
                    a = c[3] / 255.0
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            count = n * n
            alpha = acc[3] / count
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(acc[i] / acc[3])) for i in range(3)) +
                           (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def icon_image(rows):
    """BITMAPINFOHEADER + BGRA pixels bottom-up + AND mask."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask = bytearray()
    stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, images):
    """images: list of (size, image bytes)."""
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    Path(path).write_bytes(bytes(out))


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else 'resources')
    for name, make in (('remote.ico', remote_scene), ('shutdown.ico', shutdown_scene)):
        images = [(s, icon_image(render(make(s), s))) for s in (16, 32, 48)]
        write_ico(folder / name, images)
        print(folder / name)


if __name__ == '__main__':
    main()
