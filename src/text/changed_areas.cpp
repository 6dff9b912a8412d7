#include "text/changed_areas.h"

#include <cstring>

namespace {
constexpr int32_t kTile = 16;

class TileGrid {
public:
  TileGrid(int32_t width, int32_t height)
      : FColumns((width + kTile - 1) / kTile), FRows((height + kTile - 1) / kTile), FBoxes(size_t(FColumns * FRows)) {}

  void Add(int32_t x, int32_t y, int32_t right) {
    TTextBox& box = FBoxes[size_t((y / kTile) * FColumns + x / kTile)];
    box = box.Union({x, y, right, y + 1});
  }

  // The changed tiles in groups of neighbours (diagonals too), each group's box.
  std::vector<TTextBox> Groups() {
    std::vector<TTextBox> groups;
    std::vector<int32_t> stack;
    for (int32_t start = 0; start < FColumns * FRows; ++start) {
      if (FBoxes[size_t(start)].Empty()) continue;
      TTextBox group;
      stack.push_back(start);
      while (!stack.empty()) {
        const int32_t tile = stack.back();
        stack.pop_back();
        if (FBoxes[size_t(tile)].Empty()) continue;
        group = group.Union(FBoxes[size_t(tile)]);
        FBoxes[size_t(tile)] = {};
        const int32_t column = tile % FColumns, row = tile / FColumns;
        for (int32_t dy = -1; dy <= 1; ++dy)
          for (int32_t dx = -1; dx <= 1; ++dx) {
            const int32_t c = column + dx, r = row + dy;
            if (c >= 0 && c < FColumns && r >= 0 && r < FRows && !FBoxes[size_t(r * FColumns + c)].Empty())
              stack.push_back(r * FColumns + c);
          }
      }
      groups.push_back(group);
    }
    return groups;
  }

private:
  int32_t FColumns, FRows;
  std::vector<TTextBox> FBoxes;
};
}  // namespace

std::vector<TTextBox> ChangedAreas(const TkoPictureView& before, const TkoPictureView& after) {
  const int32_t width = after.Width, height = after.Height, bytes = after.BytesPerPixel();
  TileGrid grid(width, height);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t *a = before.Row(y), *b = after.Row(y);
    for (int32_t tileLeft = 0; tileLeft < width; tileLeft += kTile) {
      const int32_t tileRight = std::min(tileLeft + kTile, width);
      const size_t from = size_t(tileLeft) * size_t(bytes), length = size_t(tileRight - tileLeft) * size_t(bytes);
      if (std::memcmp(a + from, b + from, length) == 0) continue;
      int32_t left = tileLeft, right = tileRight;
      while (std::memcmp(a + size_t(left) * bytes, b + size_t(left) * bytes, size_t(bytes)) == 0) ++left;
      while (std::memcmp(a + size_t(right - 1) * bytes, b + size_t(right - 1) * bytes, size_t(bytes)) == 0) --right;
      grid.Add(left, y, right);
    }
  }
  return grid.Groups();
}
