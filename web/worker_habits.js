// The player's worker, continued: the bar's preview, made between ticks so that no
// tick waits for it, and the offer to resume. Loaded by player_worker.js after its host.
"use strict";

const habits = {
  nextTick: 0,       // when the timer event armed last is due (performance.now())
  working: false,    // a slice of work is scheduled
  channel: new MessageChannel(),

  // Every event the player arms is noted: the preview works until shortly before it.
  noteTimer(delay) {
    this.nextTick = performance.now() + delay;
  },

  run(message) {
    switch (message.type) {
      case "preview":
        rz._rz_preview_at(message.x, message.width, message.maxWidth);
        this.schedule();
        break;
      // For the film open only: a film opened meanwhile takes neither.
      case "offer": if (message.film === filmOpen) rz._rz_offer(message.segment, message.frame); break;
      case "resume": if (message.film === filmOpen) rz._rz_resume(); break;
      case "resumePlace": rz._rz_resume_place(); break;
    }
  },

  // What tells one film from another on the page: its name, size and last change.
  tellFilmKey(message) {
    const blob = message.blob;
    postMessage({ type: "filmKey", film: message.film, name: message.name, size: blob.size,
      modified: blob.lastModified || blob.rzModified || 0 });
  },

  schedule() {
    if (this.working) return;
    this.working = true;
    this.channel.port2.postMessage(0);
  },

  // One slice: until 2 ms before the next tick, at most 8 ms; after the tick when it
  // is too close.
  slice() {
    this.working = false;
    if (!rz._rz_preview_busy()) return;
    const now = performance.now();
    const untilTick = this.nextTick > now ? this.nextTick - now - 2 : 8;
    if (untilTick < 1) {
      this.working = true;
      setTimeout(() => this.slice(), this.nextTick - now + 1);
      return;
    }
    if (rz._rz_preview_work(Math.min(8, untilTick))) this.post();
    this.schedule();
  },

  post() {
    const info = JSON.parse(rz.UTF8ToString(rz._rz_preview_info()));
    const size = info.width * info.height * 4;
    const pixels = new Uint8ClampedArray(rz.HEAPU8.buffer, rz._rz_preview_pixels(), size).slice();
    postMessage({ type: "preview", info, pixels: pixels.buffer }, [pixels.buffer]);
  },
};
habits.channel.port1.onmessage = () => habits.slice();

const armTimer = host.armTimer;
host.armTimer = function (delay, token) {
  habits.noteTimer(delay);
  armTimer.call(this, delay, token);
};
