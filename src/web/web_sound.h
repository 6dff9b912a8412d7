#pragma once
// The engine's sound device in the page: the segment's MP3 is decoded and played by
// Web Audio on the page's thread; the device tells the page what to play and answers
// the engine's length and position questions at once (length from the MP3's frame
// headers, position from TSoundClock).
#include <cstdint>
#include <filesystem>
#include <string>

#include "playback/playback_services.h"
#include "web/sound_clock.h"
#include "web/web_page.h"

class TWebSoundDevice : public TSoundDevice {
public:
  explicit TWebSoundDevice(TWebPage& page) : FPage(page) {}

  void SetFileName(const std::filesystem::path& fileName) override { FFileName = fileName; }
  bool HasFileName() const override { return !FFileName.empty(); }
  // Reads the file's MP3 frame headers and hands the file to the page. A file that is
  // not an MP3 stream (or cannot be read) is not opened: the page shows why and the
  // segment plays silently.
  bool Open() override;
  bool IsOpen() const override { return FOpen; }
  void Close() override;
  void Play() override;
  void Pause() override;
  void Stop() override { Pause(); }
  void SetTimeFormat(uint32_t format) override { FFormat = format; }
  // Stands at the position (paused, as a seek leaves the sound).
  void Seek(uint32_t position) override;
  uint32_t Length() override;
  uint32_t Position() override;

  // The page: request `request` began to sound from positionMs at atMs (the worker's
  // clock).
  void Started(uint32_t request, double positionMs, double atMs) { FClock.Started(request, positionMs, atMs); }
  // The page could not decode the sound: the segment goes on silently.
  void Failed();

private:
  double ToMilliseconds(uint32_t position) const;
  uint32_t FromMilliseconds(double milliseconds) const;

  TWebPage& FPage;
  std::filesystem::path FFileName;
  TSoundClock FClock;
  uint32_t FFormat = kTimeFormatMilliseconds;
  int32_t FSampleRate = 0;
  double FLengthMs = 0;
  int64_t FSamples = 0;
  bool FOpen = false;
};
