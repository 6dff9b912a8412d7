#!/usr/bin/env python3
"""Draws the bottom panel's button and thumb pictures and writes them as 16-colour BMPs.

    make_bitmaps.py OUT_DIR [--preview PNG_DIR SCALE]

Every glyph is geometry on the design's pixel grid: polygons and rectangles whose corners
lie on pixel edges, filled where a pixel's centre lies inside, with an outline made of the
filled pixels that lie within its width of an unfilled one. No anti-aliasing: each pixel
is one of a few palette colours. Buttons are 20 x 20, grey glyphs on white; thumbs are
14 x 14 on the thumb's light grey.

Each picture is drawn at every scale of the player's kPictureScales (read from
src/controls/scaled_pictures.h) in the size the panel's layout asks for there, so that
it is shown pixel for pixel: a button 20 pixels scaled, a thumb 16 scaled less its
outline (1 scaled) on each side. The geometry is multiplied to fit, the outline as wide
as the panel's scaled lines. NAME.bmp is the design's picture, NAME_150.bmp the one at
150 %, and so on; scaled_bitmaps.rc lists the scaled ones for the resource script, and
drawn_pictures.h gives every picture's resource name and size to the tests.
"""
import os
import re
import struct
import sys
import zlib

# The palette (red, green, blue); 16 entries are written, the rest black.
WHITE, OUTLINE, FILL, BLACK, THUMB, THUMB_FILL = range(6)
PALETTE = [
    (255, 255, 255),  # button background
    (96, 104, 120),   # glyph outline: a dark slate grey
    (176, 184, 200),  # glyph fill: the panel strip's grey-blue, lighter
    (0, 0, 0),
    (224, 224, 224),  # the slider thumb's face
    (255, 255, 255),  # thumb glyph fill
]


def inside_polygon(px, py, points):
    """Whether the point lies inside the polygon (even-odd rule)."""
    result = False
    for i, (x1, y1) in enumerate(points):
        x2, y2 = points[(i + 1) % len(points)]
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def rect(left, top, right, bottom):
    return [(left, top), (right, top), (right, bottom), (left, bottom)]


SCALES_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "controls",
                             "scaled_pictures.h")


def read_scales(header):
    """The per cents of `kPictureScales[] = {100, 125, ...}` in the player's header."""
    with open(header, encoding="utf-8") as f:
        found = re.search(r"kPictureScales\[\]\s*=\s*\{([0-9,\s]+)\}", f.read())
    if not found:
        sys.exit(f"make_bitmaps.py: no kPictureScales in {header}")
    return tuple(int(value) for value in found.group(1).split(","))


SCALES = read_scales(SCALES_HEADER)


def scaled(value, percent):
    """A design length at a scale, rounded as the player rounds (halves up)."""
    return (value * percent + 50) // 100


def button_size(percent):
    return scaled(20, percent)


def thumb_size(percent):
    """The thumb's picture lies inside the thumb's outline, as the slider draws it."""
    return scaled(16, percent) - 2 * scaled(1, percent)


def erode(mask):
    """The mask less its pixels that touch an unfilled one (or the picture's edge)."""
    size = len(mask)
    return [[mask[y][x] and all(0 <= x + dx < size and 0 <= y + dy < size and mask[y + dy][x + dx]
                                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
             for x in range(size)] for y in range(size)]


def draw(design_size, size, shapes, background, outline, fill, percent):
    """Pixels of the size x size picture at `percent` with each shape (a polygon in
    design pixels) filled and outlined."""
    factor = size / design_size
    pixels = [[background] * size for _ in range(size)]
    for shape in shapes:
        points = [(x * factor, y * factor) for x, y in shape]
        mask = [[inside_polygon(x + 0.5, y + 0.5, points) for x in range(size)] for y in range(size)]
        inner = mask
        for _ in range(scaled(1, percent)):
            inner = erode(inner)
        for y in range(size):
            for x in range(size):
                if mask[y][x]:
                    pixels[y][x] = fill if inner[y][x] else outline
    return pixels


def button(*shapes):
    return lambda percent: draw(20, button_size(percent), shapes, WHITE, OUTLINE, FILL, percent)


def thumb(*shapes):
    return lambda percent: draw(14, thumb_size(percent), shapes, THUMB, BLACK, THUMB_FILL, percent)


PICTURES = {
    "play.bmp": button([(6, 3), (15, 10), (6, 17)]),
    "pause.bmp": button(rect(5, 4, 9, 16), rect(11, 4, 15, 16)),
    "stop.bmp": button(rect(5, 5, 15, 15)),
    "segments.bmp": button(rect(4, 3, 16, 6), rect(4, 8, 16, 11), rect(4, 13, 16, 16)),
    "prev.bmp": button([(9, 4), (2, 10), (9, 16)], [(17, 4), (10, 10), (17, 16)]),
    "next.bmp": button([(3, 4), (10, 10), (3, 16)], [(11, 4), (18, 10), (11, 16)]),
    "fullscreen.bmp": button(rect(2, 3, 18, 14), rect(9, 14, 11, 16), rect(5, 16, 15, 18)),
    "velocity.bmp": thumb([(3, 2), (12, 7), (3, 12)]),
    "soundvolume.bmp": thumb([(1, 12), (13, 12), (13, 2)]),
}


def bmp_bytes(pixels):
    """A bottom-up 4-bit BMP with the palette above."""
    height, width = len(pixels), len(pixels[0])
    row_size = ((width * 4 + 31) // 32) * 4
    rows = b""
    for row in reversed(pixels):
        packed = bytearray(row_size)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        rows += bytes(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE + [(0, 0, 0)] * (16 - len(PALETTE)))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 2835, 2835, 16, 0)
    return header + info + palette + rows


def png_bytes(pixels, scale):
    """An RGB PNG of the picture enlarged `scale` times, each pixel a block, to look at."""
    lines = b""
    for row in pixels:
        line = b"".join(bytes(PALETTE[index]) * scale for index in row)
        lines += (b"\0" + line) * scale
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    size = len(pixels) * scale
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(lines)) + chunk(b"IEND", b""))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def file_name(name, percent):
    return name if percent == 100 else f"{name[:-4]}_{percent}.bmp"


def resource_name(name, percent):
    """PLAYBMP for play.bmp at 100 %, PLAYBMP_150 at 150 %: ScaledPictureName's rule."""
    base = f"{name[:-4].upper()}BMP"
    return base if percent == 100 else f"{base}_{percent}"


def sizes_header(sizes):
    """drawn_pictures.h: every picture's resource name and size, for the tests."""
    rows = "".join(f'    {{L"{name}", {width}, {height}}},\n' for name, width, height in sizes)
    return ("// Written by resources/art/make_bitmaps.py: the pictures it drew and their sizes.\n"
            "#pragma once\n\n"
            "struct TDrawnPicture {\n  const wchar_t* Name;\n  int Width;\n  int Height;\n};\n\n"
            f"inline constexpr TDrawnPicture kDrawnPictures[] = {{\n{rows}}};\n")


def main(argv):
    if len(argv) not in (2, 5) or (len(argv) == 5 and argv[2] != "--preview"):
        sys.exit("usage: make_bitmaps.py OUT_DIR [--preview PNG_DIR SCALE]")
    os.makedirs(argv[1], exist_ok=True)
    lines = []
    sizes = []
    for name, picture in PICTURES.items():
        for percent in SCALES:
            pixels = picture(percent)
            write(os.path.join(argv[1], file_name(name, percent)), bmp_bytes(pixels))
            sizes.append((resource_name(name, percent), len(pixels[0]), len(pixels)))
            if percent != 100:
                lines.append(f'{resource_name(name, percent)} BITMAP "{file_name(name, percent)}"\n')
            if len(argv) == 5:
                os.makedirs(argv[3], exist_ok=True)
                write(os.path.join(argv[3], file_name(name, percent)[:-4] + ".png"), png_bytes(pixels, int(argv[4])))
    write(os.path.join(argv[1], "scaled_bitmaps.rc"), "".join(lines).encode())
    write(os.path.join(argv[1], "drawn_pictures.h"), sizes_header(sizes).encode())


if __name__ == "__main__":
    main(sys.argv)
