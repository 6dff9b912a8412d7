// The activity strip along the progress bar and skipping idle stretches. The worker
// measures each segment once the film's first picture is shown (worker_activity.js);
// the page decodes each segment's MP3 for it with Web Audio, draws each segment's strip
// as it arrives, and keeps the choice to skip idle stretches in local storage. The
// skipping itself is the player's: it seeks over a stretch while playing into it.
"use strict";

const activity = {
  storageKey: "roRezodu.skipIdle",
  segments: new Map(),  // segment index -> {seconds, slices: [[from, to, level]], idle: [[from, to]]}
  noteTimer: 0,
  noteMs: 3000,
  chunkSeconds: 10,     // samples go to the worker this many seconds at a time

  skipping() {
    return $("skip-idle").checked;
  },

  remembered() {
    try {
      return localStorage.getItem(this.storageKey) === "on";
    } catch {
      return false;  // storage refused: off, as a new page starts
    }
  },

  setSkipping(on) {
    $("skip-idle").checked = on;
    try {
      localStorage.setItem(this.storageKey, on ? "on" : "off");
    } catch {
      // not remembered; the choice holds for this visit
    }
    this.tellWorker();
  },

  tellWorker() {
    send({ type: "skipIdle", on: this.skipping() });
  },

  toggle() {
    this.setSkipping(!this.skipping());
  },

  filmChanged() {
    this.segments.clear();
    delete player.dataset.activitySegments;
    delete player.dataset.activityMs;
    this.draw();
  },

  // --- From the worker ---------------------------------------------------------------

  measured(message) {
    this.segments.set(message.activity.segment, message.activity);
    player.dataset.activitySegments = String(this.segments.size);
    this.draw();
  },

  // Every segment measured: how long it took from opening the film.
  done() {
    player.dataset.activityMs = String(Math.round(performance.now() - openStarted));
  },

  // The segment's MP3, decoded at its own rate. Sound that cannot be decoded may be
  // speech: the worker, given no samples, finds the segment no idle stretches, and the
  // note says why.
  async decode(message) {
    const target = worker;  // a worker started anew meanwhile measures from the start
    const answer = (more) => target.postMessage({ film: message.film, ...more });
    try {
      const buffer = await sound.decodeForLevels(message.bytes, message.rate);
      const channels = buffer.numberOfChannels;
      answer({ type: "activityRate", rate: buffer.sampleRate, channels });
      const data = Array.from({ length: channels }, (_, c) => buffer.getChannelData(c));
      const step = buffer.sampleRate * this.chunkSeconds;
      for (let start = 0; start < buffer.length; start += step) {
        const samples = this.interleaved(data, start, Math.min(buffer.length, start + step));
        target.postMessage({ type: "activitySamples", film: message.film, samples, channels }, [samples.buffer]);
      }
    } catch {
      this.note(pageLanguage.text("soundUnknown", message.segment + 1));
    }
    answer({ type: "activitySoundEnd" });
  },

  interleaved(data, start, end) {
    const channels = data.length;
    if (channels === 1) return data[0].slice(start, end);
    const samples = new Float32Array((end - start) * channels);
    for (let c = 0; c < channels; ++c) {
      const channel = data[c];
      for (let i = start, j = c; i < end; ++i, j += channels) samples[j] = channel[i];
    }
    return samples;
  },

  skipped(event) {
    this.note(event.text);
    player.dataset.skips = String(Number(player.dataset.skips || 0) + 1);
  },

  // A note beside the time for a while, which a screen reader hears with the panel
  // hidden too.
  note(text) {
    const note = $("skipped");
    note.textContent = text;
    notes.show(text, this.noteMs);
    clearTimeout(this.noteTimer);
    this.noteTimer = setTimeout(() => { note.textContent = ""; }, this.noteMs);
  },

  // --- The strip ---------------------------------------------------------------------

  // In device pixels, under each bar part its segment's slices: darker the more happens,
  // hatched where idle. Parts of segments not measured yet stay empty.
  draw() {
    const canvas = $("bar-activity");
    const ratio = window.devicePixelRatio || 1;
    const width = Math.round(canvas.clientWidth * ratio), height = Math.round(canvas.clientHeight * ratio);
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    const context = canvas.getContext("2d");
    context.clearRect(0, 0, width, height);
    if (!film || width === 0) return;
    const origin = canvas.getBoundingClientRect().left;
    const parts = $("bar-parts").children;
    film.bar.forEach((part, i) => {
      const measured = this.segments.get(part.segment);
      if (!measured || !parts[i] || measured.seconds <= 0) return;
      const box = parts[i].getBoundingClientRect();
      const left = (box.left - origin) * ratio, partWidth = box.width * ratio;
      const x = (seconds) => left + partWidth * Math.min(1, seconds / measured.seconds);
      this.drawPart(context, measured, x, height, ratio);
    });
  },

  drawPart(context, measured, x, height, ratio) {
    context.fillStyle = "rgb(236, 236, 236)";
    context.fillRect(x(0), 0, x(measured.seconds) - x(0), height);
    for (const [from, to, level] of measured.slices) {
      if (level <= 0) continue;
      const shade = Math.round(200 * (1 - level));
      context.fillStyle = `rgb(${shade}, ${shade}, ${shade})`;
      // Whole device pixels, so that neighbouring slices leave no seam between them.
      const left = Math.floor(x(from)), right = Math.max(left + 1, Math.ceil(x(to)));
      context.fillRect(left, 0, right - left, height);
    }
    for (const [from, to] of measured.idle) this.hatch(context, x(from), x(to), height, ratio);
  },

  hatch(context, left, right, height, ratio) {
    context.save();
    context.beginPath();
    context.rect(left, 0, right - left, height);
    context.clip();
    context.strokeStyle = "rgb(96, 96, 96)";
    context.lineWidth = ratio;
    const spacing = 4 * ratio;
    context.beginPath();
    for (let x = left - height; x < right; x += spacing) {
      context.moveTo(x, height);
      context.lineTo(x + height, 0);
    }
    context.stroke();
    context.restore();
  },

  wire() {
    $("skip-idle").checked = this.remembered();
    $("skip-idle").addEventListener("change", () => this.setSkipping(this.skipping()));
    new ResizeObserver(() => this.draw()).observe($("bar"));
  },
};

activity.wire();
