"""The display's pictures: "inactive.bmp", and for bitmap bars "mask.bmp" and
"active.bmp", all at the size of the skin's `vis` panel.

The display reads a mask pixel as: red = bar number (255 = never lit),
bit 15 (the top bit of green) = right channel, blue = the level above which
the pixel is lit. The bars here are mirrored: low frequencies meet in the
middle, the left channel grows to the left and the right channel to the
right, each bar a column of segments.
"""
from PIL import Image

import draw


def build(t, w, h, bars):
    """({file name: image}, bar count per channel or 0)."""
    panel = draw.rgb(t["panel"])
    inactive = Image.new("RGB", (w, h), panel)
    pics = {"inactive.bmp": inactive}
    if not bars:
        # Columns and oscilloscope draw over a quiet centre line.
        px = inactive.load()
        centre = h // 2
        line = draw.mix(t["panel"], t["panel_border"], 0.6)
        for x in range(w):
            if x % 3 != 2:
                px[x, centre] = line
        return pics, 0

    bar, gap, seg, seggap = bars["bar"], bars["gap"], bars["seg"], bars["seggap"]
    half = w // 2
    per_side = (half + gap) // (bar + gap)
    segments = (h + seggap) // (seg + seggap)
    top_pad = h - (segments * (seg + seggap) - seggap)
    mask = Image.new("RGB", (w, h), (255, 0, 0))
    active = Image.new("RGB", (w, h), panel)
    mpx, apx, ipx = mask.load(), active.load(), inactive.load()
    ghost = draw.rgb(t["vis_ghost"])
    for side in (0, 1):
        for i in range(per_side):
            # Bar i of each side starts at the centre and moves outwards.
            if side == 0:
                x0 = half - gap // 2 - (i + 1) * bar - i * gap
            else:
                x0 = w - half + (gap + 1) // 2 + i * (bar + gap)
            for j in range(segments):
                y1 = h - 1 - j * (seg + seggap)          # bottom row of segment j
                threshold = (j * 255) // segments + 1   # a silent bar lights nothing
                colour = draw.mix(t["vis_bars_low"], t["vis_bars_high"], (j / max(1, segments - 1)) ** 1.4)
                for yy in range(y1 - seg + 1, y1 + 1):
                    if yy < top_pad:
                        continue
                    for xx in range(x0, x0 + bar):
                        if 0 <= xx < w:
                            mpx[xx, yy] = (i, 0x80 if side else 0, min(255, threshold))
                            apx[xx, yy] = colour
                            ipx[xx, yy] = ghost
    pics["mask.bmp"] = mask
    pics["active.bmp"] = active
    # The display spreads the spectrum over bars 0 .. nbars-2 and gives the
    # last bar only entries past the plane, so that bar would never light:
    # ask for one more bar than the mask shows.
    return pics, per_side + 1
