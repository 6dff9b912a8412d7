#!/usr/bin/env python3
"""The preview's reduction, computed on its own from a picture kof frames wrote.

    reduce_picture.py IN.png OUT.png MAXWIDTH

k is the smallest whole number with width / k <= MAXWIDTH; the result is
floor(width / k) x floor(height / k), each pixel the mean of a k x k block, red, green
and blue each rounded half up. Pixels are read and written through ImageMagick."""
import subprocess
import sys


def reduce(path, max_width):
    """(width, height, rgb bytes) of the reduction of the picture at path."""
    width, height = map(int, subprocess.check_output(["identify", "-format", "%w %h", path]).split())
    rgb = subprocess.check_output(["convert", path, "-depth", "8", "rgb:-"])
    k = max(1, -(-width // max_width))
    out_width, out_height, area = width // k, height // k, k * k
    out = bytearray()
    for y in range(out_height):
        for x in range(out_width):
            for c in range(3):
                total = sum(rgb[((y * k + dy) * width + x * k + dx) * 3 + c] for dy in range(k) for dx in range(k))
                out.append((total + area // 2) // area)
    return out_width, out_height, bytes(out)


def write_png(path, width, height, rgb):
    subprocess.run(["convert", "-size", f"{width}x{height}", "-depth", "8", "rgb:-", path], input=rgb, check=True)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    write_png(sys.argv[2], *reduce(sys.argv[1], int(sys.argv[3])))
