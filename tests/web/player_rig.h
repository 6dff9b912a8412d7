#pragma once
// The web player over a page that records what it is told, and the small films its
// tests play: shared by the web player's tests.
#include <deque>
#include <string>
#include <vector>

#include "film/temp_files.h"
#include "support/temp_dir.h"
#include "web/web_player.h"
#include "writer/film_writer.h"

class RecordingPage : public TWebPage {
public:
  void ArmTimer(uint32_t delayMs, uint32_t token) override { Timers.push_back({delayMs, token}); }
  double NowMs() override { return Now; }
  void RequestDisplayFrame() override { ++FrameRequests; }
  void ResizeCanvas(int32_t width, int32_t height) override { Canvas = {width, height}; }
  void PutPicture(const uint8_t*, int32_t, int32_t, const TkoBox& box) override { Puts.push_back(box); }
  void Send(const std::string& event) override { Events.push_back(event); }

  // The events named so, in order.
  std::vector<std::string> Named(const std::string& name) const {
    std::vector<std::string> found;
    for (const std::string& event : Events)
      if (event.find("\"event\":\"" + name + "\"") != std::string::npos) found.push_back(event);
    return found;
  }

  std::deque<std::pair<uint32_t, uint32_t>> Timers;  // delay, token
  std::vector<std::string> Events;
  std::vector<TkoBox> Puts;
  TkoSize Canvas;
  int FrameRequests = 0;
  double Now = 1000;
};

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline filmwriter::SegmentSpec Moving(const std::string& name, int width, uint8_t depth, int frames, int samples = 1) {
  filmwriter::SegmentSpec spec;
  spec.data.name = name;
  spec.data.samplesPerFrame = samples;
  spec.bitsPerPixel = depth;
  spec.soundKind = filmwriter::kSoundWave;
  for (int k = 0; k < frames; ++k) {
    filmwriter::Picture picture = filmwriter::Picture::Filled(width, 6, 0x203040 + uint32_t(k));
    picture.At(k % width, k % 6) = 0xFFFFFF;
    spec.data.pictures.push_back(picture);
  }
  return spec;
}

struct PlayerRig {
  TempDir root;
  RecordingPage page;
  std::filesystem::path temp = CreatePlayerTempFolder(root.path());
  TWebPlayer player{page, [](const std::string& text) { return text; }, temp, TScreenSize{1920, 1080}};

  bool Open(const filmwriter::Bytes& bytes, const std::string& name = "film.kof") {
    filmwriter::WriteBytesToFile(root / name, bytes);
    return player.Open(root / name, name);
  }
  // Runs the timer events due, as the page's timers would, until count ticks have run.
  void Tick(int count) {
    for (int i = 0; i < count && !page.Timers.empty(); ++i) {
      const auto [delay, token] = page.Timers.front();
      page.Timers.pop_front();
      page.Now += delay;
      player.Tick(token);
    }
  }
};
