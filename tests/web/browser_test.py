#!/usr/bin/python3
"""Browser tests of the web player: the page in build/web, served on 127.0.0.1, in
headless Chromium driven by Selenium, as a user drives it (keys, clicks, a dropped file,
the file picker); what the page shows is checked against the native tools: the canvas
against `kof frames`, the messages against `kof info --json`.

usage: browser_test.py WEB_DIR NATIVE_BUILD [TEST ...]
  NATIVE_BUILD holds kof and tests/web/make_web_films (build/release or build/native).
"""
import json
import os
import subprocess
import sys
import tempfile
import time
import urllib.parse

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import reduce_picture  # noqa: E402  the preview's rule, computed on its own
SERVER = os.path.join(HERE, "..", "..", "scripts", "web_server.py")


def serve(web_dir, films):
    """The page and the films (under films/) on a free port of 127.0.0.1: the server and its URL."""
    server = subprocess.Popen([sys.executable, SERVER, web_dir, "0", *films], stdout=subprocess.PIPE, text=True)
    return server, f"http://127.0.0.1:{server.stdout.readline().strip()}/"


def chromium(profile, scale=1, languages="ru,ru-RU"):
    """Headless Chromium as the tests and the benchmark drive it, on a screen at `scale`
    (its device pixel ratio), preferring languages (Russian unless told: the page's texts
    are Russian then)."""
    options = webdriver.ChromeOptions()
    options.add_argument(f"--lang={languages.split(',')[0]}")
    options.add_experimental_option("prefs", {"intl.accept_languages": languages})
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run", "--window-size=1000,800",
                 f"--force-device-scale-factor={scale}", "--autoplay-policy=no-user-gesture-required",
                 f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Session:
    """The films, the server and the browser for one run."""

    def __init__(self, web_dir, native):
        self.work = tempfile.mkdtemp(prefix="rz_web_test_")
        self.kof = os.path.join(native, "kof")
        self.films = os.path.join(self.work, "films")
        subprocess.run([os.path.join(native, "tests", "web", "make_web_films"), self.films], check=True)
        self.pack_executable()
        names = [os.path.join(self.films, f) for f in sorted(os.listdir(self.films))]
        self.server, self.base = serve(web_dir, names)
        self.driver = chromium(os.path.join(self.work, "profile"))

    def pack_executable(self):
        # The page reads only what lies behind the player's bytes: the Windows player when
        # it has been built, else a stand-in that ends, as the player does, in an empty trailer.
        player = os.path.join(HERE, "..", "..", "build", "windows", "roRezodu.exe")
        if not os.path.exists(player):
            player = os.path.join(self.work, "player.exe")
            with open(player, "wb") as f:
                f.write(b"MZ" + bytes(200) + bytes(8))
        subprocess.run([self.kof, "pack", os.path.join(self.films, "two.kof"), "--player", player,
                        "--language", os.path.join(self.films, "language.txt"),
                        "-o", os.path.join(self.films, "lesson.exe")], check=True)

    def close(self):
        self.driver.quit()
        self.server.terminate()
        subprocess.run(["rm", "-rf", self.work])

    # --- the page ----------------------------------------------------------------

    def open_page(self, film=None):
        self.driver.get(self.base + "index.html" + (f"?film=films/{urllib.parse.quote(film)}" if film else ""))

    def data(self, name):
        return self.driver.find_element(By.ID, "player").get_attribute(f"data-{name}")

    def wait(self, condition, what, seconds=10):
        try:
            return WebDriverWait(self.driver, seconds, poll_frequency=0.02).until(lambda d: condition())
        except TimeoutException:
            raise AssertionError(f"timed out waiting for {what}; page: {self.describe()}") from None

    def wait_state(self, state, seconds=10):
        self.wait(lambda: self.data("state") == state, f"state {state}", seconds)

    def describe(self):
        return self.driver.execute_script(
            "const p = document.getElementById('player'); return JSON.stringify({...p.dataset,"
            " time: document.getElementById('time').textContent, message: message()});"
            "function message() { const m = document.getElementById('message');"
            " return m.hidden ? '' : document.getElementById('message-text').textContent; }")

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def chord(self, modifier, key):
        ActionChains(self.driver).key_down(modifier).send_keys(key).key_up(modifier).perform()

    def message(self):
        box = self.driver.find_element(By.ID, "message")
        return None if box.get_attribute("hidden") is not None else self.text("message-text")

    def text(self, element_id):
        return self.driver.find_element(By.ID, element_id).text

    def wait_message(self):
        return self.wait(self.message, "a message")

    def collect_messages(self, expected, seconds=10):
        """The messages shown (each closed) until every expected text was among them."""
        shown = []
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and not all(any(w in t for t in shown) for w in expected):
            text = self.message()
            if text:
                shown.append(text)
                self.close_message()
            else:
                time.sleep(0.05)
        return shown

    def close_message(self):
        self.keys(Keys.ENTER)
        self.wait(lambda: self.message() is None, "the message to close")

    def choose_file(self, name):
        self.driver.find_element(By.ID, "file").send_keys(os.path.join(self.films, name))

    def drop_file(self, name):
        # A file dragged from the desktop: a drop event carrying it.
        self.driver.execute_async_script("""
            const [url, name, done] = arguments;
            fetch(url).then((r) => r.blob()).then((blob) => {
              const transfer = new DataTransfer();
              transfer.items.add(new File([blob], name));
              document.getElementById('picture-area').dispatchEvent(
                new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
              done();
            });""", self.base + "films/" + name, name)

    def canvas_pixels(self):
        png = self.driver.find_element(By.ID, "picture").screenshot_as_png
        return rgb(png)

    def kof_picture_file(self, film, segment, frame):
        out = os.path.join(self.work, f"frames_{film}_{segment}_{frame}")
        subprocess.run([self.kof, "frames", os.path.join(self.films, film), "--segment", str(segment),
                        "--out", out, "--from", str(frame), "--to", str(frame)], check=True)
        return os.path.join(out, f"seg{segment:03d}_frame{frame:05d}.png")

    def kof_picture(self, film, segment, frame):
        with open(self.kof_picture_file(film, segment, frame), "rb") as f:
            return rgb(f.read())

    def kof_warnings(self, film):
        result = subprocess.run([self.kof, "info", os.path.join(self.films, film), "--json"], capture_output=True,
                                text=True)
        return json.loads(result.stdout).get("warnings", [])


def rgb(png):
    """The pixels of a PNG as width, height and RGB bytes (ImageMagick)."""
    size = subprocess.run(["convert", "png:-", "-format", "%w %h", "info:"], input=png, capture_output=True,
                          check=True).stdout.split()
    pixels = subprocess.run(["convert", "png:-", "-alpha", "off", "-depth", "8", "rgb:-"], input=png,
                            capture_output=True, check=True).stdout
    return int(size[0]), int(size[1]), pixels


def enlarged(picture, factor):
    """The picture with every pixel repeated factor x factor times."""
    width, height, pixels = picture
    rows = []
    for y in range(height):
        row = b"".join(pixels[i:i + 3] * factor for i in range(3 * width * y, 3 * width * (y + 1), 3))
        rows.append(row * factor)
    return width * factor, height * factor, b"".join(rows)


def assert_same_picture(shown, expected, what):
    assert shown[:2] == expected[:2], f"{what}: canvas {shown[:2]}, kof frames {expected[:2]}"
    differing = sum(1 for i in range(0, len(shown[2]), 3) if shown[2][i:i + 3] != expected[2][i:i + 3])
    assert differing == 0, f"{what}: {differing} pixels differ from kof frames"


def pause_and_check_picture(s, segment, what):
    s.keys(" ")
    s.wait_state("paused")
    time.sleep(0.2)  # the paused picture reaches the canvas at the next display frame
    frame = int(s.data("shown"))
    assert_same_picture(s.canvas_pixels(), s.kof_picture("two.kof", segment, frame), f"{what}, frame {frame}")
    return frame


# --- the tests -----------------------------------------------------------------------

def test_clock(s):
    """A film of 30 frames at 10 per second ends 3 s after it starts, within 10 %."""
    s.open_page("clock.kof")
    s.wait_state("playing")
    start = time.monotonic()
    s.wait_state("stopped", 10)
    seconds = time.monotonic() - start
    assert abs(seconds - 3.0) <= 0.3, f"the 3-second film took {seconds:.3f} s"
    print(f"     the 3-second film played in {seconds:.3f} s")


def test_sound(s):
    """The segment's MP3 decodes through Web Audio and plays; the page reports no error."""
    s.open_page("clock.kof")
    s.wait(lambda: s.data("sound") == "playing", "the sound to play", 10)
    length = int(s.data("sound-ms"))
    assert abs(length - 3000) <= 100, f"decoded {length} ms of a 3000 ms tone"
    assert s.message() is None, f"message: {s.message()}"
    s.wait_state("stopped", 10)
    assert s.message() is None, f"message: {s.message()}"


def test_controls(s):
    """The bar plays the segment clicked; Space, the speed, the segment list and F-keys."""
    s.open_page("two.kof")
    s.wait_state("playing")
    bar = s.driver.find_element(By.ID, "bar")
    ActionChains(s.driver).move_to_element_with_offset(bar, bar.size["width"] // 4, 0).click().perform()
    s.wait(lambda: s.data("segment") == "1", "the second segment")
    s.wait_state("playing")
    assert s.text("title") == "Второй", s.text("title")
    s.driver.find_element(By.TAG_NAME, "body").click()
    pause_and_check_picture(s, 2, "second segment (24 bits)")
    s.keys(Keys.F6)
    s.wait(lambda: s.driver.find_element(By.ID, "segment-list").is_displayed(), "the segment list")
    s.keys(Keys.ENTER)  # the focus is on the current segment's line: it plays from its start
    s.wait(lambda: s.data("state") == "playing" and int(s.data("shown")) < 5, "the second segment from its start")
    s.keys(Keys.F4)
    s.wait(lambda: s.data("segment") == "0" and s.data("state") == "playing", "the first segment")
    s.keys(Keys.F10)
    s.wait_state("paused")
    speed = s.driver.find_element(By.ID, "speed")
    speed.send_keys(Keys.END)
    s.wait(lambda: s.text("time").startswith("MAX"), "the speed MAX")
    speed.send_keys(Keys.HOME)
    s.wait(lambda: s.text("time").startswith("x0.1"), "the speed x0.1")
    s.keys(Keys.F11)
    s.wait_state("stopped")


def test_seek(s):
    """Paused with Space, the canvas is kof's picture of the frame shown, and later a later
    one; the seek keys show exactly kof's picture of the frame they land on; a drag on the
    bar scrubs to the time under the pointer and the film plays on from there."""
    s.open_page("two.kof")
    s.wait(lambda: s.data("state") == "playing" and int(s.data("shown") or -1) >= 2, "frame 2")
    first = pause_and_check_picture(s, 1, "paused")
    s.keys(" ")
    s.wait_state("playing")
    time.sleep(0.5)
    second = pause_and_check_picture(s, 1, "paused again")
    assert second > first, f"frame {second} after {first}"
    for keys, segment, frame in [((Keys.ALT, Keys.END), 0, 49), ((Keys.CONTROL, ","), 0, 48),
                                 ((Keys.ALT, Keys.ARROW_RIGHT), 1, 48), ((Keys.ALT, Keys.HOME), 1, 0),
                                 ((Keys.CONTROL, "."), 1, 1)]:
        s.chord(*keys)
        s.wait(lambda: (s.data("segment"), s.data("shown")) == (str(segment), str(frame)),
               f"segment {segment + 1}, frame {frame} after {keys}")
        time.sleep(0.2)  # the picture reaches the canvas at the next display frame
        assert_same_picture(s.canvas_pixels(), s.kof_picture("two.kof", segment + 1, frame),
                            f"segment {segment + 1}, frame {frame}")
    assert s.data("state") == "paused", s.describe()
    # 10 s over the bar: a press near its start and a drag to three quarters (7.5 s).
    bar = s.driver.find_element(By.ID, "bar")
    width = bar.size["width"]
    ActionChains(s.driver).move_to_element_with_offset(bar, -width // 2 + 5, 0).click_and_hold() \
        .move_by_offset(width // 4, 0).move_by_offset(width // 2 - 5, 0).release().perform()
    s.wait(lambda: s.data("segment") == "1" and s.data("state") == "playing", "the second segment playing")
    assert 20 <= int(s.data("shown")) <= 40, s.describe()


def test_full_screen(s):
    """In full screen, where only the full-screen element is drawn, the segment list and
    the messages show, and the page stays in full screen."""
    s.open_page("two.kof")
    s.wait_state("playing")
    window = s.driver.execute_script("return [innerWidth, innerHeight]")
    full_screen = lambda: s.driver.execute_script("return document.fullscreenElement?.id") == "player" \
        and s.driver.execute_script("return [innerWidth, innerHeight]") != window
    s.chord(Keys.ALT, Keys.ENTER)
    s.wait(full_screen, "full screen")
    s.keys(Keys.F6)
    s.wait(lambda: s.driver.find_element(By.ID, "segment-list").is_displayed(), "the segment list")
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
    s.chord(Keys.ALT, Keys.ENTER)
    s.wait(lambda: s.driver.execute_script("return document.fullscreenElement") is None, "the window again")


def test_bad_films(s):
    """Damaged films show the loader's messages; the page stays usable and opens a good film."""
    s.open_page("missing.kof")  # the download fails: the player's own message, and why
    shown = s.wait_message()
    assert "Не могу открыть файл missing.kof" in shown and "404" in shown, shown
    s.close_message()
    s.open_page("junk.kof")
    assert "Неверный формат файла: junk.kof" in s.wait_message(), s.message()
    s.close_message()
    for film in ["damaged.kof", "truncated.kof"]:
        s.choose_file(film)
        expected = s.kof_warnings(film)
        assert expected, f"kof finds nothing wrong with {film}"
        shown = s.collect_messages(expected)
        for warning in expected:
            assert any(warning in text for text in shown), f"{film}: {warning!r} not among {shown}"
        s.wait(lambda: s.text("film-name") == film and s.data("state") == "playing", f"{film} to play")
    s.drop_file("two.kof")
    s.wait(lambda: s.text("film-name") == "two.kof" and s.data("state") == "playing", "the good film")
    assert s.message() is None, s.message()


def test_film_executable(s):
    """A film executable made by kof pack opens and plays with its language table's texts."""
    s.open_page()
    s.choose_file("lesson.exe")
    s.wait(lambda: s.data("state") == "playing", "the film behind the player")
    play = s.driver.find_element(By.ID, "play")
    assert play.get_attribute("title") == "Play (F9)", play.get_attribute("title")
    assert s.driver.find_element(By.ID, "stop").get_attribute("title") == "", "Stop is not in the table"
    assert s.driver.find_element(By.ID, "segments-caption").get_attribute("textContent") == "Части"
    s.choose_file("two.kof")  # a plain film brings the built-in texts back
    s.wait(lambda: s.driver.find_element(By.ID, "play").get_attribute("title") == "Воспроизведение (F9)",
           "the built-in texts")


def wheel(s, element, notches, dx=0):
    """Notches of the wheel over element (up when positive), one event each."""
    for _ in range(abs(notches)):
        ActionChains(s.driver).scroll_from_origin(ScrollOrigin.from_element(element, dx, 0), 0,
                                                  -100 if notches > 0 else 100).perform()
        time.sleep(0.05)


def test_habits(s):
    """Space pauses and plays; a double click on the picture enters and leaves full screen;
    three notches over the picture turn the volume down 15 %, and a notch over the bar
    seeks 5 s; the mouse over the bar shows the reduction of kof's picture of the frame
    under it (320 wide: halved), with the segment's name and the time."""
    s.open_page("habits.kof")
    s.wait(lambda: s.data("state") == "playing" and int(s.data("shown") or -1) >= 2, "frame 2")
    s.keys(" ")
    s.wait_state("paused")
    frame = int(s.data("shown"))
    picture = s.driver.find_element(By.ID, "picture-area")
    wheel(s, picture, -3)
    s.wait(lambda: s.text("volume-label") == "85%", "the volume at 85 %")
    bar = s.driver.find_element(By.ID, "bar")
    wheel(s, bar, 1)
    s.wait(lambda: s.data("shown") == str(frame + 50), f"frame {frame + 50}, 5 s after {frame}")
    s.keys(" ")
    s.wait_state("playing")
    ActionChains(s.driver).double_click(picture).perform()
    s.wait(lambda: s.driver.execute_script("return document.fullscreenElement?.id") == "player", "full screen")
    ActionChains(s.driver).double_click(s.driver.find_element(By.ID, "picture-area")).perform()
    s.wait(lambda: s.driver.execute_script("return document.fullscreenElement") is None, "the window again")
    # Three quarters along the bar (25 s): about 3.75 s into "Second", frame 37 or so.
    bar = s.driver.find_element(By.ID, "bar")
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
    """Over a damaged store, 11 s played and the page reloaded: the offer to resume;
    paused, Ctrl+R shows kof's picture of the frame remembered."""
    s.open_page()
    s.driver.execute_script("localStorage.setItem('roRezodu.resume', '{damaged')")
    s.open_page("habits.kof")
    s.wait_state("playing")
    time.sleep(11)
    places = s.driver.execute_script("return JSON.parse(localStorage.getItem('roRezodu.resume'))")
    assert isinstance(places, list) and len(places) == 1, places
    segment, frame = places[0]["segment"], places[0]["frame"]
    s.driver.refresh()
    offer = s.driver.find_element(By.ID, "resume-offer")
    s.wait(lambda: offer.is_displayed() and offer.text.startswith("Продолжить с 00:00:"), "the offer")
    s.keys(" ")
    s.wait_state("paused")
    s.chord(Keys.CONTROL, "r")
    s.wait(lambda: (s.data("segment"), s.data("shown")) == (str(segment), str(frame)), f"the place {places[0]}")
    time.sleep(0.2)  # the picture reaches the canvas at the next display frame
    assert_same_picture(s.canvas_pixels(), s.kof_picture("habits.kof", segment + 1, frame), "the place resumed")
    assert not offer.is_displayed(), "the offer stayed"


def test_screen_scale(s):
    """At a device pixel ratio of 2 the paused picture is the kof frame with every pixel a
    2 x 2 block (screen scale, the default); original pixels show it 1:1."""
    main = s.driver
    s.driver = chromium(os.path.join(s.work, "profile-x2"), scale=2)
    try:
        s.open_page("two.kof")
        s.wait_state("playing")
        s.keys(" ")
        s.wait_state("paused")
        time.sleep(0.2)  # the paused picture reaches the canvas at the next display frame
        frame = int(s.data("shown"))
        picture = s.kof_picture("two.kof", 1, frame)
        assert_same_picture(s.canvas_pixels(), enlarged(picture, 2), f"screen scale at 200 %, frame {frame}")
        canvas_width = lambda: s.driver.find_element(By.ID, "picture").size["width"]
        Select(s.driver.find_element(By.ID, "zoom")).select_by_value("1")
        s.wait(lambda: canvas_width() == 160, "the picture at its original pixels")
        time.sleep(0.2)
        assert_same_picture(s.canvas_pixels(), picture, f"original pixels at 200 %, frame {frame}")
    finally:
        s.driver.quit()
        s.driver = main


def test_language(s):
    """A Chromium preferring English shows English, one preferring Russian Russian; the
    choice on the page takes effect at once and survives a reload; a film's table still
    wins over English for its keys."""
    english = chromium(os.path.join(s.work, "profile-en"), languages="en-US,en,de")
    try:
        english.get(s.base + "index.html")
        WebDriverWait(english, 10).until(lambda d: d.find_element(By.ID, "play").get_attribute("title") == "Play (F9)")
        assert english.find_element(By.ID, "open").text == "Load"
        assert english.execute_script("return document.documentElement.lang") == "en"
    finally:
        english.quit()

    def title(element_id):
        return s.driver.find_element(By.ID, element_id).get_attribute("title")
    s.open_page()
    s.wait(lambda: title("play") == "Воспроизведение (F9)", "Russian as the browser prefers")
    Select(s.driver.find_element(By.ID, "language")).select_by_value("en")
    s.wait(lambda: title("play") == "Play (F9)" and s.text("help") == "Help", "English at once")
    s.driver.refresh()
    s.wait(lambda: title("stop") == "Stop (F11)" and s.text("open") == "Load", "English after a reload")
    assert s.text("hint").startswith("Drop a film"), s.text("hint")
    s.choose_file("lesson.exe")  # its table has Play and Segments, not Stop
    s.wait(lambda: s.data("state") == "playing", "the film behind the player")
    s.wait(lambda: title("stop") == "Stop (F11)", "English under the film's table")
    assert s.driver.find_element(By.ID, "segments-caption").get_attribute("textContent") == "Части"
    Select(s.driver.find_element(By.ID, "language")).select_by_value("ru")
    s.wait(lambda: title("stop") == "", "Russian under the table: a missing key stays empty")
    s.driver.execute_script("localStorage.removeItem('roRezodu.language')")


TESTS = [test_clock, test_sound, test_controls, test_seek, test_full_screen, test_bad_films, test_film_executable,
         test_habits, test_resume, test_screen_scale, test_language]


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
