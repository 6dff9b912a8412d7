// The player's worker: the WebAssembly module (roRezodu.js) with the film, the engine
// and the picture. The page sends the user's commands; the worker draws on the canvas
// the page handed over and sends back what the page shows (see web_events.h).
"use strict";
importScripts("roRezodu.js", "worker_module.js");

let canvas = null;      // the page's OffscreenCanvas
let context = null;
let filmMounted = false;
let frameRequested = false;
let filmsAsked = 0;     // numbers the films asked for; a download that arrives late for one is dropped
let filmOpen = 0;       // the number of the film opened last
let download = null;    // the AbortController of the download under way
let film = null;        // the film open, as the browser holds it, for the page's export and index
const queued = [];      // messages that came before the module ran

// Frames come from the display while the worker has one, else about 60 times a second.
const nextDisplayFrame = self.requestAnimationFrame
  ? (callback) => self.requestAnimationFrame(callback)
  : (callback) => setTimeout(callback, 16);

// setTimeout waits at least 4 ms once timers nest; shorter delays (high speeds) are
// kept by posting to ourselves until the time has come.
const shortDelays = new MessageChannel();
const shortWaits = [];
shortDelays.port1.onmessage = () => {
  const now = performance.now();
  for (let i = 0; i < shortWaits.length; ) {
    if (shortWaits[i].due <= now) {
      const { token } = shortWaits.splice(i, 1)[0];
      rz._rz_tick(token);
    } else {
      ++i;
    }
  }
  if (shortWaits.length > 0) shortDelays.port2.postMessage(0);
};

const host = {
  armTimer(delay, token) {
    if (delay >= 4) {
      setTimeout(() => rz._rz_tick(token), delay);
    } else {
      shortWaits.push({ due: performance.now() + delay, token });
      if (shortWaits.length === 1) shortDelays.port2.postMessage(0);
    }
  },
  requestFrame() {
    if (frameRequested) return;
    frameRequested = true;
    nextDisplayFrame(() => {
      frameRequested = false;
      rz._rz_display_frame();
    });
  },
  resizeCanvas(width, height) {
    if (!canvas) return;
    canvas.width = width;
    canvas.height = height;
  },
  putPicture(pointer, width, height, x, y, boxWidth, boxHeight) {
    if (!context || width === 0 || height === 0) return;
    const pixels = new Uint8ClampedArray(rz.HEAPU8.buffer, pointer, width * height * 4);
    context.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, boxWidth, boxHeight);
  },
  send(text) {
    const event = JSON.parse(text);
    if (event.event === "firstpicture") activity.firstPicture();
    if (event.event === "sound" && event.action === "open") {
      // The page decodes the segment's MP3; it gets its own copy of the bytes.
      const bytes = rz.FS.readFile(event.path);
      postMessage({ type: "event", event: { event: "sound", action: "open", bytes: bytes.buffer } }, [bytes.buffer]);
      return;
    }
    postMessage({ type: "event", event });
  },
};
importScripts("worker_habits.js", "worker_activity.js");

// The film is in /film, with the text indexes that came with it as index-1.words.json
// and on (the player tries them: indexFiles): the browser's Files or Blobs, read in slices.
function mountFilm(name, blob, indexes = []) {
  if (filmMounted) {
    rz.FS.unmount("/film");
    filmMounted = false;
  }
  if (!rz.FS.analyzePath("/film").exists) rz.FS.mkdir("/film");
  const blobs = [{ name, data: blob }];
  indexes.forEach((data, i) => blobs.push({ name: `index-${i + 1}.words.json`, data }));
  rz.FS.mount(rz.WORKERFS, { blobs }, "/film");
  filmMounted = true;
  return "/film/" + name;
}

// The player searches the first of the indexes that was made of the film open; with none,
// its search says why (another version's, damaged) and the page offers to make one.
function useIndexes(count) {
  for (let i = 1; i <= count; ++i)
    if (withCString(`/film/index-${i}.words.json`, (p) => rz._rz_search_use(p))) return;
}

async function filmBlob(message, signal) {
  if (message.file) return message.file;
  const response = await fetch(message.url, { signal });
  if (!response.ok) throw new Error(`${message.url}: ${response.status} ${response.statusText}`);
  const blob = await response.blob();
  blob.rzModified = Date.parse(response.headers.get("Last-Modified") || "") || 0;  // resuming tells films by it
  return blob;
}

// A name WORKERFS can hold: no slashes, not empty.
function fileName(name) {
  const plain = String(name || "film").replace(/[\/\\]/g, "_");
  return plain === "." || plain === ".." || plain === "" ? "film" : plain;
}

// A film asked for later gives up a download under way; one that arrives all the same
// is dropped.
async function open(message) {
  const number = ++filmsAsked;
  if (download) download.abort();
  download = message.file ? null : new AbortController();
  let blob, indexes;
  try {
    [blob, indexes] = await Promise.all([filmBlob(message, download && download.signal),
      indexBlobs(message, download && download.signal)]);
  } catch (error) {
    if (number !== filmsAsked) return;
    const reason = String(error.message || error);
    withCString(message.name, (n) => withCString(reason, (r) => rz._rz_open_failed(n, r)));
    return;
  }
  if (number !== filmsAsked) return;
  download = null;
  handle({ type: "openBlob", blob, indexes, name: message.name, film: number });
}

// The film's address with the index's suffix on its path: ?token=... and #... stay as
// they are.
function indexAddress(url) {
  const address = new URL(url, self.location.href);
  address.pathname += ".words.json";
  return address.href;
}

// The text indexes dropped with the film, or the one beside the film's address; a film
// without one opens all the same (its search says how to make one).
async function indexBlobs(message, signal) {
  if (message.file) return message.indexes || [];
  try {
    const response = await fetch(indexAddress(message.url), { signal });
    return response.ok ? [await response.blob()] : [];
  } catch (error) {
    if (signal && signal.aborted) throw error;
    return [];
  }
}

async function bench(message) {
  try {
    const blob = await filmBlob(message);
    const path = mountFilm(fileName(message.name), blob);
    const result = withCString(path, (p) => rz.UTF8ToString(rz._rz_bench(p, message.repeat || 1)));
    postMessage({ type: "bench", result: JSON.parse(result) });
  } catch (error) {
    postMessage({ type: "bench", result: { error: String(error.message || error) } });
  }
}

// The picture as it is now, under the name the page gave it when it asked.
async function saveCanvas(name) {
  if (!canvas || canvas.width === 0) return;
  const blob = await canvas.convertToBlob({ type: "image/png" });
  postMessage({ type: "picture", blob, name });
}

// Find on screen: the module's JSON answer (web_search.h).
function searchAnswer(call) {
  return JSON.parse(rz.UTF8ToString(call()));
}

function handle(message) {
  try {
    run(message);
  } catch (error) {
    // The module cannot go on (out of memory, a fault): the page starts a new worker.
    postMessage({ type: "crashed", text: String(error && error.message ? error.message : error) });
    self.close();
  }
}

function run(message) {
  switch (message.type) {
    case "start":
      canvas = message.canvas || null;
      context = canvas ? canvas.getContext("2d", { alpha: false }) : null;
      if (rz._rz_start(message.screenWidth, message.screenHeight) === 0) postMessage({ type: "ready" });
      break;
    case "open": open(message); break;
    case "openBlob": {
      filmOpen = message.film;
      habits.tellFilmKey(message);
      activity.filmOpened(message.film);
      film = { blob: message.blob, name: message.name };
      const path = mountFilm(fileName(message.name), message.blob, message.indexes);
      withCString(path, (p) => withCString(message.name, (n) => rz._rz_open(p, n)));
      useIndexes(message.indexes.length);
      break;
    }
    case "close": rz._rz_close(); break;
    case "command": rz._rz_command(message.id); break;
    case "language": withCString(message.code, (c) => rz._rz_language(c)); break;
    case "speed": rz._rz_speed(message.position); break;
    case "segment": rz._rz_play_segment(message.index); break;
    case "barPress": rz._rz_press_bar(message.x, message.width); break;
    case "barScrub": rz._rz_scrub_bar(message.x, message.width); break;
    case "barRelease": rz._rz_release_bar(); break;
    case "barStep": rz._rz_step_bar(message.seconds); break;
    case "viewport": rz._rz_viewport(message.width, message.height); break;
    case "fullscreen": rz._rz_fullscreen(message.on ? 1 : 0); break;
    case "zoom": rz._rz_zoom(message.zoom, message.ratio); break;
    case "soundStarted":
      // The page's clock and ours start at different moments; both count from 1970.
      rz._rz_sound_started(message.request, message.position, message.at - performance.timeOrigin);
      break;
    case "soundFailed": rz._rz_sound_failed(); break;
    case "savePicture": saveCanvas(message.name); break;
    case "bench": bench(message); break;
    case "filmBlob": postMessage({ type: "filmBlob", purpose: message.purpose, ...film }); break;
    case "preview": case "offer": case "resume": case "resumePlace": habits.run(message); break;
    case "searchFind":
      postMessage({ type: "search", ...searchAnswer(() => withCString(message.query, (q) => rz._rz_search_find(q))) });
      break;
    case "searchIndex":
      // An index the page made for the film open now.
      rz.FS.writeFile("/made.words.json", message.document);
      withCString("/made.words.json", (p) => rz._rz_search_use(p));
      break;
    case "searchChoose": postMessage({ type: "searchChosen", ...searchAnswer(() => rz._rz_search_choose(message.hit)) }); break;
    case "searchStep": postMessage({ type: "searchChosen", ...searchAnswer(() => rz._rz_search_step(message.forward ? 1 : 0)) }); break;
    case "skipIdle": rz._rz_skip_idle(message.on ? 1 : 0); break;
    case "activityRate": case "activitySamples": case "activitySoundEnd": activity.run(message); break;
  }
}

self.onmessage = (e) => {
  if (rz) handle(e.data);
  else queued.push(e.data);
};

// A browser read error (the file changed on disk after it was chosen) is the reading
// call's failure, as a read error of a file is, not the end of the module.
function readErrorsFail(module) {
  const read = module.WORKERFS.stream_ops.read;
  module.WORKERFS.stream_ops.read = function (...args) {
    try {
      return read.apply(this, args);
    } catch (error) {
      if (error instanceof module.FS.ErrnoError) throw error;
      throw new module.FS.ErrnoError(29);  // EIO
    }
  };
}

// A module that cannot load (roRezodu.wasm missing or damaged) is reported as a worker
// that cannot start.
startModule(host).then((module) => {
  readErrorsFail(module);
  for (const message of queued.splice(0)) handle(message);
}, (error) => {
  postMessage({ type: "crashed", text: String(error && error.message ? error.message : error) });
  self.close();
});
