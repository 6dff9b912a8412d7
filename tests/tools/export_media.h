#pragma once
// What the tests of kof's video commands share: MP3s of known tones, kof frames' pictures
// of a film, and an exported video's chapters as players list them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "demo/mp3_encoder.h"
#include "support/decoded_video.h"
#include "support/png_read.h"
#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"
#include "writer/film_writer.h"

// A loud tone's peak: about -9 dBFS RMS.
inline constexpr double kLoudTonePeak = 16000;

// The peak of a sine whose RMS level is db (dBFS).
inline double PeakOfRms(double db) { return std::pow(10.0, db / 20) * std::sqrt(2.0) * 32767; }

// An MP3 of `seconds` that sounds a sine of `peak` over each [from, to) and is digital
// silence elsewhere.
inline filmwriter::Bytes ToneMp3(double seconds, const std::vector<std::pair<double, double>>& tones,
                                 double peak = kLoudTonePeak) {
  constexpr int kRate = 44100;
  std::vector<int16_t> samples(size_t(seconds * kRate));
  for (const auto& [from, to] : tones)
    for (size_t i = size_t(from * kRate); i < size_t(to * kRate) && i < samples.size(); ++i)
      samples[i] = int16_t(std::lround(peak * std::sin(2 * std::numbers::pi * 660 * double(i) / kRate)));
  return demo::EncodeMp3(samples, kRate);
}

// Renders segment (from 1) with kof frames into a folder of dir; returns the folder.
inline std::filesystem::path RenderKofFrames(const TempDir& dir, const std::filesystem::path& film, int segment) {
  const std::filesystem::path out = dir / ("frames" + std::to_string(segment));
  EXPECT_EQ(Kof("frames " + Quoted(film) + " --segment " + std::to_string(segment) + " --out " + Quoted(out)).exitCode,
            0);
  return out;
}

// Frame k of segment as kof frames wrote it into out.
inline filmwriter::Picture RenderedFrame(const std::filesystem::path& out, int segment, int k) {
  return ReadPng(out / FrameName(segment, k));
}

// kof frames' picture of frame k of segment (from 1).
inline filmwriter::Picture KofFrame(const TempDir& dir, const std::filesystem::path& film, int segment, int k) {
  return RenderedFrame(RenderKofFrames(dir, film, segment), segment, k);
}

// kof frames' pictures of frames 0 .. count - 1 of segment.
inline std::vector<filmwriter::Picture> KofFrames(const TempDir& dir, const std::filesystem::path& film, int segment,
                                                  int count) {
  const std::filesystem::path out = RenderKofFrames(dir, film, segment);
  std::vector<filmwriter::Picture> frames;
  for (int k = 0; k < count; ++k) frames.push_back(RenderedFrame(out, segment, k));
  return frames;
}

// "Введение 0.00-0.80, Segment 2 0.80-1.20": the chapters as players list them.
inline std::string Chapters(const DecodedVideo& video) {
  std::string text;
  for (const DecodedVideo::Chapter& chapter : video.chapters) {
    char times[64];
    std::snprintf(times, sizeof(times), " %.2f-%.2f", chapter.start, chapter.end);
    text.append(text.empty() ? "" : ", ").append(chapter.title).append(times);
  }
  return text;
}
