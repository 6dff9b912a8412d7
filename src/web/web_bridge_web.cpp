#include "web/web_bridge_web.h"

#include <emscripten.h>

#include <cstdlib>

// clang-format off
EM_JS(void, rz_js_arm_timer, (uint32_t delay, uint32_t token), { Module["host"].armTimer(delay, token); });
EM_JS(void, rz_js_request_frame, (), { Module["host"].requestFrame(); });
EM_JS(void, rz_js_resize_canvas, (int32_t width, int32_t height), { Module["host"].resizeCanvas(width, height); });
EM_JS(void, rz_js_put_picture, (const uint8_t* rgba, int32_t width, int32_t height, int32_t x, int32_t y,
                                int32_t boxWidth, int32_t boxHeight), {
  Module["host"].putPicture(rgba, width, height, x, y, boxWidth, boxHeight);
});
EM_JS(void, rz_js_send, (const char* json), { Module["host"].send(UTF8ToString(json)); });
// Returns a string made with malloc, which the caller frees.
EM_JS(char*, rz_js_ansi_to_utf8, (const char* bytes, int32_t length), {
  const text = new TextDecoder("windows-1251").decode(HEAPU8.subarray(bytes, bytes + length));
  const size = lengthBytesUTF8(text) + 1;
  const result = _malloc(size);
  stringToUTF8(text, result, size);
  return result;
});
// clang-format on

void TBrowserPage::ArmTimer(uint32_t delayMs, uint32_t token) { rz_js_arm_timer(delayMs, token); }

double TBrowserPage::NowMs() { return emscripten_get_now(); }

void TBrowserPage::RequestDisplayFrame() { rz_js_request_frame(); }

void TBrowserPage::ResizeCanvas(int32_t width, int32_t height) { rz_js_resize_canvas(width, height); }

void TBrowserPage::PutPicture(const uint8_t* rgba, int32_t width, int32_t height, const TkoBox& box) {
  rz_js_put_picture(rgba, width, height, box.X, box.Y, box.Width, box.Height);
}

void TBrowserPage::Send(const std::string& event) { rz_js_send(event.c_str()); }

std::string AnsiToUtf8(const std::string& text) {
  char* converted = rz_js_ansi_to_utf8(text.data(), static_cast<int32_t>(text.size()));
  std::string result(converted);
  std::free(converted);
  return result;
}
