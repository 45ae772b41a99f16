#!/usr/bin/env python3
"""Draws the program's small icons as 16x16 and 32x32 32-bit .ico files.

Each icon is a function of (x, y) in the unit square giving an RGBA colour
or None (transparent); the same drawing serves both sizes.  Run it from this
folder; it rewrites icons/*.ico.
"""
import math
import struct

def disc(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def near_segment(x, y, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= width

def ok_icon(x, y):   # a green tick
    if near_segment(x, y, 0.15, 0.55, 0.40, 0.80, 0.09) or \
       near_segment(x, y, 0.40, 0.80, 0.88, 0.22, 0.09):
        return (20, 150, 40, 255)
    return None

def cancel_icon(x, y):   # a red cross
    if near_segment(x, y, 0.2, 0.2, 0.8, 0.8, 0.09) or near_segment(x, y, 0.8, 0.2, 0.2, 0.8, 0.09):
        return (200, 30, 30, 255)
    return None

def setup_icon(x, y):   # a blue cog wheel
    r = math.hypot(x - 0.5, y - 0.5)
    angle = math.atan2(y - 0.5, x - 0.5)
    tooth = 0.44 if math.cos(8 * angle) > 0.3 else 0.34
    if r <= 0.12:
        return None
    if r <= tooth:
        return (40, 70, 190, 255)
    return None

def print_icon(x, y):   # a printer: paper above a grey body
    if 0.28 <= x <= 0.72 and 0.08 <= y <= 0.45:
        return (250, 250, 250, 255) if 0.31 <= x <= 0.69 and 0.11 <= y else (60, 60, 60, 255)
    if 0.08 <= x <= 0.92 and 0.42 <= y <= 0.78:
        if 0.70 <= x <= 0.80 and 0.50 <= y <= 0.56:
            return (40, 200, 40, 255)
        return (110, 110, 120, 255)
    if 0.25 <= x <= 0.75 and 0.78 <= y <= 0.92:
        return (250, 250, 250, 255) if 0.28 <= x <= 0.72 else (60, 60, 60, 255)
    return None

def app_icon(x, y):   # the program: a frame of text lines on a blue disc
    if not disc(x, y, 0.5, 0.5, 0.47):
        return None
    if 0.22 <= x <= 0.78 and any(abs(y - row) <= 0.04 for row in (0.32, 0.5, 0.68)):
        return (255, 255, 255, 255)
    return (30, 90, 200, 255)

def image(draw, size):
    rows = []
    for py in range(size - 1, -1, -1):   # bottom-up DIB rows
        for px in range(size):
            hits = []
            for sx in (0.25, 0.75):
                for sy in (0.25, 0.75):
                    hits.append(draw((px + sx) / size, (py + sy) / size))
            colours = [h for h in hits if h]
            if not colours:
                rows.append(b"\0\0\0\0")
                continue
            r = sum(c[0] for c in colours) // len(colours)
            g = sum(c[1] for c in colours) // len(colours)
            b = sum(c[2] for c in colours) // len(colours)
            a = 255 * len(colours) // 4
            rows.append(bytes((b, g, r, a)))
    pixels = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask

def write_icon(path, draw):
    images = [image(draw, size) for size in (16, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))

if __name__ == "__main__":
    write_icon("icons/app.ico", app_icon)
    write_icon("icons/ok.ico", ok_icon)
    write_icon("icons/cancel.ico", cancel_icon)
    write_icon("icons/setup.ico", setup_icon)
    write_icon("icons/print.ico", print_icon)
