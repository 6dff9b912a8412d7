#!/usr/bin/env python3
"""Checks a video against the pictures `kof frames` rendered: video_frames.py VIDEO DIR
PER_FRAME MIN_DB. The video must hold PER_FRAME pictures for every PNG in DIR (in name
order), each within MIN_DB of PSNR of its frame's picture; decoded with FFmpeg."""
import glob
import math
import subprocess
import sys


def raw(path, *size):
    scale = ["-s", f"{size[0]}x{size[1]}"] if size else []
    return subprocess.run(["ffmpeg", "-v", "error", "-i", path, *scale, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                          capture_output=True, check=True).stdout


def size_of(png):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=width,height", "-of", "csv=p=0", png],
                         capture_output=True, text=True, check=True).stdout
    return tuple(int(v) for v in out.strip().split(","))


def psnr(a, b):
    squares = sum((x - y) * (x - y) for x, y in zip(a, b))
    return math.inf if squares == 0 else 10 * math.log10(255 * 255 * len(a) / squares)


def main(video, folder, per_frame, min_db):
    frames = sorted(glob.glob(f"{folder}/*.png"))
    width, height = size_of(frames[0])
    decoded = raw(video)
    size = width * height * 3
    pictures = [decoded[i:i + size] for i in range(0, len(decoded), size)]
    if len(pictures) != len(frames) * per_frame:
        sys.exit(f"{len(pictures)} pictures of {width}x{height} for {len(frames)} frames x {per_frame}")
    worst = min(psnr(pictures[i * per_frame], raw(png)) for i, png in enumerate(frames))
    if worst < min_db:
        sys.exit(f"a picture is {worst:.1f} dB from kof's frame (at least {min_db} dB wanted)")
    print(f"{len(pictures)} pictures, worst {worst:.1f} dB")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]), float(sys.argv[4]))
