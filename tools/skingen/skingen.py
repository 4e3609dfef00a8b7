#!/usr/bin/python3
"""Make every picture Zorvak ships: the skins under <root>/skins and the
program's resources (icons, image lists and the resource script).

    skingen.py --skins DIR --resources DIR [--previews DIR]

Same input, same bytes: nothing depends on the clock, the machine's fonts
(only DejaVu from fonts-dejavu-core is used) or the order of a directory.
"""
import argparse
import os
import sys

sys.dont_write_bytecode = True  # leave no cache files in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image  # noqa: E402

import bmpfile  # noqa: E402
import frames  # noqa: E402
import mainskin  # noqa: E402
import preview  # noqa: E402
import resources  # noqa: E402
import themes  # noqa: E402

SKINS = (
    (themes.DEFAULT, mainskin.default_full, mainskin.default_mini),
    (themes.DAYLIGHT, mainskin.daylight_full, mainskin.daylight_mini),
)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def make_skins(out):
    for theme, full, mini in SKINS:
        for sub, layout in (("", full), ("mini", mini)):
            folder = os.path.join(out, theme["folder"], sub) if sub else os.path.join(out, theme["folder"])
            bmp, text, pics, extra = mainskin.build(theme, layout(theme))
            write(os.path.join(folder, "main.bmp"), bmpfile.bmp24(bmp))
            write(os.path.join(folder, "main.skn"), text)
            for name in sorted(pics):
                write(os.path.join(folder, name), bmpfile.bmp24(pics[name]))
            for name in sorted(extra):
                write(os.path.join(folder, name), extra[name])
    write(os.path.join(out, "window.bmp"), bmpfile.bmp24(frames.window_bmp()))
    for kind in ("window", "sizewin", "dialog"):
        write(os.path.join(out, kind + ".skn"), frames.frame_skn(kind))
    for name, img in frames.controls().items():
        write(os.path.join(out, *name.split("/")), bmpfile.bmp24(img))


def make_resources(out):
    icons = resources.icons()
    for name, images in icons.items():
        write(os.path.join(out, name.lower() + ".ico"), bmpfile.ico(images))
    write(os.path.join(out, "main.bmp"), bmpfile.bmp24(resources.main_bmp()))
    write(os.path.join(out, "timer.bmp"), bmpfile.bmp24(resources.timer_bmp()))
    write(os.path.join(out, "zorvak.rc"), resources.rc_text(list(icons)).encode("ascii"))
    return icons


def make_previews(skins_dir, icons, out):
    os.makedirs(out, exist_ok=True)
    written = preview.main_previews(skins_dir, out, [s[0] for s in SKINS])
    def load(*parts):
        return Image.open(os.path.join(skins_dir, *parts)).convert("RGB")
    written.append(preview.sheet([("window.bmp", load("window.bmp"))] +
                                 [(n, load(*n.split("/"))) for n in sorted(frames.controls()) if "knob" not in n],
                                 os.path.join(out, "frames-and-controls.png")))
    written.append(preview.sheet([("window.skn, 300 x 180", preview.frame_preview(skins_dir, "window", 300, 180, "Timer")),
                                  ("sizewin.skn, 420 x 260", preview.frame_preview(skins_dir, "sizewin", 420, 260, "Playlist editor")),
                                  ("dialog.skn, 320 x 150", preview.frame_preview(skins_dir, "dialog", 320, 150, "Autoplay"))],
                                 os.path.join(out, "frames.png")))
    written.append(preview.sheet([("controls/knob.bmp (first 12 positions)", load("controls", "knob.bmp").crop((0, 0, 384, 128)))],
                                 os.path.join(out, "knob.png")))
    tiles = [("MAIN", resources.main_bmp()), ("TIMER", resources.timer_bmp())]
    for name, images in icons.items():
        for im in images:
            if im.size[0] <= 48:
                tile = Image.new("RGBA", im.size, draw_rgba("1D2027"))
                tile.alpha_composite(im)
                tiles.append(("%s %d" % (name, im.size[0]), tile.convert("RGB")))
    written.append(preview.sheet(tiles, os.path.join(out, "resources.png"), scale=3))
    big = Image.new("RGBA", (4 * 266, 266), draw_rgba("E9ECF0"))
    for i, (name, _) in enumerate(resources.PROGRAM_ICONS):
        big.alpha_composite(icons[name][-1], (5 + 266 * i, 5))
    p = os.path.join(out, "icons-256.png")
    big.convert("RGB").save(p, optimize=False)
    written.append(p)
    return written


def draw_rgba(hex_text):
    v = int(hex_text, 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255, 255)


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--skins", required=True)
    ap.add_argument("--resources", required=True)
    ap.add_argument("--previews")
    ap.add_argument("--stamp")
    a = ap.parse_args()
    make_skins(a.skins)
    icons = make_resources(a.resources)
    if a.previews:
        for p in make_previews(a.skins, icons, a.previews):
            print("preview:", p)
    if a.stamp:
        write(a.stamp, b"")


if __name__ == "__main__":
    main()
