#!/usr/bin/env python3
"""Draws the program's pictures and writes them as .ico files plus art.rc.

Every picture is described once, in shapes on a unit square, and rendered with
4x4 supersampling at each size it ships in, so it stays sharp at 100% and 200%
scale. Usage: draw_art.py OUTPUT_FOLDER
"""
import os
import struct
import sys

SAMPLES = 4


def rgba(hex_colour, alpha=255):
    h = hex_colour.lstrip('#')
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16), alpha)


class Canvas:
    """A picture of size x size pixels; shapes use coordinates from 0 to 1."""

    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def _cover(self, inside):
        n = self.size * SAMPLES
        cover = [[0] * self.size for _ in range(self.size)]
        for sy in range(n):
            y = (sy + 0.5) / n
            row = cover[sy // SAMPLES]
            for sx in range(n):
                if inside((sx + 0.5) / n, y):
                    row[sx // SAMPLES] += 1
        return cover

    def fill(self, inside, colour):
        cover = self._cover(inside)
        total = SAMPLES * SAMPLES
        for y in range(self.size):
            for x in range(self.size):
                c = cover[y][x]
                if c:
                    self._blend(x, y, colour, c / total)

    def _blend(self, x, y, colour, coverage):
        r, g, b, a = colour
        a = a / 255 * coverage
        dr, dg, db, da = self.px[y][x]
        da = da / 255
        out_a = a + da * (1 - a)
        if out_a <= 0:
            return
        mix = lambda s, d: round((s * a + d * da * (1 - a)) / out_a)
        self.px[y][x] = (mix(r, dr), mix(g, dg), mix(b, db), round(out_a * 255))

    # Shapes -----------------------------------------------------------------
    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            if radius <= 0:
                return True
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
        self.fill(inside, colour)

    def frame(self, x0, y0, x1, y1, width, colour, radius=0.0):
        outer = (x0, y0, x1, y1)
        inner = (x0 + width, y0 + width, x1 - width, y1 - width)

        def in_rect(r, rad, x, y):
            if not (r[0] <= x <= r[2] and r[1] <= y <= r[3]):
                return False
            if rad <= 0:
                return True
            cx = min(max(x, r[0] + rad), r[2] - rad)
            cy = min(max(y, r[1] + rad), r[3] - rad)
            return (x - cx) ** 2 + (y - cy) ** 2 <= rad ** 2
        self.fill(lambda x, y: in_rect(outer, radius, x, y) and
                  not in_rect(inner, max(radius - width, 0), x, y), colour)

    def circle(self, cx, cy, r, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)

    def ring(self, cx, cy, r, width, colour):
        self.fill(lambda x, y: (r - width) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self.fill(inside, colour)

    def line(self, points, width, colour):
        half = width / 2

        def near(x, y):
            for (ax, ay), (bx, by) in zip(points, points[1:]):
                dx, dy = bx - ax, by - ay
                length2 = dx * dx + dy * dy
                t = 0 if length2 == 0 else max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length2))
                px, py = ax + t * dx, ay + t * dy
                if (x - px) ** 2 + (y - py) ** 2 <= half * half:
                    return True
            return False
        self.fill(near, colour)


def write_ico(path, canvases):
    """Writes 32-bit icons with an AND mask, one image per canvas."""
    images = []
    for c in canvases:
        s = c.size
        header = struct.pack('<IiiHHIIiiII', 40, s, s * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        pixels = bytearray()
        for y in range(s - 1, -1, -1):
            for r, g, b, a in c.px[y]:
                pixels += bytes((b, g, r, a))
        mask_row = ((s + 31) // 32) * 4
        mask = bytearray()
        for y in range(s - 1, -1, -1):
            row = bytearray(mask_row)
            for x in range(s):
                if c.px[y][x][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        images.append((s, header + pixels + mask))
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


# The pictures ---------------------------------------------------------------
BLUE = rgba('#1f5fbf')
DARK_BLUE = rgba('#123d80')
WHITE = rgba('#ffffff')
GREEN = rgba('#2fb344')
GREY = rgba('#c8d0dc')


def draw_program(c):
    """A task window: blue title bar over a white list with a green load curve."""
    c.rect(0.03, 0.06, 0.97, 0.94, DARK_BLUE, radius=0.12)
    c.rect(0.10, 0.28, 0.90, 0.86, WHITE, radius=0.04)
    c.circle(0.80, 0.17, 0.05, WHITE)
    for y in (0.40, 0.54, 0.68):
        c.rect(0.17, y - 0.025, 0.55, y + 0.025, GREY)
    c.line([(0.14, 0.76), (0.34, 0.76), (0.45, 0.46), (0.58, 0.80), (0.70, 0.58), (0.86, 0.58)],
           0.085, GREEN)


# name -> (resource name, resource type, drawing function, sizes)
PICTURES = {
    'program': ('AAA', 'ICON', draw_program, (16, 20, 24, 32, 40, 48, 64)),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else '.'
    os.makedirs(out, exist_ok=True)
    rc_lines = []
    for name, (resource, kind, draw, sizes) in PICTURES.items():
        canvases = []
        for size in sizes:
            c = Canvas(size)
            draw(c)
            canvases.append(c)
        write_ico(os.path.join(out, name + '.ico'), canvases)
        if resource != 'AAA':  # the program icon is declared by the main resource script
            rc_lines.append('%s %s "art/%s.ico"' % (resource, kind, name))
    with open(os.path.join(out, 'art.rc'), 'w') as f:
        f.write('// Written by draw_art.py\n' + '\n'.join(rc_lines) + '\n')


if __name__ == '__main__':
    main()
