// Making the film's text index in the page, for a film that came without one: "Make the
// index here" in the search, progress in percent with Cancel (the film plays on
// meanwhile), then the index is searched at once and offered as a download
// (FILM.words.json) to keep beside the film, where both players and kof find it. The
// work runs in index_worker.js; opening another film or Cancel ends it, and nothing
// half made is offered.
"use strict";

const textIndexer = {
  worker: null,
  saved: "",  // the object address of the index made for the film open, or ""
  languages: "eng+rus",

  // Without an index to search the page offers to make one.
  offer(hasIndex) {
    $("index-make").hidden = hasIndex || Boolean(this.worker) || Boolean(this.saved);
    this.showBox();
  },

  start() {
    if (!film || this.worker) return;
    this.worker = new Worker("index_worker.js");
    this.worker.onmessage = (e) => this.onMessage(e.data);
    this.worker.onerror = (e) => this.finish(pageLanguage.text("indexFailed", e.message || ""));
    $("index-make").hidden = true;
    $("index-cancel").hidden = false;
    this.showPercent(0);
    $("index-cancel").focus();
    send({ type: "filmBlob", purpose: "index" });
  },

  // The film's bytes from the page's worker.
  filmArrived(message) {
    if (!this.worker || !message.blob) return;
    this.name = String(message.name || "film.kof").replace(/[\/\\]/g, "_");
    this.worker.postMessage({ type: "index", blob: message.blob, name: this.name, languages: this.languages });
  },

  onMessage(message) {
    switch (message.type) {
      case "progress": this.showPercent(message.percent); break;
      case "done": this.made(message); break;
      case "failed": this.finish(pageLanguage.text("indexFailed", message.text)); break;
    }
  },

  // The player searches the new index, and it is offered for keeping.
  made(message) {
    send({ type: "searchIndex", document: message.document });
    const blob = new Blob([message.document], { type: "application/json" });
    this.saved = URL.createObjectURL(blob);
    const save = $("index-save");
    save.href = this.saved;
    save.download = `${this.name}.words.json`;
    save.hidden = false;
    this.finish(pageLanguage.text(message.words === 1 ? "indexDoneOne" : "indexDone", message.words));
    search.find();
  },

  showPercent(percent) {
    $("index-bar").hidden = false;
    $("index-bar").value = percent;
    $("index-status").textContent = pageLanguage.text("indexProgress", percent);
    this.showBox();
  },

  cancel() {
    if (this.worker) this.finish(pageLanguage.text("indexCancelled"));
  },

  finish(text) {
    const focusWasOnCancel = document.activeElement === $("index-cancel");
    if (this.worker) this.worker.terminate();
    this.worker = null;
    $("index-bar").hidden = true;
    $("index-cancel").hidden = true;
    $("index-status").textContent = text;
    $("index-make").hidden = Boolean(this.saved);
    this.showBox();
    if (focusWasOnCancel) (this.saved ? $("index-save") : $("index-make")).focus();
  },

  // Another film, or none: what was under way ends, and what was made is let go.
  filmChanged() {
    if (this.worker) this.worker.terminate();
    this.worker = null;
    if (this.saved) URL.revokeObjectURL(this.saved);
    this.saved = "";
    $("index-save").hidden = true;
    $("index-bar").hidden = true;
    $("index-cancel").hidden = true;
    $("index-make").hidden = true;
    $("index-status").textContent = "";
    this.showBox();
  },

  showBox() {
    const box = $("index-build");
    box.hidden = [...box.children].every((child) => child.hidden || child.textContent === "");
  },
};

document.addEventListener("DOMContentLoaded", () => {
  $("index-make").addEventListener("click", () => textIndexer.start());
  $("index-cancel").addEventListener("click", () => textIndexer.cancel());
});
