// The page: opening films, the controls, the keys, full screen, the messages and the
// sound. The film, the engine and the picture live in the worker (player_worker.js);
// the page sends it the user's commands and shows what it sends back.
"use strict";

const $ = (id) => document.getElementById(id);
const player = $("player");
const commands = { play: 110, pause: 111, stop: 112, prev: 114, next: 115, properties: 102, help: 130,
  seekBack: 140, seekForward: 141, frameBack: 142, frameForward: 143, segmentStart: 144, segmentEnd: 145 };

let worker = null;
let texts = { menu: {}, message: {} };
let film = null;          // the "film" event of the film open
let state = { play: 0, segment: 0, position: 0, total: 0 };
let openStarted = 0;      // when the user asked for the film open (performance.now())
const messages = [];      // boxes waiting to be shown
const errorCaption = () => texts.message.Error || "Ошибка";

// --- The worker ---------------------------------------------------------------------

function startWorker() {
  // A canvas can be handed to one worker only: a new worker gets a new canvas.
  const old = $("picture");
  const canvas = document.createElement("canvas");
  canvas.id = "picture";
  old.replaceWith(canvas);
  const offscreen = canvas.transferControlToOffscreen();
  const ratio = window.devicePixelRatio || 1;
  worker = new Worker("player_worker.js");
  worker.onmessage = (e) => onWorkerMessage(e.data);
  worker.onerror = (e) => workerFailed(e.message || "the player's worker failed");
  worker.postMessage({ type: "start", canvas: offscreen, screenWidth: Math.round(screen.width * ratio),
    screenHeight: Math.round(screen.height * ratio) }, [offscreen]);
  send({ type: "language", code: pageLanguage.code });
  sendViewport();
  sendZoom();
}

function send(message) {
  if (worker) worker.postMessage(message);
}

function command(id) {
  wakeSound();
  send({ type: "command", id });
}

function workerFailed(text) {
  if (worker) worker.terminate();
  worker = null;
  sound.close();
  filmClosed();
  showMessage({ caption: errorCaption(), text, kind: "error" });
  startWorker();
}

function onWorkerMessage(message) {
  switch (message.type) {
    case "event": onEvent(message.event); break;
    case "crashed": workerFailed(message.text); break;
    case "picture": download(message.blob, pictureName()); break;
    case "preview": preview.show(message); break;
    case "filmKey": resume.noteKey(message); break;
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
    case "texts":
      texts = { menu: event.menu, message: event.message };
      applyTexts();
      break;
    case "state": showState(event); break;
    case "layout": layOut(event); break;
    case "message": showMessage(event); break;
    case "sound": sound.handle(event); break;
    case "fullscreen": setFullScreen(event.on); break;
    case "resume": resume.remember(event); break;
    case "offer": resume.offer(event); break;
    case "firstpicture":
      player.dataset.firstPictureMs = String(Math.round(performance.now() - openStarted));
      break;
  }
}

// --- Opening films ------------------------------------------------------------------

function openFile(file) {
  if (!file) return;
  openStarted = performance.now();
  wakeSound();
  send({ type: "open", file, name: file.name });
}

function openUrl(url) {
  openStarted = performance.now();
  const absolute = new URL(url, location.href);
  const name = decodeURIComponent(absolute.pathname.split("/").pop() || "film.kof");
  send({ type: "open", url: absolute.href, name });
}

function showLoading(text) {
  $("loading").textContent = text || "";
  $("loading").hidden = !text;
}

function filmOpened(event) {
  film = event;
  texts = event.texts;
  showLoading(null);
  player.dataset.film = "open";
  $("film-name").textContent = event.name;
  document.title = `roRezodu - [${event.name}]`;
  $("properties").disabled = false;
  applyTexts();
  fillSegmentList();
  fillBar();
}

function filmClosed() {
  film = null;
  player.dataset.film = "none";
  player.dataset.state = "stopped";
  $("film-name").textContent = "";
  $("properties").disabled = true;
  $("segments").replaceChildren();
  $("bar-parts").replaceChildren();
  $("bar-played").style.width = "0";
  $("info").textContent = $("time").textContent = $("title").textContent = "";
}

// The film's language table names the texts: a button's title is its menu text (the
// player's tooltips); an empty text leaves the title empty, as in the player.
function applyTexts() {
  for (const element of document.querySelectorAll("[data-text]")) {
    const key = element.dataset.text;
    const text = key in texts.menu ? texts.menu[key] : "";
    const shortcut = element.dataset.key ? ` (${element.dataset.key})` : "";
    element.title = text ? text + shortcut : "";
    element.setAttribute("aria-label", text || key);
    if (!element.classList.contains("icon") && element.tagName === "BUTTON") element.textContent = text || key;
  }
  $("segments-caption").textContent = texts.message.Segments;
  applyZoomTexts();
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
  player.dataset.state = playStates[event.play] || "stopped";
  player.dataset.segment = String(event.segment);
  player.dataset.frame = String(event.frame);
  player.dataset.shown = String(event.shown);
  $("info").textContent = event.info;
  $("time").textContent = event.time;
  $("title").textContent = event.title;
  $("speed").value = String(event.speed);
  $("speed-label").textContent = event.speedLabel;
  $("speed").setAttribute("aria-valuetext", event.speedLabel);
  const playing = event.play === 1;
  $("play").hidden = playing;
  $("pause").hidden = !playing;
  // The focus follows the button that takes the place of the one it was on.
  if (playing && focusOnPlay) $("pause").focus();
  if (!playing && focusOnPause) $("play").focus();
  const share = event.total > 0 ? Math.min(1, Math.max(0, event.position / event.total)) : 0;
  $("bar-played").style.width = `${share * 100}%`;
  const bar = $("bar");
  bar.setAttribute("aria-valuemax", String(Math.round(event.total)));
  bar.setAttribute("aria-valuenow", String(Math.round(event.position)));
  bar.setAttribute("aria-valuetext", event.time);
  for (const button of $("segments").querySelectorAll("button"))
    button.setAttribute("aria-current", String(Number(button.dataset.index) === event.segment && event.play !== 0));
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

// --- Sound --------------------------------------------------------------------------

// Web Audio plays the segment's MP3. The worker asks to play from a position and is
// told when that position is heard, so that its clock and drift rules follow the sound.
const sound = {
  context: null,
  gain: null,
  buffer: null,
  source: null,
  pending: null,     // a play waiting for the decoder or for the context to run
  decoding: 0,       // numbers decodes, so that a late one for another segment is dropped

  ensureContext() {
    if (this.context) return;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    this.context = new Context();
    this.gain = this.context.createGain();
    this.gain.gain.value = Number($("volume").value) / 100;
    this.gain.connect(this.context.destination);
    this.context.onstatechange = () => this.startPending();
  },

  handle(event) {
    this.ensureContext();
    if (!this.context) return;
    switch (event.action) {
      case "open": this.open(event.bytes); break;
      case "play": this.play(event.offset, event.request); break;
      case "pause": this.stopSource(); this.pending = null; break;
      case "close": this.close(); break;
    }
  },

  open(bytes) {
    this.close();
    const number = ++this.decoding;
    this.context.decodeAudioData(bytes).then((buffer) => {
      if (number !== this.decoding) return;
      this.buffer = buffer;
      player.dataset.soundMs = String(Math.round(buffer.duration * 1000));
      this.startPending();
    }, () => {
      if (number !== this.decoding) return;
      send({ type: "soundFailed" });
      showMessage({ caption: "Error", text: "The sound of this segment cannot be decoded.", kind: "error" });
    });
  },

  play(offset, request) {
    this.stopSource();
    this.pending = { offset, request, asked: performance.now() };
    this.startPending();
  },

  startPending() {
    const pending = this.pending;
    if (!pending || !this.buffer || !this.context || this.context.state !== "running") return;
    this.pending = null;
    // Time spent waiting for the decoder counts: the picture went on meanwhile.
    const position = pending.offset + (performance.now() - pending.asked);
    if (position >= this.buffer.duration * 1000) return;
    const source = this.context.createBufferSource();
    source.buffer = this.buffer;
    source.connect(this.gain);
    source.start(0, position / 1000);
    source.onended = () => {
      if (this.source === source) player.dataset.sound = "ended";
    };
    this.source = source;
    player.dataset.sound = "playing";
    const latency = (this.context.outputLatency || this.context.baseLatency || 0) * 1000;
    send({ type: "soundStarted", request: pending.request, position,
      at: performance.timeOrigin + performance.now() + latency });
  },

  stopSource() {
    if (!this.source) return;
    player.dataset.sound = "paused";
    try {
      this.source.stop();
    } catch (error) {
      // already ended
    }
    this.source.disconnect();
    this.source = null;
  },

  close() {
    this.stopSource();
    this.pending = null;
    this.buffer = null;
    ++this.decoding;
    delete player.dataset.sound;
  },

  setVolume(percent) {
    if (this.gain) this.gain.gain.value = percent / 100;
  },
};

// Browsers let a page's sound start only after the user did something on it.
function wakeSound() {
  sound.ensureContext();
  if (sound.context && sound.context.state === "suspended") sound.context.resume().catch(() => {});
}

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
  list.hidden = !list.hidden;
  $("segments-button").setAttribute("aria-pressed", String(!list.hidden));
  if (!list.hidden) {
    const current = list.querySelector('button[aria-current="true"]') || list.querySelector("button:not(:disabled)");
    if (current) current.focus();
  }
}

function togglePanel() {
  $("panel").hidden = !$("panel").hidden;
}

function pictureName() {
  const base = film ? film.name.replace(/\.[^.]*$/, "") : "roRezodu";
  return `${base}_${state.segment + 1}_${Math.max(state.frame, 0)}.png`;
}

function download(blob, name) {
  const link = $("download");
  link.href = URL.createObjectURL(blob);
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
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
  if (!scrubQueued) requestAnimationFrame(() => {
    send({ type: "barScrub", ...scrubQueued });
    scrubQueued = null;
  });
  scrubQueued = barPoint(event);
}

function onBarUp() {
  barDrag = null;
}

// --- Keys ---------------------------------------------------------------------------

// The Windows player's keys, where the browser lets a page have them; Space plays and
// pauses. Keys with a control in focus that uses them go to that control.
function keyCommand(event) {
  const key = event.key, alt = event.altKey, ctrl = event.ctrlKey || event.metaKey;
  if (alt && !ctrl) {
    if (key === "Enter") return () => toggleFullScreen();
    if (key === "ArrowLeft") return commands.seekBack;
    if (key === "ArrowRight") return commands.seekForward;
    if (key === "Home") return commands.segmentStart;
    if (key === "End") return commands.segmentEnd;
    return null;
  }
  if (ctrl && !alt) {
    if (key === "o" || key === "O") return () => $("file").click();
    if (key === "s" || key === "S") return () => send({ type: "savePicture" });
    if (key === ",") return commands.frameBack;
    if (key === ".") return commands.frameForward;
    if ((key === "r" || key === "R") && resume.offered) return () => resume.take();
    return null;
  }
  if (alt || ctrl) return null;
  switch (key) {
    case "F1": return commands.help;
    case "F4": return commands.prev;
    case "F5": return commands.next;
    case "F6": return () => toggleSegmentList();
    case "F7": return () => togglePanel();
    case "F8": return film ? commands.properties : null;
    case "F9": return commands.play;
    case "F10": return commands.pause;
    case "F11": return commands.stop;
    default: return null;
  }
}

function spaceKeyFor(target) {
  const tag = target && target.tagName;
  return tag !== "BUTTON" && tag !== "INPUT" && tag !== "SELECT" && tag !== "TEXTAREA";
}

function onKeyDown(event) {
  if (!$("message").hidden) {
    if (event.key === "Escape" || event.key === "Enter") {
      event.preventDefault();
      closeMessage();
    }
    return;
  }
  if (event.key === " " && !event.altKey && !event.ctrlKey && spaceKeyFor(event.target)) {
    event.preventDefault();
    command(state.play === 1 ? commands.pause : commands.play);
    return;
  }
  if (event.key === "Escape" && $("segment-list").contains(document.activeElement)) {
    $("play").hidden ? $("pause").focus() : $("play").focus();
    return;
  }
  const action = keyCommand(event);
  if (action === null) return;
  event.preventDefault();
  if (typeof action === "function") action();
  else command(action);
}

// On the bar itself the arrows seek and Home and End go to the segment's ends.
function onBarKey(event) {
  const keys = { ArrowLeft: commands.seekBack, ArrowRight: commands.seekForward,
    Home: commands.segmentStart, End: commands.segmentEnd };
  if (!(event.key in keys) || event.altKey || event.ctrlKey) return;
  event.preventDefault();
  event.stopPropagation();
  command(keys[event.key]);
}

function toggleFullScreen() {
  setFullScreen(!document.fullscreenElement);
}

// --- Wiring -------------------------------------------------------------------------

function wire() {
  for (const button of document.querySelectorAll("button[data-command]"))
    button.addEventListener("click", () => command(Number(button.dataset.command)));
  $("segments-button").addEventListener("click", toggleSegmentList);
  $("fullscreen").addEventListener("click", toggleFullScreen);
  $("open").addEventListener("click", () => $("file").click());
  $("file").addEventListener("change", () => {
    openFile($("file").files[0]);
    $("file").value = "";
  });
  $("message-ok").addEventListener("click", closeMessage);
  $("speed").addEventListener("input", () => send({ type: "speed", position: Number($("speed").value) }));
  $("volume").addEventListener("input", () => {
    const percent = Number($("volume").value);
    sound.setVolume(percent);
    $("volume-label").textContent = `${percent}%`;
  });
  const bar = $("bar");
  bar.addEventListener("pointerdown", onBarDown);
  bar.addEventListener("pointermove", onBarMove);
  bar.addEventListener("pointerup", onBarUp);
  bar.addEventListener("pointercancel", onBarUp);
  bar.addEventListener("keydown", onBarKey);
  document.addEventListener("keydown", onKeyDown);
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
    const file = event.dataTransfer && event.dataTransfer.files[0];
    if (file) openFile(file);
  });
}

wire();
wireZoom();
startWorker();
const filmParameter = new URLSearchParams(location.search).get("film");
if (filmParameter) openUrl(filmParameter);
