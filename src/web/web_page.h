#pragma once
// What the web player asks of the page it runs in. The player runs in a worker; the
// browser side (web_bridge_web.cpp with web/player_worker.js) implements this with
// timers, the display's frames, an OffscreenCanvas and messages to the page's thread.
// Tests implement it with a recording fake.
#include <cstdint>
#include <string>

#include "playback/picture_layout.h"

class TWebPage {
public:
  virtual ~TWebPage() = default;
  // Calls TWebPlayer::Tick(token) after delayMs, as a task of its own.
  virtual void ArmTimer(uint32_t delayMs, uint32_t token) = 0;
  // The worker's monotonic clock in milliseconds.
  virtual double NowMs() = 0;
  // Calls TWebPlayer::DisplayFrame() at the display's next frame; asking again before
  // it comes changes nothing.
  virtual void RequestDisplayFrame() = 0;
  // Makes the canvas width x height pixels (which clears it).
  virtual void ResizeCanvas(int32_t width, int32_t height) = 0;
  // Copies box of rgba (width x height pixels, 4 bytes each, red first) to the canvas.
  virtual void PutPicture(const uint8_t* rgba, int32_t width, int32_t height, const TkoBox& box) = 0;
  // Hands one event, a JSON object with an "event" member, to the page's thread.
  virtual void Send(const std::string& event) = 0;
};
