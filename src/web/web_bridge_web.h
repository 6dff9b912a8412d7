#pragma once
// TWebPage over the browser: the functions of the worker's host object (set up by
// web/player_worker.js as Module.host), reached through EM_JS.
#include <string>

#include "web/web_page.h"

class TBrowserPage : public TWebPage {
public:
  void ArmTimer(uint32_t delayMs, uint32_t token) override;
  double NowMs() override;
  void RequestDisplayFrame() override;
  void ResizeCanvas(int32_t width, int32_t height) override;
  void PutPicture(const uint8_t* rgba, int32_t width, int32_t height, const TkoBox& box) override;
  void Send(const std::string& event) override;
};

// Windows-1251 bytes (the recorder's code page) to UTF-8, by the browser's decoder.
std::string AnsiToUtf8(const std::string& text);
