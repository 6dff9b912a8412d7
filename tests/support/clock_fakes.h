#pragma once
// Recording fakes of the services the playback engine asks for, and a rig that runs
// the engine the way the main window's message loop would: posted commands first,
// then the earliest due timer event, in virtual time.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "playback/playback_engine.h"
#include "support/temp_dir.h"

struct ArmedEvent {
  uint32_t Delay = 0, Resolution = 0, Token = 0;
  int64_t Due = 0;
};

class FakeTimer : public TFrameTimer {
public:
  bool Arm(uint32_t delayMs, uint32_t resolutionMs, uint32_t token) override {
    if (Refuse) return false;
    Armed.push_back({delayMs, resolutionMs, token, Now + delayMs});
    Pending.push_back(Armed.back());
    return true;
  }
  int64_t Now = 0;
  bool Refuse = false;
  std::vector<ArmedEvent> Armed, Pending;  // every event armed; those not yet delivered
};

class FakeSound : public TSoundDevice {
public:
  void SetFileName(const std::filesystem::path& fileName) override { FileName = fileName; }
  bool HasFileName() const override { return !FileName.empty(); }
  bool Open() override {
    if (auto action = std::exchange(DuringNextOpen, nullptr)) action();
    return Log("Open"), Opened = !FailOpen;
  }
  bool IsOpen() const override { return Opened; }
  void Close() override { Log("Close"), Opened = false; }
  void Play() override { Log("Play"); }
  void Pause() override { Log("Pause"); }
  void Stop() override { Log("Stop"); }
  void SetTimeFormat(uint32_t format) override { Log("Format " + std::to_string(format)); }
  void Seek(uint32_t position) override { Log("Seek " + std::to_string(position)); }
  uint32_t Length() override { return LengthValue; }
  uint32_t Position() override { return Log("Position"), PositionValue ? PositionValue() : 0; }
  void Log(const std::string& call) { Calls.push_back(call); }

  std::filesystem::path FileName;
  bool Opened = false, FailOpen = false;
  uint32_t LengthValue = 0;
  std::function<uint32_t()> PositionValue;  // the position the device reports
  std::function<void()> DuringNextOpen;      // runs once, in the next Open
  std::vector<std::string> Calls;
};

// What a whole-frame presentation showed: the frame laid on the picture last.
struct Shown {
  int32_t Tick = 0, Segment = 0, Frame = 0;
  bool operator==(const Shown&) const = default;
};

// Models the frame records as numbers: read (Load), expanded (Unpack) and laid on
// (Apply) since the segment started; every call is logged as "tick:call".
class FakeFrames : public TFrameSource, public TFramePresenter {
public:
  bool PrepareDisplay(const TSegmentInfo& segment) override {
    return Check(segment, "Prepare " + std::to_string(Engine->CurrentSegment())), true;
  }
  void ClearPictures() override { Log("Clear"); }
  void ResetFrameBuffer(const TSegmentInfo&) override { Log("ResetBuffer"), Loaded = Unpacked = Applied = -1; }
  void ResetCursor() override { Log("ResetCursor"); }
  void LoadFrame(TSegmentInfo& segment) override {
    Check(segment, "Load " + std::to_string(++Loaded));
    if (Loaded == LoadFailsAt) throw EkoError("LoadFrame: Size = 0");
  }
  void UnpackFrame(const TSegmentInfo& s) override { Check(s, "Unpack " + std::to_string(Unpacked = Loaded)); }
  void ApplyDifference(const TSegmentInfo& s) override { Check(s, "Apply " + std::to_string(Applied = Unpacked)); }
  void RestoreCursor() override { Log("Restore"); }
  void ReadCursorSample(TSegmentInfo& segment) override { Check(segment, "Sample"); }
  void SaveCursorBackground() override { Log("Save"); }
  void DrawCursor() override { Log("Draw"); }
  void CommitCursor() override { Log("Commit"); }
  void SeekFrame(TSegmentInfo& s, int32_t frame) override {
    Check(s, "Seek " + std::to_string(frame)), Loaded = Unpacked = Applied = frame;
  }
  void ForgetSeekIndex() override { Log("Forget"); }
  void LayOut() override { Log("LayOut"); }
  void PresentWholeFrame() override {
    Log("Whole"), WholeFrames.push_back({Engine->TickCounter(), Engine->CurrentSegment(), Applied});
  }
  void PresentCursorArea() override { Log("CursorArea"); }
  TkoSize ZoomedSize(TkoSize frame) const override { return {frame.Width * Zoom, frame.Height * Zoom}; }

  void Log(const std::string& call) { Ops.push_back(std::to_string(Engine->TickCounter()) + ":" + call); }
  // Logs a call on a segment's records, counting those of any segment but the current.
  void Check(const TSegmentInfo& segment, const std::string& call) {
    ForeignAccesses += &segment != Engine->CurrentSegmentInfo(), Log(call);
  }
  // The calls logged from the from-th on (at the given tick only, unless it is -1),
  // joined by blanks.
  std::string Calls(size_t from, int32_t tick = -1) const {
    std::string joined;
    for (size_t i = from; i < Ops.size(); ++i) {
      const size_t colon = Ops[i].find(':');
      if (tick >= 0 && Ops[i].compare(0, colon, std::to_string(tick)) != 0) continue;
      // Appended piece by piece: GCC 12 at -O3 takes chained additions for overlapping copies.
      if (!joined.empty()) joined += ' ';
      joined.append(Ops[i], colon + 1);
    }
    return joined;
  }

  const TPlaybackEngine* Engine = nullptr;
  int32_t Loaded = -1, Unpacked = -1, Applied = -1;
  int32_t LoadFailsAt = -1;  // LoadFrame of this frame throws
  int32_t Zoom = 1;          // the picture is shown this many times its size
  int32_t ForeignAccesses = 0;
  std::vector<Shown> WholeFrames;
  std::vector<std::string> Ops;
};

// Logs into the rig's log: skip reports, errors, segment-line selections, full-screen
// toggles and destruction.
class FakeShell : public TPlaybackShell {
public:
  explicit FakeShell(std::vector<std::string>& log) : FLog(log) {}
  void PostNextCommand() override { ++NextPending, NextPostedAtTick.push_back(Engine->TickCounter()); }
  void ShowError(const std::string& text) override { FLog.push_back("Error " + text); }
  void ReportSkippedSegment(int32_t index, const std::string& reason) override {
    FLog.push_back("Skip " + std::to_string(index) + " " + reason);
  }
  void UpdateMenuStates() override {}
  void RedrawPanel() override {}
  void RefreshSegmentLine() override {}
  void RefreshTimeText() override {}
  void SelectSegmentLine(int32_t index) override { FLog.push_back("Select " + std::to_string(index)); }
  void MoveButtonFocus(TPlayState state) override { FocusMoves.push_back(state); }
  void AcceptDroppedFiles(bool accept) override { AcceptsDrops = accept; }
  bool IsFullScreen() const override { return FullScreen; }
  void ToggleFullScreen() override {
    FullScreen = !FullScreen, FLog.push_back(FullScreen ? "FullScreen on" : "FullScreen off");
  }
  void SavePlacement() override { ++PlacementSaves; }
  TScreenSize ScreenSize() const override { return {1920, 1080}; }
  void InvalidateMainWindow() override {}
  void DestroyMainWindow() override {
    FLog.push_back("Destroy");
    if (OnDestroy) OnDestroy();
  }

  const TPlaybackEngine* Engine = nullptr;
  std::function<void()> OnDestroy;
  int32_t NextPending = 0;  // Next() calls posted and not yet run
  std::vector<int32_t> NextPostedAtTick;
  std::vector<TPlayState> FocusMoves;
  int32_t PlacementSaves = 0;
  bool AcceptsDrops = true, FullScreen = false;

private:
  std::vector<std::string>& FLog;
};

// Everything an engine needs, wired together; Log also gets the player's events
// ("event 4 1": segment 1 started).
struct ClockRig {
  ClockRig() {
    TkoFileStream create(DataFile, kModeCreate);
    Events.Listen([this](const TPlayerNotice& notice) {
      Log.push_back(FormatText("event %d %d", static_cast<int>(notice.Event), notice.Segment));
    });
    Wire(Frames, Frames);
    Frames.Engine = Engine.get();
  }
  // A new engine over the given frames and presenter, with the rig's other services.
  void Wire(TFrameSource& frames, TFramePresenter& presenter) {
    Engine = std::make_unique<TPlaybackEngine>(TPlaybackServices{Timer, Sound, frames, presenter, Shell, Events});
    Shell.Engine = Engine.get();
  }
  // Appends a segment of frameCount frames; flags bit 0 gives three cursor samples per
  // frame. Without frames it has no frame stream.
  TSegmentInfo& AddSegment(int32_t frameCount, uint8_t fps, uint32_t flags = 0, bool withFrames = true,
                           const std::string& soundFile = "") {
    TSegmentInfo& segment = *Segments.Add();
    segment.Width = 640, segment.Height = 480, segment.BitsPerPixel = 32;
    segment.FrameCount = frameCount, segment.FramesPerSecond = fps, segment.Flags = flags;
    // The fake frames read nothing: an open stream only marks a segment with frames.
    if (withFrames) segment.FrameStream = std::make_unique<TkoFileStream>(DataFile, kModeReadShared);
    if (!soundFile.empty()) segment.SoundFilePath = Folder / soundFile;
    Engine->SetSegmentList(&Segments);
    return segment;
  }
  // Delivers the earliest pending event only (no posted commands).
  bool FireTimer() {
    const auto earliest = std::min_element(Timer.Pending.begin(), Timer.Pending.end(),
                                           [](const ArmedEvent& a, const ArmedEvent& b) { return a.Due < b.Due; });
    if (earliest == Timer.Pending.end()) return false;
    const ArmedEvent event = *earliest;
    Timer.Pending.erase(earliest);
    Timer.Now = std::max(Timer.Now, event.Due);
    Engine->Tick(event.Token);
    return true;
  }
  // Runs a posted Next, if any.
  bool RunPosted() {
    if (Shell.NextPending == 0) return false;
    --Shell.NextPending;
    Engine->Next();
    return true;
  }
  // Runs posted commands first, then timer events, until nothing is left to do.
  void Run() {
    for (int steps = 0; steps < 100000; ++steps)
      if (!RunPosted() && !FireTimer()) return;
  }

  std::vector<std::string> Log;
  TempDir Folder;
  std::filesystem::path DataFile = Folder / "frames.dat";
  FakeTimer Timer;
  FakeSound Sound;
  FakeFrames Frames;
  FakeShell Shell{Log};
  TPlayerEvents Events;
  TSegmentList Segments;
  std::unique_ptr<TPlaybackEngine> Engine;
};
