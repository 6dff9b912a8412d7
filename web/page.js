// The page: opening films, the controls, full screen and the messages (the sound is in
// sound.js, the keys in keys.js). The film, the engine and the picture live in the
// worker (player_worker.js); the page sends it the user's commands and shows what it
// sends back.
"use strict";

const $ = (id) => document.getElementById(id);
const player = $("player");
// The player's commands by name, and those with a key, as the worker's module tells them
// (the "commands" event): the one table both players are made from.
const commands = {};
let commandKeys = [];

let worker = null;
let workerRunning = false;  // the worker's module runs: a worker that fails before is not started again
let unavailable = null;     // why the player cannot start in this browser
let texts = { menu: {}, message: {}, names: {} };
let film = null;          // the "film" event of the film open
const noPanelState = { play: 0, segment: 0, position: 0, total: 0 };
let state = noPanelState;  // the "state" event shown last
let openStarted = 0;      // when the user asked for the film open (performance.now())
const messages = [];      // boxes waiting to be shown
const errorCaption = () => texts.message.Error || pageLanguage.text("error");

// --- The worker ---------------------------------------------------------------------

function startWorker() {
  // A canvas can be handed to one worker only: a new worker gets a new canvas.
  const old = $("picture");
  const canvas = document.createElement("canvas");
  canvas.id = "picture";
  canvas.setAttribute("role", "img");
  old.replaceWith(canvas);
  describePicture();
  const offscreen = canvas.transferControlToOffscreen();
  const ratio = window.devicePixelRatio || 1;
  worker = new Worker("player_worker.js");
  workerRunning = false;
  worker.onmessage = (e) => onWorkerMessage(e.data);
  worker.onerror = (e) => workerFailed(e.message || pageLanguage.text("workerFailed"));
  worker.postMessage({ type: "start", canvas: offscreen, screenWidth: Math.round(screen.width * ratio),
    screenHeight: Math.round(screen.height * ratio) }, [offscreen]);
  send({ type: "language", code: pageLanguage.code });
  sendViewport();
  sendZoom();
  activity.tellWorker();
}

function send(message) {
  if (worker) worker.postMessage(message);
}

function command(id) {
  wakeSound();
  send({ type: "command", id });
}

// A worker that ran and failed (out of memory, a fault) is started again; one that
// never ran (its script or the module cannot load) would fail again: the page says so,
// and says it again when a film is asked for.
function workerFailed(text) {
  if (worker) worker.terminate();
  worker = null;
  sound.close();
  showLoading(null);
  filmClosed();
  if (!workerRunning) {
    unavailable = pageLanguage.text("playerCannotStart", text);
    showUnavailable();
    return;
  }
  showMessage({ caption: errorCaption(), text, kind: "error" });
  startWorker();
}

function showUnavailable() {
  showMessage({ caption: errorCaption(), text: unavailable, kind: "error" });
}

function onWorkerMessage(message) {
  switch (message.type) {
    case "ready": workerRunning = true; break;
    case "event": onEvent(message.event); break;
    case "crashed": workerFailed(message.text); break;
    case "picture": download(message.blob, message.name); break;
    case "preview": preview.show(message); break;
    case "filmKey": resume.noteKey(message); break;
    case "filmBlob": (message.purpose === "index" ? textIndexer : exporter).filmArrived(message); break;
    case "activitySound": activity.decode(message); break;
    case "activity": activity.measured(message); break;
    case "activityDone": activity.done(message); break;
    case "search": search.showHits(message); break;
    case "searchChosen": search.showChosen(message); break;
  }
}

function onEvent(event) {
  switch (event.event) {
    case "loading": showLoading(event.text); break;
    case "film":
      filmOpened(event);
      resume.filmOpened();
      break;
    case "closed": filmClosed(); break;
    case "commands":
      for (const entry of event.commands) commands[entry.name] = entry.id;
      commandKeys = event.commands.filter((entry) => entry.code !== "");
      showShortcuts();
      break;
    case "texts":
      texts = { menu: event.menu, message: event.message, names: event.names };
      applyTexts();
      search.find();  // the hits' lines in the new language
      break;
    case "state": showState(event); break;
    case "layout": layOut(event); break;
    case "message": showMessage(event); break;
    case "sound": sound.handle(event); break;
    case "fullscreen": setFullScreen(event.on); break;
    case "resume": resume.remember(event); break;
    case "offer": resume.offer(event); break;
    case "skipped": activity.skipped(event); break;
    case "firstpicture":
      player.dataset.firstPictureMs = String(Math.round(performance.now() - openStarted));
      break;
  }
}

// --- Opening films ------------------------------------------------------------------

// A film chosen or dropped, with the text indexes (*.words.json) that came too: the
// player searches the one made of this film, if any is.
function openFiles(files) {
  const isIndex = (file) => file.name.toLowerCase().endsWith(".words.json");
  const file = [...files].find((f) => !isIndex(f));
  if (!file) return;
  wakeSound();
  startOpen({ type: "open", file, indexes: [...files].filter(isIndex), name: file.name });
}

// ?film=: "Loading" shows while it downloads.
function openUrl(url) {
  let absolute, name;
  try {
    absolute = new URL(url, location.href);
    name = decodeURIComponent(absolute.pathname.split("/").pop() || "film.kof");
  } catch (error) {
    showMessage({ caption: errorCaption(), text: pageLanguage.text("badAddress", url), kind: "error" });
    return;
  }
  startOpen({ type: "open", url: absolute.href, name });
}

function startOpen(message) {
  if (!worker) {
    showUnavailable();
    return;
  }
  openStarted = performance.now();
  showLoading(texts.message.Loading || pageLanguage.text("loading"));
  send(message);
}

// Shown over the picture, and said as a note.
function showLoading(text) {
  const loading = $("loading");
  if (text) notes.show(text, 0);
  else if (!loading.hidden) notes.clear(loading.textContent);
  loading.textContent = text || "";
  loading.hidden = !text;
}

function filmOpened(event) {
  film = event;
  state = noPanelState;  // until the film's own comes
  texts = event.texts;
  showLoading(null);
  player.dataset.film = "open";
  $("film-name").textContent = event.name;
  document.title = `roRezodu - [${event.name}]`;
  $("properties").disabled = false;
  $("search-open").disabled = false;
  $("export-open").disabled = false;
  applyTexts();
  fillSegmentList();
  fillBar();
  activity.filmChanged();
  search.filmChanged();
  describeControls();
}

function filmClosed() {
  film = null;
  resume.hideOffer();
  player.dataset.film = "none";
  player.dataset.state = "stopped";
  $("film-name").textContent = "";
  $("properties").disabled = true;
  $("search-open").disabled = true;
  $("export-open").disabled = true;
  $("segments").replaceChildren();
  $("bar-parts").replaceChildren();
  $("bar-played").style.width = "0";
  activity.filmChanged();
  search.filmChanged();
  $("info").textContent = $("time").textContent = $("title").textContent = "";
  describeControls();
}

// A control that runs a command of the table shows the command's key (data-shortcut
// names the command); the page's own keys stand in the markup.
function showShortcuts() {
  for (const element of document.querySelectorAll("[data-shortcut]")) {
    const entry = commandKeys.find((k) => k.name === element.dataset.shortcut);
    if (!entry) continue;
    element.dataset.key = entry.shortcut;
    element.setAttribute("aria-keyshortcuts", entry.aria);
  }
}

// The film's language table names the texts: a control's title is its menu text (the
// player's tooltips); an empty text leaves the title empty, as in the player. Every
// control keeps a name all the same, the built-in text where the table has none: shown
// on a text button, given to a screen reader otherwise.
function applyTexts() {
  for (const element of document.querySelectorAll("[data-text]:not(option)")) {
    const key = element.dataset.text;
    const text = key in texts.menu ? texts.menu[key] : "";
    const shortcut = element.dataset.key ? ` (${element.dataset.key})` : "";
    element.title = text ? text + shortcut : "";
    const name = text || controlName(key);
    if (!element.classList.contains("icon") && element.tagName === "BUTTON") element.textContent = name;
    else element.setAttribute("aria-label", name);
  }
  // The texts the Windows player's boxes show too, from the same table.
  for (const element of document.querySelectorAll("[data-message]"))
    element.textContent = texts.message[element.dataset.message] ?? element.textContent;
  for (const element of document.querySelectorAll("[data-message-label]"))
    element.setAttribute("aria-label", texts.message[element.dataset.messageLabel] ?? element.getAttribute("aria-label"));
  $("segments-caption").textContent = texts.message.Segments;
  $("panel").setAttribute("aria-label", texts.menu.ShowPanel || controlName("ShowPanel"));
  applyZoomTexts();
}

function controlName(key) {
  return (texts.names && texts.names[key]) || key;
}

function fillSegmentList() {
  const list = $("segments");
  list.replaceChildren();
  film.segments.forEach((segment, index) => {
    const item = document.createElement("li");
    const button = document.createElement("button");
    button.type = "button";
    button.dataset.index = String(index);
    button.disabled = !segment.playable;
    button.textContent = `${index + 1}. ${segment.name}`;
    const format = document.createElement("span");
    format.className = "format";
    format.textContent = `${segment.width} x ${segment.height} x ${segment.bits} / ${segment.rate} fps` +
      (segment.sound ? "  mp3" : "");
    button.append(format);
    button.addEventListener("click", () => {
      wakeSound();
      send({ type: "segment", index });
    });
    item.append(button);
    list.append(item);
  });
}

function fillBar() {
  const parts = $("bar-parts");
  parts.replaceChildren();
  for (const part of film.bar) {
    const element = document.createElement("div");
    element.style.flex = `${part.seconds} 0 0`;
    parts.append(element);
  }
}

// --- What the worker shows ----------------------------------------------------------

const playStates = ["stopped", "playing", "paused"];

function showState(event) {
  const focusOnPlay = document.activeElement === $("play");
  const focusOnPause = document.activeElement === $("pause");
  state = event;
  resume.noteShown(event);
  player.dataset.state = playStates[event.play] || "stopped";
  player.dataset.segment = String(event.segment);
  player.dataset.frame = String(event.frame);
  player.dataset.shown = String(event.shown);
  $("info").textContent = event.info;
  $("time").textContent = event.time;
  $("title").textContent = event.title;
  $("speed").value = String(event.speed);
  $("speed-label").textContent = event.speedLabel;
  const playing = event.play === 1;
  $("play").hidden = playing;
  $("pause").hidden = !playing;
  // The focus follows the button that takes the place of the one it was on.
  if (playing && focusOnPlay) $("pause").focus();
  if (!playing && focusOnPause) $("play").focus();
  const share = event.total > 0 ? Math.min(1, Math.max(0, event.position / event.total)) : 0;
  $("bar-played").style.width = `${share * 100}%`;
  describeControls();
}

// The canvas holds the picture at its own size; shown at the size the layout gives, in
// device pixels, so that a picture that fits is shown pixel for pixel.
// Placed on whole device pixels, so that nothing is resampled.
function layOut(event) {
  const ratio = window.devicePixelRatio || 1;
  const canvas = $("picture");
  const area = $("picture-area").getBoundingClientRect();
  const snap = (start, offset) => Math.round((start + offset / ratio) * ratio) / ratio - start;
  canvas.style.width = `${event.shownWidth / ratio}px`;
  canvas.style.height = `${event.shownHeight / ratio}px`;
  canvas.style.left = `${snap(area.left, event.originX)}px`;
  canvas.style.top = `${snap(area.top, event.originY)}px`;
  renderPixels(event);
  search.relayout();
}

function sendViewport() {
  const area = $("picture-area");
  const ratio = window.devicePixelRatio || 1;
  send({ type: "viewport", width: Math.floor(area.clientWidth * ratio), height: Math.floor(area.clientHeight * ratio) });
}

// --- Zoom ---------------------------------------------------------------------------

// The picture at the screen's scale (a recorded pixel as devicePixelRatio device
// pixels), in its original pixels, or fitted to the area: the worker lays it out for
// the choice and the ratio, told again when the ratio changes (the page zoomed, or
// moved to a screen of another scale).
function sendZoom() {
  send({ type: "zoom", zoom: Number($("zoom").value), ratio: window.devicePixelRatio || 1 });
}

function watchPixelRatio() {
  matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`).addEventListener("change", () => {
    sendViewport();
    sendZoom();
    activity.draw();
    watchPixelRatio();
  }, { once: true });
}

// Enlarged by a whole factor every recorded pixel stays a sharp block; at other sizes
// the browser smooths the picture.
function renderPixels(event) {
  $("picture").style.imageRendering = event.wholeFactor ? "pixelated" : "auto";
}

// The choices' texts from the film's language table; a key it lacks keeps the
// built-in text, as the player's menu items do.
function applyZoomTexts() {
  for (const option of $("zoom").options) {
    option.dataset.builtIn = option.dataset.builtIn || option.textContent;
    option.textContent = texts.menu[option.dataset.text] || option.dataset.builtIn;
  }
}

function wireZoom() {
  $("zoom").addEventListener("change", sendZoom);
  watchPixelRatio();
}

// --- Messages -----------------------------------------------------------------------

function showMessage(message) {
  messages.push(message);
  if (messages.length === 1) presentMessage();
}

function presentMessage() {
  const message = messages[0];
  const box = $("message");
  box.dataset.kind = message.kind || "info";
  $("message-caption").textContent = message.caption || "";
  $("message-text").textContent = String(message.text || "").replace(/\r\n?/g, "\n");
  box.returnFocus = box.hidden ? document.activeElement : box.returnFocus;
  box.hidden = false;
  $("message-ok").focus();
}

function closeMessage() {
  const box = $("message");
  messages.shift();
  if (messages.length > 0) {
    presentMessage();
    return;
  }
  box.hidden = true;
  if (box.returnFocus && document.contains(box.returnFocus)) box.returnFocus.focus();
}

// --- Notes --------------------------------------------------------------------------

// What the page tells unasked (loading, a stretch skipped, an export done, the place to
// resume, sound held back) a screen reader hears from one live region outside the panel,
// so also with the panel hidden or the export dialog closed. A note stays `ms` (0: until
// cleared); the next takes its place.
const notes = {
  timer: 0,

  show(text, ms = 10000) {
    const region = $("notes");
    region.textContent = text;
    clearTimeout(this.timer);
    if (ms > 0) this.timer = setTimeout(() => { region.textContent = ""; }, ms);
  },

  // A note whose cause is gone (the place taken, the sound running) goes at once.
  clear(text) {
    if ($("notes").textContent !== text) return;
    clearTimeout(this.timer);
    $("notes").textContent = "";
  },
};

// --- Full screen, the panel and the segment list ------------------------------------

function setFullScreen(on) {
  if (on && !document.fullscreenElement) player.requestFullscreen().catch(() => reportFullScreen());
  if (!on && document.fullscreenElement) document.exitFullscreen().catch(() => reportFullScreen());
}

function reportFullScreen() {
  const on = Boolean(document.fullscreenElement);
  $("fullscreen").setAttribute("aria-pressed", String(on));
  send({ type: "fullscreen", on });
}

function toggleSegmentList() {
  const list = $("segment-list");
  const focusInside = list.contains(document.activeElement);
  list.hidden = !list.hidden;
  $("segments-button").setAttribute("aria-pressed", String(!list.hidden));
  if (!list.hidden) {
    const current = list.querySelector('button[aria-current="true"]') || list.querySelector("button:not(:disabled)");
    if (current) current.focus();
  } else if (focusInside) {
    $("segments-button").focus();  // the focus does not fall out of the page
  }
}

function togglePanel() {
  const focusInside = $("panel").contains(document.activeElement);
  $("panel").hidden = !$("panel").hidden;
  if (focusInside) $("picture-area").focus();  // the focus does not fall out of the page
}

// Named when asked for, after the film and the frame whose picture is shown then.
function savePicture() {
  const base = film ? film.name.replace(/\.[^.]*$/, "") : "roRezodu";
  send({ type: "savePicture", name: `${base}_${state.segment + 1}_${Math.max(state.shown, 0)}.png` });
}

// Each picture's address is freed 10 s after its download began.
function download(blob, name) {
  const link = $("download");
  const address = URL.createObjectURL(blob);
  link.href = address;
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(address), 10000);
}

// --- The progress bar ---------------------------------------------------------------

// The bar's own area is the player's drawing area (2 pixels inside the frame on each
// side), so the press and the drag go through the player's arithmetic unchanged.
function barPoint(event) {
  const bar = $("bar");
  const box = bar.getBoundingClientRect();
  return { x: Math.round(event.clientX - box.left - bar.clientLeft) + 2, width: Math.round(bar.clientWidth) + 4 };
}

let barDrag = null;
let scrubQueued = null;

function onBarDown(event) {
  if (event.button !== 0 || !film) return;
  wakeSound();
  $("bar").setPointerCapture(event.pointerId);
  barDrag = { startX: event.clientX, scrubbing: false };
  send({ type: "barPress", ...barPoint(event) });
}

function onBarMove(event) {
  if (!barDrag) return;
  if (!barDrag.scrubbing && Math.abs(event.clientX - barDrag.startX) < 4) return;
  barDrag.scrubbing = true;
  // One scrub per display frame: the worker shows the frame under the latest point.
  if (!scrubQueued) requestAnimationFrame(sendQueuedScrub);
  scrubQueued = barPoint(event);
}

function sendQueuedScrub() {
  if (scrubQueued) send({ type: "barScrub", ...scrubQueued });
  scrubQueued = null;
}

// The last point first, then the end of the drag: the worker skips idle stretches again.
function onBarUp() {
  if (barDrag && barDrag.scrubbing) {
    sendQueuedScrub();
    send({ type: "barRelease" });
  }
  barDrag = null;
}

function toggleFullScreen() {
  setFullScreen(!document.fullscreenElement);
}

// --- Wiring -------------------------------------------------------------------------

function wire() {
  for (const button of document.querySelectorAll("button[data-command]"))
    button.addEventListener("click", () => command(commands[button.dataset.command]));
  $("segments-button").addEventListener("click", toggleSegmentList);
  $("fullscreen").addEventListener("click", toggleFullScreen);
  $("open").addEventListener("click", () => $("file").click());
  $("file").addEventListener("change", () => {
    openFiles($("file").files);
    $("file").value = "";
  });
  $("message-ok").addEventListener("click", closeMessage);
  $("speed").addEventListener("input", () => send({ type: "speed", position: Number($("speed").value) }));
  $("volume").addEventListener("input", () => {
    const percent = Number($("volume").value);
    sound.setVolume(percent);
    $("volume-label").textContent = `${percent}%`;
    describeControls();
  });
  const bar = $("bar");
  bar.addEventListener("pointerdown", onBarDown);
  bar.addEventListener("pointermove", onBarMove);
  bar.addEventListener("pointerup", onBarUp);
  bar.addEventListener("pointercancel", onBarUp);
  document.addEventListener("fullscreenchange", () => {
    reportFullScreen();
    sendViewport();
  });
  new ResizeObserver(sendViewport).observe($("picture-area"));

  // Dropping a file anywhere on the page opens it.
  document.addEventListener("dragover", (event) => {
    event.preventDefault();
    document.body.classList.add("dragging");
  });
  document.addEventListener("dragleave", (event) => {
    if (!event.relatedTarget) document.body.classList.remove("dragging");
  });
  document.addEventListener("drop", (event) => {
    event.preventDefault();
    document.body.classList.remove("dragging");
    if (event.dataTransfer) openFiles(event.dataTransfer.files);
  });
}

// Once every script of the page has run (sound.js, keys.js, the habits).
document.addEventListener("DOMContentLoaded", () => {
  wire();
  wireZoom();
  startWorker();
  const filmParameter = new URLSearchParams(location.search).get("film");
  if (filmParameter) openUrl(filmParameter);
});
