#include "kof_export/gif_palette.h"

#include <cstring>

#include "film/ko_error.h"

namespace {
uint32_t ColourAt(const uint8_t* pixel) { return uint32_t{pixel[2]} << 16 | uint32_t{pixel[1]} << 8 | pixel[0]; }
}  // namespace

int32_t ColourIndex::Find(uint32_t colour) {
  const uint32_t key = colour + 1;
  for (size_t slot = (colour * 2654435761u) >> 22;; slot = (slot + 1) & (kSlots - 1)) {
    if (FKeys[slot] == key) return FIndices[slot];
    if (FKeys[slot] != 0) continue;
    if (FColours.size() == kMaxColours) return -1;
    FKeys[slot] = key;
    FIndices[slot] = static_cast<int16_t>(FColours.size());
    FColours.push_back(colour);
    return FIndices[slot];
  }
}

bool ColourCounter::Add(const TkoPictureView& picture) {
  if (FOverflowed) return false;
  const int32_t step = picture.BytesPerPixel();
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint8_t* p = picture.Row(y);
    uint32_t last = ~0u;
    for (int32_t x = 0; x < picture.Width; ++x, p += step) {
      const uint32_t colour = ColourAt(p);
      if (colour == last) continue;
      last = colour;
      if (FIndex.Find(colour) < 0) return !(FOverflowed = true);
    }
  }
  return true;
}

ExactPaletteFrames::ExactPaletteFrames(ColourIndex colours, int32_t width, int32_t height)
    : FIndex(std::move(colours)), FFrame(ff::NewVideoFrame(AV_PIX_FMT_PAL8, width, height)) {
  auto* palette = reinterpret_cast<uint32_t*>(FFrame->data[1]);
  std::memset(palette, 0, AVPALETTE_SIZE);
  for (size_t i = 0; i < FIndex.Colours().size(); ++i) palette[i] = 0xFF000000u | FIndex.Colours()[i];
}

AVFrame* ExactPaletteFrames::Map(const TkoPictureView& picture) {
  ff::Check(av_frame_make_writable(FFrame.get()), "cannot make a picture buffer");
  const int32_t step = picture.BytesPerPixel();
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint8_t* p = picture.Row(y);
    uint8_t* out = FFrame->data[0] + static_cast<ptrdiff_t>(y) * FFrame->linesize[0];
    uint32_t last = ~0u;
    uint8_t lastIndex = 0;
    for (int32_t x = 0; x < picture.Width; ++x, p += step) {
      const uint32_t colour = ColourAt(p);
      if (colour != last) {
        last = colour;
        const int32_t index = FIndex.Find(colour);
        if (index < 0) throw EkoError("a picture has a colour the palette lacks");
        lastIndex = static_cast<uint8_t>(index);
      }
      out[x] = lastIndex;
    }
  }
  return FFrame.get();
}
