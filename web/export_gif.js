// The export's GIF, made as kof export makes one. One palette for the whole film: a film
// of at most 256 colours keeps them exactly; otherwise gifenc's quantizer chooses 255
// from an even sample of every picture's pixels, and each pixel takes the nearest of
// them. GIF counts time in hundredths of a second: a picture that would start in the
// same hundredth as the one before is left out. The pictures are played twice, once to
// learn the colours and once to write them. gifenc writes the file (its blocks, LZW).
//
// A picture after the first holds only what changed: a pixel as it was is the palette's
// spare index, transparent over the picture before, which stays. A screen that moves
// little then costs little.
"use strict";

const gifenc = self.exports;
const gifPasses = 2;
const gifColours = 256;
const gifSampledPixels = 1 << 20;  // the sample a quantized palette is chosen from

// The hundredth in which each picture starts, counted in ticks of a time scale that
// every part's rate divides, so that no error gathers over a long film.
class GifClock {
  constructor(parts) {
    const gcd = (a, b) => (b ? gcd(b, a % b) : a);
    this.scale = parts.reduce((scale, part) => (scale / gcd(scale, part.rate)) * part.rate, 1);
    this.ticks = 0;
  }

  now() {
    return Math.floor((this.ticks * 100 + Math.floor(this.scale / 2)) / this.scale);
  }

  // The hundredth of the picture that starts now; the clock moves past it.
  next(rate) {
    const hundredth = this.now();
    this.ticks += this.scale / rate;
    return hundredth;
  }
}

// Each picture the GIF shows, with the hundredth it starts in; returns the hundredth in
// which the last one ends.
async function forEachGifPicture(plan, onPicture) {
  const clock = new GifClock(plan.parts);
  let last = -1;
  for (const part of plan.parts) {
    await forEachPicture(part, plan, (rgba) => {
      const hundredth = clock.next(part.rate);
      if (hundredth === last) return;
      last = hundredth;
      onPicture(new Uint32Array(rgba.buffer, rgba.byteOffset, rgba.length / 4), hundredth);
    });
  }
  return clock.now();
}

// A pixel's colour, red in the low byte, as a 32-bit word of RGBA bytes holds it.
const colourOf = (word) => word & 0xffffff;
const rgbOf = (colour) => [colour & 0xff, (colour >> 8) & 0xff, colour >>> 16];

// The film's colours while they are at most 256, and every pixel in `every`, so that a
// palette can be chosen from the whole film when they are more.
class GifColours {
  constructor(pixels) {
    this.indices = new Map();
    this.overflowed = false;
    this.every = Math.max(1, Math.ceil(pixels / gifSampledPixels));
    this.sample = new Uint32Array(Math.ceil(pixels / this.every));
    this.sampled = 0;
    this.skip = 0;  // pixels until the next one sampled
  }

  add(words) {
    for (let i = 0, last = -1; !this.overflowed && i < words.length; ++i) {
      const colour = colourOf(words[i]);
      if (colour === last) continue;
      last = colour;
      if (this.indices.has(colour)) continue;
      if (this.indices.size === gifColours) this.overflowed = true;
      else this.indices.set(colour, this.indices.size);
    }
    let i = this.skip;
    for (; i < words.length && this.sampled < this.sample.length; i += this.every) {
      this.sample[this.sampled++] = words[i];
    }
    this.skip = Math.max(0, i - words.length);
  }

  // The palette: [r, g, b] triples.
  palette() {
    if (!this.overflowed) return [...this.indices.keys()].map(rgbOf);
    const opaque = this.sample.subarray(0, this.sampled).map((word) => word | 0xff000000);
    return gifenc.quantize(new Uint8Array(opaque.buffer), gifColours - 1);
  }

  // Each colour's index in the palette, found once per colour.
  mapper(palette) {
    const indices = this.overflowed ? new Map() : this.indices;
    return (words, out) => {
      for (let i = 0, last = -1, index = 0; i < words.length; ++i) {
        const colour = colourOf(words[i]);
        if (colour !== last) {
          last = colour;
          index = indices.get(colour);
          if (index === undefined) indices.set(colour, (index = gifenc.nearestColorIndex(palette, rgbOf(colour))));
        }
        out[i] = index;
      }
    };
  }
}

// The GIF of the plan's pictures (as many as `pictures`), as a Blob.
async function writeGif(plan, pictures) {
  const pixels = plan.outWidth * plan.outHeight;
  const colours = new GifColours(pictures * pixels);
  await forEachGifPicture(plan, (words) => colours.add(words));
  const filmColours = colours.palette();
  const map = colours.mapper(filmColours);
  // The index after the film's colours, where the palette has room for one more.
  const spare = filmColours.length < gifColours ? filmColours.length : -1;
  const palette = spare >= 0 ? [...filmColours, [0, 0, 0]] : filmColours;
  const depth = Math.max(2, Math.ceil(Math.log2(palette.length)));

  const gif = gifenc.GIFEncoder();
  let before = new Uint8Array(pixels), now = new Uint8Array(pixels);
  const frame = new Uint8Array(pixels);
  let pending = null;  // the picture in frame: the hundredth it starts in, and whether it is the first
  const write = (until) => {
    const delay = 10 * Math.max(1, until - pending.start);  // gifenc takes milliseconds
    gif.writeFrame(frame, plan.outWidth, plan.outHeight, pending.first
      ? { palette, delay, colorDepth: depth, repeat: 0, dispose: 1 }
      : { delay, colorDepth: depth, transparent: spare >= 0, transparentIndex: Math.max(0, spare), dispose: 1 });
  };
  const end = await forEachGifPicture(plan, (words, hundredth) => {
    if (pending) write(hundredth);
    map(words, now);
    if (pending && spare >= 0) for (let i = 0; i < pixels; ++i) frame[i] = now[i] === before[i] ? spare : now[i];
    else frame.set(now);
    [before, now] = [now, before];
    pending = { start: hundredth, first: !pending };
  });
  write(end);
  gif.finish();
  return new Blob([gif.bytesView()], { type: "image/gif" });
}
