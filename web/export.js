// The export dialog: format, range and size, then the film is encoded in a worker of
// its own (export_worker.js) while the page plays on; progress in percent, Cancel ends
// that worker, and the video or GIF is offered as a download named after the film. The dialog
// may be closed meanwhile (the page is then usable as ever); the export goes on, and
// Export shows its progress again.
"use strict";

const exporter = {
  worker: null,    // the export under way
  choice: null,    // what it was asked to make

  // MP4 where the browser encodes both H.264 and AAC; WebM (VP9 and Opus) everywhere
  // WebCodecs is; GIF, which the page encodes itself, everywhere.
  async offerFormats() {
    const mp4 = $("export-format").querySelector('option[value="mp4"]');
    mp4.hidden = mp4.disabled = true;
    if (!window.VideoEncoder || !window.AudioEncoder) return;
    try {
      const [video, audio] = await Promise.all([
        VideoEncoder.isConfigSupported({ codec: "avc1.640028", width: 1280, height: 720 }),
        AudioEncoder.isConfigSupported({ codec: "mp4a.40.2", sampleRate: 44100, numberOfChannels: 2, bitrate: 128000 }),
      ]);
      mp4.hidden = mp4.disabled = !(video.supported && audio.supported);
    } catch {
      // not offered
    }
  },

  open() {
    if (!film && !this.worker) return;
    const dialog = $("export");
    if (!this.worker) this.showIdle();
    if (!dialog.open) dialog.showModal();
    (this.worker ? $("export-cancel") : $("export-format")).focus();
  },

  showIdle() {
    $("export-progress").hidden = true;
    $("export-start").hidden = false;
    $("export-cancel").hidden = true;
    for (const control of $("export-choices").querySelectorAll("select, input")) control.disabled = false;
    this.sizeChanged();
  },

  sizeChanged() {
    $("export-width").disabled = Boolean(this.worker) || $("export-size").value !== "width";
  },

  // The film open is asked from the page's worker, which holds it (downloaded or dropped).
  start() {
    if (!film || this.worker) return;
    if (!window.VideoEncoder && $("export-format").value !== "gif") {
      this.tell(pageLanguage.text("exportUnsupported"));
      return;
    }
    this.choice = { format: $("export-format").value, range: $("export-range").value, size: $("export-size").value,
      width: Number($("export-width").value), segment: state.segment, frame: Math.max(0, state.shown) };
    this.worker = new Worker("export_worker.js");
    this.worker.onmessage = (e) => this.onMessage(e.data);
    this.worker.onerror = (e) => this.finish(pageLanguage.text("exportFailed", e.message || ""));
    for (const control of $("export-choices").querySelectorAll("select, input")) control.disabled = true;
    $("export-start").hidden = true;
    $("export-cancel").hidden = false;
    $("export-cancel").focus();
    this.showPercent(0);
    send({ type: "filmBlob", purpose: "export" });
  },

  // The film's bytes from the page's worker.
  filmArrived(message) {
    if (!this.worker || !message.blob) return;
    this.name = message.name;
    this.worker.postMessage({ type: "export", blob: message.blob, name: "film.kof", choice: this.choice });
  },

  onMessage(message) {
    switch (message.type) {
      case "progress": this.showPercent(message.percent); break;
      case "done": {
        const name = `${this.name.replace(/\.[^.]*$/, "") || "roRezodu"}.${this.choice.format}`;
        download(message.blob, name);
        this.finish(this.doneText(name, message.warnings));
        break;
      }
      case "failed": this.finish(pageLanguage.text("exportFailed", message.text)); break;
    }
  },

  // What was left out of the video is told with its name, one warning a line.
  doneText(name, warnings) {
    if (warnings.length === 0) return pageLanguage.text("exportDone", name);
    return pageLanguage.text(warnings.length === 1 ? "exportDoneWarning" : "exportDoneWarnings", name, warnings.join("\n"));
  },

  showPercent(percent) {
    $("export-progress").hidden = false;
    $("export-bar").value = percent;
    $("export-status").textContent = pageLanguage.text("exportProgress", percent);
  },

  // Ends the worker: nothing it made is offered.
  cancel() {
    if (!this.worker) return;
    this.finish(pageLanguage.text("exportCancelled"));
  },

  finish(text) {
    if (this.worker) this.worker.terminate();
    this.worker = null;
    this.showIdle();
    this.tell(text);
    if ($("export").open) $("export-start").focus();
    else notes.show(text);  // the dialog was closed meanwhile
  },

  tell(text) {
    $("export-progress").hidden = false;
    $("export-status").textContent = text;
  },

  close() {
    $("export").close();
  },
};

$("export-open").addEventListener("click", () => exporter.open());
$("export-start").addEventListener("click", () => exporter.start());
$("export-cancel").addEventListener("click", () => exporter.cancel());
$("export-close").addEventListener("click", () => exporter.close());
$("export-size").addEventListener("change", () => exporter.sizeChanged());
exporter.offerFormats();
