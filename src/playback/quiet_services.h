#pragma once
// Playback services for an engine that runs without a window: no sound device, and a
// shell that shows nothing. The headless player and the benchmarks build on them and
// override only what they observe.
#include "playback/playback_services.h"

// No device: nothing opens, so the clock never waits for or corrects by the sound.
class TNoSound : public TSoundDevice {
public:
  void SetFileName(const std::filesystem::path&) override {}
  bool HasFileName() const override { return false; }
  bool Open() override { return false; }
  bool IsOpen() const override { return false; }
  void Close() override {}
  void Play() override {}
  void Pause() override {}
  void Stop() override {}
  void SetTimeFormat(uint32_t) override {}
  void Seek(uint32_t) override {}
  uint32_t Length() override { return 0; }
  uint32_t Position() override { return 0; }
};

// Remembers a posted Next for the caller to run; everything else does nothing.
class TQuietShell : public TPlaybackShell {
public:
  void PostNextCommand() override { NextPosted = true; }
  void ShowError(const std::string&) override {}
  void ReportSkippedSegment(int32_t, const std::string&) override {}
  void UpdateMenuStates() override {}
  void RedrawPanel() override {}
  void RefreshSegmentLine() override {}
  void RefreshTimeText() override {}
  void SelectSegmentLine(int32_t) override {}
  void MoveButtonFocus(TPlayState) override {}
  void AcceptDroppedFiles(bool) override {}
  bool IsFullScreen() const override { return false; }
  void ToggleFullScreen() override {}
  void SavePlacement() override {}
  // No picture equals this screen, so full screen is never switched on.
  TScreenSize ScreenSize() const override { return {-1, -1}; }
  void InvalidateMainWindow() override {}
  void DestroyMainWindow() override {}

  bool NextPosted = false;
};
