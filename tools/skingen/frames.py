"""The frame of the program's other windows ("window.bmp" with "window.skn",
"sizewin.skn" and "dialog.skn") and the pictures of the program's own
controls ("controls\\*.bmp", "misc\\confirm.bmp").

window.bmp holds the frame picture (160 x 120), right of it the size grip
of sizeable windows (16 x 16), and below them the title buttons: one row of four 20 x 20 pictures (normal,
hilite, down, hilitedown) per button. A frame is drawn in nine parts: the
corners as they are, the edges and the middle stretched; "upper" and
"lower" are the heights of the top and bottom parts, "sides" the widths of
the left and right ones.
"""
from PIL import Image

import draw
import glyphs
import skn
import themes

T = themes.DEFAULT
FW, FH = 160, 120
CAPTION = 28
EDGE = 6
BUTTON = 20
GRIP = 16
CLIENT = "181A20"
BUTTON_ROWS = ("close", "minimize", "rollup", "maximize")
BUTTON_GLYPHS = {"close": "close", "minimize": "minimize", "rollup": "rollup", "maximize": "maximize"}
HINTS = {"close": "Close", "minimize": "Minimize", "rollup": "Roll up", "maximize": "Maximize"}


def _frame():
    L = draw.Layer(FW, FH, fill=T["border"])
    L.rrect(0, 0, FW, FH, 8, fill=T["border"])
    L.vgradient(1, 1, FW - 2, FH - 2, T["bg_top"], T["bg_bottom"], mask_r=7)
    # The client area: flat, with a one-pixel rim, so that stretching the
    # middle and the edges keeps it clean at any size.
    L.rect(EDGE, CAPTION, FW - 2 * EDGE, FH - CAPTION - EDGE, T["rim"])
    L.rect(EDGE + 1, CAPTION + 1, FW - 2 * EDGE - 2, FH - CAPTION - EDGE - 2, CLIENT)
    L.rrect(10, 8, 12, 12, 3.5, fill=T["accent"])
    glyphs.draw(L, "logo", 10.5, 8.5, 11, T["on_accent"], 1.6)
    return L.result()


def _grip():
    L = draw.Layer(GRIP, GRIP, fill=CLIENT)
    for dx, dy in ((11, 5), (8, 8), (11, 8), (5, 11), (8, 11), (11, 11)):
        L.circle(dx + 0.5, dy + 0.5, 1.0, fill=T["text2"])
    return L.result()


def window_bmp():
    img = Image.new("RGB", (FW + GRIP, FH + BUTTON * len(BUTTON_ROWS)), draw.rgb(T["bg_top"]))
    img.paste(_frame().convert("RGB"), (0, 0))
    img.paste(_grip().convert("RGB"), (FW, 0))
    for row, name in enumerate(BUTTON_ROWS):
        for state in range(4):
            L = draw.Layer(BUTTON, BUTTON, fill=T["bg_top"])
            if name == "close":
                bg = (None, T["close_hover"], T["close_down"], T["close_down"])[state]
                colour = T["glyph"] if state == 0 else "FFFFFF"
            else:
                bg = (None, T["hover"], T["press"], T["press_hover"])[state]
                colour = (T["glyph"], T["glyph_hot"], T["accent"], T["accent"])[state]
            if bg:
                L.rrect(0, 0, BUTTON, BUTTON, T["radius"], fill=bg)
            glyphs.draw(L, BUTTON_GLYPHS[name], 3, 3, 14, colour, T["stroke"])
            img.paste(L.result().convert("RGB"), (state * BUTTON, FH + row * BUTTON))
    return img


def frame_skn(kind):
    """kind: "window", "sizewin" or "dialog"."""
    names = {"window": ("minimize", "rollup", "close"), "sizewin": ("minimize", "maximize", "rollup", "close"),
             "dialog": ("close",)}[kind]
    controls = []
    right = 6 + BUTTON * len(names) + 2 * (len(names) - 1)
    for i, name in enumerate(names):
        row = BUTTON_ROWS.index(name)
        far = right - i * (BUTTON + 2)
        y = FH + row * BUTTON
        controls.append([("name", name), ("action", name), ("shape", "rect !%d 4 %d %d" % (far, BUTTON, BUTTON)),
                         ("hint", HINTS[name]),
                         ("normal", "0 %d" % y), ("hilite", "%d %d" % (BUTTON, y)),
                         ("down", "%d %d" % (2 * BUTTON, y)), ("hilitedown", "%d %d" % (3 * BUTTON, y))])
    # The caption strip moves the window.
    controls.insert(0, [("name", "caption"), ("action", "caption"), ("type", "button"), ("fill", "none"),
                        ("shape", "rect 0 0 !0 %d" % CAPTION)])
    window = [("frame", "0 0 %d %d" % (FW, FH)), ("upper", str(CAPTION + 1)), ("lower", "8"),
              ("sides", "28 8"),
              ("client", "%d %d !%d !%d" % (EDGE + 1, CAPTION + 1, EDGE + 1, EDGE + 1)),
              ("caption", "30 4 !%d 20" % (right + 4)), ("font", '"Tahoma" 8 b'), ("color", T["text"]),
              ("clientcolor", CLIENT), ("textcolor", T["text"]), ("rollup", str(CAPTION)),
              ("minsize", "%d %d" % (160, CAPTION + 2 * EDGE + 20))]
    if kind == "sizewin":
        window.append(("grip", "%d 0 %d %d" % (FW, GRIP, GRIP)))
    return skn.write(controls, window, header=["Zorvak frame skin, made by tools/skingen; do not edit by hand."])


# The program's own controls ----------------------------------------------

def button_bmp():
    """Five rows of 72 x 24 (normal, hilite, down, hilitedown, disabled); corners 6."""
    w, h = 72, 24
    img = Image.new("RGB", (w, 5 * h))
    looks = (("2A2E37", "3A3F4A"), ("343945", "4A505C"), ("1C1F25", T["accent"]), ("252930", T["accent"]),
             ("1F2228", "2A2E36"))
    for i, (fill, outline) in enumerate(looks):
        L = draw.Layer(w, h, fill="181A20")
        L.rrect(0, 0, w, h, T["radius"], fill=fill, outline=outline, width=1)
        img.paste(L.result().convert("RGB"), (0, i * h))
    return img


def check_bmp():
    """16 x 16 cells: columns unchecked, checked; rows normal, hilite, down, hilitedown, disabled."""
    c = 16
    img = Image.new("RGB", (2 * c, 5 * c))
    for row in range(5):
        for col in range(2):
            L = draw.Layer(c, c, fill="181A20")
            on = col == 1
            if row == 4:
                fill, outline = ("2A2E36", "2A2E36") if on else ("1F2228", "2E333C")
            elif on:
                fill = (T["accent"], T["accent_hot"], T["accent_down"], T["accent_hotdown"])[row]
                outline = fill
            else:
                fill = ("1F2228", "262A32", "16181D", "1D2026")[row]
                outline = ("4A505C", "6A717E", T["accent"], T["accent"])[row]
            L.rrect(1, 1, 14, 14, 3.5, fill=fill, outline=outline, width=1.3)
            if on:
                glyph_c = "6A717E" if row == 4 else T["on_accent"]
                L.stroke([(4.5, 8.2), (7, 10.7), (11.6, 5.6)], 1.8, glyph_c)
            img.paste(L.result().convert("RGB"), (col * c, row * c))
    return img


def knob_bmp():
    """32 x 32 frames: 32 positions from minimum to maximum (270 degrees) in a row;
    rows normal, hilite, down, hilitedown."""
    import math
    s, n = 32, 32
    img = Image.new("RGB", (s * n, 4 * s))
    for row in range(4):
        for i in range(n):
            L = draw.Layer(s, s, fill="181A20")
            a0, a1 = 135, 135 + 270 * i / (n - 1)
            L.arc(16, 16, 13, 135, 405, 2.2, "2B303A")
            if i:
                L.arc(16, 16, 13, a0, a1, 2.2, (T["accent"], T["accent_hot"], T["accent_down"], T["accent_hotdown"])[row])
            body = ("2A2E37", "343945", "1F2228", "2A2E37")[row]
            L.circle(16, 16, 9.5, fill=body, outline="3A3F4A", width=1)
            a = math.radians(a1)
            L.stroke([(16 + 3 * math.cos(a), 16 + 3 * math.sin(a)), (16 + 7 * math.cos(a), 16 + 7 * math.sin(a))],
                     1.8, T["text"])
            img.paste(L.result().convert("RGB"), (i * s, row * s))
    return img


def slider_bk(horizontal):
    """The slider track: 12 wide and 64 long (ends of 6 pixels are kept when stretched)."""
    w, h = (64, 12) if horizontal else (12, 64)
    L = draw.Layer(w, h, fill="181A20")
    if horizontal:
        L.rrect(2, 4, w - 4, 4, 2, fill="2B303A")
    else:
        L.rrect(4, 2, 4, h - 4, 2, fill="2B303A")
    return L.result().convert("RGB")


def slider_th(horizontal):
    """Thumb pictures in a row: normal, hilite, down, hilitedown. A horizontal
    slider's thumb is 12 x 20, a vertical slider's 20 x 12."""
    w, h = (12, 20) if horizontal else (20, 12)
    img = Image.new("RGB", (4 * w, h))
    for state in range(4):
        L = draw.Layer(w, h, fill="181A20")
        fill = ("D9DDE3", "FFFFFF", T["accent"], T["accent_hot"])[state]
        L.rrect(1, 1, w - 2, h - 2, 4, fill=fill, outline="0D0E12", width=1)
        if horizontal:
            L.stroke([(w / 2, 6), (w / 2, h - 6)], 1.2, "6A717E")
        else:
            L.stroke([(6, h / 2), (w - 6, h / 2)], 1.2, "6A717E")
        img.paste(L.result().convert("RGB"), (state * w, 0))
    return img


def confirm_bmp():
    """The auto-play question's picture: a disc, 64 x 64, on the client colour."""
    s = 64
    L = draw.Layer(s, s, fill="181A20")
    L.circle(32, 32, 28, fill="C9D2DC")
    L.circle(32, 32, 27, fill="E4EAF0")
    L.arc(32, 32, 20, 200, 250, 3, "FFFFFF")
    L.arc(32, 32, 16, 20, 70, 3, draw.mix("E4EAF0", T["accent"], 0.5))
    L.circle(32, 32, 9, fill=T["accent"])
    L.circle(32, 32, 4, fill="181A20")
    L.rrect(40, 40, 22, 22, 6, fill=T["accent"])
    glyphs.draw(L, "play", 42, 42, 18, T["on_accent"], 1.6)
    return L.result().convert("RGB")


def controls():
    return {
        "controls/button.bmp": button_bmp(), "controls/knob.bmp": knob_bmp(), "controls/check.bmp": check_bmp(),
        "controls/slider_bk.bmp": slider_bk(False), "controls/slider_bkh.bmp": slider_bk(True),
        "controls/slider_th.bmp": slider_th(False), "controls/slider_thh.bmp": slider_th(True),
        "controls/filekinds.bmp": file_kinds_bmp(), "misc/confirm.bmp": confirm_bmp(),
    }


# The "Open file" dialog's list: one 16 x 16 picture per kind of entry.
FILE_KINDS = ("folder", "media", "playlist")
LIST_BACK = "1D1F24"  # the dialog's field colour (the control face darkened by 35 %)
MAGENTA = (255, 0, 255)


def _file_kind(kind):
    L = draw.Layer(16, 16)
    if kind == "folder":
        # A filled folder: the tab behind, the front lighter.
        L.rrect(1, 3, 6.5, 3, 1, fill="C98F2E")
        L.rrect(1, 4.5, 14, 9.5, 1.5, fill="C98F2E")
        L.rrect(1, 6, 14, 8, 1.5, fill="F0BE5A")
    elif kind == "media":
        # A note on a round teal badge: a file that plays.
        L.circle(8, 8, 7.2, fill=T["accent"])
        glyphs.draw(L, "note", 2.6, 2.8, 10.8, T["on_accent"], 1.5)
    else:
        # A sheet with list lines: a playlist.
        L.rrect(2, 1, 12, 14, 2, fill="E4E8EE")
        for y in (4.5, 8, 11.5):
            L.circle(5, y, 1.1, fill="6D5DF0")
            L.rrect(7, y - 0.8, 5, 1.6, 0.8, fill="6D5DF0")
    return L.result()


def file_kinds_bmp():
    """The list's pictures in the order of FILE_KINDS on magenta (transparent
    for the program); edge pixels are blended towards the list's field."""
    img = Image.new("RGB", (16 * len(FILE_KINDS), 16), MAGENTA)
    for i, kind in enumerate(FILE_KINDS):
        cell = _file_kind(kind)
        face = Image.new("RGBA", (16, 16), draw.rgba(LIST_BACK))
        face.alpha_composite(cell)
        mask = cell.getchannel("A").point(lambda a: 255 if a >= 64 else 0)
        img.paste(face.convert("RGB"), (16 * i, 0), mask)
    return img
