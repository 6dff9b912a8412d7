"""Browser tests of the page around the player: which keys it takes from the browser,
its message box, downloads of ?film=, a worker that cannot start, the resume offer's
film, sound the browser holds back or interrupts, and saving pictures. Run by
browser_test.py, which holds the session (browser_session.py)."""
import http.server
import os
import threading
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from browser_session import DROP, broken_copy, check, report, serve

# The browser's reload, back, forward and home keys: never the page's.
BROWSER_KEYS = [(Keys.CONTROL, "r"), (Keys.CONTROL, Keys.SHIFT, "r"), (Keys.F5,), (Keys.SHIFT, Keys.F5),
                (Keys.ALT, Keys.ARROW_LEFT), (Keys.ALT, Keys.ARROW_RIGHT), (Keys.ALT, Keys.HOME)]


def test_browser_keys(s):
    """The browser's keys stay the browser's, with or without a film; with no film the
    player's keys are not taken either; F4 in a list is the list's; N, I and Space work
    with the focus in the player (the picture, the bar), not elsewhere on the page nor in
    the search field; Tab stays in a message and Space there presses its button, nothing
    behind it. (The seek keys on the picture: test_controls.)"""
    problems = []
    s.open_page()
    s.wait(lambda: s.driver.find_element(By.ID, "play").get_attribute("title"), "the page's texts")
    s.watch_keys()
    for keys in BROWSER_KEYS + [(Keys.F9,), (Keys.F11,), (" ",), (Keys.CONTROL, "s")]:
        s.press(*keys)
    taken = s.keys_taken()
    check(problems, not taken, f"with no film the page took {taken}")

    s.open_paused("two.kof")
    place = s.place()
    s.watch_keys()
    for keys in BROWSER_KEYS:
        s.press(*keys)
    time.sleep(0.3)
    taken = s.keys_taken()
    check(problems, not taken and s.place() == place, f"with a film the page took {taken}, at {s.place()}")
    s.driver.find_element(By.ID, "language").send_keys(Keys.F4)
    time.sleep(0.3)
    check(problems, s.place() == place, f"F4 in the language list went to {s.place()}")
    s.keys(Keys.ESCAPE)

    brand, typed = s.driver.find_element(By.CSS_SELECTOR, ".brand"), ["n", "i", " "]
    for where, focus, expected in [("the page", ActionChains(s.driver).click(brand).perform, []),
                                   ("the search field", lambda: s.press(Keys.CONTROL, "f"), []),
                                   ("the picture", s.click_picture, typed),
                                   ("the bar", lambda: s.driver.execute_script("$('bar').focus()"), typed)]:
        focus()
        s.keys_taken()
        s.keys(*typed)
        check(problems, (taken := s.keys_taken()) == expected, f"N, I and Space in {where}: the page took {taken}")
    s.keys(Keys.F9, Keys.F10)  # paused, wherever the keys left the film
    s.wait_state("paused")

    s.keys(Keys.F8)  # the focus on the bar, where Space plays
    s.wait_message()
    inside = "return document.getElementById('message').contains(document.activeElement)"
    for keys in [(Keys.TAB,), (Keys.SHIFT, Keys.TAB), (Keys.TAB,)]:
        s.press(*keys)
        check(problems, s.driver.execute_script(inside), f"{keys} left the message")
    s.keys(" ")
    time.sleep(0.3)
    check(problems, s.message() is None and s.data("state") == "paused" and s.text("film-name") == "two.kof",
          f"Space in the message: {s.describe()}")
    report(problems)


def held_download(path):
    """A film served on a port of its own (any page may fetch it) that sends nothing until
    released is set; done is set once the answer has gone out or was given up. The
    server, the film's address and those two events."""
    with open(path, "rb") as f:
        body = f.read()
    released, done = threading.Event(), threading.Event()

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            try:
                released.wait(30)
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Access-Control-Allow-Origin", "*")
                self.end_headers()
                self.wfile.write(body)
            except OSError:
                pass  # the page gave up the download
            finally:
                done.set()

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}/{os.path.basename(path)}", released, done


def test_film_download(s):
    """While ?film= downloads, "Loading" shows; a film opened meanwhile stays, and the
    download that arrives later is dropped."""
    problems = []
    server, url, released, done = held_download(os.path.join(s.films, "two.kof"))
    try:
        s.driver.get(s.base + "index.html?film=" + url)
        loading = s.driver.find_element(By.ID, "loading")
        s.check_wait(problems, lambda: loading.is_displayed() and loading.text in s.notes_heard(), "Loading, heard", 3)
        s.choose_file("clock.kof")
        s.wait(lambda: s.text("film-name") == "clock.kof" and s.data("state") == "playing", "clock.kof")
        released.set()
        assert done.wait(10), "the download did not end"
        time.sleep(1)
        check(problems, s.text("film-name") == "clock.kof", f"the download replaced clock.kof: {s.text('film-name')}")
        check(problems, not loading.is_displayed(), "Loading stayed")
    finally:
        released.set()
        server.shutdown()
        server.server_close()
    report(problems)


def test_broken_player(s):
    """A host that lost roRezodu.js: one clear message, no worker started again and again,
    and one again when a film is opened. A damaged roRezodu.wasm: a film asked for gives
    a clear message and "Loading" goes."""
    problems = []
    folder = os.path.join(s.work, "broken")
    for remove, cut in [(["roRezodu.js"], []), ([], ["roRezodu.wasm"])]:
        broken_copy(s.web_dir, folder, remove, cut)
        server, base = serve(folder, [os.path.join(s.films, "two.kof")])
        try:
            s.driver.get(base + "index.html?film=films/two.kof")
            shown = s.wait_message()
            check(problems, "roRezodu" in shown, f"{remove or cut}: the message does not say what failed: {shown}")
            s.close_message()
            time.sleep(1.5)
            check(problems, s.message() is None, f"{remove or cut}: another message came: {s.message()}")
            check(problems, not s.driver.find_element(By.ID, "loading").is_displayed(), f"{remove or cut}: Loading")
            s.choose_file("clock.kof")
            if s.check_wait(problems, s.message, f"{remove or cut}: a message for a film chosen"):
                s.close_message()
        finally:
            server.terminate()
    report(problems)


def test_offer_identity(s):
    """A film dropped while another opens: the first film's place is not offered for the
    second."""
    modified = 1700000000000
    s.open_page()
    s.store_place("habits.kof", modified, 0, 20)
    s.open_page()
    s.drop_files(["habits.kof", "two.kof"], modified)
    s.wait(lambda: s.text("film-name") == "two.kof" and s.data("state") == "playing", "two.kof")
    time.sleep(1)
    assert not s.shown("resume-offer"), f"two.kof was offered habits.kof's place: {s.text('resume-offer')}"
    s.driver.execute_script("localStorage.removeItem('roRezodu.resume')")


def test_blocked_sound(s):
    """Where sound needs a gesture first, a film opened by its address says so (a screen
    reader hears it too); a click anywhere on the player (not on that note) starts the
    sound."""
    problems = []
    with s.other_browser("gesture", autoplay="document-user-activation-required"):
        s.open_playing("clock.kof")
        note = s.driver.find_element(By.ID, "sound-blocked") if s.driver.find_elements(By.ID, "sound-blocked") else None
        s.check_wait(problems, lambda: note is not None and note.is_displayed() and note.text in s.notes_heard(),
                     "the note that sound is held, heard", 2)
        ActionChains(s.driver).click(s.driver.find_element(By.ID, "time")).perform()
        if s.check_wait(problems, lambda: s.data("sound") == "playing", "the sound after a click", 2):
            check(problems, note is None or not note.is_displayed(), "the note stayed")
    report(problems)


# Where the sound is when it plays: every source started is kept, and what is heard of
# the last one is read with the picture's frame at one moment.
HEARD = """
  window.sourcesStarted = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (when, offset) {
    sourcesStarted.push({ context: this.context, at: this.context.currentTime, offset: offset || 0 });
    return start.apply(this, arguments);
  };"""
SOUND_AND_PICTURE = """
  const last = sourcesStarted[sourcesStarted.length - 1];
  const heard = (last.offset + last.context.currentTime - last.at) * 1000;
  return [heard, Number(document.getElementById('player').dataset.frame) * 100];"""


def test_sound_interruption(s):
    """Sound interrupted for a second (the system took the audio device) plays on in step
    with the picture; so does sound in a tab hidden for a second."""
    problems = []
    s.open_page()
    s.driver.execute_script(HEARD)
    started = lambda: s.driver.execute_script("return sourcesStarted.length")

    def hide_tab():
        film = s.driver.current_window_handle
        s.driver.switch_to.new_window("tab")
        time.sleep(1)
        s.driver.close()
        s.driver.switch_to.window(film)
    suspend = "const c = sourcesStarted[0].context; c.suspend(); setTimeout(() => c.resume(), 1000)"
    for what, interrupt, settle in [("an interruption", lambda: s.driver.execute_script(suspend), 1.5),
                                    ("a hidden second", hide_tab, 0.3)]:
        before = started()
        s.choose_file("clock.kof")
        s.wait(lambda: started() > before, "the sound")
        time.sleep(0.3)
        interrupt()
        time.sleep(settle)
        heard, seen = s.driver.execute_script(SOUND_AND_PICTURE)
        check(problems, abs(heard - seen) <= 250, f"after {what} {heard:.0f} ms heard at {seen:.0f} ms seen")
    report(problems)


def test_save_picture(s):
    """Ctrl+S saves the picture as NAME_SEGMENT_FRAME.png: held down, once; a film opened
    right after it does not rename it; every picture's address is freed after 10 s."""
    problems = []
    numbered, named = s.downloads("numbered"), s.downloads("saved")  # saving to the folder named
    files = lambda folder: sorted(n for n in os.listdir(folder) if not n.endswith(".crdownload"))
    save_to = lambda folder, behaviour: s.driver.execute_cdp_cmd(
        "Browser.setDownloadBehavior", {"behavior": behaviour, "downloadPath": folder})
    # In named a file of the same name is replaced: each save is of another frame.
    s.open_paused("two.kof")
    addresses = []
    for count in [1, 2]:
        s.press(Keys.CONTROL, ".")  # a frame forward
        time.sleep(0.2)
        segment, frame = s.place()
        s.press(Keys.CONTROL, "s")
        s.wait(lambda: len(files(named)) == count, f"picture {count}")
        addresses.append(s.driver.find_element(By.ID, "download").get_attribute("href"))
        check(problems, f"two_{int(segment) + 1}_{frame}.png" in files(named), f"frame {frame} saved as {files(named)}")
    first_saved = time.monotonic()

    save_to(numbered, "allowAndName")  # every save a file of its own
    ctrl_s = {"key": "s", "code": "KeyS", "modifiers": 2, "windowsVirtualKeyCode": 83}
    for kind, repeat in [("keyDown", False), ("keyDown", True), ("keyDown", True), ("keyDown", True), ("keyUp", False)]:
        s.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {**ctrl_s, "type": kind, "autoRepeat": repeat})
    time.sleep(1)
    check(problems, len(files(numbered)) == 1, f"Ctrl+S held down saved {len(files(numbered))} pictures")

    save_to(named, "allow")
    s.press(Keys.CONTROL, ".")
    time.sleep(0.2)
    # clock.kof dropped in the same moment as Ctrl+S
    s.driver.execute_async_script(DROP + """
        const [url, done] = arguments;
        fetch(url).then((r) => r.blob()).then((blob) => {
          addEventListener('keydown', function atS(e) {
            if (e.key === 's') removeEventListener('keydown', atS), drop([new File([blob], 'clock.kof')]);
          });
          done();
        });""", s.base + "films/clock.kof")
    before = set(files(named))
    s.press(Keys.CONTROL, "s")
    s.wait(lambda: len(files(named)) > len(before), "the picture saved with the drop")
    name = (set(files(named)) - before).pop()
    check(problems, name.startswith("two_"), f"two.kof's picture saved as {name}")
    s.wait(lambda: s.text("film-name") == "clock.kof", "clock.kof")

    time.sleep(max(0.0, first_saved + 10.5 - time.monotonic()))
    fetched = s.driver.execute_async_script("""
        const [addresses, done] = arguments;
        Promise.all(addresses.map((a) => fetch(a).then(() => a, () => null))).then(done);""", addresses)
    check(problems, not any(fetched), f"still held after 10 s: {[a for a in fetched if a]}")
    report(problems)


TESTS = [test_browser_keys, test_film_download, test_broken_player, test_offer_identity, test_blocked_sound,
         test_sound_interruption, test_save_picture]
