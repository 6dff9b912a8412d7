// The page's keys: the Windows player's (the command table the worker's module sends)
// where the browser leaves them to a page, and only where they mean something. The
// browser keeps its own: reload (F5, Ctrl+R, Ctrl+Shift+R), back, forward and home
// (Alt+Left, Alt+Right, Alt+Home). So the page plays the next segment with N, seeks
// with the plain arrows, Home and End while the picture has the focus, as browser
// players do, finds the text on screen with Ctrl+F once a film is open (the browser's
// own find sees no text in a picture) and steps through its hits with F3 while there
// are hits, and goes back to a film's place with R while that place is offered; I
// switches skipping idle stretches. The bar and the two sliders step as the Windows
// player's do. Letters are told by the key's place, so that they work in every keyboard
// layout. A key with a control in focus that uses it goes to that control; a message
// takes every key until it is closed. The keys of one character (the letters and Space)
// are the player's only while the focus is in it: elsewhere on the page a speech
// program's words, typed as keys, start nothing.
"use strict";

// The command whose key this is, by the player's table: letters and digits by the key's
// place, the other keys by what they are (an Enter of the number block is Enter too).
function tableCommand(event) {
  const ctrl = event.ctrlKey || event.metaKey;
  const entry = commandKeys.find((k) => (k.code === event.code || k.code === event.key) && k.ctrl === ctrl &&
    k.alt === event.altKey && k.shift === event.shiftKey);
  return entry ? entry.name : null;
}

// What the table's keys do on the page, and when; a command left out, or an answer of
// null, leaves its key to the browser: reload (F5, Ctrl+R), back and forward (Alt+Left,
// Alt+Right), home (Alt+Home), zoom (Ctrl+0, 1, 2).
const pageCommandKeys = {
  load: () => () => $("file").click(),
  exportVideo: () => film || exporter.worker ? () => exporter.open() : null,
  fullScreen: () => film ? toggleFullScreen : null,
  findOnScreen: () => film ? search.open : null,
  findNext: () => film && search.hasHits() ? () => search.step(true) : null,
  findPrevious: () => film && search.hasHits() ? () => search.step(false) : null,
  savePicture: () => film ? savePicture : null,
  frameBack: () => film ? commands.frameBack : null,
  frameForward: () => film ? commands.frameForward : null,
  help: () => () => command(commands.help),
  properties: () => film ? () => command(commands.properties) : null,
  segments: () => film ? toggleSegmentList : null,
  controlPanel: () => film ? togglePanel : null,
  play: () => film ? commands.play : null,
  pause: () => film ? commands.pause : null,
  stop: () => film ? commands.stop : null,
  prev: (event) => film && event.target.tagName !== "SELECT" ? commands.prev : null,
};

// What a key does: a command's number (repeated while the key is held, as the player's
// accelerators are), a function (once per press), or null: the key is not the page's.
function keyAction(event) {
  const name = tableCommand(event);
  if (name !== null) return name in pageCommandKeys ? pageCommandKeys[name](event) : null;
  return pageOwnKey(event);
}

// The page's own keys, where the browser keeps the player's: N for the next segment, R
// to go back to a film's place while it is offered, I for skipping idle stretches.
function pageOwnKey(event) {
  if (event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return null;
  // Keys of one character in the player only, where a list keeps its letters to choose an entry.
  if (event.key.length === 1 && (!inPlayer(event.target) || event.target.tagName === "SELECT")) return null;
  if (event.code === "KeyI") return () => activity.toggle();
  if (!film) return null;
  if (event.code === "KeyR") return resume.offered() ? () => resume.take() : null;
  if (event.code === "KeyN") return commands.next;
  return null;
}

// The player: the picture, the panel and the segment list, with their controls.
function inPlayer(element) {
  return ["picture-area", "panel", "segment-list"].some((id) => $(id).contains(element));
}

// Space plays and pauses on the player's parts that have no use for it.
function spaceKeyFor(target) {
  const tag = target.tagName;
  return inPlayer(target) && tag !== "BUTTON" && tag !== "INPUT" && tag !== "SELECT" && tag !== "TEXTAREA";
}

function onKeyDown(event) {
  if ($("export").open) return;  // the dialog's own controls take the keys
  if (!$("message").hidden) {
    onMessageKey(event);
    return;
  }
  if (event.key === " " && !event.altKey && !event.ctrlKey && !event.metaKey && film && spaceKeyFor(event.target)) {
    event.preventDefault();
    command(state.play === 1 ? commands.pause : commands.play);
    return;
  }
  if (event.key === "Escape" && $("segment-list").contains(document.activeElement)) {
    $("play").hidden ? $("pause").focus() : $("play").focus();
    return;
  }
  const action = keyAction(event);
  if (action === null) return;
  event.preventDefault();
  if (typeof action !== "function") command(action);
  else if (!event.repeat) action();
}

// The message is modal: Tab stays on its one button (Space and Enter press it, Escape
// closes it); the keys of the controls behind it wait until it is closed.
function onMessageKey(event) {
  if (event.key === "Tab") {
    event.preventDefault();
    $("message-ok").focus();
  } else if ((event.key === "Escape" || event.key === "Enter") && !event.repeat) {
    event.preventDefault();
    closeMessage();
  }
}

const plainKey = (event) => !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey;

// On the picture the arrows seek 5 s and Home and End go to the segment's ends.
function onSeekKey(event) {
  const keys = { ArrowLeft: commands.seekBack, ArrowRight: commands.seekForward,
    Home: commands.segmentStart, End: commands.segmentEnd };
  if (!(event.key in keys) || !plainKey(event) || !film) return;
  if (!$("message").hidden) return;
  event.preventDefault();
  event.stopPropagation();
  command(keys[event.key]);
}

// The bar is a slider over the film: the arrows step 5 s, Page Up and Page Down a
// minute, Home and End go to the film's start and end.
function onBarKey(event) {
  const seconds = { ArrowLeft: -5, ArrowDown: -5, ArrowRight: 5, ArrowUp: 5, PageDown: -60, PageUp: 60,
    Home: -Infinity, End: Infinity }[event.key];
  if (seconds === undefined || !plainKey(event) || !film || !$("message").hidden) return;
  event.preventDefault();
  wakeSound();
  send({ type: "barStep", seconds });
}

// The speed steps one place of its scale for every key; the volume 5 % and, with Page
// Up and Page Down, 20 %. Home and End go to the ends.
function onSliderKey(event) {
  const input = event.currentTarget;
  const [small, large] = input.id === "volume" ? [5, 20] : [1, 1];
  const step = { ArrowLeft: -small, ArrowDown: -small, ArrowRight: small, ArrowUp: small, PageDown: -large,
    PageUp: large, Home: -Infinity, End: Infinity }[event.key];
  if (step === undefined || !plainKey(event)) return;
  event.preventDefault();
  const value = Math.min(Number(input.max), Math.max(Number(input.min), Number(input.value) + step));
  if (value === Number(input.value)) return;
  input.value = String(value);
  input.dispatchEvent(new Event("input"));
}

document.addEventListener("keydown", onKeyDown);
$("bar").addEventListener("keydown", onBarKey);
$("picture-area").addEventListener("keydown", onSeekKey);
$("speed").addEventListener("keydown", onSliderKey);
$("volume").addEventListener("keydown", onSliderKey);
