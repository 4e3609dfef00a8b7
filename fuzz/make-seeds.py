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
    return 0


if __name__ == "__main__":
    sys.exit(main())
