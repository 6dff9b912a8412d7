#include "playback/frame_unpack.h"

#include <algorithm>
#include <cstring>

#include "film/little_endian.h"

namespace {
constexpr int64_t kRunSize = 5;
constexpr int64_t kHeadSize = 8;

// The runs that can be used: those counted by R that lie inside both the record's size
// field and the bytes at hand.
struct TRuns {
  const uint8_t* First = nullptr;
  int64_t Count = 0;
  bool Bad = false;
};

TRuns RunsOf(std::span<const uint8_t> record) {
  if (record.size() < kHeadSize) return {nullptr, 0, true};
  const int64_t size = ReadI32LE(record.data());
  const int64_t count = ReadI32LE(record.data() + 4);
  const int64_t available = static_cast<int64_t>(record.size());
  const int64_t limit = size >= kHeadSize && size <= available ? size : available;
  const int64_t usable = std::clamp<int64_t>(count, 0, (limit - kHeadSize) / kRunSize);
  const bool bad = count < 0 || size != kHeadSize + kRunSize * count || size > available;
  return {record.data() + kHeadSize, usable, bad};
}

uint32_t ColourOf(const uint8_t* run) {
  return uint32_t{run[0]} | uint32_t{run[1]} << 8 | uint32_t{run[2]} << 16;
}
int64_t CountOf(const uint8_t* run) { return run[3] | run[4] << 8; }

TkoFrameStatus StatusOf(bool bad, int64_t covered, int64_t total, bool dropped) {
  if (bad) return TkoFrameStatus::kBadRecord;
  if (dropped) return TkoFrameStatus::kOverrun;
  return covered < total ? TkoFrameStatus::kShort : TkoFrameStatus::kComplete;
}

// XORs count pixels of one row, starting at p, with colour. The depth is a template
// parameter so that the per-pixel loop has no branch on it.
template <int Bpp>
inline void XorPixels(uint8_t* p, size_t count, uint32_t colour) {
  if constexpr (Bpp == 4) {
    for (size_t i = 0; i < count; ++i, p += 4) {
      uint32_t v;
      std::memcpy(&v, p, 4);
      v ^= colour;  // little-endian: blue, green, red; the fourth byte stays
      std::memcpy(p, &v, 4);
    }
  } else {
    // Blue and green as one 16-bit word, then red: three bytes in two accesses that
    // never touch the neighbouring pixels.
    const auto blueGreen = static_cast<uint16_t>(colour);
    const auto red = static_cast<uint8_t>(colour >> 16);
    for (size_t i = 0; i < count; ++i, p += 3) {
      uint16_t v;
      std::memcpy(&v, p, 2);
      v ^= blueGreen;
      std::memcpy(p, &v, 2);
      p[2] ^= red;
    }
  }
}

// The smallest rectangle holding the pixels changed so far, its columns kept as byte
// offsets within a row while the runs are laid.
struct TChangedBytes {
  size_t Left = SIZE_MAX, Right = 0;
  int32_t Top = -1, Bottom = -1;

  void Add(int32_t y, size_t from, size_t to) {
    Left = std::min(Left, from);
    Right = std::max(Right, to);
    if (Top < 0) Top = y;
    Bottom = y;  // rows only grow
  }
  TkoRect InPixels(size_t bytesPerPixel) const {
    if (Top < 0) return {};
    return {int32_t(Left / bytesPerPixel), Top, int32_t(Right / bytesPerPixel), Bottom + 1};
  }
};

struct TLaid {
  int64_t Covered = 0;
  bool Dropped = false;
  int64_t Changed = 0;  // pixels of runs whose colour is not 0
  TkoRect Area;         // where they lie
};

// Lays the runs on the picture; pixels past the frame are dropped. The position is a
// pointer into the current row with the bytes left in it, so the common run (one
// that ends inside its row) costs one comparison besides its pixels; a colour-0 run
// that reaches past its row skips the rows it covers whole.
template <int Bpp>
TLaid LayRuns(const TRuns& runs, const TkoPictureView& picture) {
  const int64_t total = int64_t{picture.Width} * picture.Height;
  const size_t rowBytes = static_cast<size_t>(picture.Width) * Bpp;
  int64_t left = total;
  int64_t changed = 0;
  bool dropped = false;
  uint8_t* row = picture.Pixels;
  uint8_t* p = row;
  size_t rowLeft = rowBytes;  // bytes from p to the end of the row's pixels
  // Where the row's changes begin and end (null: none yet), added to the area when the
  // row is left: a row is only ever left by a run that reaches its end, so the common
  // run pays one test and one store for it.
  TChangedBytes area;
  int32_t y = 0;  // row's number
  uint8_t* rowFirst = nullptr;
  uint8_t* rowEnd = nullptr;
  const auto addRow = [&] {
    if (rowFirst != nullptr) area.Add(y, size_t(rowFirst - row), size_t(rowEnd - row));
    rowFirst = nullptr;
  };
  const uint8_t* const end = runs.First + kRunSize * runs.Count;
  for (const uint8_t* run = runs.First; run != end; run += kRunSize) {
    int64_t pixels = CountOf(run);
    if (pixels > left) pixels = left, dropped = true;
    left -= pixels;
    const uint32_t colour = ColourOf(run);
    if (colour != 0) changed += pixels;
    size_t bytes = static_cast<size_t>(pixels) * Bpp;
    if (bytes < rowLeft) {
      if (colour != 0 && bytes != 0) {
        XorPixels<Bpp>(p, bytes / Bpp, colour);
        if (rowFirst == nullptr) rowFirst = p;
        rowEnd = p + bytes;
      }
      p += bytes;
      rowLeft -= bytes;
      continue;
    }
    while (bytes > 0) {  // the run reaches the row's end: finish the row, go on below
      const size_t piece = std::min(bytes, rowLeft);
      if (colour != 0) {
        XorPixels<Bpp>(p, piece / Bpp, colour);
        if (rowFirst == nullptr) rowFirst = p;
        rowEnd = p + piece;
      }
      bytes -= piece;
      rowLeft -= piece;
      p += piece;
      if (rowLeft != 0) break;
      addRow();
      size_t rows = 1;
      if (colour == 0) rows += bytes / rowBytes, bytes %= rowBytes;
      row += picture.Stride * static_cast<ptrdiff_t>(rows);
      y += static_cast<int32_t>(rows);
      p = row;
      rowLeft = rowBytes;
    }
  }
  addRow();
  return {total - left, dropped, changed, area.InPixels(Bpp)};
}
}  // namespace

const char* FrameStatusText(TkoFrameStatus status) {
  switch (status) {
    case TkoFrameStatus::kComplete:
      return "";
    case TkoFrameStatus::kShort:
      return "Damaged frame record: its runs cover fewer pixels than the frame.";
    case TkoFrameStatus::kOverrun:
      return "Damaged frame record: its runs cover more pixels than the frame.";
    case TkoFrameStatus::kBadRecord:
      return "Damaged frame record: its size does not match its run count.";
    case TkoFrameStatus::kNoPicture:
      return "No picture to lay the frame record on.";
  }
  return "";
}

TkoFrameStatus ApplyFrameRecord(std::span<const uint8_t> record, const TkoPictureView& picture,
                                int64_t* changedPixels, TkoRect* changedArea) {
  if (changedPixels != nullptr) *changedPixels = 0;
  if (changedArea != nullptr) *changedArea = {};
  if (picture.IsEmpty() || !IsDrawableDepth(picture.Depth)) return TkoFrameStatus::kNoPicture;
  const TRuns runs = RunsOf(record);
  const TLaid laid = picture.Depth == 32 ? LayRuns<4>(runs, picture) : LayRuns<3>(runs, picture);
  if (changedPixels != nullptr) *changedPixels = laid.Changed;
  if (changedArea != nullptr) *changedArea = laid.Area;
  return StatusOf(runs.Bad, laid.Covered, int64_t{picture.Width} * picture.Height, laid.Dropped);
}

TkoRecordChange MeasureFrameRecord(std::span<const uint8_t> record, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return {};
  const TRuns runs = RunsOf(record);
  const int64_t total = int64_t{width} * height;
  TkoRecordChange change;
  int64_t left = width, right = 0, top = -1, bottom = -1;
  int64_t covered = 0;
  const uint8_t* run = runs.First;
  for (int64_t i = 0; i < runs.Count && covered < total; ++i, run += kRunSize) {
    const int64_t count = std::min(CountOf(run), total - covered);
    if (count > 0 && ColourOf(run) != 0) {
      change.ChangedPixels += count;
      const int64_t first = covered, last = covered + count - 1;
      const int64_t firstRow = first / width, lastRow = last / width;
      // A run that reaches into another row covers whole columns between its ends.
      const bool wraps = lastRow != firstRow;
      left = std::min(left, wraps ? 0 : first % width);
      right = std::max(right, wraps ? int64_t{width} : last % width + 1);
      if (top < 0) top = firstRow;
      bottom = lastRow;
    }
    covered += count;
  }
  if (top >= 0) change.Area = {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom + 1)};
  return change;
}

TkoFrameStatus UnpackFrame(std::span<const uint8_t> record, const TkoPictureView& difference) {
  if (difference.IsEmpty() || !IsDrawableDepth(difference.Depth)) return TkoFrameStatus::kNoPicture;
  const TRuns runs = RunsOf(record);
  const int32_t width = difference.Width;
  const int64_t total = int64_t{width} * difference.Height;
  int64_t covered = 0;
  bool dropped = false;
  int32_t x = 0, y = 0;
  const uint8_t* run = runs.First;
  for (int64_t i = 0; i < runs.Count; ++i, run += kRunSize) {
    int64_t count = CountOf(run);
    if (count > total - covered) {
      dropped = true;
      count = total - covered;
    }
    covered += count;
    // One pixel at a time, row padding skipped at every row end.
    for (; count > 0; --count) {
      uint8_t* p = difference.At(x, y);
      p[0] = run[0];
      p[1] = run[1];
      p[2] = run[2];
      if (difference.Depth == 32) p[3] = 0;
      if (++x == width) x = 0, ++y;
    }
  }
  return StatusOf(runs.Bad, covered, total, dropped);
}
