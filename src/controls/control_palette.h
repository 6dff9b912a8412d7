#pragma once
// The colours the panel, its strip, bar and sliders, the notes and the segment list are
// painted with, chosen in one place: the design's colours, or under the system's high
// contrast its scheme's colours, so that every control stays visible in that scheme.
// Colours are 0x00BBGGRR, as the system takes them.
#include <cstdint>
#include <functional>
#include <vector>

// The scheme's colours the palette takes under high contrast.
enum class TSystemColour : uint8_t { kWindow, kWindowText, kHighlight, kHighlightText, kButtonFace, kButtonText };

struct TControlPalette {
  bool HighContrast = false;
  uint32_t Background = 0xFFFFFF;  // the panel, the bar's body, the sliders, the notes
  uint32_t Lines = 0;              // frames, edges, the bar's marks, the notes' text
  uint32_t Strip = 0xA89890;       // the information strip, the list's header, the notes' frames
  uint32_t StripText = 0xFFFFFF;   // the letters on the strip and the header
  uint32_t LabelText = 0xA89890;   // the title and the volume label
  uint32_t BarFrame = 0xB8A8A0;
  uint32_t BarPlayed = 0xB8A8A0;
  uint32_t Track = 0xA89890;       // the sliders' track and thumb outline
  uint32_t Thumb = 0xE0E0E0;
  uint32_t Outline = 0xA000FF;     // around a found word: a colour few lessons' screens use
  // The button and thumb pictures under high contrast: the glyph in ButtonText on
  // ButtonFace (see MaskPicture).
  uint32_t ButtonFace = 0xFFFFFF;
  uint32_t ButtonText = 0;
};

// The design's palette, or the scheme's when highContrast (systemColour gives each).
TControlPalette ControlPalette(bool highContrast, const std::function<uint32_t(TSystemColour)>& systemColour);

// A picture (0x00RRGGBB pixels, as a 32-bit DIB holds them) in two colours: the pixels
// of its background, the colour of its first pixel, and those close to it become face;
// every other pixel (the glyph, its outline, smoothed edges) becomes text. Colours are
// given 0x00BBGGRR and written in the picture's order.
void MaskPicture(std::vector<uint32_t>& pixels, uint32_t face, uint32_t text);
