// Resuming films where they were left. The places live in the page's local storage
// (one entry: at most 200 films, the latest first), keyed by the file's name, size
// and last change; a damaged entry is read as empty and written anew. The worker says
// what to remember as the film plays and when it closes; when the film opens again the
// worker offers its place ("Продолжить с 00:12:34 — Ctrl+R") for 10 s, and Ctrl+R or
// a click on the offer goes there.
"use strict";

const resume = {
  storageKey: "roRezodu.resume",
  maxFilms: 200,
  offerMs: 10000,
  pendingKey: null,  // the key of the film being opened
  key: null,         // the key of the film open
  offered: false,
  hideTimer: 0,

  noteKey(message) {
    this.pendingKey = JSON.stringify([message.name, message.size, message.modified]);
  },

  places() {
    try {
      const list = JSON.parse(localStorage.getItem(this.storageKey) || "[]");
      const valid = (e) => e && typeof e.key === "string" && Number.isInteger(e.segment) && e.segment >= 0 &&
        Number.isInteger(e.frame) && e.frame >= 0;
      return Array.isArray(list) ? list.filter(valid) : [];
    } catch (error) {
      return [];  // damaged: read as empty, written anew with the next place
    }
  },

  store(list) {
    try {
      localStorage.setItem(this.storageKey, JSON.stringify(list.slice(0, this.maxFilms)));
    } catch (error) {
      // storage full or switched off: nothing is remembered, and nothing is said
    }
  },

  filmOpened() {
    this.key = this.pendingKey;
    this.hideOffer();
    const place = this.places().find((e) => e.key === this.key);
    if (place) send({ type: "offer", segment: place.segment, frame: place.frame });
  },

  // From the worker: remember or forget the film open.
  remember(event) {
    if (!this.key) return;
    const list = this.places().filter((e) => e.key !== this.key);
    if (event.action === "remember") list.unshift({ key: this.key, segment: event.segment, frame: event.frame });
    this.store(list);
  },

  offer(event) {
    const button = $("resume-offer");
    button.textContent = event.text;
    button.hidden = false;
    this.offered = true;
    clearTimeout(this.hideTimer);
    this.hideTimer = setTimeout(() => { button.hidden = true; }, this.offerMs);
  },

  // Ctrl+R (while there is a place) or a click on the offer.
  take() {
    wakeSound();
    send({ type: "resume" });
    $("resume-offer").hidden = true;
  },

  hideOffer() {
    this.offered = false;
    clearTimeout(this.hideTimer);
    $("resume-offer").hidden = true;
  },
};

$("resume-offer").addEventListener("click", () => resume.take());
