#!/usr/bin/python3
"""Browser tests of the web player: the page in build/web, served on 127.0.0.1, in
headless Chromium driven by Selenium, as a user drives it (keys, clicks, a dropped file,
the file picker); what the page shows is checked against the native tools: the canvas
against `kof frames`, the messages against `kof info --json`.

usage: browser_test.py WEB_DIR NATIVE_BUILD [TEST ...]
  NATIVE_BUILD holds kof and tests/web/make_web_films (build/release or build/native).
"""
import os
import shutil
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import reduce_picture  # noqa: E402  the preview's rule, computed on its own
from browser_session import DROP, Session, assert_same_picture, check, enlarged, report, rgb  # noqa: E402
import browser_access_test  # noqa: E402
import browser_export_test  # noqa: E402
import browser_idle_test  # noqa: E402
import browser_page_test  # noqa: E402
import browser_search_test  # noqa: E402


def pause_and_check_picture(s, segment, what):
    s.pause()
    frame = int(s.data("shown"))
    s.assert_canvas("two.kof", segment, frame, f"{what}, frame {frame}")
    return frame


# --- the tests -----------------------------------------------------------------------

def test_clock_and_sound(s):
    """A film of 30 frames at 10 per second ends 3 s after it starts, within 10 %; its
    MP3 decodes through Web Audio and plays, and the page reports no error."""
    s.open_page("clock.kof")
    s.wait_state("playing")
    start = time.monotonic()
    s.wait(lambda: s.data("sound") == "playing", "the sound to play", 10)
    length = int(s.data("sound-ms"))
    assert abs(length - 3000) <= 100, f"decoded {length} ms of a 3000 ms tone"
    s.wait_state("stopped", 10)
    seconds = time.monotonic() - start
    assert abs(seconds - 3.0) <= 0.3, f"the 3-second film took {seconds:.3f} s"
    assert s.message() is None, f"message: {s.message()}"
    print(f"     the 3-second film played in {seconds:.3f} s")


def test_controls(s):
    """Paused with Space, the canvas is kof's picture of the frame shown, and later a later
    one; the seek keys show exactly kof's picture of the frame they land on; the bar plays
    the segment clicked, a drag on it scrubs to the time under the pointer and the film
    plays on from there; the segment list, F4 and F11. (The speed's keys and label:
    test_slider_keys.)"""
    s.open_playing("two.kof")
    first = pause_and_check_picture(s, 1, "paused")  # the focus in the player, for its keys
    s.keys(" ")
    s.wait_state("playing")
    time.sleep(0.5)
    second = pause_and_check_picture(s, 1, "paused again")
    assert second > first, f"frame {second} after {first}"
    for keys, segment, frame in [((Keys.END,), 0, 49), ((Keys.CONTROL, ","), 0, 48), ((Keys.ARROW_RIGHT,), 1, 48),
                                 ((Keys.ARROW_LEFT,), 0, 48), ((Keys.ARROW_RIGHT,), 1, 48), ((Keys.HOME,), 1, 0),
                                 ((Keys.CONTROL, "."), 1, 1)]:
        s.press(*keys)
        s.wait(lambda: (s.data("segment"), s.data("shown")) == (str(segment), str(frame)),
               f"segment {segment + 1}, frame {frame} after {keys}")
        s.assert_canvas("two.kof", segment + 1, frame, f"segment {segment + 1}, frame {frame}")
    assert s.data("state") == "paused", s.describe()
    # 10 s over the bar: a click at a quarter (2.5 s), then a press near its start and a
    # drag to three quarters (7.5 s).
    bar = s.driver.find_element(By.ID, "bar")
    width = bar.size["width"]
    ActionChains(s.driver).move_to_element_with_offset(bar, -width // 4, 0).click().perform()
    s.wait(lambda: s.data("segment") == "0" and s.data("state") == "playing", "the first segment playing")
    ActionChains(s.driver).move_to_element_with_offset(bar, -width // 2 + 5, 0).click_and_hold() \
        .move_by_offset(width // 4, 0).move_by_offset(width // 2 - 5, 0).release().perform()
    released = time.monotonic()
    s.wait(lambda: s.data("segment") == "1" and s.data("state") == "playing", "the second segment playing")
    shown = int(s.place()[1])  # it plays on: at most 10 frames a second later than frame 25
    assert 20 <= shown <= 30 + 10 * (time.monotonic() - released), s.describe()
    assert s.text("title") == "Второй", s.text("title")
    pause_and_check_picture(s, 2, "second segment (24 bits)")
    s.keys(Keys.END)
    s.wait(lambda: s.place() == ("1", "49"), "the second segment's end")
    s.keys(Keys.F6)
    s.wait_shown("segment-list")
    entered = time.monotonic()
    s.keys(Keys.ENTER)  # the focus is on the current segment's line: it plays from its start
    s.wait(lambda: s.data("state") == "playing" and s.place()[0] == "1" and
           int(s.place()[1]) <= 5 + 10 * (time.monotonic() - entered), "the second segment from its start")
    s.keys(Keys.F4)
    s.wait(lambda: s.data("segment") == "0" and s.data("state") == "playing", "the first segment")
    s.keys(Keys.F11)
    s.wait_state("stopped")


def test_full_screen(s):
    """Alt+Enter enters full screen, where only the full-screen element is drawn: the
    segment list and the messages show, and the page stays in full screen; a double click
    on the picture leaves it."""
    s.open_playing("two.kof")
    window = s.driver.execute_script("return [innerWidth, innerHeight]")
    full_screen = lambda: s.driver.execute_script("return document.fullscreenElement?.id") == "player" \
        and s.driver.execute_script("return [innerWidth, innerHeight]") != window
    s.press(Keys.ALT, Keys.ENTER)
    s.wait(full_screen, "full screen")
    s.keys(Keys.F6)
    s.wait_shown("segment-list")
    s.keys(Keys.F8)
    s.wait_message()
    time.sleep(0.2)  # drawn at the next display frame
    assert full_screen(), "the message ended full screen"
    box = s.driver.find_element(By.CSS_SELECTOR, "#message .box").rect
    width, _, pixels = rgb(s.driver.get_screenshot_as_png())
    white = sum(1 for y in range(int(box["y"]), int(box["y"] + box["height"]))
                for x in range(int(box["x"]), int(box["x"] + box["width"]))
                if pixels[3 * (y * width + x):3 * (y * width + x) + 3] == b"\xff\xff\xff")
    assert white > box["width"] * box["height"] / 2, "the film's properties are not drawn in full screen"
    s.close_message()
    ActionChains(s.driver).double_click(s.driver.find_element(By.ID, "picture-area")).perform()
    s.wait(lambda: s.driver.execute_script("return document.fullscreenElement") is None, "the window again")


def test_bad_films(s):
    """A film that fails to download shows the player's message with the server's reason,
    and "Loading" goes; so do a malformed address and a film that changed on disk after it
    was chosen (the browser then refuses to read it); the page stays usable and opens a
    good film. (A film that is no film, and the loader's warnings for damaged segments:
    WebPlayer.BadFilmsShowTheLoadersMessagesAndLeaveNothingBehind.)"""
    s.open_page("missing.kof")
    shown = s.wait_message()
    assert "Не могу открыть файл missing.kof" in shown and "404" in shown, shown
    assert not s.shown("loading"), "Loading stayed after a failed download"
    s.close_message()
    s.driver.get(s.base + "index.html?film=films/%ZZ.kof")
    assert "%ZZ.kof" in s.wait_message(), s.message()
    s.close_message()
    changed = os.path.join(s.work, "changed.kof")
    shutil.copy(os.path.join(s.films, "two.kof"), changed)
    s.driver.execute_script("const input = document.createElement('input'); input.type = 'file';"
                            " input.id = 'picked'; input.hidden = true; document.body.append(input);")
    s.driver.find_element(By.ID, "picked").send_keys(changed)
    # The browser holds the file as it was once it has its size; only then does it change.
    s.wait(lambda: s.driver.execute_script("const f = document.getElementById('picked').files[0];"
                                           " return f ? f.size : -1") == os.path.getsize(changed),
           "the browser to hold the chosen file")
    with open(changed, "ab") as f:
        f.write(b"written later")
    s.driver.execute_script(DROP + "drop([document.getElementById('picked').files[0]]);")
    shown = s.collect_messages(["Неверный формат файла: changed.kof"], 15)
    assert any("changed.kof" in text for text in shown) and not any("FileReader" in text for text in shown), shown
    assert not s.shown("loading"), "Loading stayed after a film that cannot be read"
    s.drop_files(["two.kof"])
    s.wait(lambda: s.text("film-name") == "two.kof" and s.data("state") == "playing", "the good film")
    assert s.message() is None, s.message()


def wheel(s, element, notches, dx=0):
    """Notches of the wheel over element (up when positive), one event each."""
    for _ in range(abs(notches)):
        ActionChains(s.driver).scroll_from_origin(ScrollOrigin.from_element(element, dx, 0), 0,
                                                  -100 if notches > 0 else 100).perform()
        time.sleep(0.05)


def test_habits(s):
    """Three notches over the picture turn the volume down 15 %, and a notch over the bar
    seeks 5 s; Space plays; the mouse over the bar shows the reduction of kof's picture of
    the frame under it (320 wide: halved), with the segment's name and the time. (A double
    click on the picture: test_full_screen.)"""
    s.open_paused("habits.kof")
    frame = int(s.data("shown"))
    picture = s.driver.find_element(By.ID, "picture-area")
    wheel(s, picture, -3)
    s.wait(lambda: s.text("volume-label") == "85%", "the volume at 85 %")
    for _ in range(20):  # a trackpad's swipe: many small steps, one notch in all
        ActionChains(s.driver).scroll_from_origin(ScrollOrigin.from_element(picture, 0, 0), 0, 5).perform()
    time.sleep(0.1)
    assert s.text("volume-label") == "80%", f"a swipe of one notch: {s.text('volume-label')}"
    bar = s.driver.find_element(By.ID, "bar")
    wheel(s, bar, 1)
    s.wait(lambda: s.data("shown") == str(frame + 50), f"frame {frame + 50}, 5 s after {frame}")
    s.keys(" ")
    s.wait_state("playing")
    # Three quarters along the bar (25 s): about 3.75 s into "Second", frame 37 or so.
    ActionChains(s.driver).move_to_element_with_offset(bar, bar.size["width"] // 4, 0).perform()
    shown = s.driver.find_element(By.ID, "preview")
    s.wait(lambda: shown.is_displayed() and shown.get_attribute("data-exact") == "1", "the preview")
    segment, frame = int(shown.get_attribute("data-segment")), int(shown.get_attribute("data-frame"))
    assert segment == 1 and abs(frame - 37) <= 1, f"preview of segment {segment + 1}, frame {frame}"
    assert s.text("preview-name") == "Second" and s.text("preview-time") == "00:00:18", s.text("preview-time")
    expected = reduce_picture.reduce(s.kof_picture_file("habits.kof", 2, frame), 192)
    png = s.driver.find_element(By.ID, "preview-picture").screenshot_as_png
    assert_same_picture(rgb(png), expected, f"the preview of frame {frame}")
    ActionChains(s.driver).move_to_element(picture).perform()
    s.wait(lambda: not shown.is_displayed(), "the preview to go")


def test_resume(s):
    """Over a damaged store, paused after 10 s: the exact frame is stored at once; played on
    and left within a second of the place told last: the frame shown last is stored.
    Opened again, the page offers it, and a screen reader hears the offer; Ctrl+R stays the
    browser's, R on the picture goes there and shows kof's picture. Opened once more and
    left paused until the offer's note is gone, the header's Resume item goes there."""
    problems = []
    stored = lambda: [(p["segment"], p["frame"]) for p in s.stored_places() or []]
    s.open_page()
    s.driver.execute_script("localStorage.setItem('roRezodu.resume', '{damaged')")
    s.open_playing("habits.kof")
    time.sleep(10.3)
    s.pause()
    paused = tuple(int(n) for n in s.place())
    s.check_wait(problems, lambda: stored() == [paused], f"the place paused {paused}", 2)
    s.keys(" ")
    s.wait_state("playing")
    s.wait(lambda: int(s.place()[1]) >= paused[1] + 5, "half a second played on")
    shown = tuple(int(n) for n in s.place())
    s.open_page()  # the page goes away
    places = stored()
    assert len(places) == 1, s.stored_places()
    check(problems, places[0] >= shown, f"left at {shown} or later, {places[0]} stored")

    s.open_page("habits.kof")
    offer = s.driver.find_element(By.ID, "resume-offer")
    s.wait(lambda: offer.is_displayed() and offer.text.startswith("Продолжить с 00:00:") and
           offer.text in s.notes_heard(), "the offer, heard")
    s.pause()
    before = s.place()
    s.watch_keys()
    s.press(Keys.CONTROL, "r")
    time.sleep(0.3)
    taken = s.keys_taken()
    check(problems, not taken and s.place() == before, f"Ctrl+R with the offer: taken {taken}, at {s.place()}")
    s.keys("r")
    segment, frame = places[0]
    s.wait(lambda: s.place() == (str(segment), str(frame)), f"the place {places[0]}")
    s.assert_canvas("habits.kof", segment + 1, frame, "the place resumed")
    check(problems, not offer.is_displayed(), "the offer stayed")

    s.open_page("habits.kof")
    offer, item = s.driver.find_element(By.ID, "resume-offer"), s.driver.find_element(By.ID, "resume")
    s.wait(offer.is_displayed, "the offer")
    s.pause()
    s.wait(lambda: not offer.is_displayed() and not s.notes_heard() and item.is_displayed(),
           "the offer's note to go, the Resume item to stay", 12)
    item.click()
    s.wait(lambda: s.place() == (str(segment), str(frame)), f"the place {places[0]} from the Resume item")
    check(problems, not item.is_displayed(), "the Resume item stayed")
    report(problems)


def test_screen_scale(s):
    """At a device pixel ratio of 2 the paused picture is the kof frame with every pixel a
    2 x 2 block (screen scale, the default); original pixels show it 1:1."""
    with s.other_browser("x2", scale=2):
        s.open_paused("two.kof")
        time.sleep(0.2)  # the paused picture reaches the canvas at the next display frame
        frame = int(s.data("shown"))
        picture = s.kof_picture("two.kof", 1, frame)
        assert_same_picture(s.canvas_pixels(), enlarged(picture, 2), f"screen scale at 200 %, frame {frame}")
        canvas_width = lambda: s.driver.find_element(By.ID, "picture").size["width"]
        Select(s.driver.find_element(By.ID, "zoom")).select_by_value("1")
        s.wait(lambda: canvas_width() == 160, "the picture at its original pixels")
        time.sleep(0.2)
        assert_same_picture(s.canvas_pixels(), picture, f"original pixels at 200 %, frame {frame}")


def test_language(s):
    """A Chromium preferring English shows English, one preferring Russian Russian; the
    choice on the page takes effect at once and survives a reload; a film executable made
    by kof pack plays with its table's texts, English where it has none (the export box's
    caption too, a text the Windows player's box shares), and a plain film
    brings the built-in texts back. (The table's texts under Russian, and the controls'
    names: WebPlayer.FilmsOpenPlainWithTrailerAndAsExecutablesAndOnlyAnExecutableBringsItsTexts.)"""
    def title(element_id):
        return s.driver.find_element(By.ID, element_id).get_attribute("title")
    with s.other_browser("en", languages="en-US,en,de"):
        s.open_page()
        s.wait(lambda: title("play") == "Play (F9)", "English as the browser prefers")
        assert s.text("open") == "Open" and s.driver.execute_script("return document.documentElement.lang") == "en"
    s.open_page()
    s.wait(lambda: title("play") == "Воспроизведение (F9)", "Russian as the browser prefers")
    Select(s.driver.find_element(By.ID, "language")).select_by_value("en")
    s.wait(lambda: title("play") == "Play (F9)" and s.text("help") == "Help", "English at once")
    s.driver.refresh()
    s.wait(lambda: title("stop") == "Stop (F11)" and s.text("open") == "Open", "English after a reload")
    assert s.text("hint").startswith("Drop a film"), s.text("hint")
    s.choose_file("lesson.exe")  # its table has Play and Segments, not Stop
    s.wait(lambda: s.data("state") == "playing", "the film behind the player")
    s.wait(lambda: title("stop") == "Stop (F11)", "English under the film's table")
    content = lambda element_id: s.driver.find_element(By.ID, element_id).get_attribute("textContent")
    assert content("segments-caption") == "Части" and content("export-caption") == "Export video", \
        (content("segments-caption"), content("export-caption"))
    Select(s.driver.find_element(By.ID, "language")).select_by_value("ru")
    s.choose_file("two.kof")
    s.wait(lambda: title("play") == "Воспроизведение (F9)", "the built-in texts with a plain film")
    s.driver.execute_script("localStorage.removeItem('roRezodu.language')")


TESTS = [test_clock_and_sound, test_controls, test_full_screen, test_bad_films, test_habits,
         test_resume, test_screen_scale, test_language] + browser_page_test.TESTS + \
    browser_access_test.TESTS + browser_export_test.TESTS + browser_idle_test.TESTS + \
    browser_search_test.TESTS


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    chosen = [t for t in TESTS if len(sys.argv) == 3 or t.__name__ in sys.argv[3:]]
    session = Session(sys.argv[1], sys.argv[2])
    failures = 0
    try:
        for test in chosen:
            started = time.monotonic()
            try:
                test(session)
                print(f"ok   {test.__name__} ({time.monotonic() - started:.1f} s)")
            except Exception as error:  # every failure is reported, the rest still run
                failures += 1
                print(f"FAIL {test.__name__}: {error}")
    finally:
        session.close()
    print(f"{len(chosen) - failures} of {len(chosen)} browser tests passed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
