#include "support/clock_fakes.h"

#include <algorithm>

#include "film/ko_error.h"
#include "film/ko_stream.h"

bool FakeTimer::Arm(uint32_t delayMs, uint32_t resolutionMs, uint32_t token) {
  if (Refuse) return false;
  const ArmedEvent event{delayMs, resolutionMs, token, Now + delayMs};
  Armed.push_back(event);
  Pending.push_back(event);
  return true;
}

bool FakeSound::Open() {
  Calls.push_back("Open " + FileName.filename().string());
  Opened = !FailOpen;
  return Opened;
}

void FakeSound::Close() {
  Calls.push_back("Close");
  Opened = false;
}

uint32_t FakeSound::Position() {
  Calls.push_back("Position");
  return PositionValue ? PositionValue() : 0;
}

int32_t FakeFrames::IndexOf(const TSegmentInfo& segment) const {
  for (int32_t i = 0; i < Segments->Count(); ++i)
    if (Segments->Get(i) == &segment) return i;
  return -1;
}

void FakeFrames::Log(const std::string& entry) {
  Ops.push_back(std::to_string(Engine->TickCounter()) + ":" + entry);
}

bool FakeFrames::PrepareDisplay(const TSegmentInfo& segment) {
  Log("Prepare " + std::to_string(IndexOf(segment)));
  return true;
}

void FakeFrames::ResetFrameBuffer(const TSegmentInfo&) {
  Log("ResetBuffer");
  Loaded = Unpacked = Applied = -1;
}

void FakeFrames::LoadFrame(TSegmentInfo& segment) {
  if (IndexOf(segment) != Engine->CurrentSegment()) ++ForeignAccesses;
  ++Loaded;
  Log("Load " + std::to_string(Loaded));
  if (Loaded == LoadFailsAt) throw EkoError("LoadFrame: Size = 0");
}

void FakeFrames::UnpackFrame(const TSegmentInfo& segment) {
  if (IndexOf(segment) != Engine->CurrentSegment()) ++ForeignAccesses;
  Log("Unpack " + std::to_string(Loaded));
  if (Loaded == UnpackFailsAt) throw EkoError("UnpackFrame: PXorFrame Is Nil");
  Unpacked = Loaded;
}

void FakeFrames::ApplyDifference(const TSegmentInfo& segment) {
  if (IndexOf(segment) != Engine->CurrentSegment()) ++ForeignAccesses;
  Log("Apply " + std::to_string(Unpacked));
  Applied = Unpacked;
}

void FakeFrames::ReadCursorSample(TSegmentInfo& segment) {
  if (IndexOf(segment) != Engine->CurrentSegment()) ++ForeignAccesses;
  Log("Sample");
  SampleTicks.push_back(Engine->TickCounter());
}

void FakeFrames::PresentWholeFrame() {
  Log("Whole");
  WholeFrames.push_back({Engine->TickCounter(), Engine->CurrentSegment(), Applied});
}

void FakeFrames::PresentCursorArea() {
  Log("CursorArea");
  CursorAreaTicks.push_back(Engine->TickCounter());
}

void FakeShell::PumpMessages() {
  if (DuringNextPump) {
    auto action = std::move(DuringNextPump);
    DuringNextPump = nullptr;
    action();
  }
}

void FakeShell::PostNextCommand() {
  Posted.push_back(115);
  NextPostedAtTick.push_back(Engine->TickCounter());
}

void FakeShell::ReportSkippedSegment(int32_t index, const std::string& reason) {
  FLog.push_back("Skip " + std::to_string(index) + " " + reason);
}

void FakeShell::ToggleFullScreen() {
  FullScreen = !FullScreen;
  FLog.push_back(FullScreen ? "FullScreen on" : "FullScreen off");
}

void FakeShell::DestroyMainWindow() {
  ++Destroyed;
  FLog.push_back("Destroy");
  if (OnDestroy) OnDestroy();
}

namespace {

void RecordEvent(uint8_t event, int32_t parameter, void* data) {
  static_cast<std::vector<std::string>*>(data)->push_back("event " + std::to_string(event) + " " +
                                                          std::to_string(parameter));
}

}  // namespace

ClockRig::ClockRig() : Shell(Log) {
  DataFile = Folder / "frames.dat";
  TkoFileStream create(DataFile, kModeCreate);
  Engine = std::make_unique<TPlaybackEngine>(TPlaybackServices{Timer, Sound, Frames, Frames, Shell, Events});
  Engine->SetSegmentList(&Segments);
  Engine->SetEventData(&Log);
  Events.Subscribe(RecordEvent);
  Frames.Engine = Engine.get();
  Frames.Segments = &Segments;
  Shell.Engine = Engine.get();
}

TSegmentInfo& ClockRig::AddSegment(int32_t frameCount, uint8_t fps, uint32_t flags, bool withFrames,
                                   const std::string& soundFile) {
  TSegmentInfo& segment = *Segments.Add();
  segment.Width = 640;
  segment.Height = 480;
  segment.BitsPerPixel = 32;
  segment.FrameCount = frameCount;
  segment.FramesPerSecond = fps;
  segment.Flags = flags;
  // The fake picture source reads nothing; an open stream marks the segment as one
  // with frames. The path stays empty so the record does not delete the shared file.
  if (withFrames) segment.FrameStream = std::make_unique<TkoFileStream>(DataFile, kModeReadShared);
  if (!soundFile.empty()) segment.SoundFilePath = Folder / soundFile;
  return segment;
}

bool ClockRig::FireTimer() {
  if (Timer.Pending.empty()) return false;
  auto earliest = std::min_element(Timer.Pending.begin(), Timer.Pending.end(),
                                   [](const ArmedEvent& a, const ArmedEvent& b) { return a.Due < b.Due; });
  const ArmedEvent event = *earliest;
  Timer.Pending.erase(earliest);
  Timer.Now = std::max(Timer.Now, event.Due);
  Engine->Tick(event.Token);
  return true;
}

bool ClockRig::Step() {
  if (!Shell.Posted.empty()) {
    const int32_t command = Shell.Posted.front();
    Shell.Posted.pop_front();
    Engine->RunCommand(command);
    return true;
  }
  return FireTimer();
}

int32_t ClockRig::Run(int32_t maxSteps) {
  int32_t steps = 0;
  while (steps < maxSteps && Step()) ++steps;
  return steps;
}
