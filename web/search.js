// Find on screen: the search field above the panel (Ctrl+F), the hits as the query is
// typed, Enter or a click to pause on a hit with its words outlined for 2 s, F3 and
// Shift+F3 to the next and previous hit (also with the field closed), Escape to close.
// The worker searches the film's text index with the Windows player's code; the page
// shows its answers.
"use strict";

const search = (() => {
  const outlineMs = 2000;
  let outlineTimer = 0;
  let hits = [];
  let chosen = -1;
  let shownBox = null;  // {segment, box} outlined now

  const isOpen = () => !$("search").hidden;

  function open() {
    if (!film) return;
    $("search").hidden = false;
    $("search-field").focus();
    $("search-field").select();
    find();
  }

  function close() {
    if (!isOpen()) return;
    const focusInside = $("search").contains(document.activeElement);
    $("search").hidden = true;
    hideOutline();
    if (focusInside) $("picture-area").focus();
  }

  function find() {
    send({ type: "searchFind", query: $("search-field").value });
  }

  // The worker's hits of the query typed last.
  function showHits(answer) {
    hits = answer.hits;
    chosen = -1;
    $("search-status").textContent = answer.status;
    textIndexer.offer(answer.index);
    const list = $("search-hits");
    list.replaceChildren();
    hits.forEach((hit, index) => {
      const item = document.createElement("li");
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = hit.label;
      button.addEventListener("click", () => choose(index));
      item.append(button);
      list.append(item);
    });
  }

  function choose(index) {
    if (index < 0 || index >= hits.length) return;
    send({ type: "searchChoose", hit: index });
  }

  function step(forward) {
    if (hits.length > 0) send({ type: "searchStep", forward });
  }

  // The worker paused on the hit chosen: it is marked in the list and outlined.
  function showChosen(answer) {
    if (answer.chosen === undefined) return;
    chosen = answer.chosen;
    for (const [index, button] of [...$("search-hits").querySelectorAll("button")].entries()) {
      if (index === chosen) {
        button.setAttribute("aria-current", "true");
        button.scrollIntoView({ block: "nearest" });
      } else {
        button.removeAttribute("aria-current");
      }
    }
    shownBox = { segment: answer.segment, box: answer.box };
    placeOutline();
    clearTimeout(outlineTimer);
    outlineTimer = setTimeout(hideOutline, outlineMs);
  }

  // Over the canvas, in the words' segment pixels scaled as the picture is shown.
  function placeOutline() {
    const outline = $("search-outline");
    const segment = shownBox && film && film.segments[shownBox.segment];
    const canvas = $("picture");
    if (!segment || segment.width === 0 || canvas.offsetWidth === 0) {
      outline.hidden = true;
      return;
    }
    const scale = canvas.offsetWidth / segment.width;
    const [left, top, width, height] = shownBox.box;
    const margin = 2;
    outline.style.left = `${canvas.offsetLeft + left * scale - margin}px`;
    outline.style.top = `${canvas.offsetTop + top * scale - margin}px`;
    outline.style.width = `${width * scale + 2 * margin}px`;
    outline.style.height = `${height * scale + 2 * margin}px`;
    outline.hidden = false;
  }

  function hideOutline() {
    clearTimeout(outlineTimer);
    shownBox = null;
    $("search-outline").hidden = true;
  }

  // Up and Down move between the field and the hits, as through one list.
  function moveFocus(by) {
    const stops = [$("search-field"), ...$("search-hits").querySelectorAll("button")];
    const at = stops.indexOf(document.activeElement);
    if (at < 0) return;
    stops[Math.min(stops.length - 1, Math.max(0, at + by))].focus();
  }

  // Enter in the field goes to the hit chosen, else the first; Escape anywhere in the
  // search closes it.
  function onKey(event) {
    const plain = !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey;
    if ((event.key === "ArrowDown" || event.key === "ArrowUp") && plain) {
      event.preventDefault();
      moveFocus(event.key === "ArrowDown" ? 1 : -1);
    } else if (event.key === "Escape") {
      event.preventDefault();
      event.stopPropagation();
      close();
    } else if (event.key === "Enter" && event.target === $("search-field") && !event.repeat) {
      event.preventDefault();
      choose(chosen >= 0 ? chosen : 0);
    }
  }

  function filmChanged() {
    textIndexer.filmChanged();
    hideOutline();
    hits = [];
    $("search-hits").replaceChildren();
    if (!film) close();
    else if (isOpen()) find();
  }

  document.addEventListener("DOMContentLoaded", () => {
    $("search-field").addEventListener("input", find);
    $("search").addEventListener("keydown", onKey);
    $("search-close").addEventListener("click", close);
    $("search-open").addEventListener("click", open);
  });

  return { open, close, step, isOpen, hasHits: () => hits.length > 0, showHits, showChosen, filmChanged,
    relayout: () => shownBox && placeOutline(), find: () => isOpen() && find() };
})();
