#include "playback/cursor_overlay.h"

#include <algorithm>

#include "film/little_endian.h"
#include "playback/cursor_drawing.h"

namespace {
// The part of a w x h rectangle at (left, top) that lies on the picture.
struct TSpan {
  int32_t X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  bool Empty() const { return X0 >= X1 || Y0 >= Y1; }
};

TSpan Clip(const TkoPictureView& picture, TkoPoint at, int32_t w, int32_t h) {
  if (picture.IsEmpty()) return {};
  const int64_t x1 = std::min<int64_t>(int64_t{at.X} + w, picture.Width);
  const int64_t y1 = std::min<int64_t>(int64_t{at.Y} + h, picture.Height);
  return {std::max(at.X, 0), std::max(at.Y, 0), int32_t(std::max<int64_t>(x1, 0)), int32_t(std::max<int64_t>(y1, 0))};
}
}  // namespace

bool TkoCursorOverlay::GrowFor(const TkoCursor& cursor) {
  return GrowTo(std::max(cursor.Width(), cursor.DrawWidth()), std::max(cursor.Height(), cursor.DrawHeight()));
}

bool TkoCursorOverlay::GrowTo(int32_t width, int32_t height) {
  const int32_t w = std::clamp(width, FLargestWidth, TkoCursor::kMaxSide);
  const int32_t h = std::clamp(height, FLargestHeight, TkoCursor::kMaxSide);
  if (w == FLargestWidth && h == FLargestHeight) return false;
  FSaveUnder.assign(static_cast<size_t>(w) * h, 0);
  FLargestWidth = w;
  FLargestHeight = h;
  FHasSaved = false;
  return true;
}

void TkoCursorOverlay::Reset() {
  FOld = FNew = {-FLargestWidth, -FLargestHeight};
  FCurrent = nullptr;
  FHasSaved = false;
}

void TkoCursorOverlay::Restore(const TkoPictureView& picture) {
  if (!FHasSaved) return;
  FHasSaved = false;
  const TSpan s = Clip(picture, FSavedAt, FLargestWidth, FLargestHeight);
  for (int32_t y = s.Y0; y < s.Y1; ++y) WriteRowColours(picture, s.X0, y, s.X1 - s.X0, SavedAt(s.X0, y));
}

bool TkoCursorOverlay::ReadSample(TkoStream& track) {
  uint8_t bytes[TkoCursorSample::kSize];
  if (track.Read(bytes, sizeof bytes) != int32_t(sizeof bytes)) return false;
  FSample.Index = ReadU16LE(bytes);
  FSample.X = ReadU16LE(bytes + 2);
  FSample.Y = ReadU16LE(bytes + 4);
  return true;
}

void TkoCursorOverlay::SelectCursor(const TkoCursor* cursor) {
  FCurrent = cursor;
  if (cursor == nullptr) return;
  // Hot spots come from the file; keep the position inside 32 bits whatever they say.
  const auto inside = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
  FNew = {inside(int64_t{FSample.X} - cursor->HotSpotX()), inside(int64_t{FSample.Y} - cursor->HotSpotY())};
}

void TkoCursorOverlay::Save(const TkoPictureView& picture) {
  if (FCurrent == nullptr) return;
  FSavedAt = FNew;
  FHasSaved = true;
  const TSpan s = Clip(picture, FSavedAt, FLargestWidth, FLargestHeight);
  for (int32_t y = s.Y0; y < s.Y1; ++y) ReadRowColours(picture, s.X0, y, s.X1 - s.X0, SavedAt(s.X0, y));
}

// The saved colour of picture pixel (x, y), which must lie in the saved area.
uint32_t* TkoCursorOverlay::SavedAt(int32_t x, int32_t y) {
  return &FSaveUnder[static_cast<size_t>(y - FSavedAt.Y) * FLargestWidth + (x - FSavedAt.X)];
}

void TkoCursorOverlay::DrawCurrent(const TkoPictureView& picture) const {
  if (FCurrent != nullptr) DrawCursor(*FCurrent, picture, FSample.X, FSample.Y);
}
