// The text index made in the page: the film opened again in a module of its own (the
// page's worker plays on meanwhile) and walked as kof index walks it; each area due is
// read by tesseract.js (in a worker of its own, from build/web/tesseract: nothing is
// fetched from elsewhere), enlarged and in the layout the module asks for, and the words
// go back to the module, which mends them as kof does and joins them into the index's
// document.
"use strict";
importScripts("roRezodu.js", "worker_module.js", "tesseract/tesseract.min.js");

const here = new URL(".", self.location.href).href;

const moduleReady = startModule();

// The module's JSON answer; one that says error ends the index.
function answer(text) {
  const result = JSON.parse(text);
  if (result.error) throw new Error(result.error);
  return result;
}

function openFilm(name, blob, languages) {
  if (!rz.FS.analyzePath("/index").exists) rz.FS.mkdir("/index");
  rz.FS.mount(rz.WORKERFS, { blobs: [{ name, data: blob }] }, "/index");
  withCString("/index/" + name, (path) =>
    withCString(languages, (l) => answer(rz.UTF8ToString(rz._rz_index_open(path, l)))));
}

// LSTM only (tesseract.js picks the fastest of the three builds of its core the browser runs).
async function startReader(languages) {
  const reader = await Tesseract.createWorker(languages.split("+"), Tesseract.OEM.LSTM_ONLY, {
    workerPath: here + "tesseract/worker.min.js", corePath: here + "tesseract/core", langPath: here + "tesseract/lang",
    cacheMethod: "none", gzip: true, workerBlobURL: false,
  });
  await reader.setParameters({ user_defined_dpi: "300" });
  return reader;
}

// The pass's grey pixels (the area's, or those of the part of it the module has a word
// read alone in) as the reader sees them: enlarged factor times (bilinear, as kof
// enlarges) inside a white border.
function enlarged(pass) {
  const pixels = rz._rz_index_pixels();
  const grey = rz.HEAPU8.subarray(pixels, pixels + pass.width * pass.height);
  const rgba = new Uint8ClampedArray(pass.width * pass.height * 4);
  for (let i = 0; i < grey.length; ++i) {
    rgba[4 * i] = rgba[4 * i + 1] = rgba[4 * i + 2] = grey[i];
    rgba[4 * i + 3] = 255;
  }
  const area = new OffscreenCanvas(pass.width, pass.height);
  area.getContext("2d").putImageData(new ImageData(rgba, pass.width, pass.height), 0, 0);
  const image = new OffscreenCanvas(pass.width * pass.factor + 2 * pass.border, pass.height * pass.factor + 2 * pass.border);
  const context = image.getContext("2d", { alpha: false, willReadFrequently: true });
  context.fillStyle = "#fff";
  context.fillRect(0, 0, image.width, image.height);
  context.imageSmoothingEnabled = true;
  context.imageSmoothingQuality = "low";
  context.drawImage(area, pass.border, pass.border, pass.width * pass.factor, pass.height * pass.factor);
  return greyImageFile(context.getImageData(0, 0, image.width, image.height));
}

// The picture as a binary PGM file (a line of header, then a byte a pixel), which the
// reader's image library reads as it is: no compressing and uncompressing of each pass.
function greyImageFile(picture) {
  const header = new TextEncoder().encode(`P5\n${picture.width} ${picture.height}\n255\n`);
  const file = new Uint8Array(header.length + picture.width * picture.height);
  file.set(header);
  for (let i = 0, o = header.length; i < picture.data.length; i += 4, ++o) file[o] = picture.data[i];
  return file;
}

// Every word of one pass, as the module takes them.
async function readPass(reader, pass, layout) {
  if (layout.current !== pass.layout) {
    await reader.setParameters({ tessedit_pageseg_mode: String(pass.layout) });
    layout.current = pass.layout;
  }
  const { data } = await reader.recognize(enlarged(pass), {}, { text: false, blocks: true });
  const words = [];
  for (const block of data.blocks || [])
    for (const paragraph of block.paragraphs)
      for (const line of paragraph.lines)
        for (const word of line.words)
          words.push({ text: word.text, confidence: word.confidence,
            box: [word.bbox.x0, word.bbox.y0, word.bbox.x1, word.bbox.y1] });
  return words;
}

// Progress in whole percent, at most one message per 100 ms.
const progress = {
  told: -1, toldAt: 0,
  tell(fraction) {
    const percent = Math.floor(100 * fraction);
    const now = performance.now();
    if (percent === this.told || now - this.toldAt < 100) return;
    this.told = percent;
    this.toldAt = now;
    postMessage({ type: "progress", percent });
  },
};

async function run(message) {
  await moduleReady;
  openFilm(message.name, message.blob, message.languages);
  const reader = await startReader(message.languages);
  const layout = { current: null };
  for (let area = answer(rz.UTF8ToString(rz._rz_index_next())); !area.done;
    area = answer(rz.UTF8ToString(rz._rz_index_next()))) {
    progress.tell(area.progress);
    // The module asks for passes until the area is read: the area again where the reader
    // was unsure, then each part of it that its words are mended with, read alone.
    for (let pass = area; pass.factor;) {
      const words = JSON.stringify(await readPass(reader, pass, layout));
      pass = withCString(words, (w) => answer(rz.UTF8ToString(rz._rz_index_read(w))));
    }
  }
  const document = rz.UTF8ToString(rz._rz_index_document());
  rz._rz_index_close();
  await reader.terminate();
  postMessage({ type: "done", document, words: JSON.parse(document).words.length });
}

self.onmessage = (e) => {
  if (e.data.type !== "index") return;
  run(e.data).catch((error) => postMessage({ type: "failed", text: String(error && error.message || error) }));
};
