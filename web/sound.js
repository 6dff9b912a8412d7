// The sound: Web Audio plays the segment's MP3. The worker asks to play from a position
// and is told when that position is heard, so that its clock and drift rules follow the
// sound. Browsers let a page's sound start only after the user did something on it, and
// may stop it meanwhile (another program took the audio device): the page then says
// that the sound is held back, starts it at the next gesture, and plays on from where
// the picture is by then.
"use strict";

const sound = {
  context: null,
  gain: null,
  buffer: null,
  source: null,
  pending: null,     // a play waiting for the decoder or for the context to run
  playing: null,     // the play that sounds, as it was asked
  decoding: 0,       // numbers decodes, so that a late one for another segment is dropped
  heldTimer: 0,

  ensureContext() {
    if (this.context) return;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    this.context = new Context();
    this.gain = this.context.createGain();
    this.gain.gain.value = Number($("volume").value) / 100;
    this.gain.connect(this.context.destination);
    this.context.onstatechange = () => this.stateChanged();
  },

  handle(event) {
    this.ensureContext();
    if (!this.context) return;
    switch (event.action) {
      case "open": this.open(event.bytes); break;
      case "play": this.play(event.offset, event.request); break;
      case "pause": this.stopSource(); this.forgetPlay(); break;
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
      showMessage({ caption: errorCaption(), text: pageLanguage.text("soundCannotDecode"), kind: "error" });
    });
  },

  play(offset, request) {
    this.stopSource();
    this.forgetPlay();
    this.pending = { offset, request, asked: performance.now() };
    this.startPending();
  },

  // Time spent waiting counts: the picture went on meanwhile.
  startPending() {
    const pending = this.pending;
    if (!pending || !this.buffer || !this.context) return;
    if (this.context.state !== "running") {
      this.showHeld(true);
      return;
    }
    this.pending = null;
    this.showHeld(false);
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
    this.playing = pending;
    player.dataset.sound = "playing";
    const latency = (this.context.outputLatency || this.context.baseLatency || 0) * 1000;
    send({ type: "soundStarted", request: pending.request, position,
      at: performance.timeOrigin + performance.now() + latency });
  },

  // The context stopped running while a sound played: it is asked again, and starts
  // where it would be by then when the context runs again.
  stateChanged() {
    if (this.context.state === "running") {
      this.startPending();
      return;
    }
    if (this.source && this.playing) {
      this.stopSource();
      this.pending = this.playing;
      this.playing = null;
    }
    if (this.pending) this.showHeld(true);
  },

  // A context made within a gesture may take a moment to run: the note waits for that.
  showHeld(held) {
    clearTimeout(this.heldTimer);
    const note = $("sound-blocked");
    if (!held) {
      if (!note.hidden) notes.clear(note.textContent);
      note.hidden = true;
      return;
    }
    player.dataset.sound = "blocked";
    this.heldTimer = setTimeout(() => {
      if (note.hidden) notes.show(note.textContent, 0);
      note.hidden = false;
    }, 300);
  },

  forgetPlay() {
    this.pending = null;
    this.playing = null;
    this.showHeld(false);
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
    this.forgetPlay();
    this.buffer = null;
    ++this.decoding;
    delete player.dataset.sound;
  },

  // A segment's MP3 decoded for its loudness at rate (its own; 44,100 when unknown),
  // apart from what plays, and without waiting for a gesture.
  decodeForLevels(bytes, rate) {
    const Context = window.OfflineAudioContext || window.webkitOfflineAudioContext;
    if (!Context) return Promise.reject(new Error("no Web Audio"));
    return new Context(1, 1, rate > 0 ? rate : 44100).decodeAudioData(bytes);
  },

  setVolume(percent) {
    if (this.gain) this.gain.gain.value = percent / 100;
  },
};

// Browsers let sound start within a gesture: an action of the user that may sound makes
// the context, and any gesture on the page lets a context held back run (the note that
// it is held back is one more place to click).
function wakeSound() {
  sound.ensureContext();
  resumeSound();
}

function resumeSound() {
  const state = sound.context && sound.context.state;
  if (state && state !== "running" && state !== "closed") sound.context.resume().catch(() => {});
}

for (const type of ["pointerdown", "keydown", "wheel"]) document.addEventListener(type, resumeSound, true);
$("sound-blocked").addEventListener("click", resumeSound);
