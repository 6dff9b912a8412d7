#!/usr/bin/python3
"""The browser page as the web package (scripts/package.sh) holds it: unzipped into a
folder of its own and served from there, it plays the demo film in headless Chromium,
and its pictures are kof frames' pictures.

usage: package_page_test.py DIST_DIR NATIVE_BUILD
  DIST_DIR holds one roRezodu-VERSION-web.zip; NATIVE_BUILD holds kof and make_demo_film.
"""
import glob
import os
import subprocess
import sys
import tempfile
import time
import zipfile

from browser_session import Session

SHIPPED = ["index.html", "page.js", "player_worker.js", "export_worker.js", "roRezodu.js", "roRezodu.wasm",
           "export_gif.js", "mediabunny.min.js", "mediabunny.LICENSE", "gifenc.js", "gifenc.LICENSE", "LICENSE", "NOTICES"]


def differing_box(shown, expected):
    """The smallest box (width, height) that holds every pixel in which two pictures differ."""
    assert shown[:2] == expected[:2], f"canvas {shown[:2]}, kof frames {expected[:2]}"
    width = shown[0]
    places = [i // 3 for i in range(0, len(shown[2]), 3) if shown[2][i:i + 3] != expected[2][i:i + 3]]
    if not places:
        return 0, 0
    xs, ys = [p % width for p in places], [p // width for p in places]
    return max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def unzipped_page(dist, into):
    zips = glob.glob(os.path.join(dist, "roRezodu-*-web.zip"))
    assert len(zips) == 1, f"want one web package in {dist}, found {zips}: run scripts/package.sh"
    name = os.path.basename(zips[0])[:-len(".zip")]
    with zipfile.ZipFile(zips[0]) as archive:
        assert {entry.split("/")[0] for entry in archive.namelist()} == {name}, "the package holds more than its folder"
        archive.extractall(into)
    folder = os.path.join(into, name)
    missing = [f for f in SHIPPED if not os.path.isfile(os.path.join(folder, f))]
    assert not missing, f"the web package lacks {missing}"
    assert not glob.glob(os.path.join(folder, "bench.*")), "the web package carries the benchmark page"
    return folder


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    dist, native = sys.argv[1:3]
    scratch = tempfile.mkdtemp(prefix="rz_package_")
    page = unzipped_page(dist, scratch)
    film = os.path.join(scratch, "films", "demo.kof")
    os.makedirs(os.path.dirname(film))
    subprocess.run([os.path.join(native, "make_demo_film"), film], check=True, stdout=subprocess.DEVNULL)
    s = Session(page, native, film)
    try:
        s.open_page("demo.kof")
        s.wait_state("playing", 20)
        time.sleep(1.0)
        s.pause()
        time.sleep(0.2)  # the paused picture reaches the canvas at the next display frame
        segment, frame = int(s.data("segment")) + 1, int(s.data("shown"))
        assert frame > 0, "the demo did not get past its first frame"
        # The demo's pointer moves within a frame, and the page draws it where its track is
        # at the moment shown, kof frames where it is at the frame: the pictures may differ
        # only where the two pointers lie, within two pointers' reach (the exact pictures
        # are the browser tests' business).
        box = differing_box(s.canvas_pixels(), s.kof_picture("demo.kof", segment, frame))
        assert box[0] <= 64 and box[1] <= 64, f"the demo's segment {segment}, frame {frame} differs in a {box} box"
        assert s.message() is None, f"message: {s.message()}"
        print(f"ok   the unzipped page played the demo to segment {segment}, frame {frame}")
    finally:
        s.close()
        subprocess.run(["rm", "-rf", scratch])


if __name__ == "__main__":
    main()
