"""Preview pictures for people: each main skin state composed the way the
program composes it (from the skin file and its bitmaps, with sample text,
a playing display and one hot and one pressed button), and contact sheets
of every other bitmap. Labels use DejaVu Sans at the pixel size of the
skin's font, so text widths are close to, not the same as, the program's.
"""
import math
import os

from PIL import Image, ImageDraw

import draw
import skn

SAMPLE = {"l1": "Nordlys Ensemble \u2013 Harbour Lights (2024)", "l2": "07. Slow Tide Over Vesterhavet",
          "pos": "2:47", "total": "4:31", "pltotal": "1:12:05"}
SCALE = 2


def _font_px(font_value):
    ws = skn.words(font_value)
    pt = int(ws[1]) if len(ws) > 1 else 8
    bold = len(ws) > 2 and "b" in ws[2]
    return int(round(pt * 96 / 72)), bold


def _bars(mask, active, inactive, nbars, t):
    out = inactive.copy()
    mp, ap, op = mask.load(), active.load(), out.load()
    levels = {}
    for ch in (0, 1):
        for i in range(nbars):
            v = 200 * math.exp(-i / (nbars * 0.55)) * (0.75 + 0.25 * math.sin(i * 1.7 + ch * 2.1)) + 30
            levels[ch, i] = int(v)
    for y in range(out.height):
        for x in range(out.width):
            r, g, b = mp[x, y]
            if r < nbars and b < levels[(g >> 7) & 1, r]:
                op[x, y] = ap[x, y]
    return out


def _columns(inactive, t):
    out = inactive.copy()
    d = ImageDraw.Draw(out)
    w, h = out.size
    c = w // 2
    for dx in range(c):
        lev = (h / 2 - 1) * math.exp(-dx / (w * 0.22)) * (0.7 + 0.3 * abs(math.sin(dx * 0.37)))
        for x in (c - dx, c + dx):
            for e in range(int(lev)):
                k = e / max(1, h / 2 - 1)
                col = draw.mix(t["visc"][0], t["visc"][1], min(1, k * 2)) if k < 0.5 else draw.mix(t["visc"][1], t["visc"][2], (k - 0.5) * 2)
                d.point((x, h // 2 - e), fill=col)
                d.point((x, h // 2 + e), fill=col)
    return out


def compose(folder, t, hot=None, pressed=None, playing=True):
    sk = skn.Skin(os.path.join(folder, "main.skn"))
    bmp = Image.open(os.path.join(folder, "main.bmp")).convert("RGB")
    W, H = sk.size()
    img = bmp.crop((0, 0, W, H))
    for ctl in sk.controls:
        if ctl.get("invis") == "1":
            continue
        name = ctl.get("name")
        x, y, w, h = sk.shape_rect(ctl, W, H)
        if ctl.get("type") == "control":
            if name == "vis":
                ina = Image.open(os.path.join(folder, "inactive.bmp")).convert("RGB")
                if not playing:
                    pic = ina
                elif sk.window.get("vistype") == "bitmap":
                    pic = _bars(Image.open(os.path.join(folder, "mask.bmp")).convert("RGB"),
                                Image.open(os.path.join(folder, "active.bmp")).convert("RGB"), ina,
                                int(sk.window["nbars"]), t)
                else:
                    pic = _columns(ina, t)
                img.paste(pic, (x, y))
            elif name == "tb" and playing:
                d = ImageDraw.Draw(img)
                groove = 4 if h >= 10 else 2
                gy = y + (h - groove) / 2
                d.rounded_rectangle([x, gy, x + int(w * 0.62), gy + groove - 1], radius=groove / 2,
                                    fill=draw.rgb(ctl["color"]))
            elif name in SAMPLE:
                px, bold = _font_px(ctl["font"])
                path = draw.FONT_BOLD if bold else draw.FONT_REGULAR
                f = draw.font(path, px)
                text = SAMPLE[name] if playing or name not in ("pos", "total") else "\u2013\u2013:\u2013\u2013"
                dd = ImageDraw.Draw(img)
                while dd.textlength(text, font=f) > w and len(text) > 4:
                    text = text[:-2]
                    if dd.textlength(text + "...", font=f) <= w:
                        text += "..."
                        break
                j = ctl.get("justify", "l")
                tw = dd.textlength(text, font=f)
                tx = x + (w - tw - 2 if j == "r" else (w - tw) / 2 if j == "c" else 0)
                dd.text((tx, y + h / 2), text, font=f, fill=draw.rgb(ctl["color"]), anchor="lm")
            continue
        state = 0
        if name == hot:
            state = 1
        if name == pressed:
            state = 2
        if "active" in ctl and playing:
            ax, ay = [int(v) for v in skn.words(ctl["active"])]
            sx, sy, sw, sh = sk.picture(dict(ctl, normal="%d %d" % (ax, ay)), state, W, H)
        else:
            sx, sy, sw, sh = sk.picture(ctl, state, W, H)
        if state or ("active" in ctl and playing):
            img.paste(bmp.crop((sx, sy, sx + sw, sy + sh)), (x, y))
    return img


def _framed(img, label, bg="808891"):
    pad = 12
    out = Image.new("RGB", (img.width + 2 * pad, img.height + 2 * pad + 18), draw.rgb(bg))
    out.paste(img, (pad, pad + 18))
    draw.text(out, pad, 12, label, draw.FONT_BOLD, 11, "FFFFFF", anchor="lm")
    return out


def stack(images, bg="5A616B", gap=10):
    w = max(i.width for i in images) + 2 * gap
    h = sum(i.height for i in images) + gap * (len(images) + 1)
    out = Image.new("RGB", (w, h), draw.rgb(bg))
    y = gap
    for i in images:
        out.paste(i, (gap, y))
        y += i.height + gap
    return out


def upscale(img, k=SCALE):
    return img.resize((img.width * k, img.height * k), Image.NEAREST)


def main_previews(skins_dir, out_dir, skins):
    written = []
    for t in skins:
        parts = []
        for state, sub in (("full", ""), ("mini", "mini")):
            folder = os.path.join(skins_dir, t["folder"], sub) if sub else os.path.join(skins_dir, t["folder"])
            quiet = compose(folder, t, playing=False)
            busy = compose(folder, t, hot="next", pressed="eq" if state == "full" else "close")
            parts.append(_framed(quiet, "%s, %s window, stopped" % (t["title"], state)))
            parts.append(_framed(busy, "%s, %s window, playing; 'next' hot, one button pressed" % (t["title"], state)))
            raw = Image.open(os.path.join(folder, "main.bmp")).convert("RGB")
            parts.append(_framed(raw, "%s, %s: main.bmp (normal, hilite, down, hilitedown bands; spare column)"
                                 % (t["title"], state)))
        sheet = stack(parts)
        path = os.path.join(out_dir, "main-%s.png" % t["folder"])
        sheet.save(path, optimize=False)
        written.append(path)
        for state, sub in (("full", ""), ("mini", "mini")):
            folder = os.path.join(skins_dir, t["folder"], sub) if sub else os.path.join(skins_dir, t["folder"])
            p = os.path.join(out_dir, "main-%s-%s-2x.png" % (t["folder"], state))
            upscale(compose(folder, t, hot="next")).save(p, optimize=False)
            written.append(p)
    return written


def sheet(named_images, path, bg="5A616B", scale=SCALE):
    parts = [_framed(upscale(img, scale), name) for name, img in named_images]
    # Lay the parts out in rows no wider than 1400 pixels.
    rows, row, width = [], [], 0
    for p in parts:
        if row and width + p.width > 1400:
            rows.append(row)
            row, width = [], 0
        row.append(p)
        width += p.width + 10
    if row:
        rows.append(row)
    row_imgs = []
    for r in rows:
        w = sum(p.width for p in r) + 10 * (len(r) - 1)
        h = max(p.height for p in r)
        im = Image.new("RGB", (w, h), draw.rgb(bg))
        x = 0
        for p in r:
            im.paste(p, (x, 0))
            x += p.width + 10
        row_imgs.append(im)
    stack(row_imgs, bg).save(path, optimize=False)
    return path


def frame_preview(skins_dir, kind, w, h, title):
    """A window of w x h drawn from a frame skin: nine-part frame, buttons, caption."""
    sk = skn.Skin(os.path.join(skins_dir, kind + ".skn"))
    bmp = Image.open(os.path.join(skins_dir, "window.bmp")).convert("RGB")
    fx, fy, fw, fh = [int(v) for v in skn.words(sk.window["frame"])]
    up, lo = int(sk.window["upper"]), int(sk.window["lower"])
    left, right = [int(v) for v in skn.words(sk.window["sides"])]
    out = Image.new("RGB", (w, h))
    xs = [(0, left, 0, left), (left, fw - right, left, w - right), (fw - right, fw, w - right, w)]
    ys = [(0, up, 0, up), (up, fh - lo, up, h - lo), (fh - lo, fh, h - lo, h)]
    for sx0, sx1, dx0, dx1 in xs:
        for sy0, sy1, dy0, dy1 in ys:
            part = bmp.crop((fx + sx0, fy + sy0, fx + sx1, fy + sy1)).resize((dx1 - dx0, dy1 - dy0), Image.NEAREST)
            out.paste(part, (dx0, dy0))
    if "grip" in sk.window:
        gx, gy, gw, gh = [int(v) for v in skn.words(sk.window["grip"])]
        out.paste(bmp.crop((gx, gy, gx + gw, gy + gh)), (w - gw - 8, h - gh - 8))
    for ctl in sk.controls:
        if ctl.get("fill") == "none":
            continue
        x, y, cw, ch = sk.shape_rect(ctl, w, h)
        sx, sy, sw, shh = sk.picture(ctl, 0, w, h)
        out.paste(bmp.crop((sx, sy, sx + sw, sy + shh)), (x, y))
    cx, cy, cw, ch = sk.shape_rect({"shape": "rect " + sk.window["caption"]}, w, h)
    px, bold = _font_px(sk.window["font"])
    draw.text(out, cx, cy + ch / 2, title, draw.FONT_BOLD if bold else draw.FONT_REGULAR, px,
              sk.window["color"], anchor="lm")
    return out
