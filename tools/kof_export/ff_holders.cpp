#include "kof_export/ff_holders.h"

#include <new>

#include "film/ko_error.h"
#include "kof_common/utf8_path.h"

namespace ff {

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof(text));
  return text;
}

std::string FileUrl(const std::filesystem::path& path) { return "file:" + Utf8Of(path); }

int Check(int code, const std::string& what) {
  if (code < 0) throw EkoError(what + ": " + ErrorText(code));
  return code;
}

Frame NewFrame() {
  Frame frame(av_frame_alloc());
  if (frame == nullptr) throw std::bad_alloc();
  return frame;
}

Packet NewPacket() {
  Packet packet(av_packet_alloc());
  if (packet == nullptr) throw std::bad_alloc();
  return packet;
}

Frame NewVideoFrame(AVPixelFormat format, int width, int height) {
  Frame frame = NewFrame();
  frame->format = format;
  frame->width = width;
  frame->height = height;
  Check(av_frame_get_buffer(frame.get(), 0), "cannot make a picture buffer");
  return frame;
}

}  // namespace ff
