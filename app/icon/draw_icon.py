#!/usr/bin/env python3
"""Draws Hollerpad's picture: a white speech balloon shouting two red exclamation marks.

Writes the about window's 48 x 48 24-bit bitmap file (on a yellow square, as the picture
button shows it) and the program icon with 16, 32 and 48 pixel images (32-bit, the balloon
alone on a transparent ground). Both come from the same shapes, so they always match.

    draw_icon.py --bmp picture.bmp --ico program.ico
"""
import argparse
import math
import struct

SAMPLES = 4  # per pixel side: 16 coverage samples smooth the edges

BACKGROUND = (255, 208, 72)
OUTLINE = (48, 44, 64)
BALLOON = (255, 255, 255)
MARKS = (214, 40, 40)

# Shapes in a unit square, y downwards.
BODY_CENTRE = (0.5, 0.42)
BODY_HALF = (0.42, 0.31)
BODY_RADIUS = 0.17
TAIL = ((0.30, 0.66), (0.50, 0.70), (0.17, 0.92))
STROKE = 0.05
MARK_XS = (0.39, 0.61)
MARK_TOP, MARK_BOTTOM, MARK_RADIUS = 0.22, 0.48, 0.055
DOT_Y, DOT_RADIUS = 0.60, 0.055


def rounded_rect_distance(x, y):
    qx = abs(x - BODY_CENTRE[0]) - (BODY_HALF[0] - BODY_RADIUS)
    qy = abs(y - BODY_CENTRE[1]) - (BODY_HALF[1] - BODY_RADIUS)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - BODY_RADIUS


def segment_distance(x, y, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - a[0] - t * dx, y - a[1] - t * dy)


def inside_triangle(x, y, p):
    def side(a, b):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])

    s = [side(p[0], p[1]), side(p[1], p[2]), side(p[2], p[0])]
    return all(v >= 0 for v in s) or all(v <= 0 for v in s)


def tail_distance(x, y):
    if inside_triangle(x, y, TAIL):
        return 0.0
    return min(segment_distance(x, y, TAIL[i], TAIL[(i + 1) % 3]) for i in range(3))


def layer_at(x, y):
    """The topmost layer at a point: 'marks', 'balloon', 'outline' or None."""
    for mx in MARK_XS:
        if segment_distance(x, y, (mx, MARK_TOP), (mx, MARK_BOTTOM)) <= MARK_RADIUS:
            return "marks"
        if math.hypot(x - mx, y - DOT_Y) <= DOT_RADIUS:
            return "marks"
    body = rounded_rect_distance(x, y)
    tail = tail_distance(x, y)
    if body <= 0 or inside_triangle(x, y, TAIL):
        return "balloon"
    if body <= STROKE or tail <= STROKE:
        return "outline"
    return None


COLOURS = {"marks": MARKS, "balloon": BALLOON, "outline": OUTLINE}


def render(size):
    """Rows top first of (r, g, b, coverage 0..255) over a transparent ground."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    layer = layer_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if layer:
                        colour = COLOURS[layer]
                        for i in range(3):
                            total[i] += colour[i]
                        covered += 1
            if covered:
                rgb = tuple(round(c / covered) for c in total)
            else:
                rgb = (0, 0, 0)
            row.append(rgb + (round(255 * covered / (SAMPLES * SAMPLES)),))
        rows.append(row)
    return rows


def bmp_file(size):
    """A complete 24-bit bitmap file, the balloon on the yellow square, rows bottom first."""
    rows = render(size)
    stride = (size * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            mix = [round((c * a + bg * (255 - a)) / 255) for c, bg in zip((r, g, b), BACKGROUND)]
            line += bytes((mix[2], mix[1], mix[0]))
        pixels += line + bytes(stride - len(line))
    offset = 14 + 40
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def icon_image(size):
    """One icon image: 32-bit colour with alpha, then the one-bit AND mask, both bottom first."""
    rows = render(size)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def ico_file(sizes):
    images = [icon_image(size) for size in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return data + b"".join(images)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bmp", help="the 48 x 48 24-bit bitmap file to write")
    parser.add_argument("--ico", help="the program icon to write")
    args = parser.parse_args()
    if args.bmp:
        with open(args.bmp, "wb") as out:
            out.write(bmp_file(48))
    if args.ico:
        with open(args.ico, "wb") as out:
            out.write(ico_file((16, 32, 48)))


if __name__ == "__main__":
    main()
