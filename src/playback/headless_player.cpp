#include "playback/headless_player.h"

#include <cstdio>
#include <utility>

namespace {
// Remembers the token of the chain's last event; the player ticks it at once.
class TTickedTimer : public TFrameTimer {
public:
  bool Arm(uint32_t, uint32_t, uint32_t token) override {
    Token = token;
    return true;
  }
  uint32_t Token = 0;
};

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

class THeadlessShell : public TPlaybackShell {
public:
  void PumpMessages() override {}
  void PostNextCommand() override { NextPosted = true; }
  void Sleep(uint32_t) override {}
  void ShowError(const std::string& text) override {
    if (Error.empty()) Error = text;
  }
  void ReportSkippedSegment(int32_t, const std::string& reason) override {
    if (Error.empty()) Error = reason;
  }
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
  std::string Error;
};

class TDamageHost : public TFrameSourceHost {
public:
  void DamagedRecord(const std::string& text) override {
    if (Damage.empty()) Damage = text;
  }
  std::string Damage;
};
}  // namespace

struct THeadlessPlayer::Services {
  TTickedTimer timer;
  TNoSound sound;
  THeadlessShell shell;
  TDamageHost host;
  TEventPublisher events;

  // Hands each whole frame to the current handler.
  class Presenter : public TFramePresenter {
  public:
    void LayOut() override {}
    void PresentWholeFrame() override {
      if (handler != nullptr && !(*handler)(engine->CurrentFrame(), frames->Picture())) stopped = true;
    }
    void PresentCursorArea() override {
      if (everyTick) PresentWholeFrame();
    }

    const TPlaybackEngine* engine = nullptr;
    const TkoFrameSource* frames = nullptr;
    const FrameHandler* handler = nullptr;
    bool stopped = false;
    bool everyTick = false;
  } presenter;
};

THeadlessPlayer::THeadlessPlayer(TSegmentList& segments)
    : FSegments(segments), FServices(std::make_unique<Services>()), FFrames(&FServices->host) {
  Services& s = *FServices;
  FEngine = std::make_unique<TPlaybackEngine>(
      TPlaybackServices{s.timer, s.sound, FFrames, s.presenter, s.shell, s.events});
  FEngine->SetSegmentList(&FSegments);
  s.presenter.engine = FEngine.get();
  s.presenter.frames = &FFrames;
}

THeadlessPlayer::~THeadlessPlayer() = default;

void THeadlessPlayer::SetEveryTick(bool everyTick) { FServices->presenter.everyTick = everyTick; }

const std::string& THeadlessPlayer::Damage() const { return FServices->host.Damage; }

std::string THeadlessPlayer::TakeDamage() { return std::exchange(FServices->host.Damage, std::string()); }

std::string THeadlessPlayer::PlaySegment(int32_t index, const FrameHandler& onFrame) {
  Services& s = *FServices;
  s.shell.NextPosted = false;
  s.shell.Error.clear();
  s.presenter.stopped = false;
  s.presenter.handler = &onFrame;
  if (FEngine->StartSegment(index) && FEngine->CurrentSegment() == index) {
    while (FEngine->ClockRunning() && !s.shell.NextPosted && !s.presenter.stopped) FEngine->Tick(s.timer.Token);
  } else if (s.shell.Error.empty()) {
    s.shell.Error = "the segment cannot be started";
  }
  FEngine->Stop();
  s.presenter.handler = nullptr;
  return s.shell.Error;
}

std::string THeadlessPlayer::Seek(int32_t index, int32_t frame) {
  Services& s = *FServices;
  s.shell.Error.clear();
  if (!FEngine->SeekTo(index, frame) && s.shell.Error.empty()) s.shell.Error = "the frame cannot be shown";
  return s.shell.Error;
}
