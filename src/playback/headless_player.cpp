#include "playback/headless_player.h"

#include <cstdio>
#include <utility>

#include "playback/quiet_services.h"

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

class THeadlessShell : public TQuietShell {
public:
  void ShowError(const std::string& text) override {
    if (Error.empty()) Error = text;
  }
  void ReportSkippedSegment(int32_t, const std::string& reason) override {
    if (Error.empty()) Error = reason;
  }
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
  TPlayerEvents events;

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
  if (BeginSegment(index, onFrame))
    while (Step(onFrame)) {
    }
  return EndSegment();
}

bool THeadlessPlayer::BeginSegment(int32_t index, const FrameHandler& onFrame) {
  Services& s = *FServices;
  s.shell.NextPosted = false;
  s.shell.Error.clear();
  s.presenter.stopped = false;
  s.presenter.handler = &onFrame;
  const bool started = FEngine->StartSegment(index) && FEngine->CurrentSegment() == index;
  s.presenter.handler = nullptr;
  if (!started && s.shell.Error.empty()) s.shell.Error = "the segment cannot be started";
  return started;
}

bool THeadlessPlayer::Step(const FrameHandler& onFrame) {
  Services& s = *FServices;
  const auto playing = [&] { return FEngine->ClockRunning() && !s.shell.NextPosted && !s.presenter.stopped; };
  if (!playing()) return false;
  s.presenter.handler = &onFrame;
  FEngine->Tick(s.timer.Token);
  s.presenter.handler = nullptr;
  return playing();
}

std::string THeadlessPlayer::EndSegment() {
  FEngine->Stop();
  return FServices->shell.Error;
}

std::string THeadlessPlayer::Seek(int32_t index, int32_t frame) {
  Services& s = *FServices;
  s.shell.Error.clear();
  if (!FEngine->SeekTo(index, frame) && s.shell.Error.empty()) s.shell.Error = "the frame cannot be shown";
  return s.shell.Error;
}

std::string WhyNotDrawable(const TSegmentInfo& segment) {
  if (segment.FrameStream == nullptr) return segment.Problem.empty() ? "it has no frames" : segment.Problem;
  if (segment.FramesPerSecond == 0) return "its frame rate is 0";
  if (!IsDrawableDepth(segment.BitsPerPixel))
    return "its colour depth " + std::to_string(segment.BitsPerPixel) + " is not shown (only 24 and 32)";
  return "";
}
