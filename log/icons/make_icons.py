#!/usr/bin/env python3
"""Draws the log window's icons: 32 by 32 pixels, 16 colours, with a mask.

Run from this folder; writes the .ico files the resource script embeds.
"""
import math
import struct

# The standard 16-colour palette (index: (red, green, blue)).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_BLUE, GREY, RED, GREEN, YELLOW, BLUE, WHITE = 0, 4, 8, 9, 10, 11, 12, 15
SIZE = 32


def in_circle(x, y, radius=14.5):
    return math.hypot(x - 15.5, y - 15.5) <= radius


def exclamation_mark(x, y, top=7, bottom=24):
    """True on the bar and dot of an exclamation mark centred in the icon."""
    on_bar = 14 <= x <= 17 and top <= y <= bottom - 6
    on_dot = 14 <= x <= 17 and bottom - 3 <= y <= bottom
    return on_bar or on_dot


def log_page(x, y):
    if not (5 <= x <= 26 and 2 <= y <= 29):
        return None
    if x in (5, 26) or y in (2, 29):
        return BLACK
    if y % 4 == 1 and 8 <= x <= 23:
        return BLUE if y < 20 else DARK_BLUE
    return WHITE


def about(x, y):
    if not in_circle(x, y):
        return None
    if not in_circle(x, y, 13.5):
        return DARK_BLUE
    on_dot = 14 <= x <= 17 and 7 <= y <= 10
    on_stem = 14 <= x <= 17 and 13 <= y <= 24
    return WHITE if on_dot or on_stem else BLUE


def circle_exclamation(x, y):
    if not in_circle(x, y):
        return None
    if not in_circle(x, y, 13.5):
        return BLACK
    return BLACK if exclamation_mark(x, y) else YELLOW


def circle_x(x, y):
    if not in_circle(x, y):
        return None
    if not in_circle(x, y, 13.5):
        return BLACK
    on_cross = (abs(x - y) <= 1.5 or abs(x + y - 31) <= 1.5) and 8 <= x <= 23 and 8 <= y <= 23
    return WHITE if on_cross else RED


def exclamation(x, y):
    # A triangle with its apex at the top centre.
    half_width = (y - 2) * 15.5 / 27
    if not (2 <= y <= 29 and abs(x - 15.5) <= half_width + 0.5):
        return None
    if y == 29 or abs(x - 15.5) > half_width - 1:
        return BLACK
    return BLACK if exclamation_mark(x, y, top=10, bottom=26) else YELLOW


def right_arrow(x, y):
    on_shaft = 3 <= x <= 17.5 and 11.5 <= y <= 19.5
    on_head = 17 <= x <= 29 and abs(y - 15.5) <= (29 - x) * 1.1
    return GREEN if on_shaft or on_head else None


def down_right_arrow(x, y):
    # The right arrow turned by 45 degrees about the centre.
    u = (x - 15.5) * math.cos(math.pi / 4) + (y - 15.5) * math.sin(math.pi / 4) + 15.5
    v = -(x - 15.5) * math.sin(math.pi / 4) + (y - 15.5) * math.cos(math.pi / 4) + 15.5
    return BLUE if right_arrow(u, v) is not None else None


def icon_bytes(draw):
    pixels = [[draw(x, y) for x in range(SIZE)] for y in range(SIZE)]
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colours = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = pixels[y]
        for x in range(0, SIZE, 2):
            high, low = (row[x] or 0), (row[x + 1] or 0)
            colours.append(high << 4 | low)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    image = header + palette + bytes(colours) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


ICONS = {
    "log_window.ico": log_page,
    "about.ico": about,
    "circle_exclamation.ico": circle_exclamation,
    "circle_x.ico": circle_x,
    "exclamation.ico": exclamation,
    "right_arrow.ico": right_arrow,
    "down_right_arrow.ico": down_right_arrow,
}

if __name__ == "__main__":
    for name, draw in ICONS.items():
        with open(name, "wb") as file:
            file.write(icon_bytes(draw))
