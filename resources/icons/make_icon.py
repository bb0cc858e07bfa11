#!/usr/bin/env python3
"""Draw the application icon: a triangle inscribed in its circumscribed circle.

Writes a 32 x 32 palette PNG (colour type 3) and an SVG of the same drawing,
using only the Python standard library.  Run from any directory:

    python3 resources/icons/make_icon.py

The same drawing at any size, scaled from its 32 units, as a PNG with full
colour and an opaque alpha channel (the Windows icon's images):

    python3 resources/icons/make_icon.py --png SIZE FILE
"""

import math
import os
import struct
import sys
import zlib

SIZE = 32
SUPERSAMPLE = 8

# Colours (R, G, B)
FRAME = (128, 128, 255)     # the window background colour
PAPER = (238, 238, 255)     # light drawing area
CIRCLE = (0, 0, 255)        # circumscribed circle, blue
TRIANGLE = (0, 150, 0)      # triangle sides, green
DOT = (255, 0, 0)           # vertices, red

FRAME_WIDTH = 2.0
CENTRE = (16.0, 16.0)
RADIUS = 11.5
LINE_WIDTH = 1.5
DOT_RADIUS = 2.25
# Vertex angles in degrees, counter-clockwise with y pointing up; all arcs
# between neighbours are below 180 degrees, so the triangle is acute.
ANGLES = (100.0, 210.0, 340.0)


def vertices():
    cx, cy = CENTRE
    return [(cx + RADIUS * math.cos(math.radians(a)),
             cy - RADIUS * math.sin(math.radians(a))) for a in ANGLES]


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def sample(x, y, verts):
    """Colour of the drawing at the point (x, y), painter's order."""
    if (x < FRAME_WIDTH or y < FRAME_WIDTH
            or x > SIZE - FRAME_WIDTH or y > SIZE - FRAME_WIDTH):
        return FRAME
    colour = PAPER
    if abs(math.hypot(x - CENTRE[0], y - CENTRE[1]) - RADIUS) <= LINE_WIDTH / 2:
        colour = CIRCLE
    for i in range(3):
        a, b = verts[i], verts[(i + 1) % 3]
        if seg_dist(x, y, a[0], a[1], b[0], b[1]) <= LINE_WIDTH / 2:
            colour = TRIANGLE
    for vx, vy in verts:
        if math.hypot(x - vx, y - vy) <= DOT_RADIUS:
            colour = DOT
    return colour


def render(size=SIZE):
    """The drawing at size x size pixels: each pixel the mean of n x n samples
    (the same number of samples per unit of the drawing at every size, but
    never fewer than 4 x 4 per pixel)."""
    verts = vertices()
    n = max(4, SUPERSAMPLE * SIZE // size)
    unit = SIZE / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            for j in range(n):
                for i in range(n):
                    c = sample((px + (i + 0.5) / n) * unit, (py + (j + 0.5) / n) * unit, verts)
                    acc[0] += c[0]
                    acc[1] += c[1]
                    acc[2] += c[2]
            row.append(tuple(int(round(v / (n * n))) for v in acc))
        rows.append(row)
    return rows


def quantise(rows):
    """Reduce to at most 256 colours by rounding the channels more coarsely."""
    step = 1
    while True:
        def q(c):
            return tuple(min(255, int(round(v / step)) * step) for v in c)
        mapped = [[q(c) for c in row] for row in rows]
        colours = sorted({c for row in mapped for c in row})
        if len(colours) <= 256:
            index = {c: k for k, c in enumerate(colours)}
            return colours, [[index[c] for c in row] for row in mapped]
        step *= 2


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, palette, pixels):
    ihdr = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 3, 0, 0, 0)
    plte = b"".join(struct.pack("BBB", *c) for c in palette)
    raw = b"".join(b"\x00" + bytes(row) for row in pixels)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", ihdr))
        f.write(chunk(b"PLTE", plte))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def write_rgba_png(path, rows):
    """Colour type 6 (RGBA, 8 bits each), every pixel opaque."""
    size = len(rows)
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    raw = b"".join(b"\x00" + b"".join(bytes(c) + b"\xff" for c in row) for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", ihdr))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def hexc(c):
    return "#%02x%02x%02x" % c


def write_svg(path):
    verts = vertices()
    pts = " ".join("%.3f,%.3f" % v for v in verts)
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
        '  <rect x="0" y="0" width="32" height="32" fill="%s"/>' % hexc(FRAME),
        '  <rect x="%g" y="%g" width="%g" height="%g" fill="%s"/>'
        % (FRAME_WIDTH, FRAME_WIDTH, SIZE - 2 * FRAME_WIDTH, SIZE - 2 * FRAME_WIDTH, hexc(PAPER)),
        '  <circle cx="%g" cy="%g" r="%g" fill="none" stroke="%s" stroke-width="%g"/>'
        % (CENTRE[0], CENTRE[1], RADIUS, hexc(CIRCLE), LINE_WIDTH),
        '  <polygon points="%s" fill="none" stroke="%s" stroke-width="%g" stroke-linejoin="miter"/>'
        % (pts, hexc(TRIANGLE), LINE_WIDTH),
    ]
    for vx, vy in verts:
        lines.append('  <circle cx="%.3f" cy="%.3f" r="%g" fill="%s"/>' % (vx, vy, DOT_RADIUS, hexc(DOT)))
    lines.append('</svg>')
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--png" and sys.argv[2].isdigit() and int(sys.argv[2]) > 0:
        write_rgba_png(sys.argv[3], render(int(sys.argv[2])))
        return
    if len(sys.argv) != 1:
        sys.exit("usage: make_icon.py [--png SIZE FILE]")
    here = os.path.dirname(os.path.abspath(__file__))
    name = "org.example.Trivyrhnik"
    png = os.path.join(here, "hicolor", "32x32", "apps", name + ".png")
    svg = os.path.join(here, "hicolor", "scalable", "apps", name + ".svg")
    os.makedirs(os.path.dirname(png), exist_ok=True)
    os.makedirs(os.path.dirname(svg), exist_ok=True)
    palette, pixels = quantise(render())
    write_png(png, palette, pixels)
    write_svg(svg)
    print("%s: %d colours" % (png, len(palette)))
    print(svg)


if __name__ == "__main__":
    main()
