// The export's worker: the film opened again in a module of its own (the page's worker
// plays on meanwhile), its pictures drawn by the player's engine one at a time, encoded
// with WebCodecs and put in a WebM or MP4 file by mediabunny; each segment's MP3 is
// decoded by mediabunny too, cut to the pictures taken and placed under them. A GIF is
// made of the same pictures by export_gif.js. Nothing leaves the machine: the file goes
// back to the page as a Blob.
"use strict";
// gifenc is published as a CommonJS module: what it exports lands in `exports`.
self.exports = {};
importScripts("roRezodu.js", "worker_module.js", "mediabunny.min.js", "export_plan.js", "gifenc.js", "export_gif.js");

const {
  Output, BufferTarget, WebMOutputFormat, Mp4OutputFormat, VideoSampleSource, VideoSample, AudioSampleSource, AudioSample,
  Input, BufferSource, MP3, AudioSampleSink,
} = Mediabunny;

// The codecs of each format: the page offers MP4 only where the browser encodes both.
const codecs = { webm: { video: "vp9", audio: "opus" }, mp4: { video: "avc", audio: "aac" } };
const silenceChunk = 1;  // seconds of silence per sound sample

// Screen pictures are sharp text and lines, which take more bits than a camera's
// picture of that size; a picture that differs little from the one before costs little
// whatever the rate, so a generous one is cheap where nothing moves.
function videoBitrate(plan) {
  const fastest = Math.max(...plan.parts.map((part) => part.rate));
  return Math.max(4e6, Math.min(40e6, plan.outWidth * plan.outHeight * fastest * 2));
}

const moduleReady = startModule();

function openFilm(name, blob) {
  if (!rz.FS.analyzePath("/export").exists) rz.FS.mkdir("/export");
  rz.FS.mount(rz.WORKERFS, { blobs: [{ name, data: blob }] }, "/export");
  const result = JSON.parse(withCString("/export/" + name, (path) => rz.UTF8ToString(rz._rz_export_open(path))));
  if (!Array.isArray(result)) throw new Error(result.error);
  return result;
}

// Progress in whole percent, at most one message per 100 ms.
const progress = {
  total: 1, done: 0, told: -1, toldAt: 0,
  step() {
    ++this.done;
    const percent = Math.floor((100 * this.done) / this.total);
    const now = performance.now();
    if (percent === this.told || now - this.toldAt < 100) return;
    this.told = percent;
    this.toldAt = now;
    postMessage({ type: "progress", percent });
  },
};

// Hands each picture of one part to onPicture (awaited), as RGBA at the output's size,
// letterboxed into the canvas and scaled. Where the segment fills the canvas its pixels
// are the engine's own (valid until the next picture); otherwise they pass a canvas,
// which places and scales them.
async function forEachPicture(part, plan, onPicture) {
  const direct = !plan.scaled && part.width === plan.canvasWidth && part.height === plan.canvasHeight;
  const board = new OffscreenCanvas(plan.canvasWidth, plan.canvasHeight);
  const boardContext = board.getContext("2d", { alpha: false, willReadFrequently: true });
  boardContext.fillStyle = "#000";
  boardContext.fillRect(0, 0, board.width, board.height);
  const output = plan.scaled ? new OffscreenCanvas(plan.outWidth, plan.outHeight) : board;
  const outputContext = plan.scaled ? output.getContext("2d", { alpha: false, willReadFrequently: true }) : boardContext;
  outputContext.imageSmoothingQuality = "high";
  const { left, top } = placeOf(plan, part);
  if (!rz._rz_export_begin(part.index, part.first, part.end)) throw new Error(`segment ${part.index + 1}`);
  const size = part.width * part.height * 4;
  for (let k = 0; k < part.end - part.first; ++k) {
    const pointer = rz._rz_export_next();
    if (!pointer) throw new Error(rz.UTF8ToString(rz._rz_export_failure()) || `segment ${part.index + 1}`);
    let rgba = new Uint8ClampedArray(rz.HEAPU8.buffer, pointer, size);
    if (!direct) {
      boardContext.putImageData(new ImageData(rgba, part.width, part.height), left, top);
      if (plan.scaled) outputContext.drawImage(board, 0, 0, output.width, output.height);
      rgba = outputContext.getImageData(0, 0, output.width, output.height).data;
    }
    await onPicture(rgba);
    progress.step();
  }
}

// The pictures of one part as video samples from the time start (seconds).
async function addPictures(part, plan, start, source) {
  const i420 = new Uint8Array((plan.outWidth * plan.outHeight * 3) / 2);
  let k = 0;
  await forEachPicture(part, plan, async (rgba) => {
    rgbaToI420(rgba, plan.outWidth, plan.outHeight, i420);
    const sample = new VideoSample(i420, { format: "I420", codedWidth: plan.outWidth, codedHeight: plan.outHeight,
      timestamp: start + k++ / part.rate, duration: 1 / part.rate, colorSpace: bt601 });
    await source.add(sample);
    sample.close();
  });
}

// The pictures go to the encoder in BT.601's limited range, converted here (each
// chroma sample the mean of its four pixels): the browser's own conversion of a canvas
// shifted every level by one or two.
const bt601 = { primaries: "smpte170m", transfer: "smpte170m", matrix: "smpte170m", fullRange: false };

// width and height even; out holds the Y plane, then U, then V.
function rgbaToI420(rgba, width, height, out) {
  const chromaWidth = width >> 1, uStart = width * height, vStart = uStart + chromaWidth * (height >> 1);
  for (let y = 0; y < height; ++y) {
    for (let x = 0, i = y * width * 4, o = y * width; x < width; ++x, i += 4, ++o)
      out[o] = ((66 * rgba[i] + 129 * rgba[i + 1] + 25 * rgba[i + 2] + 128) >> 8) + 16;
  }
  for (let y = 0; y < height; y += 2) {
    for (let x = 0; x < width; x += 2) {
      const a = (y * width + x) * 4, b = a + width * 4;
      const r = rgba[a] + rgba[a + 4] + rgba[b] + rgba[b + 4];
      const g = rgba[a + 1] + rgba[a + 5] + rgba[b + 1] + rgba[b + 5];
      const bl = rgba[a + 2] + rgba[a + 6] + rgba[b + 2] + rgba[b + 6];
      const c = (y >> 1) * chromaWidth + (x >> 1);
      out[uStart + c] = ((-38 * r - 74 * g + 112 * bl + 512) >> 10) + 128;
      out[vStart + c] = ((112 * r - 94 * g - 18 * bl + 512) >> 10) + 128;
    }
  }
}

// The sound track: contiguous samples at one rate and channel count, whatever each MP3 has.
class SoundTrack {
  constructor(source, rate, channels) {
    Object.assign(this, { source, rate, channels, written: 0 });
  }

  // planes: one Float32Array per channel of the input, at inputRate.
  async add(planes, inputRate) {
    const resampled = planes.map((plane) => resample(plane, inputRate, this.rate));
    const frames = resampled[0].length;
    if (frames === 0) return;
    const data = new Float32Array(frames * this.channels);
    for (let c = 0; c < this.channels; ++c) data.set(channelFor(resampled, c, this.channels), c * frames);
    await this.addPlanar(data, frames);
  }

  async addPlanar(data, frames) {
    const sample = new AudioSample({ data, format: "f32-planar", numberOfChannels: this.channels,
      sampleRate: this.rate, timestamp: this.written / this.rate });
    this.written += frames;
    await this.source.add(sample);
    sample.close();
  }

  // Silence until the time `until` (seconds from the video's start).
  async fillTo(until) {
    for (let missing = Math.round(until * this.rate) - this.written; missing > 0;
      missing = Math.round(until * this.rate) - this.written) {
      const frames = Math.min(missing, silenceChunk * this.rate);
      await this.addPlanar(new Float32Array(frames * this.channels), frames);
    }
  }
}

function resample(plane, from, to) {
  if (from === to) return plane;
  const out = new Float32Array(Math.round((plane.length * to) / from));
  for (let i = 0; i < out.length; ++i) {
    const at = (i * from) / to, j = Math.floor(at), f = at - j;
    out[i] = (plane[j] ?? 0) * (1 - f) + (plane[j + 1] ?? plane[j] ?? 0) * f;
  }
  return out;
}

// Mono is heard on both sides; stereo made mono is the two sides' mean.
function channelFor(planes, channel, channels) {
  if (planes.length === channels) return planes[channel];
  if (planes.length === 1) return planes[0];
  const mixed = new Float32Array(planes[0].length);
  for (const plane of planes) for (let i = 0; i < mixed.length; ++i) mixed[i] += plane[i] / planes.length;
  return mixed;
}

async function soundTrackOf(part) {
  const input = new Input({ source: new BufferSource(rz.FS.readFile(part.sound)), formats: [MP3] });
  return input.getPrimaryAudioTrack();
}

// The part's sound from its first picture's time to its last one's end, at start.
async function addSound(part, start, track) {
  const end = start + (part.end - part.first) / part.rate;
  if (part.sound) {
    const from = part.first / part.rate, to = part.end / part.rate;
    const input = await soundTrackOf(part);
    if (input) {
      for await (const sample of new AudioSampleSink(input).samples(from, to)) {
        const skip = Math.max(0, Math.round((from - sample.timestamp) * sample.sampleRate));
        const take = Math.min(sample.numberOfFrames, Math.round((to - sample.timestamp) * sample.sampleRate)) - skip;
        const planes = [];
        for (let c = 0; take > 0 && c < sample.numberOfChannels; ++c) {
          const plane = new Float32Array(take);
          sample.copyTo(plane, { planeIndex: c, format: "f32-planar", frameOffset: skip, frameCount: take });
          planes.push(plane);
        }
        sample.close();
        if (planes.length === 0) continue;
        await track.fillTo(start + Math.max(0, sample.timestamp - from));
        await track.add(planes, sample.sampleRate);
      }
    }
  }
  await track.fillTo(end);
}

// The first sound's rate and channels are the track's; without sound there is no track.
async function soundFormat(plan) {
  for (const part of plan.parts) {
    if (!part.sound) continue;
    const input = await soundTrackOf(part);
    if (input) return { rate: input.sampleRate, channels: Math.min(2, input.numberOfChannels) };
  }
  return null;
}

// A WebM or MP4 file of the plan's pictures and their sound.
async function writeVideo(plan, format) {
  const { video, audio } = codecs[format];
  const output = new Output({
    format: format === "mp4" ? new Mp4OutputFormat({ fastStart: "in-memory" }) : new WebMOutputFormat(),
    target: new BufferTarget(),
  });
  const pictures = new VideoSampleSource({ codec: video, bitrate: videoBitrate(plan), latencyMode: "realtime" });
  output.addVideoTrack(pictures);
  const sound = await soundFormat(plan);
  let track = null;
  if (sound) {
    const source = new AudioSampleSource({ codec: audio, bitrate: 128000 });
    output.addAudioTrack(source);
    track = new SoundTrack(source, sound.rate, sound.channels);
  }
  await output.start();
  let start = 0;
  for (const part of plan.parts) {
    await addPictures(part, plan, start, pictures);
    if (track) await addSound(part, start, track);
    start += (part.end - part.first) / part.rate;
  }
  await output.finalize();
  return new Blob([output.target.buffer], { type: format === "mp4" ? "video/mp4" : "video/webm" });
}

async function run(message) {
  await moduleReady;
  const plan = exportPlan(openFilm(message.name, message.blob), message.choice);
  const pictures = plan.parts.reduce((sum, part) => sum + part.end - part.first, 0);
  const gif = message.choice.format === "gif";
  progress.total = gif ? gifPasses * pictures : pictures;
  const blob = gif ? await writeGif(plan, pictures) : await writeVideo(plan, message.choice.format);
  rz._rz_export_close();
  postMessage({ type: "done", blob, warnings: plan.skipped });
}

self.onmessage = (e) => {
  if (e.data.type !== "export") return;
  run(e.data).catch((error) => postMessage({ type: "failed", text: String(error && error.message || error) }));
};
