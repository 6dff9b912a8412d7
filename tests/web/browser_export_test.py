#!/usr/bin/python3
"""Browser tests of the page's export (run by browser_test.py): the dialog as a user
drives it (Ctrl+E, the choices, Start, Cancel), the video or GIF it offers decoded
natively by FFmpeg and compared with `kof frames`: a video by the PSNR rule of kof
export's own tests, a GIF of few colours exactly."""
import json
import math
from fractions import Fraction
import os
import subprocess
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

LOSSY_PSNR = 40  # kof export's tests hold lossy video to this against kof frames
QUANTIZED_PSNR = 30  # and a GIF of more than 256 colours to this


def finished_files(folder):
    return [f for f in os.listdir(folder) if not f.endswith(".crdownload")]


def start_export(s, film, range_value="film", size="film", width=None, after=0, format_value="webm", segment=0):
    """The film paused (in the segment, from 0, at frame `after` or later) and its export
    started with these choices; the fresh folder it downloads to."""
    folder = s.downloads("downloads")
    s.open_paused(film, after)
    if segment:
        s.keys("n")
        s.wait(lambda: s.data("segment") == str(segment) and int(s.data("shown") or -1) >= after, "the segment")
        s.keys(Keys.F10)
        s.wait_state("paused")
    s.press(Keys.CONTROL, "e")
    s.wait_shown("export")
    Select(s.driver.find_element(By.ID, "export-format")).select_by_value(format_value)
    Select(s.driver.find_element(By.ID, "export-range")).select_by_value(range_value)
    Select(s.driver.find_element(By.ID, "export-size")).select_by_value(size)
    if width is not None:
        field = s.driver.find_element(By.ID, "export-width")
        field.clear()
        field.send_keys(str(width))
    s.driver.find_element(By.ID, "export-start").click()
    return folder


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
    """Every picture of the video, as RGB (or gray) bytes, in order, each once."""
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-fps_mode", "passthrough", "-f", "rawvideo",
                          "-pix_fmt", pixels, "-"], capture_output=True, check=True).stdout
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


def gif_times(path):
    """(start, length) of each picture of a GIF in hundredths, as its delays give them
    (FFmpeg would read a delay under 2 as 10, as browsers do, unless told not to)."""
    result = subprocess.run(["ffprobe", "-v", "error", "-min_delay", "0", "-show_entries", "packet=pts,duration",
                             "-of", "json", path], capture_output=True, text=True, check=True)
    return [(int(p["pts"]), int(p["duration"])) for p in json.loads(result.stdout)["packets"]]


def gif_expected_times(pictures, rate):
    """The pictures a GIF of one segment keeps, as (index, start, length) in hundredths:
    each starts in the hundredth nearest to its time, one that would start in the same
    hundredth as the one before is left out, and each lasts until the next one starts
    (the last until the segment ends)."""
    starts = [math.floor(Fraction(100 * k, rate) + Fraction(1, 2)) for k in range(pictures)]
    kept = [k for k in range(pictures) if k == 0 or starts[k] != starts[k - 1]]
    ends = [starts[k] for k in kept[1:]] + [math.floor(Fraction(100 * pictures, rate) + Fraction(1, 2))]
    return [(k, starts[k], end - starts[k]) for k, end in zip(kept, ends)]


def differing_pixels(a, b):
    return sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])


def psnr(a, b):
    squares = sum((x - y) * (x - y) for x, y in zip(a, b))
    return math.inf if squares == 0 else 10 * math.log10(255 * 255 * len(a) / squares)


def letterboxed(picture, width, height, even=True):
    """A picture's pixels centred on black (on even pixels for a video), as the export
    places a smaller segment; those of a picture of the size as they are."""
    w, h, pixels = picture
    if (w, h) == (width, height):
        return pixels
    if even:
        left, top = (width - w) // 4 * 2, (height - h) // 4 * 2
    else:
        left, top = (width - w) // 2, (height - h) // 2
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
    path = wait_download(s, start_export(s, "two.kof"))
    assert os.path.basename(path) == "two.webm", path
    streams = {st["codec_type"]: st for st in probe(path)["streams"]}
    assert streams["video"]["codec_name"] == "vp9", streams
    assert (streams["video"]["width"], streams["video"]["height"]) == (322, 240), streams["video"]
    pictures = decoded_pictures(path, 322, 240)
    assert len(pictures) == 100, f"{len(pictures)} pictures"
    # Frames whose pointer stands on even pixels: 4:2:0 chroma holds its colour edges
    # there, as it does the pictures' (the pointer moves 7 pixels a frame).
    for segment, index, frame in [(1, 0, 0), (1, 16, 16), (1, 48, 48), (2, 50, 0), (2, 98, 48)]:
        quality = psnr(pictures[index], letterboxed(s.kof_picture("two.kof", segment, frame), 322, 240))
        assert quality >= LOSSY_PSNR, f"picture {index} (segment {segment}, frame {frame}): {quality:.1f} dB"
    assert "audio" not in streams, "a silent film got a sound track"

    path = wait_download(s, start_export(s, "clock.kof"))
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


def test_export_gif(s):
    """two.kof as GIF: named after the film, no sound, 322 x 240, every picture exactly
    kof's (the film has fewer than 256 colours; the smaller segment centred on black) and
    a tenth of a second long; fast.kof, 120 pictures a second: a picture that would start
    in the same hundredth as the one before is left out, the others start in the
    hundredth nearest to their time and last until the next one, pointer samples kof's."""
    path = wait_download(s, start_export(s, "two.kof", format_value="gif"))
    assert os.path.basename(path) == "two.gif", path
    streams = probe(path)["streams"]
    assert [(st["codec_name"], st["width"], st["height"]) for st in streams] == [("gif", 322, 240)], streams
    pictures = decoded_pictures(path, 322, 240)
    assert len(pictures) == 100, f"{len(pictures)} pictures"
    for segment, index, frame in [(1, 0, 0), (1, 17, 17), (1, 49, 49), (2, 50, 0), (2, 83, 33), (2, 99, 49)]:
        expected = letterboxed(s.kof_picture("two.kof", segment, frame), 322, 240, even=False)
        differing = differing_pixels(pictures[index], expected)
        assert differing == 0, f"picture {index} (segment {segment}, frame {frame}): {differing} pixels differ"
    times = gif_times(path)
    assert times == [(10 * k, 10) for k in range(100)], f"{len(times)} pictures: {times[:12]}"

    path = wait_download(s, start_export(s, "fast.kof", format_value="gif"))
    expected = gif_expected_times(120, 120)
    assert len(expected) < 120, "the film should have pictures sharing a hundredth"
    times = gif_times(path)
    assert times == [(start, length) for _, start, length in expected], f"{len(times)} pictures: {times[:12]}"
    pictures = decoded_pictures(path, 160, 120)
    assert len(pictures) == len(expected), f"{len(pictures)} pictures for {len(expected)} delays"
    # Pictures that share their hundredth with the next pointer sample: the first is kept.
    kept = {k for k, _, _ in expected}
    shared = [(i, k // 3) for i, (k, _, _) in enumerate(expected) if k % 3 == 0 and k + 1 not in kept]
    for index, frame in [shared[0], shared[len(shared) // 2], shared[-1]]:
        differing = differing_pixels(pictures[index], s.kof_picture("fast.kof", 1, frame)[2])
        assert differing == 0, f"picture {index} (frame {frame}): {differing} pixels differ"


def test_export_gif_of_many_colours(s):
    """colours.kof, 330 frames of a colour each: a palette of 256 chosen from the whole
    film, every picture within kof export's rule for such a GIF, the narrower segment
    on black (which must not let the wider one show through)."""
    path = wait_download(s, start_export(s, "colours.kof", format_value="gif"))
    pictures = decoded_pictures(path, 176, 120)
    assert len(pictures) == 330, f"{len(pictures)} pictures"
    for segment, frame in [(1, 29), (2, 0), (2, 150), (2, 299)]:
        expected = letterboxed(s.kof_picture("colours.kof", segment, frame), 176, 120, even=False)
        quality = psnr(pictures[30 * (segment - 1) + frame], expected)
        assert quality >= QUANTIZED_PSNR, f"segment {segment}, frame {frame}: {quality:.1f} dB"


def test_export_choices(s):
    """The range, the size and the segments the export leaves out, as the videos come:
    the rest of the second segment from where it is paused at half the size (even
    sizes), its sound from there too; this segment at a width of 100 (the height by the
    film's shape, both even), with the dialog closed as soon as it starts (the export
    goes on, and a screen reader hears its result); a GIF at a width of 99 keeps the odd
    width (67.5 rounded up); a segment with a frame rate of 0 is left out, and the note
    says which and why in kof export's words. (Which pictures a range hands out: WebExport.HandsOutThePlayedPicturesOneAtATimeWithinTheRange.)"""
    # film, choices, the video's size, its frames (the rest from the frame paused at), the
    # pictures and the seconds of sound of each frame, what is done once it started
    cases = [("two.kof", dict(range_value="rest", size="half", segment=1, after=5), (160, 120), 50, 1, 0, None),
             ("clock.kof", dict(range_value="rest", after=8), (160, 120), 30, 3, 0.1, None),
             ("two.kof", dict(range_value="segment", size="width", width=100), (100, 76), 50, 1, 0,
              lambda: s.keys(Keys.ESCAPE)),
             ("colours.kof", dict(range_value="segment", size="width", width=99, format_value="gif"), (99, 68), 30,
              1, 0, None),
             ("skipping.kof", {}, (160, 120), 20, 1, 0, None)]
    for film, choices, size, frames, samples, sound, then in cases:
        folder = start_export(s, film, **choices)
        if then:
            then()
            s.wait(lambda: not s.shown("export"), "the dialog to close")
        first = int(s.data("shown")) if choices.get("range_value") == "rest" else 0
        path = wait_download(s, folder)
        if then:  # the dialog closed: a screen reader hears the result outside it
            heard = s.notes_heard()
            assert "Готово: two.webm" in heard or "Done: two.webm" in heard, heard
        video = next(st for st in probe(path)["streams"] if st["codec_type"] == "video")
        assert (video["width"], video["height"]) == size, f"{film} {choices}: {video}"
        pictures = len(decoded_pictures(path, *size, "gray"))
        assert pictures == samples * (frames - first), f"{film} {choices}: {pictures} pictures from frame {first}"
        seconds = sound_seconds(path) if sound else 0
        assert abs(seconds - sound * (frames - first)) <= 0.05, f"{film}: {seconds:.3f} s of sound from frame {first}"
    status = s.text("export-status")
    assert status.startswith(("Done with a warning: skipping.webm\n", "Готово с предупреждением: skipping.webm\n")) \
        and status.endswith("\nsegment 2: its frame rate is 0; skipped"), status


def test_export_cancel_and_play_on(s):
    """While a film exports, as WebM or as GIF, the page plays on (the time line moves);
    Cancel ends the export, nothing is downloaded, and the page's keys work again once
    the dialog closes."""
    for format_value in ["webm", "gif"]:
        folder = s.downloads("downloads")
        s.open_playing("lecture.kof")
        s.press(Keys.CONTROL, "e")
        Select(s.driver.find_element(By.ID, "export-format")).select_by_value(format_value)
        s.driver.find_element(By.ID, "export-start").click()
        status = s.driver.find_element(By.ID, "export-status")
        exporting = lambda: status.text.startswith(("Экспорт:", "Exporting:"))
        s.wait(exporting, f"the {format_value} export's progress")
        first = s.place()
        s.wait(lambda: int(s.place()[1]) >= int(first[1]) + 3, "the time line to move while exporting")
        assert exporting(), f"the {format_value} export ended before Cancel: {status.text}"
        s.driver.find_element(By.ID, "export-cancel").click()
        s.wait(lambda: status.text in ("Экспорт отменён.", "Export canceled."),
               "the export to be cancelled")
        time.sleep(1.5)  # what a worker that went on would have offered by now
        assert os.listdir(folder) == [], f"downloaded after cancelling the {format_value}: {os.listdir(folder)}"
        s.keys(Keys.ESCAPE)
        s.wait(lambda: not s.driver.find_element(By.ID, "export").is_displayed(), "the dialog to close")
        s.keys(Keys.F10)
        s.wait_state("paused")


TESTS = [test_export_webm, test_export_gif, test_export_gif_of_many_colours, test_export_choices,
         test_export_cancel_and_play_on]
