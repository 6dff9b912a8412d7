"""Browser tests of the page for a person who uses the keyboard or a screen reader:
axe-core finds no fault against WCAG 2.1 A and AA in the page's states, in Russian and
English; every control has a name in the page's language, the bar, the speed and the
volume are sliders whose values read as a person says them; their keys step as the
Windows player's do; Tab goes through the controls in the order they are seen, and the
focus always shows. Names and roles are read from Chromium's accessibility tree, what a
screen reader gets. Run by browser_test.py, which holds the session (browser_session.py)."""
import os
import re

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

from browser_session import broken_copy, check, report, rgb, serve

CYRILLIC = re.compile("[а-яё]", re.IGNORECASE)
# The page's own words for a slider's value and the picture (web/language.js).
BAR_VALUE = {"en": r"^(\d\d:\d\d:\d\d) of (\d\d:\d\d:\d\d), segment (\d+) of (\d+)$",
             "ru": r"^(\d\d:\d\d:\d\d) из (\d\d:\d\d:\d\d), сегмент (\d+) из (\d+)$"}
PICTURE = {"en": "{}, segment {} of {}: {}", "ru": "{}, сегмент {} из {}: {}"}


def each_language(s, base=None):
    """Russian, then English: the page in that language from its next load on, as a user
    who chose it in the header left it; the choice forgotten after."""
    for code in ["ru", "en"]:
        s.driver.get((base or s.base) + "index.html")
        s.driver.execute_script("localStorage.setItem('roRezodu.language', arguments[0])", code)
        yield code
    s.driver.execute_script("localStorage.removeItem('roRezodu.language')")


def in_language(text, code):
    """Russian text has Cyrillic letters, English none."""
    return bool(text) and bool(CYRILLIC.search(text)) == (code == "ru")


def accessible(s, selector):
    """The role and the name Chromium gives a screen reader for the element, and its
    range (valuemin, valuemax and the value)."""
    root = s.driver.execute_cdp_cmd("DOM.getDocument", {"depth": 0})["root"]["nodeId"]
    node = s.driver.execute_cdp_cmd("DOM.querySelector", {"nodeId": root, "selector": selector})["nodeId"]
    found = s.driver.execute_cdp_cmd("Accessibility.getPartialAXTree", {"nodeId": node, "fetchRelatives": False})
    ax = found["nodes"][0]
    facts = {p["name"]: p["value"].get("value") for p in ax.get("properties", [])}
    facts.update(role=ax["role"]["value"], name=ax.get("name", {}).get("value", ""),
                 value=ax.get("value", {}).get("value"))
    return facts


def attribute(s, element_id, name):
    return s.driver.find_element(By.ID, element_id).get_attribute(name)


def seconds(clock):
    hours, minutes, secs = (int(n) for n in clock.split(":"))
    return hours * 3600 + minutes * 60 + secs


def focused(s):
    return s.driver.execute_script(
        "const e = document.activeElement; return e.id || (e.dataset.index ? 'segment-' + e.dataset.index : e.tagName)")


def tab_to(s, element_id):
    for _ in range(40):
        s.keys(Keys.TAB)
        if focused(s) == element_id:
            return
    raise AssertionError(f"Tab does not reach {element_id}")


def test_axe(s):
    """axe-core, WCAG 2.1 A and AA: no violation on the empty page, with a film playing,
    with the segment list open, with the bar's preview showing, with the offer to resume,
    with a message and with the export dialog, idle and exporting, in Russian and in
    English."""
    problems = []
    modified = 1700000000000

    def audit(what):
        for violation in s.accessibility_violations():
            problems.append(f"{code}, {what}: {violation}")

    for code in each_language(s):
        s.open_page()
        s.wait(lambda: attribute(s, "play", "title"), "the page's texts")
        audit("the empty page")
        s.open_playing("two.kof")
        audit("a film playing")
        s.keys(Keys.F6)
        s.wait_shown("segment-list")
        audit("the segment list open")
        bar = s.driver.find_element(By.ID, "bar")
        ActionChains(s.driver).move_to_element_with_offset(bar, bar.size["width"] // 4, 0).perform()
        s.wait_shown("preview")
        audit("the preview showing")
        s.keys(Keys.F8)
        s.wait_message()
        audit("a message")
        s.close_message()
        s.store_place("habits.kof", modified, 1, 20)
        s.drop_files(["habits.kof"], modified)
        s.wait_shown("resume-offer")
        audit("the offer to resume")
        s.driver.execute_script("localStorage.removeItem('roRezodu.resume')")
        s.press(Keys.CONTROL, "e")
        s.wait_shown("export")
        audit("the export dialog")
        s.driver.find_element(By.ID, "export-start").click()
        s.wait_shown("export-progress")
        audit("the export under way")
    report(problems)


def check_names(s, code, problems):
    """Every button and slider named in the page's language; a button's name is its tooltip
    without the key, and the key in its tooltip the one it tells a screen reader (from the
    player's table, WebPlayer.FilmsOpenPlainWithTrailerAndAsExecutablesAndOnlyAnExecutableBringsItsTexts)."""
    for element in s.driver.find_elements(By.CSS_SELECTOR, "#top button, #controls button, #bar, #controls input"):
        element_id = element.get_attribute("id")
        if not element.is_displayed():
            continue
        ax = accessible(s, "#" + element_id)
        check(problems, in_language(ax["name"], code), f"{code}: {element_id} is named {ax['name']!r}")
        tooltip = re.sub(r" \([^)]*\)$", "", element.get_attribute("title") or "")
        check(problems, not tooltip or ax["name"] == tooltip, f"{code}: {element_id} named {ax['name']!r}, tip {tooltip!r}")
        key = re.findall(r" \(([^)]*)\)$", element.get_attribute("title") or "")
        keys = element.get_attribute("aria-keyshortcuts")
        check(problems, [k.replace("Ctrl+", "Control+") for k in key] == ([keys] if key else []),
              f"{code}: {element_id} tells the key {keys!r}, its tip {key}")
        expected = "slider" if element_id in ("bar", "speed", "volume") else "button"
        check(problems, ax["role"] == expected, f"{code}: {element_id} is a {ax['role']}")
    zoom = accessible(s, "#zoom")
    check(problems, zoom["role"] == "combobox" and in_language(zoom["name"], code), f"{code}: the zoom list {zoom}")


def check_values(s, code, problems):
    """The bar as "00:00:03 of 00:00:10, segment 1 of 2" with the times the panel shows,
    the volume as "100%", as its label shows it. (The speed's value, the same in every
    language: test_slider_keys.)"""
    bar = accessible(s, "#bar")
    shown = re.findall(r"\d\d:\d\d:\d\d", s.text("time"))
    said = re.match(BAR_VALUE[code], attribute(s, "bar", "aria-valuetext") or "")
    check(problems, said and list(said.groups()) == shown + [str(int(s.data("segment")) + 1), "2"],
          f"{code}: the bar says {attribute(s, 'bar', 'aria-valuetext')!r}, the panel {s.text('time')!r}")
    check(problems, bar["valuemin"] == 0 and shown and bar["valuemax"] == seconds(shown[1])
          and abs(bar["value"] - seconds(shown[0])) <= 1, f"{code}: the bar's range {bar}")
    volume = attribute(s, "volume", "aria-valuetext")
    check(problems, volume == s.text("volume-label"), f"{code}: volume {volume!r}")


def check_list_and_picture(s, code, problems):
    """The segment list a list with the current segment marked; the picture named after
    the film and its segment."""
    check(problems, accessible(s, "#segments")["role"] == "list", f"{code}: the segment list is no list")
    current = [b.get_attribute("data-index") for b in s.driver.find_elements(By.CSS_SELECTOR, "#segments button")
               if b.get_attribute("aria-current") == "true"]
    check(problems, current == [s.data("segment")], f"{code}: {current} marked current in segment {s.data('segment')}")
    picture = accessible(s, "#picture")
    expected = PICTURE[code].format("two.kof", int(s.data("segment")) + 1, 2, s.text("title"))
    check(problems, picture["role"] == "image" and picture["name"] == expected, f"{code}: the picture {picture}")
    area = accessible(s, "#picture-area")
    check(problems, area["name"] == expected, f"{code}: the picture's area is named {area['name']!r}")


def test_screen_reader(s):
    """In Russian and in English: the names, roles and values a screen reader gets for
    the header, the panel, the segment list and the picture, also after the language is
    switched on the page; a film executable's table that leaves a tooltip empty leaves
    the button its name."""
    problems = []
    for code in each_language(s):
        s.open_paused("two.kof")
        s.keys("n")
        s.wait(lambda: s.data("segment") == "1", "the second segment")
        s.keys(Keys.F10)
        s.wait_state("paused")
        s.keys(Keys.F6)
        check_names(s, code, problems)
        check_values(s, code, problems)
        check_list_and_picture(s, code, problems)
    Select(s.driver.find_element(By.ID, "language")).select_by_value("ru")  # the choice on the page
    s.wait(lambda: s.driver.execute_script("return document.documentElement.lang") == "ru", "Russian")
    check_values(s, "ru", problems)
    check_list_and_picture(s, "ru", problems)
    stop = accessible(s, "#stop")["name"]
    s.choose_file("lesson.exe")  # its table has no Stop: the tooltip is empty
    s.wait(lambda: s.data("state") == "playing" and attribute(s, "stop", "title") == "", "the film's table")
    check(problems, accessible(s, "#stop")["name"] == stop, f"Stop under the table: {accessible(s, '#stop')}")
    report(problems)


def test_slider_keys(s):
    """On the focused bar the arrows step 5 s, Page Up and Page Down a minute, Home and End
    go to the film's ends (not the segment's, as on the picture); the speed steps one
    place of its scale, the volume 5 % and 20 %, and both go to their ends."""
    problems = []
    s.open_paused("long.kof")  # 75 s and 50 s at 2 frames a second
    s.click_picture()
    tab_to(s, "bar")
    for key, place in [(Keys.END, ("1", "99")), (Keys.HOME, ("0", "0")), (Keys.PAGE_UP, ("0", "120")),
                       (Keys.PAGE_UP, ("1", "90")), (Keys.ARROW_LEFT, ("1", "80")), (Keys.PAGE_DOWN, ("0", "110")),
                       (Keys.ARROW_RIGHT, ("0", "120")), (Keys.ARROW_UP, ("0", "130")), (Keys.ARROW_DOWN, ("0", "120"))]:
        s.keys(key)
        s.check_wait(problems, lambda: s.place() == place, f"{place} after {key!r}", 3)
    check(problems, s.data("state") == "paused", f"the bar's keys: {s.describe()}")

    # Each value read as its label shows it, once the label shows the new value.
    def step(element_id, label_id, said, steps):
        tab_to(s, element_id)
        for key, value in steps:
            before = (attribute(s, element_id, "value"), s.text(label_id))
            s.keys(key)
            settled = lambda: attribute(s, element_id, "value") == value and \
                (value == before[0] or s.text(label_id) != before[1]) and \
                attribute(s, element_id, "aria-valuetext") == said(s.text(label_id))
            try:
                s.wait(settled, f"{element_id} at {value} after {key!r}, read as its label", 3)
            except AssertionError as error:
                problems.append(f"{error}: {attribute(s, element_id, 'aria-valuetext')!r}, {s.text(label_id)!r}")
    step("speed", "speed-label", lambda label: re.sub("^x", "×", label),
         [(Keys.HOME, "0"), (Keys.ARROW_RIGHT, "1"), (Keys.PAGE_UP, "2"), (Keys.END, "8"), (Keys.PAGE_DOWN, "7"),
          (Keys.ARROW_DOWN, "6"), (Keys.ARROW_UP, "7")])
    check(problems, s.text("speed-label") == s.text("time").split()[0], f"speed: {s.text('time')}")
    step("volume", "volume-label", lambda label: label,
         [(Keys.ARROW_LEFT, "95"), (Keys.PAGE_DOWN, "75"), (Keys.ARROW_DOWN, "70"), (Keys.PAGE_UP, "90"),
          (Keys.ARROW_RIGHT, "95"), (Keys.END, "100"), (Keys.ARROW_UP, "100"), (Keys.HOME, "0")])
    report(problems)


# The ring the focus draws: its width, its style and its contrast with what lies under it.
FOCUS_RING = """
  const e = document.activeElement, style = getComputedStyle(e);
  const luminance = (color) => {
    const [r, g, b] = color.match(/[\\d.]+/g).slice(0, 3).map((c) => {
      c /= 255; return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4; });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  const opaque = (color) => !/^rgba\\(.*, 0\\)$/.test(color) && color !== 'transparent';
  let under = parseFloat(style.outlineOffset) < 0 ? e : e.parentElement;
  while (under && !opaque(getComputedStyle(under).backgroundColor)) under = under.parentElement;
  const [a, b] = [luminance(style.outlineColor), luminance(getComputedStyle(under || document.body).backgroundColor)];
  return [style.outlineStyle, parseFloat(style.outlineWidth), (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05)];"""


def ring_fault(s, where):
    """What is wrong with the focus ring (at least 2 pixels, a contrast of 3:1); None."""
    style, width, contrast = s.driver.execute_script(FOCUS_RING)
    ok = style not in ("none", "auto") and width >= 2 and contrast >= 3
    return None if ok else f"{where}: focus ring {style} {width}px, contrast {contrast:.2f}"


def test_focus(s):
    """With a film paused and the segment list open, Tab goes through the header, the
    list, the picture and the panel in the order they are seen, Shift+Tab back; every
    control shows a ring of 2 pixels at least with a contrast of 3:1 to what is under it.
    The list closed with F6 leaves the focus on its button, the panel hidden with F7 on
    the picture."""
    problems = []
    s.open_paused("two.kof")
    s.keys(Keys.F6)
    ActionChains(s.driver).click(s.driver.find_element(By.CSS_SELECTOR, ".brand")).perform()  # Tab starts there
    expected = ["open", "properties", "search-open", "export-open", "skip-idle", "help", "language", "segment-0", "segment-1",
                "picture-area", "play", "stop", "segments-button", "prev", "next", "bar", "speed", "volume", "zoom",
                "fullscreen"]
    order = []
    for _ in expected:
        s.keys(Keys.TAB)
        order.append(focused(s))
        check(problems, not (fault := ring_fault(s, order[-1])), fault)
    check(problems, order == expected, f"Tab goes {order}")
    back = []
    for _ in expected[:-1]:
        s.press(Keys.SHIFT, Keys.TAB)
        back.append(focused(s))
    check(problems, back == expected[-2::-1], f"Shift+Tab goes {back}")
    tab_to(s, "segment-1")
    s.keys(Keys.F6)  # the list closes under the focus: it stays on the list's button
    check(problems, focused(s) == "segments-button", f"F6 in the list left the focus on {focused(s)}")
    tab_to(s, "bar")
    s.keys(Keys.F7)  # the panel hides under the focus: it goes to the picture
    check(problems, focused(s) == "picture-area", f"F7 on the bar left the focus on {focused(s)}")
    s.keys(Keys.F7)
    report(problems)


def pixel(element, x, y):
    """The colour of the element's pixel at x, y, as the screen shows it."""
    width, _, pixels = rgb(element.screenshot_as_png)
    return pixels[3 * (y * width + x):3 * (y * width + x) + 3]


def test_forced_colours(s):
    """In forced colours (Windows' high contrast, as Chromium emulates it) the bar's played
    part has another colour than the rest of the bar, and a pressed toggle (the segment
    list's button) another than unpressed."""
    s.open_paused("two.kof")
    s.driver.execute_script("$('bar').focus()")
    s.keys(Keys.ARROW_RIGHT)  # 5 s on: half the bar played
    s.wait(lambda: s.data("segment") == "1", "the second segment")
    s.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": [{"name": "forced-colors", "value": "active"}]})
    try:
        bar, played = s.driver.find_element(By.ID, "bar"), s.driver.find_element(By.ID, "bar-played").size["width"]
        # Halfway along the played part and along the rest, above the activity strip
        colours = [pixel(bar, x, 4) for x in (played // 2, (played + bar.size["width"]) // 2)]
        assert colours[0] != colours[1], f"the played part and the rest of the bar are both {colours[0].hex()}"
        toggle, colours = s.driver.find_element(By.ID, "segments-button"), []
        for pressed in ["true", "false"]:
            s.keys(Keys.F6)
            s.wait(lambda: toggle.get_attribute("aria-pressed") == pressed, f"the list's button pressed: {pressed}")
            colours.append(pixel(toggle, 4, toggle.size["height"] // 2))  # beside the icon
        assert colours[0] != colours[1], f"the list's button pressed and not are both {colours[0].hex()}"
    finally:
        s.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})


def test_page_texts(s):
    """The page's own messages come in its language: the sound the browser cannot decode
    and a player whose worker cannot start."""
    problems = []
    for code in each_language(s):
        s.open_page()
        s.driver.execute_script("BaseAudioContext.prototype.decodeAudioData = () => Promise.reject(new Error())")
        s.choose_file("clock.kof")
        shown = s.wait_message()
        caption = s.text("message-caption")
        check(problems, in_language(shown, code) and in_language(caption, code), f"{code}: sound: {caption}: {shown}")
        s.close_message()
    folder = broken_copy(s.web_dir, os.path.join(s.work, "no-worker"), remove=["player_worker.js"])
    server, base = serve(folder, [])
    try:
        for code in each_language(s, base):
            s.driver.refresh()
            reason = s.wait_message().splitlines()[-1]
            check(problems, in_language(reason, code) and "roRezodu" not in reason, f"{code}: no worker: {reason!r}")
    finally:
        server.terminate()
    report(problems)


TESTS = [test_axe, test_screen_reader, test_slider_keys, test_focus, test_forced_colours, test_page_texts]
