#pragma once
// Recording fakes of the services the playback engine asks for, and a rig that runs
// the engine the way the main window's message loop would: posted commands first,
// then the earliest due timer event, in virtual time.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "film/segment_list.h"
#include "playback/playback_engine.h"
#include "support/temp_dir.h"

struct ArmedEvent {
  uint32_t Delay = 0;
  uint32_t Resolution = 0;
  uint32_t Token = 0;
  int64_t Due = 0;
};

class FakeTimer : public TFrameTimer {
public:
  bool Arm(uint32_t delayMs, uint32_t resolutionMs, uint32_t token) override;

  int64_t Now = 0;
  bool Refuse = false;
  std::vector<ArmedEvent> Armed;    // every event ever armed, in order
  std::vector<ArmedEvent> Pending;  // armed and not yet delivered
};

class FakeSound : public TSoundDevice {
public:
  void SetFileName(const std::filesystem::path& fileName) override { FileName = fileName; }
  bool HasFileName() const override { return !FileName.empty(); }
  bool Open() override;
  bool IsOpen() const override { return Opened; }
  void Close() override;
  void Play() override { Calls.push_back("Play"); }
  void Pause() override { Calls.push_back("Pause"); }
  void Stop() override { Calls.push_back("Stop"); }
  void SetTimeFormat(uint32_t format) override { Calls.push_back("Format " + std::to_string(format)); }
  void Seek(uint32_t position) override { Calls.push_back("Seek " + std::to_string(position)); }
  uint32_t Length() override { return LengthValue; }
  uint32_t Position() override;

  std::filesystem::path FileName;
  bool Opened = false;
  bool FailOpen = false;
  uint32_t LengthValue = 0;
  // The position the device reports, by the frame the engine is at; unset: 0.
  std::function<uint32_t()> PositionValue;
  std::vector<std::string> Calls;
};

// What a whole-frame presentation showed: the frame laid on the picture last.
struct Shown {
  int32_t Tick = 0;
  int32_t Segment = 0;
  int32_t Frame = 0;
};

class FakeFrames : public TFrameSource, public TFramePresenter {
public:
  const TPlaybackEngine* Engine = nullptr;
  TSegmentList* Segments = nullptr;

  bool PrepareDisplay(const TSegmentInfo& segment) override;
  void ClearPictures() override { Log("Clear"); }
  void ResetFrameBuffer(const TSegmentInfo&) override;
  void ResetCursor() override { Log("ResetCursor"); }
  void LoadFrame(TSegmentInfo& segment) override;
  void UnpackFrame(const TSegmentInfo& segment) override;
  void ApplyDifference(const TSegmentInfo& segment) override;
  void RestoreCursor() override { Log("Restore"); }
  void ReadCursorSample(TSegmentInfo& segment) override;
  void SaveCursorBackground() override { Log("Save"); }
  void DrawCursor() override { Log("Draw"); }
  void CommitCursor() override { Log("Commit"); }
  void LayOut() override { Log("LayOut"); }
  void PresentWholeFrame() override;
  void PresentCursorArea() override;

  // Index of the segment a record belongs to, checked against the engine's.
  int32_t IndexOf(const TSegmentInfo& segment) const;
  void Log(const std::string& entry);

  // Frame model: records read, expanded and laid on since the last segment start.
  int32_t Loaded = -1;
  int32_t Unpacked = -1;
  int32_t Applied = -1;
  int32_t LoadFailsAt = -1;    // LoadFrame of this frame index throws
  int32_t UnpackFailsAt = -1;  // UnpackFrame of this frame index throws
  int32_t ForeignAccesses = 0;  // records of a segment that is not the current one
  std::vector<Shown> WholeFrames;
  std::vector<int32_t> CursorAreaTicks;
  std::vector<int32_t> SampleTicks;
  std::vector<std::string> Ops;  // per-tick operation log, "tick:op"
};

class FakeShell : public TPlaybackShell {
public:
  explicit FakeShell(std::vector<std::string>& log) : FLog(log) {}
  void PumpMessages() override;
  void PostNextCommand() override;
  void Sleep(uint32_t) override {}
  void ShowError(const std::string& text) override { FLog.push_back("Error " + text); }
  void ReportSkippedSegment(int32_t index, const std::string& reason) override;
  void UpdateMenuStates() override {}
  void RedrawPanel() override {}
  void RefreshSegmentLine() override {}
  void RefreshTimeText() override {}
  void SelectSegmentLine(int32_t index) override { FLog.push_back("Select " + std::to_string(index)); }
  void MoveButtonFocus(TPlayState state) override { FocusMoves.push_back(state); }
  void AcceptDroppedFiles(bool accept) override { AcceptsDrops = accept; }
  bool IsFullScreen() const override { return FullScreen; }
  void ToggleFullScreen() override;
  void SavePlacement() override { ++PlacementSaves; }
  TScreenSize ScreenSize() const override { return Screen; }
  void InvalidateMainWindow() override {}
  void DestroyMainWindow() override;

  const TPlaybackEngine* Engine = nullptr;
  // Runs once, inside the next pump, then is cleared.
  std::function<void()> DuringNextPump;
  std::function<void()> OnDestroy;
  std::deque<int32_t> Posted;
  std::vector<int32_t> NextPostedAtTick;
  std::vector<TPlayState> FocusMoves;
  int32_t PlacementSaves = 0, Destroyed = 0;
  bool AcceptsDrops = true;
  bool FullScreen = false;
  TScreenSize Screen{1920, 1080};

private:
  std::vector<std::string>& FLog;
};

// Everything an engine needs, wired together. Log collects, in order, the player's
// events ("event 4 1"), skip reports, errors, segment-line selections, full-screen
// toggles and window destruction.
struct ClockRig {
  ClockRig();

  // Appends a segment of frameCount frames; flags bit 0 gives three cursor samples
  // per frame. withFrames false leaves it without a frame stream.
  TSegmentInfo& AddSegment(int32_t frameCount, uint8_t fps, uint32_t flags = 0, bool withFrames = true,
                           const std::string& soundFile = "");
  // One step of the message loop: a posted command if any, else the earliest due
  // timer event. Returns false when nothing is left to do.
  bool Step();
  // Steps until nothing is left or maxSteps steps have run; returns the steps run.
  int32_t Run(int32_t maxSteps = 100000);
  // Delivers the earliest pending event only (no posted commands).
  bool FireTimer();

  std::vector<std::string> Log;
  TempDir Folder;
  std::filesystem::path DataFile;
  FakeTimer Timer;
  FakeSound Sound;
  FakeFrames Frames;
  FakeShell Shell;
  TEventPublisher Events;
  TSegmentList Segments;
  std::unique_ptr<TPlaybackEngine> Engine;
};
