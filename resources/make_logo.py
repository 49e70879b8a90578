#!/usr/bin/env python3
"""Draws the main dialog's logo, resources/logo.bmp: 200 x 73 pixels,
256 colours, uncompressed, bottom-up. The picture is drawn in full colour
with 4 x 4 supersampling and reduced to 256 colours by median cut, so the
file is the same on every run. Run it again after changing the drawing."""
import math
import struct
import sys

WIDTH, HEIGHT, SAMPLES = 200, 73, 4

# A 5 x 7 pixel alphabet for the letters the logo uses.
GLYPHS = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'H': ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    'I': ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    ' ': ["00000"] * 7,
}


def text_cover(text, left, top, scale, slant):
    """Returns a function telling whether a point lies inside the text."""
    def inside(x, y):
        row = int((y - top) // scale)
        if row < 0 or row > 6:
            return False
        x += (y - top - 3.5 * scale) * slant  # italic: upper rows lean right
        column = int((x - left) // scale)
        letter, dot = divmod(column, 6)
        if column < 0 or letter >= len(text) or dot > 4:
            return False
        return GLYPHS[text[letter]][row][dot] == '1'
    return inside


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


TITLE = text_cover("HALVANE", 66, 12, 3.0, 0.25)
TITLE_SHADOW = text_cover("HALVANE", 68, 14, 3.0, 0.25)
SUBTITLE = text_cover("AUDIO DRIVERS", 67, 42, 1.6, 0.0)


def colour_at(x, y):
    """The full-colour picture at a point, in 0..255 RGB."""
    colour = mix((10, 24, 70), (22, 98, 150), y / HEIGHT)          # night-blue sky
    colour = mix(colour, (40, 140, 190), max(0.0, 1 - abs(x - 60) / 140) * 0.35)
    # Sound waves along the bottom edge.
    for k, (amplitude, phase, shade) in enumerate(((5, 0.0, 0.55), (4, 1.9, 0.35), (3, 3.7, 0.25))):
        wave = 62 + k * 2 + amplitude * math.sin(x / 11.0 + phase) * math.sin(x / 47.0 + 0.6)
        if abs(y - wave) < 0.9:
            colour = mix(colour, (120, 210, 240), shade)
    # The emblem: a golden disc with grooves and a bright centre.
    distance = math.hypot(x - 34, y - 34)
    if distance < 27:
        light = 0.5 + 0.5 * ((34 - x) + (34 - y)) / 54
        gold = mix((150, 95, 10), (255, 215, 90), light)
        if 9 < distance < 24 and int(distance) % 4 == 0:
            gold = mix(gold, (110, 60, 5), 0.45)
        if distance < 7:
            gold = mix((255, 250, 225), gold, distance / 7)
        colour = gold
    elif distance < 29:
        colour = mix(colour, (5, 10, 30), 0.6)
    if TITLE_SHADOW(x, y):
        colour = mix(colour, (0, 0, 20), 0.7)
    if TITLE(x, y):
        colour = mix((255, 235, 150), (230, 160, 30), (y - 12) / 21)
    if SUBTITLE(x, y):
        colour = (225, 240, 250)
    return colour


def render():
    pixels = []
    for y in range(HEIGHT):
        for x in range(WIDTH):
            total = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES)
                    for i in range(3):
                        total[i] += c[i]
            pixels.append(tuple(int(round(v / SAMPLES ** 2)) for v in total))
    return pixels


def median_cut(pixels, count):
    """Splits the colours into `count` boxes; returns palette and indices."""
    boxes = [list(range(len(pixels)))]
    while len(boxes) < count:
        best, best_range, best_channel = None, -1, 0
        for n, box in enumerate(boxes):
            for channel in range(3):
                values = [pixels[i][channel] for i in box]
                spread = max(values) - min(values)
                if spread > best_range:
                    best, best_range, best_channel = n, spread, channel
        if best_range <= 0:
            break
        box = sorted(boxes.pop(best), key=lambda i: pixels[i][best_channel])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    palette, indices = [], [0] * len(pixels)
    for n, box in enumerate(boxes):
        palette.append(tuple(sum(pixels[i][c] for i in box) // len(box) for c in range(3)))
        for i in box:
            indices[i] = n
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette, indices


def write_bmp(path, palette, indices):
    row_size = (WIDTH + 3) & ~3
    pixel_bytes = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = bytes(indices[y * WIDTH:(y + 1) * WIDTH])
        pixel_bytes += row + b"\0" * (row_size - WIDTH)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixel_bytes), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixel_bytes), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + colours + pixel_bytes)


if __name__ == "__main__":
    palette, indices = median_cut(render(), 256)
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else "logo.bmp", palette, indices)
