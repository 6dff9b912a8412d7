#pragma once
// What the programs that write the end-to-end and browser tests' films share: moving
// segments, in which no two frames are alike and a misplaced row shows, and their main;
// and noisy segments for the tests that play films of their own.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>

#include "writer/film_writer.h"

namespace testfilms {
using namespace filmwriter;

inline void FillBox(Picture& picture, int left, int top, int width, int height, uint32_t colour) {
  for (int y = std::max(top, 0); y < std::min(top + height, picture.height); ++y)
    for (int x = std::max(left, 0); x < std::min(left + width, picture.width); ++x) picture.At(x, y) = colour;
}

// Frame k: a block gliding right and down over stripes, and a bar growing along the bottom.
inline Picture MovingFrame(int width, int height, uint32_t background, int k) {
  Picture picture = Picture::Filled(width, height, background);
  for (int y = 0; y < height; y += 8) FillBox(picture, 0, y, width, 1, background ^ 0x202020);
  FillBox(picture, 20, 20, width - 40, 12, 0xFFFFFF);
  FillBox(picture, 10 + (k * 7) % (width - 40), 40 + (k * 3) % (height - 90), 30, 30, 0xFFD020 ^ uint32_t(k));
  FillBox(picture, 0, height - 16, 2 + k * 3, 16, 0x202020);
  return picture;
}

// Moving frames at 10 per second, MSZIP, no sound block; the pointer follows the block.
inline SegmentSpec MovingSegment(const char* name, int width, int height, uint32_t background, int frames,
                                 int samples = 1) {
  SegmentSpec spec;
  spec.data.name = name;
  spec.data.samplesPerFrame = samples;
  std::vector<CursorSample> track;
  for (int k = 0; k < frames; ++k) {
    spec.data.pictures.push_back(MovingFrame(width, height, background, k));
    for (int s = 0; s < samples; ++s)
      track.push_back({0, uint16_t(40 + (k * 7) % (width - 40) + 4 * s), uint16_t(60 + (k * 3) % (height - 90))});
  }
  spec.data.cursorTrack = track;
  spec.soundKind = filmwriter::kSoundWave;  // qualified: the player's headers have one too
  spec.packing = Packing::MsZip;
  return spec;
}

// Frames of noise over a grey screen (`changes` pixels drawn from seed a frame), a black
// square pointer wandering over them samplesPerFrame times a frame.
inline SegmentSpec NoiseSegment(int width, int height, int frames, int samplesPerFrame, uint32_t seed, int changes) {
  std::mt19937 random(seed);
  SegmentSpec spec;
  spec.data.cursorRecords = {CursorRecord(MonochromeCursor(1, 1, 5, 5, std::vector<uint8_t>(25, 0)))};
  spec.data.samplesPerFrame = samplesPerFrame;
  Picture picture = Picture::Filled(width, height, 0xD4D0C8);
  for (int k = 0; k < frames; ++k) {
    for (int i = 0; i < changes; ++i) picture.pixels[random() % picture.pixels.size()] = random() & 0xFFFFFF;
    spec.data.pictures.push_back(picture);
  }
  std::vector<CursorSample> track;
  for (int i = 0; i < frames * samplesPerFrame; ++i)
    track.push_back({0, uint16_t(random() % width), uint16_t(random() % height)});
  spec.data.cursorTrack = track;
  return spec;
}

// main of a program NAME DIR that writes its films into DIR.
inline int FilmMakerMain(int argc, char** argv, const char* name, void (*write)(const std::filesystem::path&)) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", name);
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    write(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", name, e.what());
    return 1;
  }
  return 0;
}
}  // namespace testfilms
