"""Anti-aliased vector drawing on Pillow images by supersampling.

Every shape is drawn at SS times the target size and the result is reduced
with an area average, so edges get exact coverage-based anti-aliasing and the
output depends only on the input numbers (no clock, no system fonts).
"""
import math

from PIL import Image, ImageDraw, ImageFont

SS = 8  # supersampling factor: 8x8 samples per output pixel

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_REGULAR = FONT_DIR + "/DejaVuSans.ttf"
FONT_BOLD = FONT_DIR + "/DejaVuSans-Bold.ttf"
FONT_CONDENSED_BOLD = FONT_DIR + "/DejaVuSansCondensed-Bold.ttf"


def rgb(hex_text):
    """'RRGGBB' -> (r, g, b)."""
    v = int(hex_text, 16)
    return (v >> 16) & 255, (v >> 8) & 255, v & 255


def rgba(colour, alpha=255):
    if isinstance(colour, str):
        colour = rgb(colour)
    return tuple(colour[:3]) + (alpha,)


def mix(a, b, t):
    """Blend two colours ('RRGGBB' or tuples); t = 0 gives a, 1 gives b."""
    a = rgb(a) if isinstance(a, str) else a
    b = rgb(b) if isinstance(b, str) else b
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Layer:
    """A transparent layer of w x h output pixels, drawn at SS times that."""

    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), rgba(fill) if fill else (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img, "RGBA")

    @staticmethod
    def _s(v):
        return int(round(v * SS))

    def _box(self, x, y, w, h):
        s = self._s
        return [s(x), s(y), s(x + w) - 1, s(y + h) - 1]

    def rect(self, x, y, w, h, fill):
        self.d.rectangle(self._box(x, y, w, h), fill=rgba(fill) if not isinstance(fill, tuple) or len(fill) == 3 else fill)

    def rrect(self, x, y, w, h, r, fill=None, outline=None, width=1.0):
        """Rounded rectangle; the outline lies inside the box."""
        box = self._box(x, y, w, h)
        self.d.rounded_rectangle(box, radius=self._s(r), fill=_c(fill) if fill is not None else None,
                                 outline=_c(outline) if outline is not None else None,
                                 width=max(1, self._s(width)) if outline is not None else 0)

    def circle(self, cx, cy, r, fill=None, outline=None, width=1.0):
        s = self._s
        self.d.ellipse([s(cx - r), s(cy - r), s(cx + r) - 1, s(cy + r) - 1],
                       fill=_c(fill) if fill is not None else None,
                       outline=_c(outline) if outline is not None else None,
                       width=max(1, s(width)) if outline is not None else 0)

    def polygon(self, pts, fill):
        self.d.polygon([(self._s(x), self._s(y)) for x, y in pts], fill=_c(fill))

    def stroke(self, pts, width, colour, closed=False):
        """A polyline with round caps and joins."""
        s = self._s
        pts = list(pts)
        if closed:
            pts = pts + [pts[0]]
        c = _c(colour)
        sp = [(s(x), s(y)) for x, y in pts]
        if len(sp) > 1:
            self.d.line(sp, fill=c, width=max(1, s(width)), joint="curve")
        r = width / 2
        for x, y in pts:
            self.d.ellipse([s(x - r), s(y - r), s(x + r) - 1, s(y + r) - 1], fill=c)

    def arc(self, cx, cy, r, a0, a1, width, colour, steps=48):
        """An arc from angle a0 to a1 (degrees, clockwise from east) with round caps."""
        pts = []
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        self.stroke(pts, width, colour)

    def rounded_polygon(self, pts, radius, fill):
        """A filled polygon whose corners are rounded by `radius` (stroke-and-fill)."""
        # Shrink towards the centroid by the radius, then fill and stroke with
        # round joins: the outer edge ends where the sharp polygon was.
        cx = sum(p[0] for p in pts) / len(pts)
        cy = sum(p[1] for p in pts) / len(pts)
        inner = []
        for x, y in pts:
            dx, dy = x - cx, y - cy
            d = math.hypot(dx, dy) or 1
            k = max(0.0, (d - radius * 1.6) / d)
            inner.append((cx + dx * k, cy + dy * k))
        self.polygon(inner, fill)
        self.stroke(inner, radius * 2, fill, closed=True)

    def vgradient(self, x, y, w, h, top, bottom, mask_r=None):
        """A vertical gradient filling the box (optionally as a rounded rectangle)."""
        s = self._s
        grad = Image.new("RGBA", (max(1, s(w)), max(1, s(h))))
        gd = ImageDraw.Draw(grad)
        n = max(1, s(h))
        for i in range(n):
            t = i / max(1, n - 1)
            gd.line([(0, i), (s(w), i)], fill=rgba(mix(top, bottom, t)))
        mask = Image.new("L", grad.size, 0)
        if mask_r is None:
            mask.paste(255, (0, 0) + grad.size)
        else:
            ImageDraw.Draw(mask).rounded_rectangle([0, 0, grad.size[0] - 1, grad.size[1] - 1], radius=s(mask_r), fill=255)
        self.img.paste(grad, (s(x), s(y)), mask)

    def paste_layer(self, other, x, y):
        """Composite another supersampled layer at (x, y) output pixels."""
        self.img.alpha_composite(other.img, (self._s(x), self._s(y)))

    def result(self):
        """The layer at output size (RGBA), reduced by area averaging."""
        if self.img.getchannel("A").getextrema() == (255, 255):
            return self.img.convert("RGB").resize((self.w, self.h), Image.BOX).convert("RGBA")
        return reduce_premultiplied(self.img, self.w, self.h)


def _c(colour):
    if isinstance(colour, tuple) and len(colour) == 4:
        return colour
    return rgba(colour)


def reduce_premultiplied(img, w, h):
    """Area-average an RGBA image so transparent samples do not darken edges."""
    r, g, b, a = img.split()
    from PIL import ImageChops
    pr = ImageChops.multiply(r, a)
    pg = ImageChops.multiply(g, a)
    pb = ImageChops.multiply(b, a)
    small = [ch.resize((w, h), Image.BOX) for ch in (pr, pg, pb, a)]
    alpha = small[3]
    ap = alpha.load()
    chans = [c.load() for c in small[:3]]
    res = Image.new("RGBA", (w, h))
    px = res.load()
    for yy in range(h):
        for xx in range(w):
            al = ap[xx, yy]
            if al == 0:
                px[xx, yy] = (0, 0, 0, 0)
            else:
                px[xx, yy] = tuple(min(255, int(round(chans[i][xx, yy] * 255 / al))) for i in range(3)) + (al,)
    return res


def flatten(img, background):
    """Composite an RGBA image over a solid colour, giving RGB."""
    base = Image.new("RGBA", img.size, rgba(background))
    base.alpha_composite(img)
    return base.convert("RGB")


def font(path, px):
    return ImageFont.truetype(path, px)


def text(img, x, y, s, path, px, colour, anchor="la", spacing=0):
    """Text drawn at output resolution (hinted), so small sizes stay crisp."""
    d = ImageDraw.Draw(img, "RGBA")
    f = font(path, px)
    if spacing:
        # Letter-spaced caps: advance by each glyph's width plus the spacing.
        total = sum(d.textlength(ch, font=f) for ch in s) + spacing * (len(s) - 1)
        if anchor[0] == "m":
            x -= total / 2
        elif anchor[0] == "r":
            x -= total
        for ch in s:
            d.text((x, y), ch, font=f, fill=_c(colour), anchor="l" + anchor[1])
            x += d.textlength(ch, font=f) + spacing
    else:
        d.text((x, y), s, font=f, fill=_c(colour), anchor=anchor)
