#!/usr/bin/python3
"""Properties of the shipped skins and of the generator that draws them.

    skins_check.py --root <root> --generator tools/skingen/skingen.py

Reads the skin files with a reader of its own (not the generator's), so a
generator that writes what it does not mean is caught: every picture a skin
names lies inside its bitmap, every control the main window looks up is in
both skins and both states with the command it must run, and the display
pictures match the display panel. The generator must give the same bytes on
two runs.
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = None
GENERATOR = None

# The main window finds these controls by name; buttons run their name as a
# command when "action" is absent, so the action is checked as the loader
# resolves it.
LABELS = ("l1", "l2", "pos", "total", "pltotal")
CHILDREN = LABELS + ("vis", "tb")
BUTTON_ACTIONS = {
    "toggleplay": "toggleplay", "prev": "prev", "next": "next", "prevpl": "prevpl", "nextpl": "nextpl",
    "openmenu": "openmenu", "favmenu": "favmenu", "plmenu": "plmenu", "seqmenu": "seqmenu",
    "toolsmenu": "toolsmenu", "eq": "eq", "minimize": "minimize", "close": "close", "rollup": "rollup",
}
# Commands the main window knows (prefix commands end in ":").
COMMANDS = set(BUTTON_ACTIONS.values()) | {
    "fadetoggleplay", "l1menu", "l2menu", "openfile", "addfav_file", "addfav_dir", "editcpl", "shuffle",
    "loop1", "loop2", "setup", "hideall", "sysmenu", "info", "timer", "play", "stop"}
COMMAND_PREFIXES = ("rewind:", "forward:")
# A state the user cannot leave would be a trap: each state shows these.
ALWAYS_VISIBLE = ("toggleplay", "rollup", "close", "l2", "pos", "tb")


# An independent reader of the skin file language ------------------------------

def logical_lines(path, depth=0):
    assert depth < 8, "include chain too deep at " + path
    with open(path, "rb") as f:
        physical = f.read().decode("cp1252").splitlines()
    out, i = [], 0
    while i < len(physical):
        line = physical[i].strip()
        i += 1
        if line.startswith("INC:"):
            out += logical_lines(os.path.join(os.path.dirname(path), line[4:].strip()), depth + 1)
            continue
        while line.endswith("\\") and i < len(physical):
            line = line[:-1] + " " + physical[i].strip()
            i += 1
        out.append(line.strip())
    return out


def split_words(value):
    """Words split at blanks; a run in double quotes is one word, "" inside it one quote."""
    out = []
    for m in re.finditer(r'"((?:[^"]|"")*)"|(\S+)', value or ""):
        out.append(m.group(1).replace('""', '"') if m.group(1) is not None else m.group(2))
    return out


def num(word):
    far = word.startswith("!")
    w = word[1:] if far else word
    for prefix, base in (("#", 16), ("$", 16), ("0x", 16), ("0X", 16)):
        if w.startswith(prefix):
            w = w[len(prefix):]
            break
    else:
        base = 10
    try:
        return int(w, base), far
    except ValueError:
        return 0, far


def attrs(lines):
    out = {}
    for line in lines:
        if "=" in line:
            k, v = line.split("=", 1)
            out.setdefault(k.strip(), v.strip())
    return out


def read_skin(path):
    lines = logical_lines(path)
    assert ".." in lines, path + ": no window section"
    cut = lines.index("..")
    blocks, cur = [], []
    for line in lines[:cut] + ["."]:
        if line == ".":
            blocks.append(attrs(cur))
            cur = []
        else:
            cur.append(line)
    return [b for b in blocks if b], attrs(lines[cut + 1:])


def bmp_info(path):
    """(width, height, bits) of an uncompressed BMP, as the engine accepts it."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:2] == b"BM", path
    size, = struct.unpack_from("<I", data, 14)
    w, h, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    assert size >= 40 and planes == 1 and compression == 0 and bits in (8, 24), path
    stride = (w * bits + 31) // 32 * 4
    offset, = struct.unpack_from("<I", data, 10)
    assert offset + stride * abs(h) <= len(data), path + ": pixels past the end"
    return w, abs(h), bits, data


def bmp_pixel(info, x, y):
    w, h, bits, data = info
    assert bits == 24
    stride = (w * 3 + 3) // 4 * 4
    offset, = struct.unpack_from("<I", data, 10)
    raw_h, = struct.unpack_from("<i", data, 22)
    row = h - 1 - y if raw_h > 0 else y
    b, g, r = data[offset + row * stride + 3 * x: offset + row * stride + 3 * x + 3]
    return r << 16 | g << 8 | b


def control_rect(ctl, W, H):
    shape = ctl.get("shape", "full")
    if shape == "none":
        return "rect", (0, 0, 0, 0), []
    if shape == "full":
        shape = "rect 0 0 !0 !0"
    ws = split_words(shape)
    if ws[0] == "polygon":
        pts = [num(w)[0] for w in ws[1:]]
        assert len(ws[1:]) % 2 == 0, "odd polygon word count: " + shape
        xs, ys = pts[0::2], pts[1::2]
        return "polygon", (min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys)), list(zip(xs, ys))
    if ws[0] == "rect":
        ws = ws[1:]
    assert len(ws) == 4, "rectangle needs four words: " + shape
    (x, fx), (y, fy), (w, fw), (h, fh) = [num(v) for v in ws]
    x = W - x if fx else x
    y = H - y if fy else y
    w = W - w - x if fw else w
    h = H - h - y if fh else h
    return "rect", (x, y, w, h), []


def pictures(ctl, window, W, H):
    """Source rectangles of the four states (fill bitmap), as the loader resolves them."""
    _, (x, y, w, h), _ = control_rect(ctl, W, H)

    def offset(key, default):
        ws = [num(v)[0] for v in split_words(window.get(key, default))]
        return ws[0], ws[1]
    base = None
    out = []
    for state, key in enumerate(("normal", "hilite", "down", "hilitedown")):
        if key in ctl:
            ws = [num(v)[0] for v in split_words(ctl[key])]
            rect = tuple(ws) if len(ws) == 4 else (ws[0], ws[1], w, h)
        else:
            if state == 0:
                rect = (x, y, w, h)
            else:
                down = offset("down", "0 0")
                dx, dy = {1: offset("hilite", "0 0"), 2: down,
                          3: offset("hilitedown", window.get("down", "0 0"))}[state]
                if state == 3 and (dx, dy) == (0, 0):
                    dx, dy = down
                rect = (base[0] + dx, base[1] + dy, base[2], base[3])
        if state == 0:
            base = rect
        out.append(rect)
    return out


def inside(rect, w, h):
    x, y, rw, rh = rect
    return x >= 0 and y >= 0 and rw >= 0 and rh >= 0 and x + rw <= w and y + rh <= h


def skin_files(root):
    out = []
    for folder, dirs, files in os.walk(os.path.join(root, "skins")):
        dirs.sort()
        out += [os.path.join(folder, f) for f in sorted(files) if f.endswith(".skn")]
    return out


def main_skin_folders(root):
    skins = os.path.join(root, "skins")
    out = []
    for name in sorted(os.listdir(skins)):
        if os.path.isfile(os.path.join(skins, name, "main.skn")):
            out += [os.path.join(skins, name), os.path.join(skins, name, "mini")]
    return out


# Tests --------------------------------------------------------------------

class EverySkinFile(unittest.TestCase):
    def test_there_are_two_main_skins_and_the_three_frames(self):
        folders = main_skin_folders(ROOT)
        self.assertIn(os.path.join(ROOT, "skins", "default"), folders)
        self.assertGreaterEqual(len(folders), 4, "a second skin with its mini state")
        for frame in ("window.skn", "sizewin.skn", "dialog.skn"):
            self.assertTrue(os.path.isfile(os.path.join(ROOT, "skins", frame)), frame)

    def test_pictures_lie_inside_the_bitmap_and_controls_inside_the_window(self):
        for path in skin_files(ROOT):
            with self.subTest(skin=os.path.relpath(path, ROOT)):
                controls, window = read_skin(path)
                bitmap = os.path.join(os.path.dirname(path),
                                      "main.bmp" if os.path.basename(path) == "main.skn" else "window.bmp")
                bw, bh, _, _ = bmp_info(bitmap)
                if "defsize" in window:
                    W, H = [num(v)[0] for v in split_words(window["defsize"])]
                else:
                    W, H = 200, 150  # frames: any size above their minimum
                self.assertTrue(controls)
                for ctl in controls:
                    kind, rect, pts = control_rect(ctl, W, H)
                    if kind == "polygon":
                        self.assertGreaterEqual(len(pts), 3, ctl)
                    self.assertTrue(inside(rect, W, H), "%s outside the window: %s" % (ctl.get("name"), rect))
                    typ = ctl.get("type")
                    fill = ctl.get("fill", "none" if typ == "control" else "bitmap")
                    if fill != "bitmap" or rect[2] == 0:
                        continue
                    for state, pic in enumerate(pictures(ctl, window, W, H)):
                        self.assertTrue(inside(pic, bw, bh), "%s state %d: %s not in %dx%d"
                                        % (ctl.get("name"), state, pic, bw, bh))
                    if "active" in ctl:
                        ax, ay = [num(v)[0] for v in split_words(ctl["active"])]
                        self.assertTrue(inside((ax, ay + 3 * H, rect[2], rect[3]), bw, bh), ctl["name"])
                if "region" in window:
                    ws = split_words(window["region"])
                    self.assertEqual(len(ws) % 2, 0)
                    self.assertGreaterEqual(len(ws) // 2, 3)
                    for i in range(0, len(ws), 2):
                        self.assertTrue(0 <= num(ws[i])[0] <= W and 0 <= num(ws[i + 1])[0] <= H)

    def test_frames_have_a_client_area_caption_font_and_close_button(self):
        for frame in ("window.skn", "sizewin.skn", "dialog.skn"):
            controls, window = read_skin(os.path.join(ROOT, "skins", frame))
            for key in ("client", "caption", "font"):
                self.assertIn(key, window, frame)
            names = [c.get("name") for c in controls]
            self.assertIn("close", names, frame)
            for c in controls:
                if c.get("name") in ("close", "minimize", "rollup", "maximize"):
                    self.assertEqual(c.get("action", c["name"]), c["name"])
        sizewin = [c.get("name") for c in read_skin(os.path.join(ROOT, "skins", "sizewin.skn"))[0]]
        self.assertIn("maximize", sizewin)


class MainSkins(unittest.TestCase):
    def test_every_named_control_is_in_both_skins_and_both_states(self):
        for folder in main_skin_folders(ROOT):
            with self.subTest(folder=os.path.relpath(folder, ROOT)):
                controls, window = read_skin(os.path.join(folder, "main.skn"))
                W, H = [num(v)[0] for v in split_words(window["defsize"])]
                by_name = {}
                for c in controls:
                    self.assertNotIn(c.get("name"), by_name, "two controls named %s" % c.get("name"))
                    by_name[c.get("name")] = c
                for name in CHILDREN:
                    self.assertTrue(name in by_name, "no control named " + name)
                    self.assertEqual(by_name[name].get("type"), "control", name)
                for name, action in BUTTON_ACTIONS.items():
                    self.assertTrue(name in by_name, "no control named " + name)
                    self.assertEqual(by_name[name].get("action", name), action)
                    self.assertNotIn(by_name[name].get("type"), ("simple", "header", "control"), name)
                for name in ALWAYS_VISIBLE:
                    c = by_name[name]
                    self.assertNotEqual(c.get("invis"), "1", name)
                    self.assertGreater(control_rect(c, W, H)[1][2], 0, name)
                for c in controls:
                    for key in ("action", "action1"):
                        if key in c:
                            cmd = c[key]
                            self.assertTrue(cmd in COMMANDS or cmd.startswith(COMMAND_PREFIXES), cmd)

    def test_visible_controls_do_not_overlap(self):
        # Hit testing takes the last control under the mouse: two visible
        # controls sharing pixels would hide one from the user.
        for folder in main_skin_folders(ROOT):
            controls, window = read_skin(os.path.join(folder, "main.skn"))
            W, H = [num(v)[0] for v in split_words(window["defsize"])]
            rects = [(c["name"], control_rect(c, W, H)[1]) for c in controls if c.get("invis") != "1"]
            for i, (na, a) in enumerate(rects):
                for nb, b in rects[i + 1:]:
                    overlap = a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]
                    self.assertFalse(overlap, "%s: %s and %s overlap" % (folder, na, nb))

    def test_display_values_and_pictures_fit_the_vis_panel(self):
        for folder in main_skin_folders(ROOT):
            with self.subTest(folder=os.path.relpath(folder, ROOT)):
                controls, window = read_skin(os.path.join(folder, "main.skn"))
                W, H = [num(v)[0] for v in split_words(window["defsize"])]
                for key in ("visbk", "visc1", "visc2", "visc3", "visc4", "oscc1", "oscc2", "oscc3"):
                    self.assertRegex(window.get(key, ""), r"^[0-9A-Fa-f]{6}$", key)
                vis = [c for c in controls if c.get("name") == "vis"][0]
                _, (x, y, w, h), _ = control_rect(vis, W, H)
                if vis.get("invis") == "1" or w == 0:
                    continue
                inactive = bmp_info(os.path.join(folder, "inactive.bmp"))
                self.assertEqual(inactive[:2], (w, h), "inactive.bmp must have the panel's size")
                if window.get("vistype") != "bitmap":
                    continue
                nbars = int(window["nbars"])
                self.assertTrue(1 <= nbars <= 256)
                mask = bmp_info(os.path.join(folder, "mask.bmp"))
                active = bmp_info(os.path.join(folder, "active.bmp"))
                self.assertEqual(mask[:2], (w, h))
                self.assertEqual(active[:2], (w, h))
                seen = set()
                for yy in range(h):
                    for xx in range(w):
                        m = bmp_pixel(mask, xx, yy)
                        bar, right, threshold = m >> 16, (m >> 15) & 1, m & 255
                        if bar == 255:
                            continue
                        self.assertLess(bar, nbars)
                        # A pixel lit at silence (threshold 0 of a quiet bar
                        # is never "below the level") would flicker.
                        self.assertGreater(threshold, 0)
                        seen.add((bar, right))
                # Both channels show the same bars, numbered from 0 without holes.
                left = sorted(b for b, c in seen if c == 0)
                self.assertEqual(left, list(range(len(left))))
                self.assertEqual(seen, {(b, c) for b in left for c in (0, 1)})
                self.assertGreaterEqual(len(left), 8)

    def test_time_formats_are_plain_minute_second_formats(self):
        for folder in main_skin_folders(ROOT):
            controls, _ = read_skin(os.path.join(folder, "main.skn"))
            for c in controls:
                if c.get("name") in ("pos", "total", "pltotal") and c.get("invis") != "1":
                    fmt = c.get("format", "")
                    convs = re.findall(r"%[^%]*?[a-zA-Z]|%%", fmt)
                    self.assertTrue(convs, c["name"])
                    for conv in convs:
                        self.assertRegex(conv, r"^%(0?\d?|\.\d)d$|^%%$", fmt)

    def test_labels_have_font_and_colours(self):
        for folder in main_skin_folders(ROOT):
            controls, _ = read_skin(os.path.join(folder, "main.skn"))
            for c in controls:
                if c.get("name") in LABELS and c.get("invis") != "1":
                    ws = split_words(c["font"])
                    self.assertGreaterEqual(len(ws), 2, c["font"])
                    self.assertTrue(6 <= int(ws[1]) <= 30)
                    for key in ("color", "color1", "color2"):
                        self.assertRegex(c.get(key, ""), r"^[0-9A-Fa-f]{6}$")


class ControlPictures(unittest.TestCase):
    def test_control_and_confirm_pictures_are_readable_bitmaps(self):
        for name in ("controls/button.bmp", "controls/knob.bmp", "controls/check.bmp", "controls/slider_bk.bmp",
                     "controls/slider_bkh.bmp", "controls/slider_th.bmp", "controls/slider_thh.bmp",
                     "misc/confirm.bmp"):
            w, h, _, _ = bmp_info(os.path.join(ROOT, "skins", *name.split("/")))
            self.assertGreater(w * h, 0, name)


class Generator(unittest.TestCase):
    def test_two_runs_give_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as tmp:
            trees = []
            for run in ("a", "b"):
                base = os.path.join(tmp, run)
                subprocess.run([sys.executable, GENERATOR, "--skins", os.path.join(base, "skins"),
                                "--resources", os.path.join(base, "res")], check=True, timeout=300)
                files = {}
                for folder, dirs, names in os.walk(base):
                    for n in names:
                        p = os.path.join(folder, n)
                        with open(p, "rb") as f:
                            files[os.path.relpath(p, base)] = f.read()
                trees.append(files)
            self.assertEqual(sorted(trees[0]), sorted(trees[1]))
            for name in trees[0]:
                self.assertEqual(trees[0][name], trees[1][name], name)
            # What the build installed is what the generator makes.
            for name, data in trees[0].items():
                if name.startswith("skins" + os.sep):
                    with open(os.path.join(ROOT, name), "rb") as f:
                        self.assertEqual(f.read(), data, name)


if __name__ == "__main__":
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", required=True)
    ap.add_argument("--generator", required=True)
    a, rest = ap.parse_known_args()
    ROOT, GENERATOR = a.root, a.generator
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=1)
