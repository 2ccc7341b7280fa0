#!/usr/bin/env python3
"""Pictures and icon themes made to cost a reader memory and time, as any package, download or
theme can place them (1 MB-class files), among them SVGs within every bound the reader checks
that take it hours or seconds, and beside them a plain icon (plain.png, of the colour PLAIN) and
an ordinary picture; with --at-the-bound, legitimate pictures that decode to the memory bound in
their place:
python3 hostile_pictures.py [--at-the-bound] FOLDER THEMES-FOLDER"""
import base64, os, struct, sys, zlib

PLAIN = (18, 235, 90)
at_the_bound = sys.argv[1] == "--at-the-bound"
pictures, themes = sys.argv[1 + at_the_bound:3 + at_the_bound]
os.makedirs(pictures, exist_ok=True)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, idat):
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", idat) + chunk(b"IEND", b"")


def zeros(count):
    packer = zlib.compressobj(9)
    block = bytes(1 << 20)
    parts = [packer.compress(block) for _ in range(count >> 20)]
    parts.append(packer.compress(bytes(count & ((1 << 20) - 1))))
    return b"".join(parts) + packer.flush()


def write(name, data):
    with open(os.path.join(pictures, name), "wb") as out:
        out.write(data if isinstance(data, bytes) else data.encode())


# An ordinary picture beside them, whose thumbnail tells that the folder's were read.
write("ordinary.png", png(64, 64, zlib.compress(b"".join(b"\0" + b"\x20\x60\xc0\xff" * 64 for _ in range(64)))))
# A plain icon, pinned after the others; the screen shows it in its colour.
write("plain.png", png(48, 48, zlib.compress((b"\0" + bytes(PLAIN + (255,)) * 48) * 48)))

if at_the_bound:
    # A PNG that decodes to the bound, 64 MiB; a run-length coded bitmap of 4000 x 4000 at 8 bits
    # a pixel; a GIF whose 1 x 1 frame has a 4000 x 4000 screen.
    write("bound.png", png(4096, 4096, zeros(4096 * (1 + 4096 * 4))))
    rows = (b"".join(bytes([255, 1]) for _ in range(15)) + bytes([4000 - 15 * 255, 1]) + b"\0\0") * 4000 + b"\0\1"
    info = struct.pack("<IiiHHIIiiII", 40, 4000, 4000, 1, 8, 1, len(rows), 2835, 2835, 256, 0)
    offset = 14 + len(info) + 1024
    write("rle.bmp", b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + b"\0\0\xff\0" * 256 + rows)
    write("screen.gif", b"GIF89a" + struct.pack("<HHBBB", 4000, 4000, 0x80, 0, 0) + b"\xff\0\0\0\xff\0" +
          b"\x21\xf9\x04\x01\0\0\x01\0" + b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + b"\x02\x02\x44\x01\0;")
    sys.exit(0)

# A progressive JPEG of 16 x 16 whose frame header says 12000 x 12000: libjpeg holds every
# coefficient of the whole picture before the first scan, 432 MB.
SMALL_PROGRESSIVE = base64.b64decode(
    "/9j/4AAQSkZJRgABAQEAYABgAAD/2wBDAKBueIx4ZKCMgoy0qqC+8P//8Nzc8P////////////////////////////////////"
    "//////////////////////2wBDAaq0tPDS8P//////////////////////////////////////////////////////////////"
    "////////////////wgARCAAQABADASIAAhEBAxEB/8QAFAABAAAAAAAAAAAAAAAAAAAAAf/EABQBAQAAAAAAAAAAAAAAAAAAAAD/"
    "2gAMAwEAAhADEAAAARE//8QAFhABAQEAAAAAAAAAAAAAAAAAAAEQ/9oACAEBAAEFAlyv/8QAFBEBAAAAAAAAAAAAAAAAAAAAAP/a"
    "AAgBAwEBPwF//8QAFBEBAAAAAAAAAAAAAAAAAAAAAP/aAAgBAgEBPwF//8QAFBABAAAAAAAAAAAAAAAAAAAAIP/aAAgBAQAGPwIf"
    "/8QAFhABAQEAAAAAAAAAAAAAAAAAAAFB/9oACAEBAAE/IYwjD//aAAwDAQACAAMAAAAQA//EABQRAQAAAAAAAAAAAAAAAAAAAAD/"
    "2gAIAQMBAT8Qf//EABQRAQAAAAAAAAAAAAAAAAAAAAD/2gAIAQIBAT8Qf//EABYQAQEBAAAAAAAAAAAAAAAAAMEAEP/aAAgBAQAB"
    "PxCsZYv/2Q==")
jpeg = bytearray(SMALL_PROGRESSIVE)
frame = jpeg.index(b"\xff\xc2")
jpeg[frame + 5:frame + 9] = struct.pack(">HH", 12000, 12000)
write("progressive.jpg", bytes(jpeg))

# A 64 x 64 PNG whose image data runs on for 1 GB of zeros.
zero_png = png(64, 64, zeros(1 << 30))
write("zeros.png", zero_png)

svg = ('<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
       'width="64" height="64">%s</svg>')


def image(data, kind):
    return '<image width="64" height="64" xlink:href="data:%s;base64,%s"/>' % (kind, base64.b64encode(data).decode())


write("zeros-inside.svg", svg % (image(zero_png, "image/png") * 5))
# An ICO whose directory says 1 x 1 of a PNG of 5600 x 5600, twenty times.
large = png(5600, 5600, zeros(5600 * (1 + 5600 * 4)))
ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 1, 1, 0, 0, 1, 32, len(large), 22) + large
write("lying-ico.svg", svg % (image(ico, "image/x-icon") * 20))
write("text.svg", svg % ('<text x="0" y="32">' + "lorem ipsum " * 658000 + "</text>"))
write("no-base64.svg", svg % ('<image width="64" height="64" xlink:href="data:image/png,' + "x" * (4 << 20) + '"/>'))
# A legitimate icon of 8 MB: 2,000 detailed paths.
path = "M32,32" + "".join(" l%.2f,%.2f" % ((i % 7) - 3.1, (i % 5) - 2.05) for i in range(330))
write("large-legitimate.svg", svg % "".join('<path fill="#%06x" d="%s"/>' % (n * 2654435761 % 0xFFFFFF, path)
                                             for n in range(2000)))



def wide_strokes(uses):
    """One path of 4,000 curves stroked 200 wide, drawn `uses` times more through <use>."""
    curves = "".join(" Q%d,%d %d,%d" % ((i * 7) % 64, (i * 13) % 64, (i * 11) % 64, (i * 5) % 64)
                     for i in range(4000))
    return svg % ('<path id="p" fill="none" stroke="#345" stroke-width="200" d="M0,0%s"/>' % curves +
                  '<use xlink:href="#p"/>' * uses)


# Two of 1.1 MB that take hours, drawn 49,000 times; eighteen of 50 KB that take about two
# seconds, as many as fit in a dock beside them and the plain icon.
for n in range(2):
    write("hours-%d.svg" % n, wide_strokes(49000))
for n in range(18):
    write("seconds-%02d.svg" % n, wide_strokes(4))

# An ICO of 65,535 entries, each the same PNG of 4000 x 4000 zeros: 1.1 MB.
empty = png(4000, 4000, zeros(4000 * (1 + 4000 * 4)))
entries = 65535
write("many-entries.ico", struct.pack("<HHH", 0, 1, entries) +
      struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(empty), 6 + 16 * entries) * entries + empty)


class Bits:
    """Huffman-coded bits, each 0xFF byte followed by a stuffed zero."""

    def __init__(self):
        self.out, self.value, self.count = bytearray(), 0, 0

    def put(self, value, count):
        for shift in range(count - 1, -1, -1):
            self.value, self.count = (self.value << 1) | ((value >> shift) & 1), self.count + 1
            if self.count == 8:
                self.out += b"\xff\0" if self.value == 0xFF else bytes([self.value])
                self.value, self.count = 0, 0

    def bytes(self):
        while self.count:
            self.put(1, 1)
        return bytes(self.out)


def segment(marker, body):
    return bytes([0xFF, marker]) + struct.pack(">H", len(body) + 2) + body


# A progressive grey JPEG of 4000 x 4000 with 253,826 scans that each say, in runs of ends of
# blocks, that every block's AC is zero: 7.9 MB, and libjpeg goes through every block of each.
blocks = 500 * 500
head = b"\xff\xd8" + segment(0xDB, b"\0" + b"\1" * 64)
head += segment(0xC2, struct.pack(">BHHB", 8, 4000, 4000, 1) + b"\x01\x11\x00")
# One code of one bit in each table: a DC difference of zero; a run of 2^14 ends of blocks or more.
head += segment(0xC4, b"\x00\x01" + bytes(15) + b"\x00") + segment(0xC4, b"\x10\x01" + bytes(15) + b"\xe0")
dc = Bits()
dc.put(0, blocks)
runs = Bits()
for run in [32767] * 7 + [blocks - 7 * 32767]:
    runs.put(0, 1)
    runs.put(run - 16384, 14)
scan = segment(0xDA, b"\x01\x01\x00\x01\x3f\x00") + runs.bytes()
write("silent-scans.jpg", head + segment(0xDA, b"\x01\x01\x00\x00\x00\x00") + dc.bytes() + scan * 253826 + b"\xff\xd9")

# 32 themes whose index.theme files list 52,000 folders that are not there, in a chain the
# common theme's name starts.
names = ["Adwaita"] + ["hostile-%02d" % n for n in range(1, 32)]
for at, name in enumerate(names):
    os.makedirs(os.path.join(themes, name), exist_ok=True)
    folders = ["missing-%d/apps" % n for n in range(1625)]
    parent = "Inherits=%s\n" % names[at + 1] if at + 1 < len(names) else ""
    with open(os.path.join(themes, name, "index.theme"), "w") as out:
        out.write("[Icon Theme]\nName=%s\n%sDirectories=%s\n\n" % (name, parent, ",".join(folders)))
        for folder in folders:
            out.write("[%s]\nSize=48\nType=Fixed\n\n" % folder)
