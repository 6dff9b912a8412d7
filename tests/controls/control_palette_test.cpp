#include "controls/control_palette.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A scheme whose every colour is different, so that a field taken from the wrong
// system colour shows.
uint32_t Scheme(TSystemColour colour) {
  switch (colour) {
    case TSystemColour::kWindow: return 0x000001;
    case TSystemColour::kWindowText: return 0x000002;
    case TSystemColour::kHighlight: return 0x000003;
    case TSystemColour::kHighlightText: return 0x000004;
    case TSystemColour::kButtonFace: return 0x000005;
    case TSystemColour::kButtonText: return 0x000006;
  }
  return 0xFFFFFF;
}

std::vector<uint32_t> Fields(const TControlPalette& p) {
  return {p.Background, p.Lines, p.Strip, p.StripText, p.LabelText, p.BarFrame, p.BarPlayed,
          p.Track,      p.Thumb, p.ButtonFace, p.ButtonText, p.Outline};
}
}  // namespace

TEST(ControlPalette, WithoutHighContrastTheDesignsColoursAndNoSchemeAsked) {
  bool asked = false;
  const TControlPalette palette = ControlPalette(false, [&asked](TSystemColour) {
    asked = true;
    return 0x123456u;
  });
  EXPECT_FALSE(asked);
  EXPECT_FALSE(palette.HighContrast);
  // white panel, black lines, the strip's grey-blue, white letters on it, the bar's grey.
  EXPECT_EQ(Fields(palette), (std::vector<uint32_t>{0xFFFFFF, 0, 0xA89890, 0xFFFFFF, 0xA89890, 0xB8A8A0, 0xB8A8A0,
                                                   0xA89890, 0xE0E0E0, 0xFFFFFF, 0, 0xA000FF}));
}

TEST(ControlPalette, UnderHighContrastEveryColourIsTheSchemes) {
  const TControlPalette palette = ControlPalette(true, Scheme);
  EXPECT_TRUE(palette.HighContrast);
  // Background: window; lines, labels, frame and track: window text; the strip and the
  // played part and a found word's outline: highlight, its letters highlight text;
  // thumbs and pictures: buttons.
  EXPECT_EQ(Fields(palette), (std::vector<uint32_t>{1, 2, 3, 4, 2, 2, 3, 2, 5, 5, 6, 3}));
}

TEST(ControlPalette, APictureMaskedKeepsItsShapeInTwoColours) {
  // A white background, a grey glyph pixel, its darker outline, a smoothed edge close
  // to white; DIB order 0x00RRGGBB.
  std::vector<uint32_t> pixels{0xFFFFFF, 0xB0B8C8, 0x505050, 0xF0F0F4, 0xFFFFFF};
  MaskPicture(pixels, 0x0000FF /* red face */, 0xFF0000 /* blue text */);
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000}));
  // The thumb's background is its own first pixel, not white.
  std::vector<uint32_t> thumb{0xE0E0E0, 0xFFFFFF, 0x000000, 0xE0E0E0};
  MaskPicture(thumb, 0x00FF00, 0x000000);
  EXPECT_EQ(thumb, (std::vector<uint32_t>{0x00FF00, 0x000000, 0x000000, 0x00FF00}));
  std::vector<uint32_t> empty;
  MaskPicture(empty, 1, 2);
  EXPECT_TRUE(empty.empty());
}
