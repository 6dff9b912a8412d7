#!/usr/bin/python3
"""Browser tests of Find on screen (run by browser_test.py): search.kof carries real text
("Open the Settings dialog" from 2.0 s of its first segment and 1.0 s of its second) and
its index is made by the native `kof index`. The page takes the index from beside the
film's address or dropped with the film; the hits are checked against `kof search
--json`, the picture after Enter against `kof frames`."""
import json
import os
import shutil
import subprocess
import time
import urllib.parse

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

from browser_access_test import ring_fault
from browser_session import serve

FILM = "search.kof"
RATE = 10  # frames a second


def indexed_film(s):
    """A copy of search.kof with the index kof index writes beside it, and kof search's hits
    of "settings"."""
    folder = os.path.join(s.work, "indexed")
    if not os.path.isdir(folder):
        os.makedirs(folder)
        shutil.copy(os.path.join(s.films, FILM), folder)
        subprocess.run([s.kof, "index", os.path.join(folder, FILM)], check=True, capture_output=True)
    film = os.path.join(folder, FILM)
    result = subprocess.run([s.kof, "search", film, "settings", "--json"], check=True, capture_output=True, text=True)
    hits = json.loads(result.stdout)
    assert [hit["segment"] for hit in hits] == [1, 2], f"kof search: {hits}"
    return film, film + ".words.json", hits


def focus_in_search(s):
    return s.driver.execute_script("""
        const e = document.activeElement, hits = [...document.querySelectorAll('#search-hits button')];
        return hits.includes(e) ? 'hit ' + hits.indexOf(e) : e.id;""")


def status(s):
    return s.text("search-status")


def hit_labels(s):
    # Read in one script: each answer of the worker replaces the list's buttons.
    return s.driver.execute_script(
        "return [...document.querySelectorAll('#search-hits button')].map((b) => b.innerText)")


def open_search(s):
    s.press(Keys.CONTROL, "f")
    s.wait(lambda: s.driver.find_element(By.ID, "search").is_displayed(), "the search field")
    assert s.driver.switch_to.active_element.get_attribute("id") == "search-field", "Ctrl+F: the field has no focus"


def type_query(s, query, found):
    s.keys(query)
    s.wait(lambda: status(s) == f"Найдено: {found}" and len(hit_labels(s)) == found, f"{found} hits of {query}")


def wait_on_hit(s, hit, what):
    """Paused on the hit's frame (kof's count: its time at the segment's rate), the words
    outlined where kof search says for 2 s, and under the outline exactly kof frames'
    picture."""
    frame = round(hit["time"] * RATE)
    s.wait(lambda: s.place() == (str(hit["segment"] - 1), str(frame)) and s.data("state") == "paused",
           f"{what}: the pause on segment {hit['segment']}, frame {frame}")
    shown_at = time.monotonic()
    outline, canvas = s.driver.execute_script(
        "return [document.getElementById('search-outline'), document.getElementById('picture')]"
        ".map((e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.width, r.height, e.hidden]; })")
    assert not outline[4], f"{what}: no outline"
    left, top, width, height = hit["box"]
    expected = [canvas[0] + left, canvas[1] + top, width, height]  # the picture at 1:1
    drawn = [outline[0] + 2, outline[1] + 2, outline[2] - 4, outline[3] - 4]  # inside its 2-pixel margin
    assert all(abs(a - b) <= 1 for a, b in zip(drawn, expected)), f"{what}: outline {drawn}, words at {expected}"
    s.wait(lambda: not s.driver.find_element(By.ID, "search-outline").is_displayed(), f"{what}: the outline to go", 4)
    seconds = time.monotonic() - shown_at
    assert 1.5 <= seconds <= 3, f"{what}: the outline showed for {seconds:.1f} s"
    s.assert_canvas(FILM, hit["segment"], frame, what)


def test_search_index_beside_film(s):
    """The index beside ?film= (an address with a query, which the index's address keeps
    after its own path): Ctrl+F, hits as "settings" is typed, Enter pauses on the
    first hit with the word outlined for 2 s, F3 and Shift+F3 go to the other hit and
    back, a click on a hit goes there, Escape closes the search; the search and its hits
    break no WCAG 2.1 AA rule."""
    film, index, hits = indexed_film(s)
    server, base = serve(s.web_dir, [film, index])
    s.driver.set_window_size(1000, 1000)  # the picture 1:1 above the search and the panel
    try:
        s.driver.get(base + "index.html?film=" + urllib.parse.quote(f"films/{FILM}?token=1#start", safe="/"))
        s.wait_state("playing")
        open_search(s)
        assert status(s).startswith("Введите слово"), f"the empty field says {status(s)!r}"
        type_query(s, "settings", 2)
        assert [label.split()[-4:] for label in hit_labels(s)] == [["Open", "the", "Settings", "dialog"]] * 2, \
            hit_labels(s)
        violations = s.accessibility_violations()
        assert not violations, "\n".join(violations)
        # Down and Up go through the field and the hits, each with its focus ring.
        for key, where in [(Keys.ARROW_DOWN, "hit 0"), (Keys.ARROW_DOWN, "hit 1"), (Keys.ARROW_DOWN, "hit 1"),
                           (Keys.ARROW_UP, "hit 0"), (Keys.ARROW_UP, "search-field")]:
            s.keys(key)
            assert focus_in_search(s) == where, f"{key!r} went to {focus_in_search(s)}, not {where}"
            assert not (fault := ring_fault(s, where)), fault
        for go, hit, what in [(lambda: s.keys(Keys.ENTER), 0, "Enter"), (lambda: s.keys(Keys.F3), 1, "F3"),
                              (lambda: s.press(Keys.SHIFT, Keys.F3), 0, "Shift+F3"),
                              (lambda: s.driver.find_elements(By.CSS_SELECTOR, "#search-hits button")[1].click(), 1,
                               "a click on the second hit")]:
            go()
            wait_on_hit(s, hits[hit], what)
        s.keys(Keys.ESCAPE)
        s.wait(lambda: not s.shown("search"), "Escape to close the search")
        assert s.driver.switch_to.active_element.get_attribute("id") == "picture-area", "the focus fell out"
    finally:
        s.driver.set_window_size(1000, 800)
        server.terminate()


def drop_with_index(s, *indexes):
    """The film and indexes (their texts) dropped together, as one drop: FILM.words.json,
    FILM.2.words.json...; the search of the film before closes with it, and is opened
    again once the film plays."""
    s.drop_files([FILM], texts=[(FILM + (f".{i + 1}" if i else "") + ".words.json", text)
                                for i, text in enumerate(indexes)])
    s.wait(lambda: not s.shown("search"), "the search to close with the film")
    s.wait(lambda: s.data("film") == "open" and s.data("state") == "playing", "the film again")
    open_search(s)


def test_search_dropped_index(s):
    """An index dropped with the film is searched (a Cyrillic word that was not on screen
    finds nothing, and the search says so, in the page's language), the one made of the
    film when others came too; for one of another version of the film the page offers to
    make it again; a damaged one shows the reader's message; a film without one says how
    to make it. (That another version's index is not searched, and what the search says:
    WebSearch.AnIndexOfAnotherVersionIsNotSearched; that a film without one gives no hits:
    SearchWorker.SaysWhenTheFilmHasNoIndex.)"""
    _, index, _ = indexed_film(s)
    with open(index, encoding="utf-8") as f:
        document = f.read()
    identity = json.loads(document)["filmIdentity"]
    other = document.replace(identity, "0123456789abcdef")
    s.open_page()
    drop_with_index(s, other)
    s.wait(lambda: status(s) == "Текстовый индекс сделан для другой версии фильма — создайте его заново",
           "another version's index refused")
    s.wait_shown("index-make")

    drop_with_index(s, other, document)
    field = s.driver.find_element(By.ID, "search-field")
    field.send_keys(Keys.CONTROL, "a")
    field.send_keys("dialog")
    s.wait(lambda: status(s) == "Найдено: 2" and len(hit_labels(s)) == 2, "2 hits of dialog")
    field.send_keys(Keys.BACKSPACE * 6 + "окно")
    s.wait(lambda: status(s) == "Не найдено" and not hit_labels(s), "nothing found for окно")
    # Another language: the search says it anew, its hits' lines too.
    language = Select(s.driver.find_element(By.ID, "language"))
    language.select_by_value("en")
    s.wait(lambda: status(s) == "No matches", "the status in English")
    s.driver.find_element(By.ID, "search-field").send_keys(Keys.BACKSPACE * 4 + "dialog")
    s.wait(lambda: status(s) == "2 matches" and "segment 2" in hit_labels(s)[1], "the hits in English")
    language.select_by_value("ru")
    s.wait(lambda: status(s) == "Найдено: 2" and "сегмент 2" in hit_labels(s)[1], "the hits in Russian")

    # The film open closes, and its search with it.
    drop_with_index(s, document[: len(document) // 2])
    s.wait(lambda: status(s).startswith("Не удалось прочитать текстовый индекс:"), "the damaged index's message")

    s.open_playing(FILM)
    open_search(s)
    s.wait(lambda: "kof index search.kof" in status(s), "how to make an index")


def index_status(s):
    return s.text("index-status")


def test_index_made_in_page(s):
    """A film without an index: the search offers to make one in the page. Cancel ends
    that with nothing offered; made again, it comes with progress while the film plays
    on, is searched at once, and saved as FILM.words.json, which kof search reads as it
    reads its own, finding the places kof's own index finds at their times within a frame
    or two; the search with the index made breaks no WCAG 2.1 AA rule. (Enter on a hit:
    test_search_index_beside_film.)"""
    _, _, kof_hits = indexed_film(s)
    folder = s.downloads("index-downloads")
    s.open_playing(FILM)
    open_search(s)
    s.wait_shown("index-make")
    s.driver.find_element(By.ID, "index-make").click()
    s.wait(lambda: index_status(s).startswith("Создание индекса:"), "the index's progress")
    s.driver.find_element(By.ID, "index-cancel").click()
    s.wait(lambda: index_status(s) == "Создание индекса отменено.", "the cancel")
    assert s.shown("index-make") and not s.shown("index-save"), "after Cancel: no offer again, or an index offered"

    s.driver.find_element(By.ID, "index-make").click()
    percents, played = set(), set()

    def made():
        status = index_status(s)
        if status.startswith("Создание индекса:"):
            percents.add(int(status.split()[-1].rstrip("%")))
            if s.data("state") == "playing":
                played.add(s.place())
        return status.startswith(("Индекс готов", "Индекс не создан"))
    s.wait(made, "the index made in the page", 300)
    assert index_status(s).startswith("Индекс готов, слов:"), index_status(s)
    assert len(percents) >= 2, f"progress seen: {sorted(percents)}"
    # (The 12 s film may end first on a busy machine: it is seen playing on meanwhile.)
    assert len(played) >= 2, f"the film did not play on while its index was made: {sorted(played)}"
    assert not s.shown("index-make"), "the offer stays after the index was made"
    violations = s.accessibility_violations()
    assert not violations, "\n".join(violations)

    assert focus_in_search(s) == "index-save", f"the focus went to {focus_in_search(s)}, not to the index made"
    s.driver.find_element(By.ID, "search-field").click()
    type_query(s, "settings", 2)

    s.driver.find_element(By.ID, "index-save").click()
    s.wait(lambda: [f for f in os.listdir(folder) if f.endswith(".words.json")], "the index's download")
    saved = os.path.join(folder, FILM + ".words.json")
    shutil.copy(os.path.join(s.films, FILM), folder)
    result = subprocess.run([s.kof, "search", os.path.join(folder, FILM), "settings", "--json"], capture_output=True,
                            text=True)
    assert result.returncode == 0, result.stderr
    assert os.path.exists(saved), os.listdir(folder)
    page_hits = json.loads(result.stdout)
    assert [h["segment"] for h in page_hits] == [h["segment"] for h in kof_hits], page_hits
    for page_hit, kof_hit in zip(page_hits, kof_hits):
        assert abs(page_hit["time"] - kof_hit["time"]) <= 0.2, f"the page's hit {page_hit}, kof's {kof_hit}"


TESTS = [test_search_index_beside_film, test_search_dropped_index, test_index_made_in_page]
