// The decoding benchmark: the worker loads the film and decodes every frame as kof bench
// does; the page prints "N frames in S s: F fps" and the load time.
"use strict";
const output = document.getElementById("result");
const parameters = new URLSearchParams(location.search);
const repeat = Number(parameters.get("repeat") || 1);
let worker = null;

function run(message) {
  if (worker) worker.terminate();
  output.dataset.done = "false";
  output.textContent = `decoding ${message.name} ...`;
  worker = new Worker("player_worker.js");
  worker.onmessage = (e) => {
    if (e.data.type !== "bench") return;
    const r = e.data.result;
    output.textContent = r.error
      ? `error: ${r.error}`
      : `${r.frames} frames in ${r.seconds.toFixed(3)} s: ${r.fps.toFixed(1)} fps\nloaded in ${r.loadSeconds.toFixed(3)} s`;
    output.dataset.result = JSON.stringify(r);
    output.dataset.done = "true";
  };
  worker.postMessage({ type: "bench", repeat, ...message });
}

document.getElementById("file").addEventListener("change", (e) => {
  const file = e.target.files[0];
  if (file) run({ file, name: file.name });
});
const film = parameters.get("film");
if (film) {
  const url = new URL(film, location.href);
  run({ url: url.href, name: url.pathname.split("/").pop() });
}
