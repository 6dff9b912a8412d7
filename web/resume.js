// Resuming films where they were left. The places live in the page's local storage
// (one entry: at most 200 films, the latest first), keyed by the file's name, size and
// last change; a damaged entry is read as empty and written anew. The worker says what
// to remember as the film plays, at once when it pauses, stops or closes, and when the
// page asks as it is hidden; the page stores the latest once more as it goes away, at
// the frame it showed last. When the film opens again the worker offers its place
// ("Продолжить с 00:12:34 — R"): the offer shows over the picture, and a screen reader
// hears it, for 10 s; the header's "Продолжить с ..." stays until the place is taken or
// another film opens. R in the player, a click on the offer or on that item goes there.
// The offer and the taking name the film by the number the worker gave its opening, so
// that a film opened meanwhile takes neither.
"use strict";

const resume = {
  storageKey: "roRezodu.resume",
  maxFilms: 200,
  offerMs: 10000,
  pendingKey: null,  // the key and number of the film being opened
  pendingFilm: 0,
  key: null,         // the key and number of the film open
  film: 0,
  latest: null,      // what the worker said to remember last: {action, segment, frame}
  hideTimer: 0,

  noteKey(message) {
    this.pendingKey = JSON.stringify([message.name, message.size, message.modified]);
    this.pendingFilm = message.film;
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
    this.film = this.pendingFilm;
    this.latest = null;
    this.hideOffer();
    const place = this.places().find((e) => e.key === this.key);
    if (place) send({ type: "offer", film: this.film, segment: place.segment, frame: place.frame });
  },

  // From the worker: remember or forget the film open.
  remember(event) {
    if (!this.key) return;
    this.latest = { action: event.action, segment: event.segment, frame: event.frame };
    this.write();
  },

  write() {
    const list = this.places().filter((e) => e.key !== this.key);
    if (this.latest.action === "remember")
      list.unshift({ key: this.key, segment: this.latest.segment, frame: this.latest.frame });
    this.store(list);
  },

  // The panel's state, at every display frame: the frame shown while the film plays or
  // is paused is where it stands, once the worker said it is worth remembering.
  noteShown(panel) {
    if (this.latest && this.latest.action === "remember" && panel.play !== 0 && panel.shown >= 0)
      Object.assign(this.latest, { segment: panel.segment, frame: panel.shown });
  },

  // The page is hidden or goes away: what is known now is stored now.
  pageHidden() {
    if (this.key && this.latest) this.write();
  },

  offer(event) {
    const button = $("resume-offer");
    button.textContent = event.text.replace("Ctrl+R", "R");
    button.hidden = false;
    $("resume").hidden = false;
    notes.show(button.textContent, this.offerMs);
    clearTimeout(this.hideTimer);
    this.hideTimer = setTimeout(() => this.hideNote(), this.offerMs);
  },

  // The offer's note goes; a focus on it goes to the picture.
  hideNote() {
    const button = $("resume-offer");
    if (document.activeElement === button) $("picture-area").focus();
    notes.clear(button.textContent);
    button.hidden = true;
  },

  offered() {
    return !$("resume").hidden;
  },

  // R, or a click on the offer or on the header's item, while the place is offered; the
  // focus on either goes to the picture.
  take() {
    if (!this.offered()) return;
    const focused = [$("resume"), $("resume-offer")].includes(document.activeElement);
    wakeSound();
    send({ type: "resume", film: this.film });
    this.hideOffer();
    if (focused) $("picture-area").focus();
  },

  hideOffer() {
    clearTimeout(this.hideTimer);
    this.hideNote();
    $("resume").hidden = true;
  },
};

$("resume-offer").addEventListener("click", () => resume.take());
$("resume").addEventListener("click", () => resume.take());
document.addEventListener("visibilitychange", () => {
  if (document.visibilityState !== "hidden") return;
  send({ type: "resumePlace" });
  resume.pageHidden();
});
addEventListener("pagehide", () => resume.pageHidden());
