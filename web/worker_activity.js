// The player's worker, continued: the activity of the film open, measured a segment at
// a time once its first picture is shown, so that the picture never waits for it. A
// segment's frame records and pointer are read here; its MP3 goes to the page, which
// decodes it with Web Audio and sends the samples back for the module's level meter.
// Each segment's result goes to the page (the strip) and to the player (skipping).
// Loaded by player_worker.js after its host.
"use strict";

const activity = {
  film: 0,          // the film being measured; 0: none
  waiting: 0,       // a film opened whose first picture is not shown yet
  next: 0,          // the segment to measure next

  filmOpened(number) {
    this.film = 0;
    this.waiting = number;
  },

  firstPicture() {
    if (!this.waiting) return;
    const film = this.waiting;
    this.waiting = 0;
    this.film = film;
    this.next = 0;
    setTimeout(() => this.step(film), 0);
  },

  current(film) {
    return film === this.film && film === filmOpen;
  },

  // One segment per task: ticks run between segments.
  step(film) {
    if (!this.current(film)) return;
    const begun = JSON.parse(rz.UTF8ToString(rz._rz_activity_begin(this.next)));
    if (begun.done) {
      postMessage({ type: "activityDone", film });
      return;
    }
    this.next = begun.segment + 1;
    if (begun.skip) {
      setTimeout(() => this.step(film), 0);
      return;
    }
    if (!begun.sound) {
      this.finish(film);
      return;
    }
    const bytes = rz.FS.readFile(begun.sound);
    postMessage({ type: "activitySound", film, segment: begun.segment, rate: begun.rate, bytes: bytes.buffer },
      [bytes.buffer]);
  },

  // The page's answers for the segment whose sound it was sent.
  run(message) {
    if (!this.current(message.film)) return;
    switch (message.type) {
      case "activityRate": rz._rz_activity_sound(message.rate, message.channels); break;
      case "activitySamples": this.addSamples(message.samples, message.channels); break;
      case "activitySoundEnd": this.finish(message.film); break;
    }
  },

  addSamples(samples, channels) {
    const pointer = rz._malloc(samples.byteLength);
    try {
      new Float32Array(rz.HEAPU8.buffer, pointer, samples.length).set(samples);
      rz._rz_activity_samples(pointer, samples.length / channels);
    } finally {
      rz._free(pointer);
    }
  },

  finish(film) {
    const text = rz.UTF8ToString(rz._rz_activity_finish());
    if (text) postMessage({ type: "activity", film, activity: JSON.parse(text) });
    setTimeout(() => this.step(film), 0);
  },
};
