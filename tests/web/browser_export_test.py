#!/usr/bin/python3
"""Browser tests of the page's export (run by browser_test.py): the dialog as a user
drives it (Ctrl+E, the choices, Start, Cancel), the video it offers decoded natively by
FFmpeg and compared with `kof frames`, by the PSNR rule of kof export's own tests."""
import json
import math
import os
import shutil
import subprocess
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

LOSSY_PSNR = 40  # kof export's tests hold lossy video to this against kof frames


def downloads(s):
    """A fresh download folder for the browser; its path."""
    folder = os.path.join(s.work, "downloads")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    s.driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": folder})
    return folder


def finished_files(folder):
    return [f for f in os.listdir(folder) if not f.endswith(".crdownload")]


def start_export(s, film, range_value="film", size="film", width=None, after=0):
    """The film paused (at frame `after` or later) and its export started with these choices."""
    s.open_page(film)
    s.wait(lambda: s.data("state") == "playing" and int(s.data("shown") or -1) >= after, f"frame {after}")
    s.keys(" ")
    s.wait_state("paused")
    s.chord(Keys.CONTROL, "e")
    dialog = s.driver.find_element(By.ID, "export")
    s.wait(lambda: dialog.is_displayed(), "the export dialog")
    Select(s.driver.find_element(By.ID, "export-range")).select_by_value(range_value)
    Select(s.driver.find_element(By.ID, "export-size")).select_by_value(size)
    if width is not None:
        field = s.driver.find_element(By.ID, "export-width")
        field.clear()
        field.send_keys(str(width))
    s.driver.find_element(By.ID, "export-start").click()


def wait_download(s, folder, seconds=60):
    s.wait(lambda: finished_files(folder) or s.text("export-status").startswith(("Экспорт не", "The export f")),
           "the video", seconds)
    files = finished_files(folder)
    assert files, s.text("export-status")
    return os.path.join(folder, files[0])


def probe(path):
    result = subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-show_format", "-of", "json", path],
                            capture_output=True, text=True, check=True)
    return json.loads(result.stdout)


def decoded_pictures(path, width, height, pixels="rgb24"):
    """Every picture of the video, as RGB (or gray) bytes, in order."""
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", pixels, "-"],
                         capture_output=True, check=True).stdout
    size = width * height * (3 if pixels == "rgb24" else 1)
    return [raw[i:i + size] for i in range(0, len(raw), size)]


def gray(png):
    """The brightness of a PNG's pixels, by FFmpeg's BT.601 rule."""
    return subprocess.run(["ffmpeg", "-v", "error", "-i", png, "-f", "rawvideo", "-pix_fmt", "gray", "-"],
                          capture_output=True, check=True).stdout


def sound_seconds(path):
    """The decoded sound's length, by counting its samples."""
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-vn", "-f", "s16le", "-ac", "1", "-ar", "48000", "-"],
                         capture_output=True, check=True).stdout
    return len(raw) / 2 / 48000


def psnr(a, b):
    squares = sum((x - y) * (x - y) for x, y in zip(a, b))
    return math.inf if squares == 0 else 10 * math.log10(255 * 255 * len(a) / squares)


def letterboxed(picture, width, height):
    """A picture centred on black on even pixels, as the export places a smaller segment."""
    w, h, pixels = picture
    left, top = (width - w) // 4 * 2, (height - h) // 4 * 2
    rows = []
    for y in range(height):
        if top <= y < top + h:
            row = pixels[3 * w * (y - top):3 * w * (y - top + 1)]
            rows.append(bytes(3 * left) + row + bytes(3 * (width - w - left)))
        else:
            rows.append(bytes(3 * width))
    return b"".join(rows)


def test_export_webm(s):
    """The whole of two.kof (320 and 322 wide, 50 frames each) and the clock film (three
    pointer samples a frame, 3 s of sound) as WebM: VP9 and Opus, named after the film,
    every picture kof's within the PSNR rule, smaller segments centred on black, and
    the sound as long as the pictures."""
    folder = downloads(s)
    start_export(s, "two.kof")
    path = wait_download(s, folder)
    assert os.path.basename(path) == "two.webm", path
    streams = {st["codec_type"]: st for st in probe(path)["streams"]}
    assert streams["video"]["codec_name"] == "vp9", streams
    assert (streams["video"]["width"], streams["video"]["height"]) == (322, 240), streams["video"]
    pictures = decoded_pictures(path, 322, 240)
    assert len(pictures) == 100, f"{len(pictures)} pictures"
    # Frames whose pointer stands on even pixels: 4:2:0 chroma holds its colour edges
    # there, as it does the pictures' (the pointer moves 7 pixels a frame).
    for segment, index, frame in [(1, 0, 0), (1, 16, 16), (1, 48, 48), (2, 50, 0), (2, 98, 48)]:
        expected = s.kof_picture("two.kof", segment, frame)
        if expected[0] != 322:
            expected = (322, 240, letterboxed(expected, 322, 240))
        quality = psnr(pictures[index], expected[2])
        assert quality >= LOSSY_PSNR, f"picture {index} (segment {segment}, frame {frame}): {quality:.1f} dB"
    assert "audio" not in streams, "a silent film got a sound track"

    start_export(s, "clock.kof")
    path = wait_download(s, downloads(s))
    streams = {st["codec_type"]: st for st in probe(path)["streams"]}
    assert streams["audio"]["codec_name"] == "opus", streams
    # Its one-pixel coloured lines are more than 4:2:0 chroma can hold (kof export's MP4
    # of it loses them too): the pictures' brightness is compared.
    pictures = decoded_pictures(path, 160, 120, "gray")
    assert len(pictures) == 90, f"{len(pictures)} pictures: 30 frames of three pointer samples"
    for frame in [0, 14, 28]:
        expected = gray(s.kof_picture_file("clock.kof", 1, frame))
        quality = psnr(pictures[3 * frame], expected)
        assert quality >= LOSSY_PSNR, f"frame {frame}: {quality:.1f} dB"
    seconds = sound_seconds(path)
    assert abs(seconds - 3.0) <= 0.05, f"{seconds:.3f} s of sound for 3 s of pictures"


def test_export_range_and_size(s):
    """Half the size of the second segment from where it is paused: the remaining
    pictures only, scaled to 160 x 120 (even sizes); the clock film from where it is
    paused: its sound from there."""
    folder = downloads(s)
    s.open_page("two.kof")
    s.wait_state("playing")
    s.keys("n")
    s.wait(lambda: s.data("segment") == "1" and int(s.data("shown") or -1) >= 5, "the second segment")
    s.keys(Keys.F10)
    s.wait_state("paused")
    frame = int(s.data("shown"))
    s.chord(Keys.CONTROL, "e")
    Select(s.driver.find_element(By.ID, "export-range")).select_by_value("rest")
    Select(s.driver.find_element(By.ID, "export-size")).select_by_value("half")
    s.driver.find_element(By.ID, "export-start").click()
    path = wait_download(s, folder)
    video = next(st for st in probe(path)["streams"] if st["codec_type"] == "video")
    assert (video["width"], video["height"]) == (160, 120), video
    assert len(decoded_pictures(path, 160, 120)) == 50 - frame, f"from frame {frame} of 50"

    # The sound is cut with the pictures: from the frame paused at to the segment's end.
    folder = downloads(s)
    start_export(s, "clock.kof", "rest", after=8)
    frame = int(s.data("shown"))
    path = wait_download(s, folder)
    seconds = sound_seconds(path)
    assert abs(seconds - (30 - frame) / 10) <= 0.05, f"{seconds:.3f} s of sound from frame {frame} of 30"


def test_export_segment_to_a_width_behind_the_dialog(s):
    """This segment at a width of 100 (height by the film's shape, both even), with the
    dialog closed as soon as it starts: the export goes on and the video still comes."""
    folder = downloads(s)
    start_export(s, "two.kof", "segment", "width", 100)
    s.keys(Keys.ESCAPE)
    s.wait(lambda: not s.driver.find_element(By.ID, "export").is_displayed(), "the dialog to close")
    path = wait_download(s, folder)
    video = next(st for st in probe(path)["streams"] if st["codec_type"] == "video")
    assert (video["width"], video["height"]) == (100, 76), video
    assert len(decoded_pictures(path, 100, 76)) == 50, "the first segment's 50 frames"


def test_export_cancel_and_play_on(s):
    """While a film exports the page plays on (the time line moves); Cancel ends the
    export, nothing is downloaded, and the page's keys work again once the dialog closes."""
    folder = downloads(s)
    s.open_page("lecture.kof")
    s.wait_state("playing")
    s.chord(Keys.CONTROL, "e")
    s.driver.find_element(By.ID, "export-start").click()
    status = s.driver.find_element(By.ID, "export-status")
    exporting = lambda: status.text.startswith(("Экспорт:", "Exporting:"))
    s.wait(exporting, "the progress")
    first = s.place()
    s.wait(lambda: int(s.place()[1]) >= int(first[1]) + 3, "the time line to move while exporting")
    assert exporting(), f"the export ended before Cancel: {status.text}"
    s.driver.find_element(By.ID, "export-cancel").click()
    s.wait(lambda: status.text in ("Экспорт отменён.", "The export was cancelled."), "the export to be cancelled")
    time.sleep(1.5)  # what a worker that went on would have offered by now
    assert os.listdir(folder) == [], f"downloaded after Cancel: {os.listdir(folder)}"
    s.keys(Keys.ESCAPE)
    s.wait(lambda: not s.driver.find_element(By.ID, "export").is_displayed(), "the dialog to close")
    s.keys(Keys.F10)
    s.wait_state("paused")


TESTS = [test_export_webm, test_export_range_and_size, test_export_segment_to_a_width_behind_the_dialog,
         test_export_cancel_and_play_on]
