#!/usr/bin/env python3
"""Draws the program's icons (16x16 and 32x32 32-bit .ico files) and its
bitmaps (24-bit .bmp: the splash picture and the two maker's logos).

Each picture is a function of (x, y) in the unit square giving an RGBA
colour or None (transparent, or the background of a bitmap); the same
drawing serves every size.  Run it from this folder; it rewrites icons/*.ico
and bitmaps/*.bmp.
"""
import math
import os
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

def lamp(light, dark):   # a round indicator lamp lit from the upper left
    def draw(x, y):
        r = math.hypot(x - 0.5, y - 0.5)
        if r > 0.46:
            return None
        if r > 0.38:
            return (50, 50, 50, 255)
        t = min(1.0, math.hypot(x - 0.4, y - 0.38) / 0.45)
        return tuple(int(l + (d - l) * t) for l, d in zip(light, dark)) + (255,)
    return draw

def red_cross(x, y):   # the "clear" mark in the lower right corner
    if near_segment(x, y, 0.55, 0.55, 0.9, 0.9, 0.07) or near_segment(x, y, 0.9, 0.55, 0.55, 0.9, 0.07):
        return (210, 30, 30, 255)
    return None

def clear_fields_icon(x, y):   # an edit field being cleared
    if red_cross(x, y):
        return red_cross(x, y)
    if 0.05 <= x <= 0.95 and 0.22 <= y <= 0.62:
        inside = 0.09 <= x <= 0.91 and 0.26 <= y <= 0.58
        if inside and 0.16 <= x <= 0.20 and 0.31 <= y <= 0.53:
            return (0, 0, 0, 255)   # the caret
        return (255, 255, 255, 255) if inside else (90, 90, 110, 255)
    return None

def clear_list_icon(x, y):   # a list of lines being cleared
    if red_cross(x, y):
        return red_cross(x, y)
    if 0.08 <= x <= 0.8 and any(abs(y - row) <= 0.055 for row in (0.15, 0.35, 0.55, 0.75)):
        return (40, 70, 160, 255)
    return None

# 5x7 capitals for the maker's name and the program's.
GLYPHS = {
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
}

def in_text(x, y, text, left, top, cell):
    """True when (x, y) falls on a lit cell of `text` drawn from (left, top)
    with square cells of size `cell` and one empty column between letters."""
    column = int(math.floor((x - left) / cell))
    row = int(math.floor((y - top) / cell))
    if not (0 <= row < 7 and 0 <= column < 6 * len(text) - 1):
        return False
    letter, bit = divmod(column, 6)
    return bit < 5 and GLYPHS[text[letter]][row][bit] == "1"

def blue_plate(x, y):   # the logos' background: blue, lighter at the top
    t = y
    return (int(40 - 20 * t), int(90 - 40 * t), int(190 - 60 * t), 255)

def logo(aspect):
    """The maker's logo for a bitmap `aspect` times as wide as it is high:
    "VORL" in white on the blue plate, over a thin orange rule."""
    cell = 0.6 / 7
    width = (6 * 4 - 1) * cell / aspect
    def draw(x, y):
        if in_text(x * aspect, y, "VORL", (1 - width) / 2 * aspect, 0.12, cell):
            return (255, 255, 255, 255)
        if 0.82 <= y <= 0.88 and 0.1 <= x <= 0.9:
            return (250, 160, 30, 255)
        return blue_plate(x, y)
    return draw

def splash(x, y):   # 2:1 picture: the maker above the program's name
    aspect = 2.0
    if in_text(x * aspect, y, "VORL", 0.425, 0.14, 0.05):
        return (255, 255, 255, 255)
    if in_text(x * aspect, y, "QUORBEL", 0.59, 0.64, 0.02):
        return (220, 230, 255, 255)
    if 0.55 <= y <= 0.565 and 0.25 <= x <= 0.75:
        return (250, 160, 30, 255)
    if min(x, 1 - x) * aspect < 0.02 or min(y, 1 - y) < 0.02:
        return (15, 35, 90, 255)
    return blue_plate(x, y)

def samples(draw, px, py, width, height):
    """The colours of the 2x2 samples of pixel (px, py), top-down."""
    hits = []
    for sx in (0.25, 0.75):
        for sy in (0.25, 0.75):
            hits.append(draw((px + sx) / width, (py + sy) / height))
    return [h for h in hits if h]

def average(colours):
    return tuple(sum(c[i] for c in colours) // len(colours) for i in range(3))

def write_bitmap(path, draw, width, height):
    row_padding = b"\0" * ((-3 * width) % 4)
    rows = []
    for py in range(height - 1, -1, -1):   # bottom-up DIB rows
        row = b""
        for px in range(width):
            r, g, b = average(samples(draw, px, py, width, height))
            row += bytes((b, g, r))
        rows.append(row + row_padding)
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)

def image(draw, size):
    rows = []
    for py in range(size - 1, -1, -1):   # bottom-up DIB rows
        for px in range(size):
            colours = samples(draw, px, py, size, size)
            if not colours:
                rows.append(b"\0\0\0\0")
                continue
            r, g, b = average(colours)
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
    write_icon("icons/led-on.ico", lamp((170, 255, 170), (0, 140, 20)))
    write_icon("icons/led-off.ico", lamp((190, 190, 190), (70, 70, 75)))
    write_icon("icons/clear-fields.ico", clear_fields_icon)
    write_icon("icons/clear-list.ico", clear_list_icon)
    os.makedirs("bitmaps", exist_ok=True)
    write_bitmap("bitmaps/splash.bmp", splash, 300, 150)
    write_bitmap("bitmaps/logo-small.bmp", logo(64 / 24), 64, 24)
    write_bitmap("bitmaps/logo.bmp", logo(132 / 44), 132, 44)
