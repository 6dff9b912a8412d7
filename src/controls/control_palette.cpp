#include "controls/control_palette.h"

#include <cstdlib>

namespace {
// How far (summed over the channels) a smoothed pixel may lie from the background and
// still count as background.
constexpr int kBackgroundDistance = 48;

int Channel(uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

int Distance(uint32_t a, uint32_t b) {
  return std::abs(Channel(a, 0) - Channel(b, 0)) + std::abs(Channel(a, 8) - Channel(b, 8)) +
         std::abs(Channel(a, 16) - Channel(b, 16));
}

// 0x00BBGGRR to a DIB's 0x00RRGGBB.
uint32_t DibPixel(uint32_t colour) {
  return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}
}  // namespace

TControlPalette ControlPalette(bool highContrast, const std::function<uint32_t(TSystemColour)>& systemColour) {
  TControlPalette palette;
  if (!highContrast) return palette;
  const uint32_t window = systemColour(TSystemColour::kWindow);
  const uint32_t text = systemColour(TSystemColour::kWindowText);
  const uint32_t highlight = systemColour(TSystemColour::kHighlight);
  palette.HighContrast = true;
  palette.Background = window;
  palette.Lines = text;
  palette.Strip = highlight;
  palette.StripText = systemColour(TSystemColour::kHighlightText);
  palette.LabelText = text;
  palette.BarFrame = text;
  palette.BarPlayed = highlight;
  palette.Outline = highlight;
  palette.Track = text;
  palette.ButtonFace = systemColour(TSystemColour::kButtonFace);
  palette.ButtonText = systemColour(TSystemColour::kButtonText);
  palette.Thumb = palette.ButtonFace;
  return palette;
}

void MaskPicture(std::vector<uint32_t>& pixels, uint32_t face, uint32_t text) {
  if (pixels.empty()) return;
  const uint32_t background = pixels.front() & 0xFFFFFF;
  const uint32_t faceDib = DibPixel(face), textDib = DibPixel(text);
  for (uint32_t& pixel : pixels)
    pixel = Distance(pixel & 0xFFFFFF, background) <= kBackgroundDistance ? faceDib : textDib;
}
