#!/usr/bin/python3
"""What the browser tests share: the page and the films served on 127.0.0.1, headless
Chromium driven by Selenium as a user drives it, and the pictures compared with what the
native tools make (`kof frames`, `kof info --json`)."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse
from contextlib import contextmanager

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "..", "scripts", "web_server.py")
MODIFIERS = ["Control", "Shift", "Alt", "Meta"]
# axe-core as scripts/setup.sh installs it with npm (tests/web/axe pins the version);
# the tests hand it to the page themselves: the page does not carry it.
AXE = os.environ.get("RZ_AXE") or os.path.join(
    os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "rorezodu", "axe-core", "node_modules",
    "axe-core", "axe.min.js")
WCAG_21_AA = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"]


def serve(web_dir, films):
    """The page and the films (under films/) on a free port of 127.0.0.1: the server and its URL."""
    server = subprocess.Popen([sys.executable, SERVER, web_dir, "0", *films], stdout=subprocess.PIPE, text=True)
    return server, f"http://127.0.0.1:{server.stdout.readline().strip()}/"


def chromium(profile, scale=1, languages="ru,ru-RU", autoplay="no-user-gesture-required"):
    """Headless Chromium as the tests and the benchmark drive it, on a screen at `scale`
    (its device pixel ratio), preferring languages (Russian unless told: the page's texts
    are Russian then), with sound allowed before the user did anything on the page
    unless autoplay names another of Chromium's policies."""
    options = webdriver.ChromeOptions()
    options.add_argument(f"--lang={languages.split(',')[0]}")
    options.add_experimental_option("prefs", {"intl.accept_languages": languages})
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run", "--window-size=1000,800",
                 f"--force-device-scale-factor={scale}", f"--autoplay-policy={autoplay}",
                 f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Session:
    """The films, the server and the browser for one run."""

    def __init__(self, web_dir, native, film=None):
        """The test films made by make_web_films, or the one film given."""
        self.web_dir = web_dir
        self.work = tempfile.mkdtemp(prefix="rz_web_test_")
        self.kof = os.path.join(native, "kof")
        self.films = os.path.dirname(film) if film else os.path.join(self.work, "films")
        if not film:
            subprocess.run([os.path.join(native, "tests", "web", "make_web_films"), self.films], check=True)
            self.pack_executable()
        names = [film] if film else [os.path.join(self.films, f) for f in sorted(os.listdir(self.films))]
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

    def open_playing(self, film, after=2):
        """The film opened and played to frame `after` at least."""
        self.open_page(film)
        self.wait(lambda: self.data("state") == "playing" and int(self.data("shown") or -1) >= after, f"frame {after}")

    def open_paused(self, film, after=2):
        """The film opened, played to frame `after` at least, and paused."""
        self.open_playing(film, after)
        self.pause()

    def pause(self):
        """Space on the picture: the film paused, the focus in the player."""
        self.click_picture()
        self.keys(" ")
        self.wait_state("paused")

    def click_picture(self):
        """The picture clicked: the focus is in the player, where its keys of one character work."""
        ActionChains(self.driver).click(self.driver.find_element(By.ID, "picture-area")).perform()

    @contextmanager
    def other_browser(self, name, **options):
        """Within it, the session drives another Chromium (chromium's options), quit after."""
        main = self.driver
        self.driver = chromium(os.path.join(self.work, "profile-" + name), **options)
        try:
            yield self.driver
        finally:
            self.driver.quit()
            self.driver = main

    def data(self, name):
        return self.driver.find_element(By.ID, "player").get_attribute(f"data-{name}")

    def shown(self, element_id):
        return self.driver.find_element(By.ID, element_id).is_displayed()

    def wait_shown(self, element_id, seconds=10):
        self.wait(lambda: self.shown(element_id), f"#{element_id} to show", seconds)

    def wait(self, condition, what, seconds=10):
        try:
            return WebDriverWait(self.driver, seconds, poll_frequency=0.02).until(lambda d: condition())
        except TimeoutException:
            raise AssertionError(f"timed out waiting for {what}; page: {self.describe()}") from None

    def check_wait(self, problems, condition, what, seconds=10):
        """wait, noting a time-out in problems (the test goes on) instead of failing."""
        try:
            self.wait(condition, what, seconds)
            return True
        except AssertionError as error:
            problems.append(str(error))
            return False

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

    def press(self, *keys):
        """The last key with the ones before it held down (Keys.CONTROL, Keys.SHIFT, ...)."""
        actions = ActionChains(self.driver)
        for modifier in keys[:-1]:
            actions.key_down(modifier)
        actions.send_keys(keys[-1])
        for modifier in reversed(keys[:-1]):
            actions.key_up(modifier)
        actions.perform()

    def watch_keys(self):
        """From now on the key presses that reach the page are kept (until it reloads)."""
        self.driver.execute_script("window.keysSeen = []; addEventListener('keydown', (e) => keysSeen.push(e), true);")

    def keys_taken(self):
        """The keys pressed since watch_keys or the last call whose default action the page
        prevented, that is took from the browser, as "Ctrl+Shift+r"."""
        return self.driver.execute_script("""
            const taken = keysSeen.filter((e) => e.defaultPrevented && !arguments[0].includes(e.key)).map((e) =>
              (e.ctrlKey ? 'Ctrl+' : '') + (e.altKey ? 'Alt+' : '') + (e.shiftKey ? 'Shift+' : '') + e.key);
            keysSeen.length = 0;
            return taken;""", MODIFIERS)

    def place(self):
        """The segment and the frame shown, read at one moment."""
        return tuple(self.driver.execute_script(
            "const p = document.getElementById('player').dataset; return [p.segment, p.shown, p.state];")[:2])

    def stored_places(self):
        return self.driver.execute_script("return JSON.parse(localStorage.getItem('roRezodu.resume') || 'null')")

    def store_place(self, film, modified, segment, frame):
        """A place kept for the film as last changed at `modified` (ms after 1970), the way
        the page keeps it: under its name, size and that time."""
        key = f'["{film}",{os.path.getsize(os.path.join(self.films, film))},{modified}]'
        self.driver.execute_script("localStorage.setItem('roRezodu.resume', JSON.stringify([arguments[0]]))",
                                   {"key": key, "segment": segment, "frame": frame})

    def notes_heard(self):
        """The texts of the page's live regions that Chromium's accessibility tree gives a
        screen reader now: it leaves out one in a hidden panel or a closed dialog."""
        live = "[role=status], [aria-live]"
        root = self.driver.execute_cdp_cmd("DOM.getDocument", {"depth": 0})["root"]["nodeId"]
        nodes = self.driver.execute_cdp_cmd("DOM.querySelectorAll", {"nodeId": root, "selector": live})["nodeIds"]
        texts = self.driver.execute_script("return [...document.querySelectorAll(arguments[0])].map((e) => e.textContent)",
                                           live)
        return [text for node, text in zip(nodes, texts) if text and not self.driver.execute_cdp_cmd(
            "Accessibility.getPartialAXTree", {"nodeId": node, "fetchRelatives": False})["nodes"][0].get("ignored")]

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

    def drop_files(self, names, modified=0, texts=()):
        """Films dragged from the desktop, one drop each, right after the other, as fast as a
        user cannot (last changed at `modified` ms after 1970 when given); the files in texts
        (name, content) come in the last film's drop."""
        self.driver.execute_async_script(DROP + """
            const [urls, names, modified, texts, done] = arguments;
            Promise.all(urls.map((url) => fetch(url).then((r) => r.blob()))).then((blobs) => {
              blobs.forEach((blob, i) => drop([new File([blob], names[i], modified ? { lastModified: modified } : {}),
                ...(i === blobs.length - 1 ? texts.map(([name, text]) => new File([text], name)) : [])]));
              done();
            });""", [self.base + "films/" + name for name in names], names, modified, list(texts))

    def downloads(self, name):
        """A fresh folder the browser saves its downloads to; its path."""
        folder = os.path.join(self.work, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": folder})
        return folder

    def accessibility_violations(self):
        """What axe-core finds against WCAG 2.1 A and AA in the page as it is now: one line
        per rule broken, with the elements that break it."""
        if not self.driver.execute_script("return typeof axe === 'object'"):
            with open(AXE, encoding="utf-8") as f:
                self.driver.execute_script(f.read())
        return self.driver.execute_async_script("""
            const [tags, done] = arguments;
            axe.run(document, { runOnly: { type: 'tag', values: tags }, resultTypes: ['violations'] }).then(
              (r) => done(r.violations.map((v) => `${v.id} (${v.impact}): ` +
                v.nodes.map((n) => `${n.target.join(' ')} [${n.failureSummary.replace(/\\s+/g, ' ')}]`).join('; '))),
              (error) => done([`axe failed: ${error}`]));""", WCAG_21_AA)

    def canvas_pixels(self):
        png = self.driver.find_element(By.ID, "picture").screenshot_as_png
        return rgb(png)

    def assert_canvas(self, film, segment, frame, what):
        """The canvas shows exactly kof frames' picture of the segment's (from 1) frame."""
        time.sleep(0.2)  # the picture reaches the canvas at the next display frame
        assert_same_picture(self.canvas_pixels(), self.kof_picture(film, segment, frame), what)

    def kof_picture_file(self, film, segment, frame):
        out = os.path.join(self.work, f"frames_{film}_{segment}_{frame}")
        subprocess.run([self.kof, "frames", os.path.join(self.films, film), "--segment", str(segment),
                        "--out", out, "--from", str(frame), "--to", str(frame)], check=True)
        return os.path.join(out, f"seg{segment:03d}_frame{frame:05d}.png")

    def kof_picture(self, film, segment, frame):
        with open(self.kof_picture_file(film, segment, frame), "rb") as f:
            return rgb(f.read())


# A drop of files on the picture, as a file manager's drag ends.
DROP = """
  const drop = (files) => {
    const transfer = new DataTransfer();
    files.forEach((file) => transfer.items.add(file));
    document.getElementById('picture-area').dispatchEvent(
      new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  };"""


def check(problems, condition, text):
    """Notes text when condition fails: a test goes on and reports every fault it saw."""
    if not condition:
        problems.append(text)


def report(problems):
    assert not problems, "; ".join(problems)


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


def broken_copy(web_dir, folder, remove=(), cut=()):
    """The page copied to folder with the files in remove left out and those in cut
    shortened to half (a host that lost or damaged them)."""
    shutil.rmtree(folder, ignore_errors=True)
    shutil.copytree(web_dir, folder)
    for name in remove:
        os.remove(os.path.join(folder, name))
    for name in cut:
        path = os.path.join(folder, name)
        os.truncate(path, os.path.getsize(path) // 2)
    return folder
