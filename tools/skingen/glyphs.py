"""The icon set: every glyph on one 24-unit grid, drawn with one stroke weight.

A glyph is drawn into a box of `size` output pixels; `stroke` is the line width
in output pixels, the same for every glyph of a family so that buttons, tray
icons and menu images read as one set. Filled glyphs (the transport symbols)
get their corners rounded by half the stroke, so they match the line glyphs.
"""
import math

GRID = 24.0


class Pen:
    def __init__(self, layer, x, y, size, colour, stroke):
        self.l, self.x, self.y = layer, x, y
        self.u = size / GRID
        self.c, self.w = colour, stroke

    def p(self, gx, gy):
        return (self.x + gx * self.u, self.y + gy * self.u)

    def line(self, *pts, closed=False, width=None):
        self.l.stroke([self.p(*q) for q in pts], width or self.w, self.c, closed=closed)

    def fill(self, *pts):
        self.l.rounded_polygon([self.p(*q) for q in pts], self.w / 2, self.c)

    def bar(self, gx, gy, gw, gh):
        x, y = self.p(gx, gy)
        self.l.rrect(x, y, gw * self.u, gh * self.u, self.w / 2, fill=self.c)

    def ring(self, gx, gy, gr):
        x, y = self.p(gx, gy)
        self.l.circle(x, y, gr * self.u + self.w / 2, outline=self.c, width=self.w)

    def dot(self, gx, gy, gr):
        x, y = self.p(gx, gy)
        self.l.circle(x, y, gr * self.u, fill=self.c)

    def arc(self, gx, gy, gr, a0, a1):
        x, y = self.p(gx, gy)
        self.l.arc(x, y, gr * self.u, a0, a1, self.w, self.c)

    def box(self, gx, gy, gw, gh, gr):
        x, y = self.p(gx, gy)
        hw = self.w / 2
        self.l.rrect(x - hw, y - hw, gw * self.u + self.w, gh * self.u + self.w, gr * self.u + hw,
                     outline=self.c, width=self.w)


# Transport symbols (filled) -------------------------------------------------

def play(g):
    g.fill((7, 4.5), (19.5, 12), (7, 19.5))


def pause(g):
    g.bar(6, 5, 4.5, 14)
    g.bar(13.5, 5, 4.5, 14)


def stop(g):
    g.bar(6, 6, 12, 12)


def prev(g):
    g.bar(5, 5, 3, 14)
    g.fill((19, 5), (19, 19), (9, 12))


def next_(g):
    g.bar(16, 5, 3, 14)
    g.fill((5, 5), (5, 19), (15, 12))


def prevpl(g):
    g.bar(2.5, 5, 3, 14)
    g.fill((14, 5), (14, 19), (6.5, 12))
    g.fill((21.5, 5), (21.5, 19), (14, 12))


def nextpl(g):
    g.bar(18.5, 5, 3, 14)
    g.fill((2.5, 5), (2.5, 19), (10, 12))
    g.fill((10, 5), (10, 19), (17.5, 12))


def rewind(g):
    g.fill((12, 5), (12, 19), (3, 12))
    g.fill((21, 5), (21, 19), (12, 12))


def forward(g):
    g.fill((3, 5), (3, 19), (12, 12))
    g.fill((12, 5), (12, 19), (21, 12))


# Line glyphs -----------------------------------------------------------------

def folder(g):
    g.line((3, 7), (3, 18.5), (21, 18.5), (21, 9), (11.5, 9), (9.5, 6), (3, 6), (3, 7), closed=False)


def open_(g):
    # A folder with an arrow into it: "open".
    g.line((3, 8.5), (3, 6), (9, 6), (11, 8.5), (21, 8.5), (21, 18.5), (3, 18.5), (3, 8.5))
    g.line((12, 11), (12, 16.5))
    g.line((9.5, 13.5), (12, 11), (14.5, 13.5))


def star(g):
    pts = []
    for i in range(10):
        a = math.radians(-90 + 36 * i)
        r = 9.5 if i % 2 == 0 else 4.2
        pts.append((12 + r * math.cos(a), 12.8 + r * math.sin(a)))
    g.line(*pts, closed=True)


def playlist(g):
    for y in (6.5, 12, 17.5):
        g.dot(4.5, y, 1.4)
        g.line((8.5, y), (20, y))


def sequence(g):
    # Two arrows chasing each other round a loop: repeat and shuffle live here.
    g.line((19, 9), (19, 8), (17, 6), (5, 6))
    g.line((7.5, 3.5), (5, 6), (7.5, 8.5))
    g.line((5, 15), (5, 16), (7, 18), (19, 18))
    g.line((16.5, 15.5), (19, 18), (16.5, 20.5))


def equalizer(g):
    for x, k in ((6, 14), (12, 8), (18, 12)):
        g.line((x, 4), (x, 20))
        g.bar(x - 2.5, k - 1.5, 5, 3)


def tools(g):
    # A gear: one outline with six teeth and a hub.
    pts = []
    for i in range(6):
        a = 60 * i
        for da, r in ((-17, 6.6), (-9, 9.2), (9, 9.2), (17, 6.6)):
            t = math.radians(a + da)
            pts.append((12 + r * math.cos(t), 12 + r * math.sin(t)))
    g.line(*pts, closed=True)
    g.ring(12, 12, 2)


def minimize(g):
    g.line((6, 17), (18, 17))


def rollup(g):
    # Full window -> compact bar.
    g.line((6.5, 14.5), (12, 9), (17.5, 14.5))


def unroll(g):
    # Compact bar -> full window.
    g.line((6.5, 9.5), (12, 15), (17.5, 9.5))


def close(g):
    g.line((6.5, 6.5), (17.5, 17.5))
    g.line((17.5, 6.5), (6.5, 17.5))


def maximize(g):
    g.box(6, 6, 12, 12, 1.5)


def file_(g):
    g.line((6, 3), (14, 3), (19, 8), (19, 21), (6, 21), (6, 3))
    g.line((14, 3), (14, 8), (19, 8))


def note(g):
    g.line((10, 17), (10, 5), (19, 3), (19, 15))
    g.dot(7.5, 17.5, 3)
    g.dot(16.5, 15.5, 3)


def disc(g):
    g.ring(12, 12, 8.5)
    g.ring(12, 12, 2)


def track(g):
    disc(g)
    g.arc(12, 12, 5.5, 200, 250)


def heading(g):
    g.line((4, 6), (20, 6))
    g.line((4, 12), (14, 12))
    g.line((4, 18), (17, 18))


def info(g):
    g.ring(12, 12, 8.5)
    g.line((12, 11), (12, 16.5))
    g.dot(12, 7.6, 1.5)


def timer(g):
    g.ring(12, 13, 7.5)
    g.line((12, 9), (12, 13), (15, 15))
    g.line((9.5, 2.5), (14.5, 2.5))


def power(g):
    g.arc(12, 12.5, 7.5, -60, 240)
    g.line((12, 3), (12, 11))


def alarm(g):
    g.ring(12, 13, 7)
    g.line((12, 10), (12, 13.5))
    g.line((4, 5), (6.5, 3))
    g.line((20, 5), (17.5, 3))


def arrow_right(g):
    g.line((9, 6), (15, 12), (9, 18))


def skin(g):
    # A palette.
    g.line((12, 3.5), (6.5, 5.2), (3.5, 10), (4.2, 15.5), (8.5, 20), (12.5, 20.5), (13.5, 17.5), (12.5, 15),
           (15, 13.5), (18.5, 14.5), (20.5, 11.5), (19, 6.5), (12, 3.5))
    g.dot(8.5, 9, 1.5)
    g.dot(12.5, 7.5, 1.5)
    g.dot(16.5, 9.5, 1.5)


def help_(g):
    g.ring(12, 12, 8.5)
    g.arc(12, 9.8, 2.8, 180, 405)
    g.line((14, 11.8), (12, 13.2), (12, 14.2))
    g.dot(12, 17, 1.4)


def exit_(g):
    g.line((10, 4), (4, 4), (4, 20), (10, 20))
    g.line((9, 12), (20, 12))
    g.line((16.5, 8.5), (20, 12), (16.5, 15.5))


def missing(g):
    file_(g)
    g.line((9.5, 11), (15.5, 17))
    g.line((15.5, 11), (9.5, 17))


def recent(g):
    g.arc(12, 12, 8.5, 150, 480)
    g.line((3, 9.5), (4.6, 12.8), (7.8, 11))
    g.line((12, 7.5), (12, 12), (15, 14))


def settings(g):
    for y, k in ((6, 15), (12, 8), (18, 13)):
        g.line((4, y), (20, y))
        g.dot(k, y, 2.6)


def add(g):
    g.line((12, 5), (12, 19))
    g.line((5, 12), (19, 12))


def logo(g):
    # The Zorvak mark: a Z drawn in one stroke.
    g.line((6.5, 7), (17.5, 7), (6.5, 17), (17.5, 17))


GLYPHS = {
    "play": play, "pause": pause, "stop": stop, "prev": prev, "next": next_, "prevpl": prevpl,
    "nextpl": nextpl, "rewind": rewind, "forward": forward, "folder": folder, "open": open_, "star": star,
    "playlist": playlist, "sequence": sequence, "equalizer": equalizer, "tools": tools, "minimize": minimize,
    "rollup": rollup, "unroll": unroll, "close": close, "maximize": maximize, "file": file_, "note": note,
    "disc": disc, "track": track, "heading": heading, "info": info, "timer": timer, "power": power,
    "alarm": alarm, "arrow_right": arrow_right, "skin": skin, "help": help_, "exit": exit_,
    "missing": missing, "recent": recent, "settings": settings, "add": add, "logo": logo,
}


def draw(layer, name, x, y, size, colour, stroke):
    """Draw glyph `name` into the box (x, y, size, size) of `layer`."""
    GLYPHS[name](Pen(layer, x, y, size, colour, stroke))
