#pragma once
// A video file decoded with FFmpeg's libraries, as a player would: every picture as
// 0x00RRGGBB pixels with its time, and the sound mixed to one channel, placed by its
// timestamps (a frame within 2 ms of the one before follows on from it); the file's
// title, comment and chapters. For the tests of kof export (native
// builds). A file of sound alone decodes to its sound.
#include <filesystem>
#include <string>
#include <vector>

#include "writer/data_file_writer.h"

struct DecodedVideo {
  struct Chapter {
    std::string title;
    double start = 0, end = 0;  // seconds
  };

  std::string videoCodec, soundCodec;  // "" when the file has no such stream
  int width = 0, height = 0;
  std::vector<filmwriter::Picture> pictures;
  std::vector<double> times;  // each picture's time, seconds
  double duration = 0;        // the video stream's, seconds
  int sampleRate = 0;
  std::vector<float> sound;   // sample i plays at i / sampleRate seconds
  std::string title;
  std::string comment;  // the file's comment tag
  std::vector<Chapter> chapters;
};

// Throws std::runtime_error when the file cannot be opened or decoded.
DecodedVideo DecodeVideo(const std::filesystem::path& path);

// Peak signal-to-noise ratio of b against a, in dB, over red, green and blue
// (infinity when they are equal); the pictures must be of one size.
double Psnr(const filmwriter::Picture& a, const filmwriter::Picture& b);

// The root mean square of the sound between two times, in seconds.
double Loudness(const DecodedVideo& video, double from, double to);
// The time of the first sample at or after `from` louder than threshold; -1 if none.
double SoundOnset(const DecodedVideo& video, double from, float threshold);
