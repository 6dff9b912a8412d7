#include "controls/activity_strip.h"

#include <algorithm>
#include <cmath>

#include "playback/activity_level.h"

namespace {
uint32_t Blend(uint32_t from, uint32_t to, double t) {
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    result |= static_cast<uint32_t>(std::lround(a + (b - a) * t)) << shift;
  }
  return result;
}

void AddShaded(std::vector<TStripBand>& bands, TStripBand band) {
  if (band.Right <= band.Left) return;
  if (!bands.empty() && bands.back().Shade == band.Shade && bands.back().Right == band.Left) {
    bands.back().Right = band.Right;
    return;
  }
  bands.push_back(band);
}
}  // namespace

TStripSegment StripSegment(const TSegmentActivity& activity, int64_t screenPixels, float floorDb) {
  TActivitySettings settings;
  settings.SilenceFloorDb = floorDb;
  TStripSegment strip;
  strip.Known = true;
  for (const TActivitySlice& slice : activity.Slices)
    strip.Slices.push_back({slice.From, slice.To, static_cast<float>(SliceLevel(slice, screenPixels, settings))});
  strip.Idle = activity.Idle;
  return strip;
}

TStripRows StripRows(int32_t height, int32_t margin, const TScreenScale& scale) {
  const int32_t bottom = height - margin;
  return {std::max(margin, bottom - scale.Px(3)), bottom};
}

std::vector<TStripBand> StripBands(const TProgressModel& model, int32_t width, const std::vector<TStripSegment>& segments) {
  std::vector<TStripBand> shaded, hatched;
  const int32_t count = std::min(model.Count(), static_cast<int32_t>(segments.size()));
  for (int32_t i = 0; i < count; ++i) {
    const TStripSegment& segment = segments[static_cast<size_t>(i)];
    if (!segment.Known) continue;
    const double start = model.SegmentStart(i);
    const double length = model.Lengths()[static_cast<size_t>(i)];
    const auto pixel = [&](double seconds) { return model.ValueToPixel(start + std::clamp(seconds, 0.0, length), width); };
    for (const TStripSlice& slice : segment.Slices) {
      const int32_t shade = std::clamp(static_cast<int32_t>(slice.Level * kStripShades), 0, kStripShades - 1);
      AddShaded(shaded, {pixel(slice.From), pixel(slice.To), shade, false});
    }
    for (const TIdleStretch& idle : segment.Idle) {
      const TStripBand band{pixel(idle.From), pixel(idle.To), 0, true};
      if (band.Right > band.Left) hatched.push_back(band);
    }
  }
  shaded.insert(shaded.end(), hatched.begin(), hatched.end());
  return shaded;
}

std::optional<uint32_t> StripShadeColour(const TControlPalette& palette, int32_t shade) {
  const int32_t clamped = std::clamp(shade, 0, kStripShades - 1);
  if (palette.HighContrast) return clamped >= kStripShades / 2 ? std::optional<uint32_t>(palette.Lines) : std::nullopt;
  return Blend(palette.Background, palette.Lines, 0.2 + 0.6 * clamped / (kStripShades - 1));
}
