"""The program's own pictures: the image list "MAIN", the timer window's
"TIMER", the tray icons and the program, file, playlist and CD-track icons.

Image lists are strips of 16 x 16 cells on magenta (0xFF00FF), which the
program treats as transparent. Their orders are fixed here and listed in
docs/skins.md; code refers to an image by its index.
"""
from PIL import Image

import draw
import glyphs
import themes

T = themes.DEFAULT
MAGENTA = (255, 0, 255)

# The main image list: menu items, list lines and editor images.
MAIN_IMAGES = ("file", "folder", "playlist", "disc", "track", "heading", "play", "pause", "stop", "star",
               "open", "tools", "equalizer", "timer", "info", "settings", "skin", "help", "exit", "missing",
               "recent", "add", "sequence", "note")
MAIN_COLOURS = {"folder": "E8B14A", "playlist": T["accent"], "disc": "9DB4CF", "track": "9DB4CF",
                "play": T["accent"], "star": "F2C94C", "missing": "E5484D", "exit": "E5484D"}
# The timer window's button images.
TIMER_IMAGES = ("power", "power_on", "alarm", "alarm_on", "arrow_right")

ICON_SIZES = (16, 24, 32, 48, 256)
TRAY_SIZES = (16, 24, 32)
# Tray buttons, in the order of their identifiers 200 to 206.
TRAY_BUTTONS = (("ZPREVPL", "prevpl"), ("ZPREV", "prev"), ("ZREWIND", "rewind"), ("ZPAUSE", "pause"),
                ("ZFORWARD", "forward"), ("ZNEXT", "next"), ("ZNEXTPL", "nextpl"))
# Group icons in the order that gives their icon indexes 0 to 3: the names
# sort before every "Z..." tray icon, and the resource table lists named
# entries in name order.
PROGRAM_ICONS = (("IDI_0_PROGRAM", "program"), ("IDI_1_FILE", "file"), ("IDI_2_PLAYLIST", "playlist"),
                 ("IDI_3_CDTRACK", "cdtrack"))


def _strip(names, colour_of):
    img = Image.new("RGB", (16 * len(names), 16), MAGENTA)
    for i, name in enumerate(names):
        L = draw.Layer(16, 16)
        glyph, colour = colour_of(name)
        glyphs.draw(L, glyph, 0, 0, 16, colour, 1.5)
        cell = L.result()
        # Edge pixels are blended towards the menu face, not towards magenta,
        # and pixels that are mostly empty become transparent.
        face = Image.new("RGBA", (16, 16), draw.rgba("2A2E37"))
        face.alpha_composite(cell)
        mask = cell.getchannel("A").point(lambda a: 255 if a >= 64 else 0)
        img.paste(face.convert("RGB"), (16 * i, 0), mask)
    return img


def main_bmp():
    return _strip(MAIN_IMAGES, lambda n: (n, MAIN_COLOURS.get(n, "D6DAE0")))


def timer_bmp():
    def look(name):
        if name.endswith("_on"):
            return name[:-3], T["accent"]
        return name, "D6DAE0"
    return _strip(TIMER_IMAGES, look)


def _badge(size, glyph, fill, colour, radius_k=0.22, hard=False, shade=None):
    """A rounded square badge with a glyph: the shape of every icon we ship.
    `shade` (top, bottom) gives large badges a gentle vertical gradient."""
    L = draw.Layer(size, size)
    pad = max(0.5, size / 32)
    if shade and size >= 24:
        L.vgradient(pad, pad, size - 2 * pad, size - 2 * pad, shade[0], shade[1], mask_r=size * radius_k)
    else:
        L.rrect(pad, pad, size - 2 * pad, size - 2 * pad, size * radius_k, fill=fill)
    g = size * 0.72
    stroke = max(1.4, size / 13)
    glyphs.draw(L, glyph, (size - g) / 2, (size - g) / 2, g, colour, stroke)
    img = L.result()
    if hard:
        a = img.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
        img.putalpha(a)
    return img


def _document(size, glyph, tint):
    """A document with a folded corner and a glyph: file and playlist icons."""
    L = draw.Layer(size, size)
    u = size / 32.0
    body = [(6 * u, 2 * u), (20 * u, 2 * u), (27 * u, 9 * u), (27 * u, 30 * u), (6 * u, 30 * u)]
    L.polygon(body, "F3F5F8")
    L.stroke(body, max(1.0, 1.2 * u), "9AA3AF", closed=True)
    L.polygon([(20 * u, 2 * u), (20 * u, 9 * u), (27 * u, 9 * u)], "C9D0D9")
    L.rrect(9 * u, 13 * u, 15 * u, 14 * u, 3 * u, fill=tint)
    glyphs.draw(L, glyph, 10 * u, 13.5 * u, 13 * u, "FFFFFF", max(1.2, 1.6 * u))
    return L.result()


def _cdtrack(size):
    L = draw.Layer(size, size)
    u = size / 32.0
    L.circle(16 * u, 16 * u, 14.5 * u, fill="B8C4D2")
    L.circle(16 * u, 16 * u, 13.8 * u, fill="E4EAF0")
    L.arc(16 * u, 16 * u, 10 * u, 200, 250, max(1.0, 1.6 * u), "FFFFFF")
    L.circle(16 * u, 16 * u, 5 * u, fill=T["accent"])
    L.circle(16 * u, 16 * u, 2 * u, fill=(0, 0, 0, 0))
    # Cut the hole: redraw as transparent.
    img = L.result()
    hole = Image.new("L", img.size, 0)
    from PIL import ImageDraw
    ImageDraw.Draw(hole).ellipse([16 * u - 2 * u, 16 * u - 2 * u, 16 * u + 2 * u, 16 * u + 2 * u], fill=255)
    img.paste((0, 0, 0, 0), (0, 0), hole)
    L2 = draw.Layer(size, size)
    L2.rrect(17 * u, 17 * u, 14 * u, 14 * u, 3.5 * u, fill=T["accent"])
    glyphs.draw(L2, "note", 18 * u, 18 * u, 12 * u, T["on_accent"], max(1.1, 1.5 * u))
    img.alpha_composite(L2.result())
    return img


def program_icon(kind, size):
    if kind == "program":
        return _badge(size, "logo", T["accent"], T["on_accent"], shade=(T["accent_hot"], T["accent_down"]))
    if kind == "file":
        return _document(size, "note", T["accent"])
    if kind == "playlist":
        return _document(size, "playlist", "5146E5")
    return _cdtrack(size)


def tray_frame(frame, size, smooth):
    """Tray animation: frame 0 the still mark, frames 1 to 4 moving level bars."""
    if frame == 0:
        return _badge(size, "logo", T["accent"], T["on_accent"], hard=not smooth)
    L = draw.Layer(size, size)
    pad = max(0.5, size / 32)
    L.rrect(pad, pad, size - 2 * pad, size - 2 * pad, size * 0.22, fill=T["accent"])
    heights = ((0.35, 0.7, 0.5), (0.6, 0.4, 0.75), (0.8, 0.55, 0.35), (0.45, 0.85, 0.6))[frame - 1]
    u = size / 16.0
    for i, hgt in enumerate(heights):
        x = 3.5 * u + i * 3.5 * u
        top = 13 * u - hgt * 9.5 * u
        L.rrect(x, top, 2.4 * u, 13 * u - top, 1.2 * u, fill=T["on_accent"])
    img = L.result()
    if not smooth:
        img.putalpha(img.getchannel("A").point(lambda v: 255 if v >= 128 else 0))
    return img


def tray_button(glyph, size):
    return _badge(size, glyph, "2A2E37", "F2F4F7")


def icons():
    """{resource name: [images]} of every icon group."""
    out = {}
    for name, kind in PROGRAM_ICONS:
        out[name] = [program_icon(kind, s) for s in ICON_SIZES]
    for name, glyph in TRAY_BUTTONS:
        out[name] = [tray_button(glyph, s) for s in TRAY_SIZES]
    for f in range(5):
        # The plain frames have hard edges for systems without alpha icons;
        # the "C" frames are alpha-blended.
        out["Z%d" % f] = [tray_frame(f, s, smooth=False) for s in TRAY_SIZES]
        out["Z%dC" % f] = [tray_frame(f, s, smooth=True) for s in TRAY_SIZES]
    return out


def rc_text(icon_names):
    lines = ["// Zorvak's resources. Made by tools/skingen; do not edit by hand.",
             "// Icon groups in this order give the program, file, playlist and",
             "// CD-track icons the indexes 0 to 3.", ""]
    for name in icon_names:
        lines.append('%s ICON "%s.ico"' % (name, name.lower()))
    lines += ["", 'MAIN BITMAP "main.bmp"', 'TIMER BITMAP "timer.bmp"', ""]
    return "\n".join(lines)
