// The picture above the progress bar while the mouse is over it (not pressed): the
// worker makes it between ticks, the frame a seek there would show reduced (at most
// 192 pixels wide at 100 %); here it is placed above the mouse with the segment's
// name and the time under it, and hidden when the mouse leaves or presses the bar.
"use strict";

const preview = {
  over: false,     // the mouse is over the bar, not pressed
  mouseX: 0,
  asked: null,     // the point to send at the next display frame

  onMove(event) {
    if (!film || barDrag) return;
    this.over = true;
    this.mouseX = event.clientX;
    if (!this.asked) requestAnimationFrame(() => {
      if (this.over && this.asked) send({ type: "preview", ...this.asked });
      this.asked = null;
    });
    const ratio = window.devicePixelRatio || 1;
    this.asked = { ...barPoint(event), maxWidth: Math.round(192 * ratio) };
    if (!$("preview").hidden) this.place();
  },

  hide() {
    if (!this.over) return;
    this.over = false;
    this.asked = null;
    $("preview").hidden = true;
    send({ type: "preview", x: -1, width: 1, maxWidth: 1 });
  },

  // A picture from the worker: shown while the mouse is still over the bar.
  show(message) {
    if (!this.over) return;
    const { info } = message;
    const canvas = $("preview-picture");
    const ratio = window.devicePixelRatio || 1;
    canvas.width = info.width;
    canvas.height = info.height;
    canvas.style.width = `${info.width / ratio}px`;
    canvas.style.height = `${info.height / ratio}px`;
    canvas.getContext("2d").putImageData(new ImageData(new Uint8ClampedArray(message.pixels), info.width, info.height), 0, 0);
    $("preview-name").textContent = info.name;
    $("preview-time").textContent = info.time;
    Object.assign($("preview").dataset, { exact: info.exact ? "1" : "0", segment: info.segment, frame: info.frame });
    $("preview").hidden = false;
    this.place();
  },

  // Centred on the mouse, just above the bar, inside the window.
  place() {
    const box = $("preview");
    const bar = $("bar").getBoundingClientRect();
    const left = Math.min(Math.max(0, this.mouseX - box.offsetWidth / 2), window.innerWidth - box.offsetWidth);
    box.style.left = `${Math.round(left)}px`;
    box.style.top = `${Math.round(bar.top - box.offsetHeight - 6)}px`;
  },
};

$("bar").addEventListener("pointermove", (event) => preview.onMove(event));
$("bar").addEventListener("pointerleave", () => preview.hide());
$("bar").addEventListener("pointerdown", () => preview.hide());
