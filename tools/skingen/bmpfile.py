"""Byte-exact writers for the pictures the program reads: BMP and ICO.

Pillow's own writers are avoided for these formats so that every header
field is ours and stays the same from one Pillow version to the next.
"""
import io
import struct

from PIL import Image

PELS_PER_METRE = 3780  # 96 dpi


def bmp24(img):
    """An uncompressed bottom-up 24-bit "BM" file of an RGB(A) image."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    raw = img.tobytes("raw", "BGR", stride, -1)  # bottom-up, padded rows
    header_size = 14 + 40
    out = bytearray(b"BM")
    out += struct.pack("<IHHI", header_size + len(raw), 0, 0, header_size)
    out += struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(raw), PELS_PER_METRE, PELS_PER_METRE, 0, 0)
    out += raw
    return bytes(out)


def _dib_icon(img):
    """One icon image: 32-bit BGRA DIB (double height) plus its AND mask."""
    img = img.convert("RGBA")
    w, h = img.size
    xor = img.tobytes("raw", "BGRA", 0, -1)
    mask_stride = ((w + 31) // 32) * 4
    alpha = img.getchannel("A")
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if alpha.getpixel((x, y)) == 0:
                row[x >> 3] |= 0x80 >> (x & 7)
        rows.append(bytes(row))
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + mask_stride * h, 0, 0, 0, 0)
    return header + xor + b"".join(rows)


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, format="PNG", optimize=False, compress_level=9)
    return buf.getvalue()


def ico(images):
    """An .ico file from RGBA images (one per size); 256 px is stored as PNG."""
    images = sorted(images, key=lambda im: im.size[0])
    blobs = [png_bytes(im) if im.size[0] >= 256 else _dib_icon(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)
