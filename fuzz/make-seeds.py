#!/usr/bin/python3
"""Writes the seed corpora under fuzz/corpus/<target>/: sound files of each
format and the hostile byte strings the engine's own tests hold. Run again
after changing a case; the files are committed."""
import os
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def str_list(texts, index_capacity=None, storage_capacity=None, terminator=b""):
    index, storage = [], b""
    for t in texts:
        if t is None:
            index.append(-1)
            continue
        index.append(len(storage))
        raw = t.encode("latin-1") + terminator
        storage += struct.pack("<i", len(raw)) + raw
    head = struct.pack("<4i", len(index), index_capacity or len(index), len(storage),
                       storage_capacity or len(storage))
    return head + struct.pack("<%di" % len(index), *index) + storage


def array(count, item_size, body):
    return struct.pack("<2i", count, item_size) + body


def playlist(lines, terminator=b"\0"):
    records = b"".join(struct.pack("<7i", *rec) for rec, _, _, _ in lines)
    out = b"ZVPL0010" + array(len(lines), 28, records)
    for column in (1, 2, 3):
        out += str_list([line[column] for line in lines], terminator=terminator)
    return out


def mpeg_frames(count, header=b"\xFF\xFB\x90\x64"):
    # MPEG-1 layer III, 128 kbit/s, 44.1 kHz, no padding: 417 bytes a frame.
    return (header + b"\0" * 413) * count


def id3v2(body, footer=False):
    n = len(body)
    size = bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])
    return b"ID3\x04\0" + (b"\x10" if footer else b"\0") + size + body + (b"3DI" + b"\0" * 7 if footer else b"")


def bitmap(width, height, bits, pixels_row, palette=b"", compression=0, top_down=False):
    stride = ((width * bits + 31) // 32) * 4
    rows = b"".join(pixels_row(y)[:stride].ljust(stride, b"\0") for y in range(height))
    masks = struct.pack("<3I", 0xFF0000, 0xFF00, 0xFF) if compression == 3 else b""
    offset = 14 + 40 + len(masks) + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, compression,
                       len(rows), 2835, 2835, len(palette) // 4, 0)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + masks + palette + rows


def main():
    good = str_list(["a", None, "xyz"])
    put("str_list", "three", good)
    put("str_list", "empty", str_list([]))
    # The damaged headers and index entries of the container file tests.
    for name, field, value in [("negative-count", 0, -1), ("count-past-index", 0, 5000),
                               ("count-past-file", 1, 0x7fffffff), ("used-past-capacity", 2, 30000),
                               ("used-past-file", 3, 0x7fff0000), ("offset-past-storage", 4, 14),
                               ("negative-offset", 5, -2), ("record-past-storage", 6, 8)]:
        words = list(struct.unpack("<%di" % (len(good) // 4), good[: len(good) // 4 * 4]))
        words[field] = value
        put("str_list", name, struct.pack("<%di" % len(words), *words) + good[len(words) * 4:])

    put("array", "three-ints", array(3, 4, struct.pack("<3i", 1, 2, 3)))
    put("array", "empty", array(0, 4, b""))
    for name, count, size in [("negative-count", -1, 4), ("zero-item-size", 2, 0), ("negative-item-size", 2, -4),
                              ("size-overflow", 0x10000, 0x10000), ("more-than-file", 3, 4)]:
        put("array", name, array(count, size, b"\x01\x02\x03\x04" * 2))

    lines = [((0, 0, 1000, 1, 10, 0, 0), "C:\\music\\a.mp3", "A", "tag"),
             ((3, 0, 0, 2, 0, 0, 1), "", "Live", ""),
             ((0, 1, 2000, 1, 20, 7, 2), "C:\\music\\b.mp3", "B", "")]
    put("playlist_binary", "three-lines", playlist(lines))
    put("playlist_binary", "empty", playlist([]))
    damaged = playlist(lines)
    put("playlist_binary", "truncated", damaged[:-5])
    put("playlist_binary", "fewer-names", b"ZVPL0010" + array(3, 28, b"\0" * 84) + str_list(["a"]) * 3)
    put("playlist_binary", "wrong-record-size", b"ZVPL0010" + array(1, 24, b"\0" * 24) + str_list(["a"]) * 3)

    # Format byte: 0 m3u, 1 pls, 2 aap, 3 z3u; +4 with the DOS Cyrillic detection.
    texts = [
        (0, "m3u", "a.mp3\r\nsub\\b.wav\r\n\r\nQ:\\far\\c.flac\r\n"),
        (1, "pls", "[playlist]\r\nFile0=a.mp3\r\nFile1=sub\\b.wav\r\nFile2=\r\nFile3=Q:\\far\\c.flac\r\n"
                   "NumberOfEntries=4\r\n"),
        (2, "aap", "[Apollo Advanced Playlist]\r\nVersion=1.00\r\n[Entries]\r\nEntry0=a.mp3\r\nEntry1=sub\\b.wav\r\n"
                   "Entry2=\r\nEntry3=Q:\\far\\c.flac\r\nNumberOfEntries=4\r\n"),
        (3, "z3u", "0:a.mp3\r\n1:sub\\b.wav\r\n1:>Live\r\n2:Q:\\far\\c.flac\r\n"),
        (0, "m3u-ext", "#EXTM3U\r\n#EXTINF:123,Artist - Title\r\na.mp3\r\n\r\n   \t\r\n  sub\\b.mp3  \r\n# c.mp3\n"),
        (1, "pls-odd", "[playlist]\r\nFile1=a.mp3\r\nTitle1=A song\r\nLength1=123\r\n  FILE7 = sub\\b.mp3 \r\n"
                       "[File2=gone.mp3]\r\nNumberOfEntries=2\r\nfile=\r\nnoequals\r\n"),
        (2, "aap-odd", "[Apollo Advanced Playlist]\r\nVersion=1.00\r\n[Entries]\r\nEntry0=a.mp3\r\nEntry1=;comment\r\n"
                       "entryX=sub\\b.mp3\r\nFile2=gone.mp3\r\n"),
        (3, "z3u-odd", "#comment:1\r\n1:>Live\r\n0:C:\\x.mp3\r\n2:sub\r\nx:a.mp3\r\n-3:a.mp3\r\n99999:a.mp3\r\nnocolon\r\n"),
        (3, "z3u-long", "0:>" + "t" * 300 + "\r\n" + "9" * 300 + ":>x\r\n..\\..\\..\\..\\up.mp3\r\n"),
        (4, "m3u-oem", "\xE9t\xA8.mp3\r\n\x82\x84.mp3\r\n"),
        (0, "m3u-relative", "..\\..\\a.mp3\r\n\\\\server\\share\\b.mp3\r\n\\root.mp3\r\nC:rel.mp3\r\n"),
    ]
    for format_byte, name, text in texts:
        put("text_playlist", name, bytes([format_byte]) + text.encode("latin-1"))

    xmcd = [
        ("unix", "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t9000\n#\n# Disc length: 200 seconds\n#\n"
                 "# Revision: 3\n# Submitted via: x 1.0\n#\nDISCID=2a0a9a03\nDTITLE=Some Artist / Some Album\n"
                 "DYEAR=1999\nDGENRE=Rock\nTTITLE0=One\nTTITLE1=Two\nEXTD=line\\none\\ttab\\\\\nEXTT0=x\n"
                 "EXTT1=\nPLAYORDER=1,0,1\n"),
        ("dos-continued", "# xmcd\r\n# Track frame offsets:\r\n# 150\r\n# 9000\r\n#\r\nDTITLE=A rather long artist "
                          "name / \r\nDTITLE=and the album\r\nTTITLE0=Part one\r\nTTITLE1=Part \r\nTTITLE1=two\r\n"),
        ("eight-bit", "DTITLE=Bj\xf6rk / Homog\xe9nic\nTTITLE0=J\xf3ga\nTTITLE1=\x93\x4c\x8b\x9e\n"),
        ("retitled", "DTITLE=A / B\nTTITLE0=x\nDTITLE=C\n"),
        ("hostile", "TTITLE99999=x\nTTITLE-1=y\nTTITLE98=z\nEXTT4294967296=q\nPLAYORDER=-5,999999,a,,\n"
                    "# Track frame offsets:\n# -1\n# 99999999999\n#\n# Disc length: -7\n# Revision: x\n"),
    ]
    for name, text in xmcd:
        put("xmcd", name, text)
    # Entries: file name, record name, each with its zero, the record length, the record.
    def entry(name, record, body):
        return name + "\0" + record + "\0" + struct.pack("<i", len(body)).decode("latin-1") + body

    put("info_cache", "two-entries", b"ZVCH0005" + str_list([entry("a.mp3", "info", "title=x"),
                                                             entry("b.wav", "desc", "")]))
    put("info_cache", "odd-entries", b"ZVCH0005" + str_list(["a.mp3\0info\0\x7f\0\0\0x", "no-zero", "a\0b",
                                                             "a\0b\0\xff\xff\xff\xff", None]))
    put("info_cache", "wrong-magic", b"ZVCH0004" + str_list([entry("a.mp3", "info", "x")]))
    # Description files: first byte the length of the name looked for, which ends the input.
    listing = ("  \r\n\"My Song.mp3\"   A quoted name  \r\nplain.mp3\tTabbed\tdescription\r\nlonely.mp3\r\n"
               "\"unclosed.mp3 never\r\ndup.mp3 first\nDUP.MP3 second\n\"\" empty name\n"
               "last.mp3 end without line feed")
    for name in ["my song.mp3", "plain.mp3", "lonely.mp3", "unclosed.mp3", "dup.mp3", "last.mp3", "", "\"\""]:
        put("description", "find-" + (name.replace(" ", "-").replace("\"", "q") or "empty"),
            bytes([len(name)]) + (listing + name).encode("latin-1"))
    # Configuration file text: section, key and value, each ended by a NUL, then the file.
    profiles = [
        ("new-file", "zorvak.exe", "volume", "80", ""),
        ("replace", "zorvak.exe", "Volume", "80", "[zorvak.exe]\r\nvolume=10\r\nother=x\r\n"),
        ("add-to-section", "zorvak.exe", "skin", "Base", "[other]\r\na=1\r\n\r\n[ZORVAK.EXE]\r\nvolume=10\r\n\r\n[x]\r\n"),
        ("unix-no-end", "s", "k", "v", "[s]\nother=1\nk"),
        ("blanks", " s ", " k ", "  v  ", "  [ s ]  \r\n  k  =  old  \r\n"),
        ("value-with-break", "s", "k", "one\r\n[s]\r\nk=two", "[s]\r\n"),
        ("bom", "s", "k", "v", "\xef\xbb\xbf[s]\r\nk=1\r\n"),
        ("duplicate-sections", "s", "k", "v", "[s]\r\na=1\r\n[s]\r\nk=2\r\n"),
        ("unclosed-section", "s", "k", "v", "[s\r\nk=1\r\n"),
        ("refused-key", "s", "a=b", "v", "[s]\r\n"),
    ]
    for name, section, key, value, text in profiles:
        put("profile_text", name, "\0".join([section, key, value, text]))
    # Language files: first byte the key's length, the key, then the file.
    language = "Play=Abspielen\r\nStop=Anhalten\nEmpty=\r\nx Play=no\r\n\xe9t\xe9=summer\x00tail\r\nLast=end"
    for key in ["Play", "Stop", "Empty", "Last", "\xe9t\xe9", "Absent", ""]:
        put("language", "key-" + (key.encode("latin-1").hex() or "empty"),
            bytes([len(key)]) + (key + language).encode("latin-1"))
    # Directory caches: first byte the key looked for (0 "MUSIC", 1 "music\\album", 2 "", 3 "A\\B\\C\\D").
    def dir_entry(key, body):
        raw = key.encode("latin-1") + b"\0"
        return struct.pack("<I", len(raw)) + raw + struct.pack("<I", len(body)) + body

    one = playlist([((0, 0, 0, 1, 0, 0, 0), "E:\\MUSIC\\a.mp3", "a", "")])
    two = playlist([((0, 0, 0, 1, 0, 0, 0), "E:\\music\\album\\b.mp3", "b", ""),
                    ((0, 0, 0, 1, 0, 0, 0), "relative.mp3", "", "")])
    cache = b"ZVDC0002" + dir_entry("OTHER", one) + dir_entry("MUSIC", one) + dir_entry("music\\album", two)
    put("dir_cache", "found-first", b"\0" + cache)
    put("dir_cache", "found-second", b"\1" + cache)
    put("dir_cache", "absent", b"\3" + cache)
    put("dir_cache", "length-lies", b"\0ZVDC0002" + struct.pack("<I", 6) + b"MUSIC\0" + struct.pack("<I", 0xFFFFFF00) + one)
    put("dir_cache", "playlist-longer-than-entry", b"\0ZVDC0002" + struct.pack("<I", 6) + b"MUSIC\0" +
        struct.pack("<I", 10) + one)
    put("dir_cache", "long-key", b"\0ZVDC0002" + dir_entry("K" * 400, one) + dir_entry("MUSIC", one))
    put("dir_cache", "wrong-magic", b"\0ZVDC0001" + dir_entry("MUSIC", one))

    # mp3.dec's header chain check: frames alone, behind tags, a chain that
    # breaks, a file that ends on its second frame, other formats' heads.
    put("mpeg_header", "three-frames", mpeg_frames(3))
    put("mpeg_header", "tagged", id3v2(b"TIT2\0\0\0\x03\0\0\0ab") + mpeg_frames(4))
    put("mpeg_header", "two-tags-footer", id3v2(b"\0" * 20, True) + id3v2(b"\0" * 5) + mpeg_frames(3))
    put("mpeg_header", "tag-longer-than-file", id3v2(b"") [:6] + bytes([0x7F, 0x7F, 0x7F, 0x7F]) + mpeg_frames(1))
    put("mpeg_header", "short-file-two-frames", mpeg_frames(2))
    put("mpeg_header", "broken-chain", mpeg_frames(1) + b"\xFF\xFB\x94\x64" + b"\0" * 500)
    put("mpeg_header", "garbage-then-frames", b"\xFF\xE0" * 100 + mpeg_frames(3))
    put("mpeg_header", "mpeg2-layer2", (b"\xFF\xF4\x80\xC4" + b"\0" * 284) * 3)
    put("mpeg_header", "riff-head", b"RIFF\0\0\0\0WAVEfmt " + mpeg_frames(3))

    # Skin files: NUL-separated files f0.skn..f7.skn; f0 is read first.
    put("skin_text", "plain", "[Main]\r\nBitmap=main.bmp\r\nRegion=0,0,!0,!0\r\nColor=#FF8000\r\n"
        "Play=\"Play \"\"now\"\"\" 10 $20 0x1F !4\r\n")
    put("skin_text", "include-and-continue", "[Main]\r\nINC:f1.skn\r\nA=1 \\\r\n  2 \\\r\n3\r\n\0"
        "[Inc]\r\nB=808080\r\nINC:F2.SKN\r\n\0C=!12\r\n")
    put("skin_text", "self-include", "INC:f0.skn\r\nX=1\r\n")
    put("skin_text", "include-cycle", "INC:f1.skn\r\n\0INC:f2.skn\r\n\0INC:f1.skn\r\nINC:f0.skn\r\n")
    put("skin_text", "fan-out", "".join("INC:f1.skn\r\n" for _ in range(50)) + "\0" +
        "".join("INC:f2.skn\r\n" for _ in range(50)) + "\0" + "Z=1\r\n" * 50)
    put("skin_text", "missing-include", "INC:..\\elsewhere\\x.skn\r\nINC:\r\nINC:f7.skn\r\n")
    put("skin_text", "trailing-backslash", "A=1 \\")
    put("skin_text", "numbers", "N=99999999999 -99999999999 !-5 #ffffffff $ 0x 0xG -!3 !!1\r\n")

    # Skin bitmaps of every depth the reader takes, and damaged ones.
    gray = b"".join(struct.pack("<I", i * 0x010101) for i in range(256))
    put("skin_bitmap", "24-bit", bitmap(3, 2, 24, lambda y: bytes(range(y * 9, y * 9 + 9))))
    put("skin_bitmap", "32-bit-top-down", bitmap(2, 2, 32, lambda y: b"\x11\x22\x33\0" * 2, top_down=True))
    put("skin_bitmap", "32-bit-bitfields", bitmap(2, 1, 32, lambda y: b"\x01\x02\x03\0" * 2, compression=3))
    put("skin_bitmap", "8-bit", bitmap(5, 3, 8, lambda y: bytes([y, 255, 7, 8, 9]), palette=gray))
    put("skin_bitmap", "4-bit", bitmap(5, 2, 4, lambda y: b"\x12\x34\xF0", palette=gray[:64]))
    put("skin_bitmap", "1-bit", bitmap(9, 2, 1, lambda y: b"\xA5\x80", palette=gray[:8]))
    put("skin_bitmap", "8-bit-short-palette", bitmap(2, 2, 8, lambda y: b"\x00\xFF", palette=gray[:8]))
    put("skin_bitmap", "truncated", bitmap(16, 16, 24, lambda y: b"\x40" * 48)[:300])
    put("skin_bitmap", "huge-sides", bitmap(1, 1, 24, lambda y: b"\0\0\0")[:18] + struct.pack("<ii", 100000, 100000) +
        bitmap(1, 1, 24, lambda y: b"\0\0\0")[26:])
    put("skin_bitmap", "rle", bitmap(2, 2, 8, lambda y: b"\0\0", palette=gray[:8], compression=1))
    # The player's records. timer2: on/off minutes, off and on moments, the
    # armed bytes, the off action; of another size it is absent.
    def timer(on, off, off_moment, on_moment, on_armed, off_armed, action):
        return struct.pack("<iiddBBi", on, off, off_moment, on_moment, on_armed, off_armed, action)

    put("timer_record", "armed", timer(480, 1380, 46023.95, 46024.33, 1, 1, 3))
    put("timer_record", "zero", timer(0, 0, 0, 0, 0, 0, 0))
    put("timer_record", "odd-values", timer(1500, -30, float("nan"), float("inf"), 9, 1, 7))
    put("timer_record", "moment-beyond-dates", timer(1, 2, -8.0e306, 1e300, 1, 1, -2))
    put("timer_record", "last-date", timer(1439, 1439, 2958465.99, -657434.0, 1, 1, 1))
    put("timer_record", "one-short", timer(1, 2, 3, 4, 1, 1, 1)[:29])
    # VIDSET: four words and zeros (64 bytes); behind it (for the layout) a
    # client area (two 16-bit sides), four bytes, and a picture's sides.
    def vidset(h, v, x, y, tail=b""):
        return struct.pack("<4i", h, v, x, y) + b"\0" * 48 + tail

    put("vidset", "default", vidset(1000, 1000, 0, 0))
    put("vidset", "zoomed", vidset(1500, 800, -200, 300, struct.pack("<hhiii", 800, 400, 0, 320, 240)))
    put("vidset", "out-of-range", vidset(-5, 99999, 0x7FFFFFFF, -0x80000000, struct.pack("<hhiii", 1, 1, 0, 1920, 1080)))
    put("vidset", "extreme-picture", vidset(2000, 500, -1, 1000, struct.pack("<hhiii", 26214, 26230, 0, 80, 1711276032)))
    put("vidset", "no-picture", vidset(1000, 1000, 0, 0, struct.pack("<hhiii", 640, 480, 0, 0, 480)))
    put("vidset", "short", vidset(1, 2, 3, 4)[:60])
    # Equalizer records: 0 and the 52-byte preset, or 1 and the 108-byte block.
    def preset(pre, gains):
        return struct.pack("<13f", pre, *gains)

    def block(enabled, pre, gains, off, width):
        return struct.pack("<if12f12ii", enabled, pre, *gains, *off, width)

    flat = [1.0] * 12
    put("eq_record", "preset-flat", b"\0" + preset(1.0, flat))
    put("eq_record", "preset-curve", b"\0" + preset(1.4, [0.5, 0.7, 1.0, 1.2, 1.6, 2.0, 1.6, 1.2, 1.0, 0.8, 0.6, 0.4]))
    put("eq_record", "preset-hostile", b"\0" + preset(float("nan"), [float("inf"), -1.0, 0.0, float("-inf"), 1e30,
                                                                     1e-30, -0.0, float("nan"), 3.0, 3.0, 3.0, 3.0]))
    put("eq_record", "preset-short", b"\0" + preset(1.0, flat)[:51])
    put("eq_record", "block-on", b"\1" + block(-1, 1.0, [1.5] * 12, [0] * 12, 0))
    put("eq_record", "block-narrow", b"\1" + block(1, 2.0, [0.3] * 12, [0, 7, -1] * 4, 100000))
    put("eq_record", "block-hostile", b"\1" + block(5, float("nan"), [float("inf")] * 6 + [0.0] * 6, [-5] * 12, -100))
    put("eq_record", "block-width-one", b"\1" + block(-1, 1.0, [3.0] * 12, [0] * 12, 1))
    # Editor state files "ZORV0002": the header, then an owned playlist.
    def editor(owns, caption, selected, first, modified=0, flags=None, body=b""):
        head = b"ZORV0002" + struct.pack("<5i", 10, 20, 300, 400, 1) + bytes([1, flags if flags is not None else owns])
        head += caption.ljust(512, b"\0")[:512] + struct.pack("<2i", selected, first) + bytes([modified])
        return head + body

    put("editor_state", "main-list", editor(0, b"Playlist", 3, 1))
    put("editor_state", "owned", editor(1, b"Mine", 2, 9, 1, body=playlist(lines)))
    put("editor_state", "owned-empty", editor(1, b"Empty", 0, 0, body=playlist([])))
    put("editor_state", "owned-truncated", editor(1, b"Cut", 1, 1, body=playlist(lines)[:-9]))
    put("editor_state", "caption-without-end", editor(0, b"C" * 512, -7, -3))
    put("editor_state", "damaged-flags", editor(0, b"x", 0, 0, flags=2))
    put("editor_state", "short", editor(0, b"x", 0, 0)[:550])
    # WAV files: a RIFF head, then chunks in any order.
    def chunk(name, body):
        return name + struct.pack("<I", len(body)) + body + (b"\0" if len(body) & 1 else b"")

    def fmt(tag, channels, rate, bits, align=None, extra=b""):
        align = align if align is not None else channels * bits // 8
        return chunk(b"fmt ", struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits) + extra)

    def riff(*chunks):
        body = b"WAVE" + b"".join(chunks)
        return b"RIFF" + struct.pack("<I", len(body)) + body

    tone = bytes((i * 37) & 0xFF for i in range(400))
    put("wav_chunks", "pcm16-stereo", riff(fmt(1, 2, 44100, 16), chunk(b"data", tone)))
    put("wav_chunks", "pcm8-mono", riff(fmt(1, 1, 8000, 8), chunk(b"LIST", b"INFOjunk1"), chunk(b"data", tone[:101])))
    put("wav_chunks", "float32", riff(fmt(3, 2, 48000, 32), chunk(b"data", struct.pack("<4f", 0.5, -0.5, 2.0, float("nan")))))
    put("wav_chunks", "extensible-24", riff(fmt(0xFFFE, 2, 96000, 24, extra=struct.pack("<HHI", 22, 24, 3) +
                                                 struct.pack("<H", 1) + b"\0" * 14), chunk(b"data", tone[:300])))
    put("wav_chunks", "data-first", riff(chunk(b"data", tone[:64]), fmt(1, 1, 22050, 16)))
    put("wav_chunks", "data-past-end", riff(fmt(1, 2, 44100, 16)) + b"data" + struct.pack("<I", 0xFFFFFFF0) + tone[:40])
    put("wav_chunks", "no-channels", riff(fmt(1, 0, 44100, 16, align=4), chunk(b"data", tone[:16])))
    put("wav_chunks", "container-wider", riff(fmt(1, 2, 44100, 20, align=6), chunk(b"data", tone[:60])))
    put("wav_chunks", "compressed", riff(fmt(0x55, 2, 44100, 0, align=1), chunk(b"data", tone[:50])))
    put("wav_chunks", "short-fmt", riff(chunk(b"fmt ", b"\1\0\2\0"), chunk(b"data", tone[:8])))
    put("wav_chunks", "eight-channels", riff(fmt(1, 8, 44100, 16), chunk(b"data", tone[:320])))
    # cdplayer.ini: the track count byte, the MCI id, a NUL, the file.
    cd = ("[Other]\r\nartist=No\r\n[1A2B3C]\r\nEntryType=1\r\nartist=Some Artist\r\ntitle=\"Quoted Album\"\r\n"
          "numtracks=3\r\n0=One\r\n1='Two'\r\n2=\"Three\r\n  3  =  Four  \r\n")
    put("cdplayer_ini", "three-tracks", b"\3" + b"1A2B3C\0" + cd.encode("latin-1"))
    put("cdplayer_ini", "more-tracks-than-given", b"\x63" + b"1a2b3c\0" + cd.encode("latin-1"))
    put("cdplayer_ini", "negative-count", b"\xF0" + b"1A2B3C\0" + cd.encode("latin-1"))
    put("cdplayer_ini", "long-values", b"\2" + b"X\0" + ("[X]\r\nartist=" + "a" * 300 + "\r\n0=" + "t" * 1100 +
                                                         "\r\n1=\"\"\r\n").encode("latin-1"))
    put("cdplayer_ini", "eight-bit", b"\1" + b"D\0" + "[D]\nartist=Bj\xf6rk\ntitle=Homog\xe9nic\n0=J\xf3ga\n".encode("latin-1"))
    # autorun.inf texts.
    for name, text in [("plain", "[autorun]\r\nopen=setup.exe\r\n\r\n[Zorvak]\r\nPlaylist=cd.m3u\r\n"),
                       ("quoted", "[zorvak]\r\n playlist = \"music\\list.m3u\" \r\n"),
                       ("itself", "[Zorvak]\r\nPlaylist=.\r\n"),
                       ("long-name", "[Zorvak]\r\nPlaylist=" + "n" * 400 + ".m3u\r\n"),
                       ("utf8-mark", "\xef\xbb\xbf[Zorvak]\nPlaylist=caf\xc3\xa9.m3u\n"),
                       ("legacy", "[Zorvak]\nPlaylist=caf\xe9.m3u\n"),
                       ("wide", "\xff\xfe[\0Z\0]\0"),
                       ("no-section", "Playlist=x.m3u\r\n[Zorvak\r\nPlaylist=y.m3u\r\n")]:
        put("autorun", name, text.encode("latin-1"))
    # ID3v1 records.
    def id3v1(title, artist, album, year, comment, zero, track, genre):
        f = lambda t, n: t.encode("latin-1")[:n].ljust(n, b"\0")
        return b"TAG" + f(title, 30) + f(artist, 30) + f(album, 30) + f(year, 4) + f(comment, 28) + bytes([zero, track, genre])

    put("id3v1", "v1.1", id3v1("Title", "Artist", "Album", "1999", "Comment", 0, 7, 17))
    put("id3v1", "v1.0-long-comment", id3v1("T", "A", "B", "2000", "c" * 28, ord("x"), ord("y"), 255))
    put("id3v1", "blank-padded", b"TAG" + b"Title   " + b" " * 22 + b"A" * 30 + b"\0" * 30 + b"19 9" + b" " * 28 + b"\0\0\x0c")
    put("id3v1", "eight-bit", id3v1("Bj\xf6rk", "\x93\x4c\x8b\x9e", "", "", "\xe9t\xe9", 0, 255, 200))
    put("id3v1", "wrong-magic", b"TAX" + id3v1("a", "b", "c", "d", "e", 0, 1, 1)[3:])
    # ID3v2 tags (2.3 and 2.4) with frames of every kind, before audio.
    def frame(fid, body, v4):
        size = len(body)
        raw = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F]) if v4 \
            else struct.pack(">I", size)
        return fid + raw + b"\0\0" + body

    # A frame given as (id, body, format flags) carries those flags.
    def any_frame(item, v4):
        if len(item) == 2:
            return frame(item[0], item[1], v4)
        f = frame(item[0], item[1], v4)
        return f[:9] + bytes([item[2]]) + f[10:]

    def tag(frames, v4):
        body = b"".join(any_frame(f, v4) for f in frames)
        n = len(body) + 64  # padding
        size = bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])
        return b"ID3" + bytes([4 if v4 else 3, 0, 0]) + size + body + b"\0" * 64

    utf16 = lambda t: b"\xff\xfe" + t.encode("utf-16-le")
    frames = [(b"TIT2", b"\0Title"), (b"TPE1", b"\1" + utf16("Art\u0142st")), (b"TALB", b"\0Album\0Second"),
              (b"COMM", b"\0engdesc\0A comment"), (b"TXXX", b"\0key\0value"), (b"WXXX", b"\0link\0http://x"),
              (b"WOAR", b"http://artist"), (b"USER", b"\0engterms"), (b"APIC", b"\0image/png\0\3pic\0\x89PNG"),
              (b"GEOB", b"\0text/plain\0a.txt\0obj\0data"), (b"PRIV", b"owner\0\1\2\3"), (b"TCON", b"\0(17)Rock"),
              (b"USLT", b"\0engd\0lyrics\nline")]
    put("id3v2_frames", "v23-all-kinds", tag(frames + [(b"TYER", b"\x001999"), (b"IPLS", b"\0producer\0Someone\0")], False)
        + mpeg_frames(3))
    put("id3v2_frames", "v24-all-kinds", tag(frames + [(b"TDRC", b"\x032001-02"), (b"TIPL", b"\3mix\0Person")], True)
        + mpeg_frames(3))
    put("id3v2_frames", "v24-utf16be", tag([(b"TIT2", b"\2" + "x\u00e9".encode("utf-16-be")), (b"COMM", b"\3eng\0")], True)
        + mpeg_frames(3))
    put("id3v2_frames", "empty-frames", tag([(b"TIT2", b"\0"), (b"APIC", b"\0\0\0\0"), (b"TXXX", b"\0")], False)
        + mpeg_frames(3))
    # Grouped frames: a group byte before the content (ID3v2.4: also under
    # unsynchronisation, with a data length).
    put("id3v2_frames", "v23-grouped", tag([(b"TIT2", b"\x07\0Title", 0x20), (b"TPE1", b"\0Artist"),
                                           (b"COMM", b"\x07\0engd\0text", 0x20)], False) + mpeg_frames(3))
    put("id3v2_frames", "v24-grouped", tag([(b"TIT2", b"\xff\0\0\0\0\x06\x03Title", 0x43),
                                           (b"TPE1", b"\x01\x03Artist", 0x40)], True) + mpeg_frames(3))
    put("id3v2_frames", "v22", b"ID3\2\0\0\0\0\0\x20" + b"TT2\0\0\x06\0Title" + b"XYZ\0\0\2ab" + b"\0" * 16 + mpeg_frames(3))
    put("id3v2_frames", "size-lies", tag([(b"TIT2", b"\0Title")], False)[:10] + frame(b"TIT2", b"\0T", False)[:4] +
        b"\x7f\xff\xff\xff\0\0\0T" + mpeg_frames(3))
    return 0


if __name__ == "__main__":
    sys.exit(main())
