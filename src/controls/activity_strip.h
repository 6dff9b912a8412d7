#pragma once
// The activity strip along the progress bar, without a window: for each segment of the
// bar whose activity is known, bands of pixels shaded by how much happens there (darker
// where more of the screen changes, the pointer moves or someone speaks) and hatched
// bands over its idle stretches. The strip lies along the bottom of the bar's drawing
// area, 3 pixels high at 96 DPI, over the played part and the body alike.
#include <cstdint>
#include <optional>
#include <vector>

#include "controls/control_palette.h"
#include "controls/progress_model.h"
#include "playback/activity_model.h"
#include "playback/screen_scale.h"

// Shades from the lightest (something is there, barely) to the darkest.
constexpr int32_t kStripShades = 4;

// A segment's activity as the strip shows it; times in seconds from its start.
struct TStripSlice {
  double From = 0, To = 0;
  float Level = 0;  // 0 (nothing happens) .. 1
};
struct TStripSegment {
  bool Known = false;  // false: not computed yet; the strip shows nothing there
  std::vector<TStripSlice> Slices;
  std::vector<TIdleStretch> Idle;
};

// The strip's view of a computed segment of screenPixels pixels (width x height), its
// slices shaded as SliceLevel says with sound counted above floorDb.
TStripSegment StripSegment(const TSegmentActivity& activity, int64_t screenPixels, float floorDb);

struct TStripBand {
  int32_t Left = 0, Right = 0;  // pixels [Left, Right) of the bar
  int32_t Shade = 0;            // 0 .. kStripShades - 1; unused when hatched
  bool Hatched = false;         // an idle stretch
  bool operator==(const TStripBand&) const = default;
};

// The rows [Top, Bottom) the strip takes in a bar height pixels high at that scale.
struct TStripRows {
  int32_t Top = 0, Bottom = 0;
};
TStripRows StripRows(int32_t height, int32_t margin, const TScreenScale& scale);

// The bands of a bar width pixels wide, segment i of the model showing segments[i] (a
// missing or unknown entry shows nothing): first the shaded ones, left to right, then the
// hatched ones, which are painted over them. Neighbouring shaded bands of one shade are
// one band; bands narrower than a pixel are dropped. Times past a segment's length are
// cut there.
std::vector<TStripBand> StripBands(const TProgressModel& model, int32_t width, const std::vector<TStripSegment>& segments);

// The colour a shade is painted in: a step between the body and the lines, the darkest
// nearly the lines'. Under high contrast only the scheme's two colours are used: the
// lighter half of the shades is not painted (none when the shade is to be left out).
std::optional<uint32_t> StripShadeColour(const TControlPalette& palette, int32_t shade);
