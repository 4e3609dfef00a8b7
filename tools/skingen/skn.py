"""Reading and writing skin files.

The writer turns a list of control blocks and window attributes into skin
file text. The reader understands the skin file language (includes,
continuations, sections, blocks, quoted words, far-edge and hexadecimal
numbers) well enough to check and preview what the generator wrote; the
program's own loader is the authority.
"""
import os


def write(controls, window, header=None, include=None, wrap=0):
    """controls: list of lists of (key, value); window: list of (key, value).
    include: a file name whose blocks follow the controls ("INC:" line).
    wrap: split values longer than this many characters into "\\" continued lines."""
    lines = []
    if header:
        lines += ["; " + h for h in header]
    for i, block in enumerate(controls):
        if i:
            lines.append(".")
        lines += [_line(k, v, wrap) for k, v in block]
    if include:
        lines += [".", "INC:" + include]
    lines.append("..")
    lines += [_line(k, v, wrap) for k, v in window]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def blocks(controls):
    """Control blocks alone, for a file that another one includes."""
    lines = []
    for i, block in enumerate(controls):
        if i:
            lines.append(".")
        lines += ["%s=%s" % kv for kv in block]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def _line(key, value, wrap):
    text = "%s=%s" % (key, value)
    if not wrap or len(text) <= wrap:
        return text
    # The reader joins a line ending in "\\" to the next with one blank, so
    # break only at blanks and drop the blank at the break.
    out, cur = [], ""
    for word in text.split(" "):
        if cur and len(cur) + 1 + len(word) > wrap:
            out.append(cur + " \\")
            cur = word
        else:
            cur = word if not cur else cur + " " + word
    out.append(cur)
    return "\r\n".join(out)


def rect(x, y, w, h):
    return "%s %s %s %s" % (x, y, w, h)


# Reading -----------------------------------------------------------------

def read_lines(path, depth=0):
    if depth > 16:
        raise ValueError("includes nested too deep at " + path)
    out = []
    with open(path, "rb") as f:
        physical = f.read().decode("cp1252").splitlines()
    i = 0
    while i < len(physical):
        line = physical[i].strip()
        i += 1
        if line[:4] == "INC:":
            name = line[4:].strip().replace("\\", "/")
            out += read_lines(os.path.join(os.path.dirname(path), name), depth + 1)
            continue
        while line.endswith("\\") and i < len(physical):
            line = line[:-1] + " " + physical[i].strip()
            i += 1
        out.append(line.strip())
    return out


def words(value):
    out, cur, i, inword, quoted = [], "", 0, False, False
    while i < len(value):
        c = value[i]
        if quoted:
            if c == '"':
                if value[i + 1:i + 2] == '"':
                    cur += '"'
                    i += 1
                else:
                    quoted = False
            else:
                cur += c
        elif c == '"':
            quoted, inword = True, True
        elif c in " \t":
            if inword:
                out.append(cur)
                cur, inword = "", False
        else:
            cur += c
            inword = True
        i += 1
    if inword:
        out.append(cur)
    return out


def number(text):
    """(value, far_edge) of a number word."""
    t = text.strip()
    far = t.startswith("!")
    if far:
        t = t[1:]
    try:
        if t[:1] in "#$" and t:
            return int(t[1:], 16), far
        if t.lower().startswith("0x"):
            return int(t[2:], 16), far
        return int(t), far
    except ValueError:
        return 0, far


class Skin:
    def __init__(self, path):
        lines = read_lines(path)
        if ".." in lines:
            cut = lines.index("..")
            ctl_lines, win_lines = lines[:cut], lines[cut + 1:]
        else:
            ctl_lines, win_lines = lines, []
        self.controls = []
        block = []
        for line in ctl_lines + ["."]:
            if line == ".":
                if block is not None:
                    self.controls.append(dict(block))
                block = []
            elif "=" in line:
                k, v = line.split("=", 1)
                block.append((k.strip(), v.strip()))
        self.window = dict(kv for kv in ((l.split("=", 1)[0].strip(), l.split("=", 1)[1].strip())
                                         for l in win_lines if "=" in l))

    def control(self, name):
        for c in self.controls:
            if c.get("name") == name:
                return c
        return None

    def size(self):
        w, h = words(self.window["defsize"])
        return int(w), int(h)

    def offset(self, key, default="0 0"):
        x, y = words(self.window.get(key, default))[:2]
        return number(x)[0], number(y)[0]

    def shape_rect(self, ctl, win_w, win_h):
        """The control's rectangle in window coordinates (polygon: bounding box)."""
        shape = ctl.get("shape", "full")
        if shape == "none":
            return (0, 0, 0, 0)
        if shape == "full":
            shape = "rect 0 0 !0 !0"
        ws = words(shape)
        if ws[0] == "polygon":
            pts = [number(w)[0] for w in ws[1:]]
            xs, ys = pts[0::2], pts[1::2]
            return (min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys))
        if ws[0] == "rect":
            ws = ws[1:]
        (x, fx), (y, fy), (w, fw), (h, fh) = [number(v) for v in ws[:4]]
        if fx:
            x = win_w - x
        if fy:
            y = win_h - y
        if fw:
            w = win_w - w - x
        if fh:
            h = win_h - h - y
        return (x, y, w, h)

    def picture(self, ctl, state, win_w, win_h):
        """Source rectangle of a bitmap-filled control in state 0..3."""
        x, y, w, h = self.shape_rect(ctl, win_w, win_h)
        key = ("normal", "hilite", "down", "hilitedown")[state]
        if key in ctl:
            ws = [number(v)[0] for v in words(ctl[key])]
            return tuple(ws) if len(ws) == 4 else (ws[0], ws[1], w, h)
        if "normal" in ctl:
            ws = [number(v)[0] for v in words(ctl["normal"])]
            nx, ny = ws[0], ws[1]
        else:
            nx, ny = x, y
        if state == 0:
            return (nx, ny, w, h)
        down = self.offset("down")
        offs = {1: self.offset("hilite"), 2: down, 3: self.offset("hilitedown", self.window.get("down", "0 0"))}
        dx, dy = offs[state]
        if state == 3 and (dx, dy) == (0, 0):
            dx, dy = down
        return (nx + dx, ny + dy, w, h)
