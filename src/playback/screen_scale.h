#pragma once
// The screen's scale: the window's dots per inch over 96. The design gives every size
// in pixels of a 96 DPI screen (the panel and its controls, fonts, margins, the first
// window); on a screen at another scale each is multiplied by s = DPI / 96 and rounded
// here, the one place that rounds such lengths: to the nearest pixel, halves away from
// zero, as the system's MulDiv does. At 96 DPI every length stays as it is.
#include <cstdint>

#include "playback/picture_layout.h"

constexpr int32_t kDesignDpi = 96;

class TScreenScale {
public:
  constexpr TScreenScale() = default;
  // A DPI below 1 (a failed query) counts as 96.
  constexpr explicit TScreenScale(int32_t dpi) : FDpi(dpi >= 1 ? dpi : kDesignDpi) {}
  // A browser's device pixel ratio (2 for 200 %), to the nearest whole DPI; a ratio
  // that is not positive counts as 1.
  static TScreenScale FromRatio(double ratio);

  constexpr int32_t Dpi() const { return FDpi; }
  constexpr double Factor() const { return static_cast<double>(FDpi) / kDesignDpi; }
  // s is a whole number (100 %, 200 %, 300 %): a picture enlarged by it stays sharp.
  constexpr bool IsWhole() const { return FDpi % kDesignDpi == 0; }

  // A length the design gives, on this screen.
  int32_t Px(int32_t designPixels) const;
  TkoSize Size(TkoSize design) const { return {Px(design.Width), Px(design.Height)}; }
  // Position and size are scaled each on its own.
  TkoBox Box(const TkoBox& design) const { return {Px(design.X), Px(design.Y), Px(design.Width), Px(design.Height)}; }
  TkoPoint Point(TkoPoint design) const { return {Px(design.X), Px(design.Y)}; }

  bool operator==(const TScreenScale&) const = default;

private:
  int32_t FDpi = kDesignDpi;
};
