#!/usr/bin/env python3
"""Draws the program's pictures and writes them as .ico files plus art.rc.

Every picture is described once, in shapes on a design grid (16 units across
for the toolbar and list pictures, 32 for the bigger ones), and rendered with
supersampling at each size it ships in, so it stays sharp from 100% to 200%
scale. Straight edges of boxes snap to whole pixels at every size, and the
outline is a whole number of pixels, so the 16 px pictures stay crisp.

One light source (from the top left: fills are lighter at the top), one
outline weight and one palette keep the pictures a family.

Usage: draw_art.py OUTPUT_FOLDER
"""
import math
import os
import struct
import sys


def rgba(hex_colour, alpha=255):
    h = hex_colour.lstrip('#')
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16), alpha)


class Paint:
    """A fill that runs from `top` to `bottom` over the height of its shape."""

    def __init__(self, top, bottom=None):
        self.top = rgba(top)
        self.bottom = rgba(bottom) if bottom else self.top

    def at(self, t):
        t = min(max(t, 0.0), 1.0)
        return tuple(round(a + (b - a) * t) for a, b in zip(self.top, self.bottom))


# Palette: each colour has a light top, a deeper bottom and a dark outline.
BLUE = (Paint('#6aa5f5', '#1f63c6'), rgba('#0f3c84'))
GREEN = (Paint('#7fdc7a', '#2a9c3a'), rgba('#17632a'))
RED = (Paint('#f5857a', '#cc2a24'), rgba('#8a1410'))
YELLOW = (Paint('#ffe680', '#eaa90c'), rgba('#8e6200'))
GREY = (Paint('#e2e6ec', '#9aa3af'), rgba('#4c5563'))
PAPER = (Paint('#ffffff', '#e9eef5'), rgba('#4c5a70'))
STEEL = (Paint('#c9d0da', '#6e7888'), rgba('#3a4250'))
NAVY = (Paint('#2c5fae', '#102f66'), rgba('#0a2148'))
WHITE = Paint('#ffffff')
INK = Paint('#3a4352')
LINE_GREY = Paint('#a9b3c1')
CURVE_GREEN = Paint('#58e06a', '#2fb344')


# Shapes, in pixel coordinates -----------------------------------------------
# contains(x, y, inset) answers for the shape shrunk by `inset` pixels (grown
# when negative); that is how outlines are drawn: the shape in the outline
# colour, then the shape shrunk by the outline width in the fill.

def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx, ay + t * dy
    return math.hypot(x - px, y - py)


class Box:
    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.r = (x0, y0, x1, y1)
        self.radius = radius
        self.bbox = self.r

    def contains(self, x, y, inset=0.0):
        x0, y0, x1, y1 = self.r
        x0, y0, x1, y1 = x0 + inset, y0 + inset, x1 - inset, y1 - inset
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        radius = max(self.radius - inset, 0.0)
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


class Disc:
    def __init__(self, cx, cy, r):
        self.c = (cx, cy, r)
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def contains(self, x, y, inset=0.0):
        cx, cy, r = self.c
        r -= inset
        return r > 0 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Polygon:
    def __init__(self, points):
        self.points = points
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))
        self.edges = list(zip(points, points[1:] + points[:1]))

    def _inside(self, x, y):
        hit = False
        for (xi, yi), (xj, yj) in self.edges:
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
        return hit

    def _edge_distance(self, x, y):
        return min(_segment_distance(x, y, ax, ay, bx, by) for (ax, ay), (bx, by) in self.edges)

    def contains(self, x, y, inset=0.0):
        inside = self._inside(x, y)
        if inset == 0:
            return inside
        if inset > 0:
            return inside and self._edge_distance(x, y) >= inset
        return inside or self._edge_distance(x, y) <= -inset


class Stroke:
    """A thick polyline with round ends."""

    def __init__(self, points, width):
        self.points = points
        self.half = width / 2
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        self.bbox = (min(xs) - self.half, min(ys) - self.half, max(xs) + self.half, max(ys) + self.half)

    def contains(self, x, y, inset=0.0):
        half = self.half - inset
        if half <= 0:
            return False
        return any(_segment_distance(x, y, ax, ay, bx, by) <= half
                   for (ax, ay), (bx, by) in zip(self.points, self.points[1:]))


class Arc:
    """Part of a ring, from angle a0 to a1 (degrees, clockwise from 3 o'clock)."""

    def __init__(self, cx, cy, r_outer, r_inner, a0, a1):
        self.c = (cx, cy, r_outer, r_inner)
        self.a = (math.radians(a0), math.radians(a1))
        self.bbox = (cx - r_outer, cy - r_outer, cx + r_outer, cy + r_outer)

    def contains(self, x, y, inset=0.0):
        cx, cy, ro, ri = self.c
        d = math.hypot(x - cx, y - cy)
        if not (ri + inset <= d <= ro - inset) or d == 0:
            return False
        a0, a1 = self.a
        pad = inset / d
        angle = (math.atan2(y - cy, x - cx) - a0) % (2 * math.pi)
        return pad <= angle <= (a1 - a0) - pad


_RING = [(math.cos(i * math.pi / 8), math.sin(i * math.pi / 8)) for i in range(16)]


class Union:
    def __init__(self, *shapes):
        self.shapes = shapes
        boxes = [s.bbox for s in shapes]
        self.bbox = (min(b[0] for b in boxes), min(b[1] for b in boxes),
                     max(b[2] for b in boxes), max(b[3] for b in boxes))

    def contains(self, x, y, inset=0.0):
        if inset <= 0:
            return any(s.contains(x, y, inset) for s in self.shapes)
        # Shrinking each part would leave seams where parts meet: a point is
        # inside the shrunk union when a ring round it lies inside the union.
        if not self.contains(x, y):
            return False
        return all(self.contains(x + inset * dx, y + inset * dy) for dx, dy in _RING)


class Minus:
    """`shape` with `hole` cut out; the outline also runs round the hole."""

    def __init__(self, shape, hole):
        self.shape, self.hole = shape, hole
        self.bbox = shape.bbox

    def contains(self, x, y, inset=0.0):
        return self.shape.contains(x, y, inset) and not self.hole.contains(x, y, -inset)


# The canvas -------------------------------------------------------------------

class Canvas:
    """A picture of size x size pixels drawn on a design grid `grid` units across."""

    def __init__(self, size, grid):
        self.size = size
        self.u = size / grid
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]
        # Big pictures need fewer samples per pixel for the same smoothness.
        self.samples = 4 if size <= 24 else 3
        # The outline weight: one pixel up to 150%, then growing with the size.
        self.outline = max(1, round(self.u * 0.8))

    # Grid units to pixels. Box edges snap to whole pixels.
    def snap(self, v):
        return float(round(v * self.u))

    def box(self, x0, y0, x1, y1, radius=0.0):
        return Box(self.snap(x0), self.snap(y0), self.snap(x1), self.snap(y1), radius * self.u)

    def disc(self, cx, cy, r):
        return Disc(cx * self.u, cy * self.u, r * self.u)

    def polygon(self, points):
        return Polygon([(x * self.u, y * self.u) for x, y in points])

    def stroke(self, points, width):
        return Stroke([(x * self.u, y * self.u) for x, y in points], width * self.u)

    def arc(self, cx, cy, r_outer, r_inner, a0, a1):
        return Arc(cx * self.u, cy * self.u, r_outer * self.u, r_inner * self.u, a0, a1)

    # Painting
    def paint(self, shape, fill, outline=None, inset=0.0):
        """Fills `shape`; with an outline colour, rings it with the outline weight."""
        if outline is not None:
            self._fill(shape, Paint('#000000'), inset, solid=outline)
            inset += self.outline
        self._fill(shape, fill, inset)

    def draw(self, shape, colours):
        """Fills `shape` with a palette colour (paint, outline)."""
        self.paint(shape, colours[0], colours[1])

    def _fill(self, shape, paint, inset, solid=None):
        x0, y0, x1, y1 = shape.bbox
        top, height = y0, max(y1 - y0, 1e-6)
        px0, py0 = max(int(math.floor(x0)) - 1, 0), max(int(math.floor(y0)) - 1, 0)
        px1, py1 = min(int(math.ceil(x1)) + 1, self.size), min(int(math.ceil(y1)) + 1, self.size)
        n = self.samples
        offsets = [(i + 0.5) / n for i in range(n)]
        total = n * n
        for py in range(py0, py1):
            for px in range(px0, px1):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape.contains(px + ox, py + oy, inset):
                            hits += 1
                if hits:
                    colour = solid if solid else paint.at((py + 0.5 - top) / height)
                    self._blend(px, py, colour, hits / total)

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


# Parts the pictures share (16-unit grid) ----------------------------------------

def window(c, x0, y0, x1, y1, title=BLUE, bar=3):
    """An application window: white body under a coloured title bar."""
    c.draw(c.box(x0, y0, x1, y1, 0.6), PAPER)
    o = c.outline / c.u
    c.paint(c.box(x0 + o, y0 + o, x1 - o, y0 + bar), title[0])
    c.paint(c.box(x0 + o, y0 + bar, x1 - o, y0 + bar + o), Paint('#4c5a70'))


def badge(c, cx, cy, r, colours):
    """A round badge with a white rim that lifts it off what lies below."""
    c.paint(c.disc(cx, cy, r + c.outline / c.u), WHITE)
    c.draw(c.disc(cx, cy, r), colours)


def cross(c, cx, cy, half, width, colour):
    if c.u == 1 and half == int(half):
        # At 16 px a smoothed cross is a grey blot: set its pixels one by one.
        n = int(2 * half)
        for i in range(n + 1):
            x = cx - half - 0.5 + i
            c.paint(c.box(x, cy - half - 0.5 + i, x + 1, cy - half + 0.5 + i), colour)
            c.paint(c.box(x, cy + half - 0.5 - i, x + 1, cy + half + 0.5 - i), colour)
        return
    c.paint(Union(c.stroke([(cx - half, cy - half), (cx + half, cy + half)], width),
                  c.stroke([(cx + half, cy - half), (cx - half, cy + half)], width)), colour)


def gear(c, cx, cy, r_outer, r_body, r_hole, teeth, colours):
    parts = [c.disc(cx, cy, r_body)]
    width = r_outer * 0.42
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        ux, uy = math.cos(a), math.sin(a)
        vx, vy = -uy * width / 2, ux * width / 2
        inner, outer = r_body * 0.6, r_outer
        parts.append(c.polygon([(cx + ux * inner + vx, cy + uy * inner + vy),
                                (cx + ux * outer + vx * 0.8, cy + uy * outer + vy * 0.8),
                                (cx + ux * outer - vx * 0.8, cy + uy * outer - vy * 0.8),
                                (cx + ux * inner - vx, cy + uy * inner - vy)]))
    c.draw(Minus(Union(*parts), c.disc(cx, cy, r_hole)), colours)


def play(c, x0, y0, x1, y1, colours):
    c.draw(c.polygon([(x0, y0), (x1, (y0 + y1) / 2), (x0, y1)]), colours)


def page(c, x0, y0, x1, y1, fold):
    """A sheet of paper with its top right corner folded."""
    c.draw(c.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]), PAPER)
    c.draw(c.polygon([(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)]), GREY)


# Toolbar pictures (16-unit grid) -----------------------------------------------

def draw_refresh(c):
    """Two arrows chasing each other round a circle."""
    for start in (205, 25):
        end = start + 115
        # The body runs on under its head, so no outline shows where they join.
        body = c.arc(8, 8, 6.4, 3.8, start, end + 14)
        a = math.radians(end)
        ux, uy = math.cos(a), math.sin(a)          # out from the centre
        tx, ty = -uy, ux                           # along the turn
        mid, half, length = 5.1, 3.4, 4.0
        head = c.polygon([(8 + ux * (mid + half), 8 + uy * (mid + half)),
                          (8 + ux * mid + tx * length, 8 + uy * mid + ty * length),
                          (8 + ux * (mid - half), 8 + uy * (mid - half))])
        c.draw(Union(body, head), BLUE)


def draw_show_window(c):
    """A window brought in front of another."""
    window(c, 1, 1, 11, 10, title=GREY)
    window(c, 5, 6, 15, 15)


def draw_end_task(c):
    window(c, 1, 1, 15, 13)
    badge(c, 10.5, 10.5, 5, RED)
    # Ends on pixel centres, so the 16 px cross is two clean diagonals.
    cross(c, 10.5, 10.5, 2, 1.3, WHITE)


def draw_run(c):
    """A window with an arrow leaving it: something is launched."""
    window(c, 1, 5, 11, 15)
    c.draw(Union(c.stroke([(5, 11), (11.2, 4.8)], 2.6),
                 c.polygon([(8.2, 1.2), (14.8, 1.2), (14.8, 7.8)])), GREEN)


def draw_terminate(c):
    """A process (gear) brought to a stop."""
    gear(c, 7, 7, 7, 4.8, 1.9, 8, STEEL)
    badge(c, 11.5, 11.5, 4, RED)
    c.paint(c.box(9.5, 9.5, 13.5, 13.5), WHITE)


def draw_properties(c):
    """A sheet of named values."""
    page(c, 2, 1, 14, 15, 4)
    for y in (6, 9, 12):
        c.paint(c.box(4, y, 6, y + 2), BLUE[0])
        # A text line: one pixel on the bullet's top row at 16 px, centred on it when larger.
        top = y if c.u == 1 else y + 0.5
        c.paint(c.box(7, top, 12, top + 1), LINE_GREY)


def draw_start(c):
    play(c, 4, 2, 14, 14, GREEN)


def draw_stop(c):
    c.draw(c.box(2, 2, 14, 14, 1.2), RED)


def draw_pause(c):
    c.draw(c.box(3, 2, 7, 14, 0.8), BLUE)
    c.draw(c.box(9, 2, 13, 14, 0.8), BLUE)


def draw_resume(c):
    c.draw(c.box(1, 2, 5, 14, 0.8), BLUE)
    play(c, 6, 2, 15, 14, GREEN)


def draw_delete(c):
    # Corners on the pixel grid keep the 45-degree edges as even steps.
    c.draw(c.polygon([(2, 4), (4, 2), (8, 6), (12, 2), (14, 4), (10, 8),
                      (14, 12), (12, 14), (8, 10), (4, 14), (2, 12), (6, 8)]), RED)


def draw_about(c):
    c.draw(c.disc(8, 8, 7.5), BLUE)
    c.paint(c.disc(8, 4.6, 1.35), WHITE)
    c.paint(c.box(7, 7, 9, 13), WHITE)


# Other small pictures (16-unit grid) -----------------------------------------------

def draw_empty(c):
    """Nothing at all: the placeholder of list rows without a picture."""


def draw_unknown(c):
    window(c, 1, 2, 15, 14)


def draw_no_icon(c):
    """A program that brings no picture of its own: a window running a process."""
    window(c, 0, 0, 16, 16, title=GREY)
    gear(c, 8, 9.5, 5.4, 3.6, 1.4, 6, BLUE)


def draw_tray(c):
    """The program icon reduced to what reads at 16 px: a screen with a load curve."""
    c.draw(c.box(0, 1, 16, 15, 2), NAVY)
    c.paint(c.stroke([(2.5, 11), (5, 11), (7, 5), (9.5, 12), (11, 8), (13.5, 8)], 2.2), CURVE_GREEN)


def draw_running(c):
    c.draw(c.disc(8, 8, 7.5), GREEN)
    c.paint(c.polygon([(6, 4.2), (12, 8), (6, 11.8)]), WHITE)


def draw_disabled(c):
    c.draw(c.disc(8, 8, 7.5), RED)
    reach = 4 if c.u == 1 else 4.5  # at 16 px the longer bar would touch the outline
    c.paint(c.box(8 - reach, 7, 8 + reach, 9), WHITE)


def draw_paused(c):
    c.draw(c.disc(8, 8, 7.5), YELLOW)
    c.paint(c.box(5, 4.5, 7, 11.5), INK)
    c.paint(c.box(9, 4.5, 11, 11.5), INK)


def draw_stopped(c):
    c.draw(c.disc(8, 8, 7.5), GREY)
    c.paint(c.box(5, 5, 11, 11), INK)


# Big pictures (32-unit grid) --------------------------------------------------------

def draw_run_dialog(c):
    """A window with a launch arrow, drawn with the detail of the Run dialog's size."""
    c.draw(c.box(2, 8, 24, 30, 1.2), PAPER)
    o = c.outline / c.u
    c.paint(c.box(2 + o, 8 + o, 24 - o, 13), BLUE[0])
    c.paint(c.box(2 + o, 13, 24 - o, 13 + o), Paint('#4c5a70'))
    for y in (17, 21, 25):
        c.paint(c.box(6, y, 15, y + 2), LINE_GREY)
    c.draw(Union(c.stroke([(11, 22), (23.5, 9.5)], 5),
                 c.polygon([(16.5, 2), (30, 2), (30, 15.5)])), GREEN)


def draw_program(c):
    """A task window: blue title bar over a white list with a green load curve."""
    c.draw(c.box(1, 2, 31, 30, 3.5), NAVY)
    o = c.outline / c.u
    c.paint(c.box(1 + o + 2, 9, 31 - o - 2, 28 - o), PAPER[0])
    if c.size >= 24:  # at small sizes the detail would only blur the curve
        c.paint(c.box(24, 4, 27, 7), Paint('#dfe8f5'))
        for y in (12, 16, 20):
            c.paint(c.box(6, y, 17, y + 1.6), LINE_GREY)
    c.paint(c.stroke([(5, 24), (11, 24), (14.5, 14), (18.5, 25.5), (22.5, 18.5), (27, 18.5)], 2.8),
            Paint('#3fcf52', '#23a036'))


# name -> (resource name, drawing function, design grid, sizes)
# Each picture is stored in the sizes the program asks for and no others:
# the toolbar, list and state pictures are always drawn at 16 px; the tray
# icon at the small-icon size (16 px at 100% to 32 px at 200%); the Run
# picture at the large-icon size (32 px, 40 and 48 at 125% and 150%, scaled
# from 48 above); the program icon also serves Explorer and the task switcher.
LIST = (16,)
SMALL_ICON = (16, 20, 24, 32)
LARGE_ICON = (32, 40, 48)
PICTURES = {
    'program': ('AAA', draw_program, 32, (16, 20, 24, 32, 40, 48, 64)),
    'tb_refresh': ('TB_REFRESH', draw_refresh, 16, LIST),
    'tb_show_window': ('TB_SHOWWINDOW', draw_show_window, 16, LIST),
    'tb_end_task': ('TB_ENDTASK', draw_end_task, 16, LIST),
    'tb_run': ('TB_RUN', draw_run, 16, LIST),
    'tb_terminate': ('TB_TERMINATE', draw_terminate, 16, LIST),
    'tb_properties': ('TB_PROPERTIES', draw_properties, 16, LIST),
    'tb_start': ('TB_START', draw_start, 16, LIST),
    'tb_stop': ('TB_STOP', draw_stop, 16, LIST),
    'tb_pause': ('TB_PAUSE', draw_pause, 16, LIST),
    'tb_resume': ('TB_RESUME', draw_resume, 16, LIST),
    'tb_delete': ('TB_DELETE', draw_delete, 16, LIST),
    'tb_about': ('TB_ABOUT', draw_about, 16, LIST),
    'empty': ('IMG_EMPTY', draw_empty, 16, LIST),
    'run': ('IMG_RUN', draw_run_dialog, 32, LARGE_ICON),
    'no_icon': ('IMG_NOICON', draw_no_icon, 16, LIST),
    'unknown': ('IMG_UNKNOWN', draw_unknown, 16, LIST),
    'tray': ('TRAY', draw_tray, 16, SMALL_ICON),
    'svc_running': ('SVC_RUNNING', draw_running, 16, LIST),
    'svc_disabled': ('SVC_DISABLED', draw_disabled, 16, LIST),
    'svc_paused': ('SVC_PAUSED', draw_paused, 16, LIST),
    'svc_stopped': ('SVC_STOPPED', draw_stopped, 16, LIST),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else '.'
    os.makedirs(out, exist_ok=True)
    rc_lines = []
    for name, (resource, draw, grid, sizes) in PICTURES.items():
        canvases = []
        for size in sizes:
            c = Canvas(size, grid)
            draw(c)
            canvases.append(c)
        write_ico(os.path.join(out, name + '.ico'), canvases)
        if resource != 'AAA':  # the program icon is declared by the main resource script
            rc_lines.append('%s ICON "art/%s.ico"' % (resource, name))
    with open(os.path.join(out, 'art.rc'), 'w') as f:
        f.write('// Written by draw_art.py\n' + '\n'.join(rc_lines) + '\n')


if __name__ == '__main__':
    main()
