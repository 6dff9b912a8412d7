#!/usr/bin/python3
"""Browser tests of the activity strip and skipping idle stretches (run by
browser_test.py): idle.kof stands still, picture, pointer and sound, from 1.9 s to 9.0 s
of its 12 s. The picture after a skip is checked against `kof frames`. (The stretches
a segment's pictures and sound make: WebActivity and Activity natively.)"""

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_session import rgb

FILM = "idle.kof"
LENGTH = 12.0
IDLE = (1.9, 9.0)
RESUME_FRAME = 85  # 0.5 s before the stretch ends, at 10 frames a second


def page_stretches(s):
    s.wait(lambda: s.data("activity-segments") == "1", "the segment's activity")
    return s.driver.execute_script("return activity.segments.get(0).idle")


def set_skipping(s, on):
    if s.driver.find_element(By.ID, "skip-idle").is_selected() != on:
        s.click_picture()
        s.keys("i")
    s.wait(lambda: s.driver.execute_script("return localStorage.getItem('roRezodu.skipIdle')") ==
           ("on" if on else "off"), "the choice stored")


def test_skip_idle(s):
    """With skipping on (the I key, remembered over a reload) the film skips its idle
    stretch, and a screen reader hears so with the panel hidden (F7); the picture after
    the skip is the frame 0.5 s before the stretch ends. With skipping off nothing is
    skipped. (Where playback jumps, and that it goes on playing from there:
    WebPlayer.SkippingJumpsOnlyWhilePlayingIntoAnIdleStretch; the page's clock:
    test_clock_and_sound.)"""
    s.open_page()
    set_skipping(s, True)
    s.open_page(FILM)  # a reload: the choice comes from storage
    assert s.driver.find_element(By.ID, "skip-idle").is_selected(), "skipping remembered"
    s.wait_state("playing")
    s.click_picture()
    s.keys(Keys.F7)
    s.wait(lambda: s.data("skips") == "1", "the skip", 10)
    heard, shown = s.notes_heard(), s.driver.find_element(By.ID, "skipped").get_attribute("textContent")
    assert shown in ("Пропущено 00:00:06", "Skipped 00:00:06") and shown in heard, (shown, heard)  # 6.5 s
    s.keys(" ")  # paused right after the skip: the picture is the frame it went on from
    s.wait_state("paused")
    shown = int(s.data("shown"))
    assert RESUME_FRAME <= shown < 90, f"paused at frame {shown} after the skip"
    s.assert_canvas(FILM, 1, RESUME_FRAME, "the picture after the skip")

    set_skipping(s, False)
    s.open_page(FILM)
    s.wait_state("playing")
    s.wait_state("stopped", LENGTH + 5)
    assert s.data("skips") is None, s.describe()


def check_strip(s):
    s.open_page(FILM)
    page_stretches(s)
    strip = s.driver.find_element(By.ID, "bar-activity")
    size = s.driver.execute_script(
        "const c = arguments[0]; return [c.width, c.height, c.clientWidth, c.clientHeight, devicePixelRatio];", strip)
    assert size[0] == round(size[2] * size[4]) and size[1] == round(size[3] * size[4]), f"canvas and its box: {size}"
    pixels = s.driver.execute_script("""
        const c = arguments[0];
        return Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data);""", strip)
    width, height = size[0], size[1]

    def column(x):
        return [tuple(pixels[4 * (y * width + x):4 * (y * width + x) + 3]) for y in range(height)]

    def at(seconds):
        return int(width * seconds / LENGTH)
    busy = [p for x in range(at(0.1), at(1.4)) for p in column(x)]
    idle = [p for x in range(at(IDLE[0] + 0.5), at(IDLE[1] - 0.5)) for p in column(x)]
    assert all(p[0] < 200 for p in busy), "the active start is shaded"
    hatch = sum(1 for p in idle if p[0] <= 200)
    blank = sum(1 for p in idle if p[0] >= 230)
    assert hatch > len(idle) // 8 and blank > len(idle) // 3, f"hatched: {hatch} lines, {blank} light of {len(idle)}"
    # Shown where the page draws it: the strip's own pixels on the screen.
    shot_width, shot_height, shot = rgb(strip.screenshot_as_png)
    bottom = 3 * shot_width * (shot_height - 1)
    assert any(shot[bottom + 3 * x] < 200 for x in range(shot_width // 12)), "the strip on the screen"
    return size


def test_activity_strip(s):
    """The strip along the bar shows the measured segment at the screen's scale: darker
    where things happen, hatched over the idle stretch; at 200 % in twice the pixels."""
    single = check_strip(s)
    with s.other_browser("strip-x2", scale=2):
        double = check_strip(s)
    assert double[4] == 2 and double[1] == 2 * single[1], f"at 100 % {single}, at 200 % {double}"


TESTS = [test_skip_idle, test_activity_strip]
