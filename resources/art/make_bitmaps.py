#!/usr/bin/env python3
"""Draws the bottom panel's button and thumb pictures and writes them as 16-colour BMPs.

    make_bitmaps.py OUT_DIR [--preview PNG_DIR SCALE]

Every glyph is geometry on the pixel grid: polygons and rectangles whose corners lie on
pixel edges, filled where a pixel's centre lies inside, with a one-pixel outline made of
the filled pixels that touch an unfilled one. No anti-aliasing: each pixel is one of a
few palette colours, so the pictures stay sharp when the system shows them enlarged by a
whole factor (200 %). Buttons are 20 x 20, grey glyphs on white; thumbs are 14 x 14 on
the thumb's light grey.
"""
import os
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


def draw(size, shapes, background, outline, fill):
    """Pixels of `size` x `size` with each shape (a polygon) filled and outlined."""
    pixels = [[background] * size for _ in range(size)]
    for shape in shapes:
        mask = [[inside_polygon(x + 0.5, y + 0.5, shape) for x in range(size)] for y in range(size)]
        for y in range(size):
            for x in range(size):
                if not mask[y][x]:
                    continue
                edge = any(not (0 <= x + dx < size and 0 <= y + dy < size and mask[y + dy][x + dx])
                           for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                pixels[y][x] = outline if edge else fill
    return pixels


def button(*shapes):
    return draw(20, shapes, WHITE, OUTLINE, FILL)


def thumb(*shapes):
    return draw(14, shapes, THUMB, BLACK, THUMB_FILL)


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


def main(argv):
    if len(argv) not in (2, 5) or (len(argv) == 5 and argv[2] != "--preview"):
        sys.exit("usage: make_bitmaps.py OUT_DIR [--preview PNG_DIR SCALE]")
    os.makedirs(argv[1], exist_ok=True)
    for name, pixels in PICTURES.items():
        write(os.path.join(argv[1], name), bmp_bytes(pixels))
        if len(argv) == 5:
            os.makedirs(argv[3], exist_ok=True)
            write(os.path.join(argv[3], name[:-4] + ".png"), png_bytes(pixels, int(argv[4])))


if __name__ == "__main__":
    main(sys.argv)
