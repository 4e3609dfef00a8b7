"""The main window's skins: full and mini state of each shipped skin.

A main skin bitmap holds four bands of the window's height, one per state
picture set (normal, hilite, down, hilitedown: the skin's "hilite", "down"
and "hilitedown" offsets point at them), and to the right of the window a
spare column with the pictures of the play button while playing ("active").
"""
import math

import draw
import glyphs
import skn
import vispics

STATES = ("normal", "hilite", "down", "hilitedown")
SPARE = 48  # width of the spare column for "active" pictures


class Button:
    def __init__(self, name, x, y, w, h, glyph, style, action1=None, hint=None, active=None, gsize=None):
        self.name, self.x, self.y, self.w, self.h = name, x, y, w, h
        self.glyph, self.style, self.action1, self.hint = glyph, style, action1, hint
        self.active, self.gsize = active, gsize


class Label:
    def __init__(self, name, x, y, w, h, font, colour, justify="l", fmt=None):
        self.name, self.x, self.y, self.w, self.h = name, x, y, w, h
        self.font, self.colour, self.justify, self.fmt = font, colour, justify, fmt


# The named controls every main skin state has. The main window looks them
# up by name; a state that does not show one keeps it with "invis=1".
LABELS = ("l1", "l2", "pos", "total", "pltotal")
BUTTONS = ("toggleplay", "prev", "next", "prevpl", "nextpl", "openmenu", "favmenu", "plmenu", "seqmenu",
           "toolsmenu", "eq", "minimize", "close", "rollup")
HINTS = {
    "toggleplay": "Play/stop", "prev": "Previous file", "next": "Next file", "prevpl": "Previous group",
    "nextpl": "Next group", "openmenu": "Open", "favmenu": "Favorites", "plmenu": "Playlists",
    "seqmenu": "Sequence", "toolsmenu": "Tools", "eq": "Equalizer/Mixer", "minimize": "Minimize",
    "close": "Close", "rollup": "Full/mini window",
}
# What a right click (or Shift) runs instead: "action1".
ACTION1 = {
    "toggleplay": "fadetoggleplay", "prev": "rewind:10", "next": "forward:10", "prevpl": "l1menu",
    "nextpl": "l1menu", "openmenu": "openfile", "favmenu": "addfav_file", "plmenu": "editcpl",
    "seqmenu": "shuffle", "toolsmenu": "setup", "minimize": "hideall", "close": "sysmenu",
}


# Layouts ------------------------------------------------------------------

def default_full(t):
    W, H = 440, 144
    tb = 22  # transport button box
    g = t
    buttons = [
        Button("minimize", W - 72, 5, 20, 20, "minimize", "title"),
        Button("rollup", W - 50, 5, 20, 20, "rollup", "title"),
        Button("close", W - 28, 5, 20, 20, "close", "title_close"),
        Button("prevpl", 12, 110, 26, 26, "prevpl", "transport", gsize=18),
        Button("prev", 40, 110, 26, 26, "prev", "transport", gsize=18),
        Button("toggleplay", 70, 106, 34, 34, "play", "accent_round", active="pause", gsize=16),
        Button("next", 108, 110, 26, 26, "next", "transport", gsize=18),
        Button("nextpl", 136, 110, 26, 26, "nextpl", "transport", gsize=18),
    ]
    x = W - 12 - 26
    for name, glyph in (("toolsmenu", "tools"), ("eq", "equalizer"), ("seqmenu", "sequence"),
                        ("plmenu", "playlist"), ("favmenu", "star"), ("openmenu", "open")):
        buttons.append(Button(name, x, 110, 26, 26, glyph, "ghost", gsize=18))
        x -= 28
    del tb, g
    labels = [
        Label("pltotal", W - 188, 7, 92, 16, '"Tahoma" 8', t["text2"], "r", "%d:%.2d"),
        Label("l1", 148, 34, 280, 16, '"Tahoma" 8', t["text2"]),
        Label("l2", 148, 52, 280, 20, '"Tahoma" 10 b', t["text"]),
        Label("pos", 12, 88, 46, 16, '"Tahoma" 8 b', t["text"], "l", "%d:%.2d"),
        Label("total", W - 58, 88, 46, 16, '"Tahoma" 8', t["text2"], "r", "%d:%.2d"),
    ]
    panels = [("vis_box", 12, 30, 124, 52)]
    # A small list mark says what the time beside it, the playlist's total, is.
    marks = [("playlist", W - 92, 9, 12)]
    return dict(W=W, H=H, buttons=buttons, labels=labels, vis=(16, 34, 116, 44), tb=(62, 91, 316, 10),
                panels=panels, title=(True, 12, 6), invis=[], bars=dict(bar=4, gap=1, seg=2, seggap=1),
                marks=marks)


def default_mini(t):
    W, H = 460, 40
    buttons = [
        Button("rollup", 8, 10, 20, 20, "unroll", "title"),
        Button("prev", 32, 7, 26, 26, "prev", "transport", gsize=16),
        Button("toggleplay", 61, 6, 28, 28, "play", "accent_round", active="pause", gsize=14),
        Button("next", 92, 7, 26, 26, "next", "transport", gsize=16),
        Button("minimize", W - 50, 10, 20, 20, "minimize", "title"),
        Button("close", W - 28, 10, 20, 20, "close", "title_close"),
    ]
    labels = [
        Label("l2", 194, 6, 174, 16, '"Tahoma" 8 b', t["text"]),
        Label("pos", 374, 12, 34, 16, '"Tahoma" 8 b', t["text"], "r", "%d:%.2d"),
    ]
    panels = [("vis_box", 126, 8, 60, 24)]
    invis = ["l1", "total", "pltotal", "prevpl", "nextpl", "openmenu", "favmenu", "plmenu", "seqmenu",
             "toolsmenu", "eq"]
    return dict(W=W, H=H, buttons=buttons, labels=labels, vis=(128, 10, 56, 20), tb=(194, 25, 174, 8),
                panels=panels, title=None, invis=invis, bars=dict(bar=2, gap=1, seg=2, seggap=1))


def daylight_full(t):
    W, H = 400, 172
    buttons = [
        Button("minimize", W - 72, 5, 20, 20, "minimize", "title"),
        Button("rollup", W - 50, 5, 20, 20, "rollup", "title"),
        Button("close", W - 28, 5, 20, 20, "close", "title_close"),
        Button("openmenu", 14, 136, 26, 26, "open", "ghost", gsize=18),
        Button("favmenu", 42, 136, 26, 26, "star", "ghost", gsize=18),
        Button("plmenu", 70, 136, 26, 26, "playlist", "ghost", gsize=18),
        Button("prevpl", 118, 136, 26, 26, "prevpl", "transport", gsize=18),
        Button("prev", 146, 136, 26, 26, "prev", "transport", gsize=18),
        Button("toggleplay", 180, 132, 40, 34, "play", "accent_square", active="pause", gsize=18),
        Button("next", 228, 136, 26, 26, "next", "transport", gsize=18),
        Button("nextpl", 256, 136, 26, 26, "nextpl", "transport", gsize=18),
        Button("seqmenu", W - 96, 136, 26, 26, "sequence", "ghost", gsize=18),
        Button("eq", W - 68, 136, 26, 26, "equalizer", "ghost", gsize=18),
        Button("toolsmenu", W - 40, 136, 26, 26, "tools", "ghost", gsize=18),
    ]
    labels = [
        Label("pos", 16, 34, 112, 30, '"Tahoma" 20 b', t["text"], "l", "%d:%.2d"),
        Label("total", 16, 66, 112, 14, '"Tahoma" 8', t["text2"], "l", "%d:%.2d"),
        Label("l2", 136, 38, 248, 20, '"Tahoma" 10 b', t["text"]),
        Label("l1", 136, 60, 170, 16, '"Tahoma" 8', t["text2"]),
        Label("pltotal", 306, 60, 78, 16, '"Tahoma" 8', t["text2"], "r", "%d:%.2d"),
    ]
    panels = [("vis_box", 14, 86, 372, 30)]
    return dict(W=W, H=H, buttons=buttons, labels=labels, vis=(16, 88, 368, 26), tb=(14, 120, 372, 10),
                panels=panels, title=(True, 14, 6), invis=[], bars=None)


def daylight_mini(t):
    W, H = 400, 36
    buttons = [
        Button("toggleplay", 6, 5, 32, 26, "play", "accent_square", active="pause", gsize=14),
        Button("prev", 42, 6, 24, 24, "prev", "transport", gsize=14),
        Button("next", 66, 6, 24, 24, "next", "transport", gsize=14),
        Button("rollup", W - 72, 8, 20, 20, "unroll", "title"),
        Button("minimize", W - 50, 8, 20, 20, "minimize", "title"),
        Button("close", W - 28, 8, 20, 20, "close", "title_close"),
    ]
    labels = [
        Label("l2", 98, 4, 186, 16, '"Tahoma" 8 b', t["text"]),
        Label("pos", 288, 10, 36, 16, '"Tahoma" 8 b', t["accent"], "r", "%d:%.2d"),
    ]
    panels = []
    invis = ["l1", "total", "pltotal", "prevpl", "nextpl", "openmenu", "favmenu", "plmenu", "seqmenu",
             "toolsmenu", "eq", "vis"]
    return dict(W=W, H=H, buttons=buttons, labels=labels, vis=None, tb=(98, 22, 186, 8),
                panels=panels, title=None, invis=invis, bars=None)


# Drawing -------------------------------------------------------------------

def round_points(cx, cy, r, n=16):
    return [(cx + r * math.cos(2 * math.pi * i / n), cy + r * math.sin(2 * math.pi * i / n)) for i in range(n)]


def region(W, H, r):
    """The window outline as a polygon following the rounded corners."""
    pts = []
    corners = ((r, r, 180), (W - r, r, 270), (W - r, H - r, 0), (r, H - r, 90))
    for cx, cy, a0 in corners:
        for i in range(7):
            a = math.radians(a0 + 15 * i)
            pts.append((int(round(cx + r * math.cos(a))), int(round(cy + r * math.sin(a)))))
    out = []
    for p in pts:
        if not out or out[-1] != p:
            out.append(p)
    return out


def draw_button(L, t, b, state, x=None, y=None, glyph=None):
    x = b.x if x is None else x
    y = b.y if y is None else y
    glyph = glyph or b.glyph
    hot, down = state in (1, 3), state in (2, 3)
    r = t["radius"]
    if b.style in ("accent_round", "accent_square"):
        fill = (t["accent"], t["accent_hot"], t["accent_down"], t["accent_hotdown"])[state]
        if b.style == "accent_round":
            L.circle(x + b.w / 2, y + b.h / 2, b.w / 2, fill=fill)
        else:
            L.rrect(x, y, b.w, b.h, r, fill=fill)
        gs = b.gsize
        glyphs.draw(L, glyph, x + (b.w - gs) / 2 + (0.5 if glyph == "play" else 0), y + (b.h - gs) / 2, gs,
                    t["on_accent"], t["stroke"])
        return
    if b.style == "title_close":
        bg = (None, t["close_hover"], t["close_down"], t["close_down"])[state]
        colour = t["glyph"] if state == 0 else "FFFFFF"
    else:
        bg = (None, t["hover"], t["press"], t["press_hover"])[state]
        base = t["text"] if b.style == "transport" else t["glyph"]
        colour = (base, t["glyph_hot"], t["accent"], t["accent"])[state]
    if bg:
        L.rrect(x, y, b.w, b.h, r, fill=bg)
    gs = b.gsize or (14 if b.style.startswith("title") else 18)
    glyphs.draw(L, glyph, x + (b.w - gs) / 2, y + (b.h - gs) / 2 + (0.5 if down and b.style != "title_close" else 0),
                gs, colour, t["stroke"])
    del hot


def draw_band(t, lay, state):
    W, H = lay["W"], lay["H"]
    L = draw.Layer(W + SPARE, H, fill=t["border"])
    R = t["window_radius"]
    L.rrect(0, 0, W, H, R, fill=t["border"])
    L.vgradient(1, 1, W - 2, H - 2, t["bg_top"], t["bg_bottom"], mask_r=R - 1)
    # A one-pixel light rim along the top edge gives the slab some depth.
    L.rrect(1, 1, W - 2, 3, R - 1, fill=draw.rgba(t["rim"], 40))
    L.vgradient(1, 3, W - 2, 4, t["bg_top"], t["bg_top"])
    for kind, x, y, w, h in lay["panels"]:
        L.rrect(x, y, w, h, t["radius"], fill=t["panel"], outline=t["panel_border"], width=1)
    tx, ty, tw, th = lay["tb"]
    groove = 4 if th >= 10 else 2
    L.rrect(tx, ty + (th - groove) / 2, tw, groove, groove / 2, fill=t["groove"])
    for glyph, gx, gy, gs in lay.get("marks", []):
        glyphs.draw(L, glyph, gx, gy, gs, t["text2"], 1.3)
    if lay["title"]:
        _, lx, ly = lay["title"]
        L.rrect(lx, ly, 18, 18, 5, fill=t["accent"])
        glyphs.draw(L, "logo", lx + 1, ly + 1, 16, t["on_accent"], 2.0)
    # The spare column has the window's own gradient, so the corners of a
    # round "active" picture match the window behind it.
    L.rect(W, 0, SPARE, H, t["border"])
    L.vgradient(W, 1, SPARE, H - 2, t["bg_top"], t["bg_bottom"])
    L.vgradient(W, 3, SPARE, 4, t["bg_top"], t["bg_top"])
    for b in lay["buttons"]:
        draw_button(L, t, b, state)
    sx = W + 4
    for b in lay["buttons"]:
        if b.active:
            draw_button(L, t, b, state, x=sx, glyph=b.active)
            b.active_at = (sx, b.y)
            sx += b.w + 4
    img = L.result()
    if lay["title"]:
        draw.text(img, lay["title"][1] + 26, lay["title"][2] + 9, "ZORVAK", draw.FONT_BOLD, 9, t["text2"],
                  anchor="lm", spacing=1.6)
    return img


def build(t, lay):
    """(bitmap image, skin file bytes, vis pictures) of one main skin state."""
    from PIL import Image
    W, H = lay["W"], lay["H"]
    bands = [draw_band(t, lay, s) for s in range(4)]
    bmp = Image.new("RGB", (W + SPARE, 4 * H))
    for i, band in enumerate(bands):
        bmp.paste(band.convert("RGB"), (0, i * H))

    controls = []
    for lab in lay["labels"]:
        block = [("name", lab.name), ("type", "control"), ("shape", "rect " + skn.rect(lab.x, lab.y, lab.w, lab.h)),
                 ("font", lab.font), ("color", lab.colour), ("justify", lab.justify),
                 ("color1", t["accent"]), ("color2", t["text2"]), ("shadow", "0"), ("shcolor", t["panel"])]
        if lab.fmt:
            block.append(("format", lab.fmt))
        controls.append(block)
    if lay["vis"]:
        controls.append([("name", "vis"), ("type", "control"), ("shape", "rect " + skn.rect(*lay["vis"]))])
    controls.append([("name", "tb"), ("type", "control"), ("shape", "rect " + skn.rect(*lay["tb"])),
                     ("color", t["accent"]), ("hicolor", t["accent_hot"]), ("bkcolor", t["groove"])])
    for b in lay["buttons"]:
        if b.style == "accent_round":
            pts = round_points(b.x + b.w / 2, b.y + b.h / 2, b.w / 2)
            shape = "polygon " + " ".join("%d %d" % (round(px), round(py)) for px, py in pts)
        else:
            shape = "rect " + skn.rect(b.x, b.y, b.w, b.h)
        block = [("name", b.name), ("action", b.name)]
        if b.name in ACTION1:
            block.append(("action1", ACTION1[b.name]))
        block += [("shape", shape), ("hint", HINTS[b.name])]
        if b.style == "accent_round":
            # The polygon's bounding box starts where the picture does.
            block.append(("normal", "%d %d %d %d" % (b.x, b.y, b.w, b.h)))
        if b.active:
            block.append(("active", "%d %d" % b.active_at))
        controls.append(block)
    hidden = []
    for name in lay["invis"]:
        block = [("name", name)]
        if name in BUTTONS:
            block.append(("action", name))
        else:
            block.append(("type", "control"))
        block += [("shape", "none"), ("invis", "1")]
        hidden.append(block)

    window = [("defsize", "%d %d" % (W, H)), ("minsize", "%d %d" % (W, H)),
              ("hilite", "0 %d" % H), ("down", "0 %d" % (2 * H)), ("hilitedown", "0 %d" % (3 * H)),
              ("region", " ".join("%d %d" % p for p in region(W, H, t["window_radius"])))]
    vis_rect = lay["vis"]
    bars = lay["bars"]
    nbars = 0
    pics = {}
    if vis_rect:
        pics, nbars = vispics.build(t, vis_rect[2], vis_rect[3], bars if t["vistype"] == "bitmap" else None)
    window += [("visbk", t["panel"]), ("visc1", t["visc"][0]), ("visc2", t["visc"][1]), ("visc3", t["visc"][2]),
               ("visc4", t["visc4"]), ("oscc1", t["oscc"][0]), ("oscc2", t["oscc"][1]), ("oscc3", t["oscc"][2]),
               ("vistype", t["vistype"] if vis_rect else "columns")]
    if nbars:
        window.append(("nbars", str(nbars)))
    header = ["Zorvak skin \"%s\", made by tools/skingen; do not edit by hand." % t["title"]]
    extra = {}
    if t.get("include_hidden") and hidden:
        # This skin keeps the controls its state does not show in a file of
        # their own, and wraps long values: both forms of the language.
        text = skn.write(controls, window, header=header, include="hidden.inc", wrap=96)
        extra["hidden.inc"] = skn.blocks(hidden)
    else:
        text = skn.write(controls + hidden, window, header=header)
    return bmp, text, pics, extra
