#pragma once
// Readings of areas kept by the pixels the reader was given: a screen redraws the same
// text again and again (a clock's digits, a menu opened twice, a dialog that comes
// back), and the reader's time is most of an index's. An area prepared to exactly the
// pixels of one read before, for the same first pass, is answered with the words read
// then, moved to where the area is now. Whatever the reader would do with them, it did.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

#include "text/area_reading.h"

class TReadingCache {
public:
  // At most budgetBytes of pixels and words are kept; past it the oldest go.
  explicit TReadingCache(size_t budgetBytes = size_t(64) << 20) : FBudget(budgetBytes) {}

  // The words of an earlier reading of the same pixels and pass, moved to area.Box.
  std::optional<std::vector<TReadWord>> Find(const TPreparedArea& area, TReadPass pass) const;
  // Keeps words, read in area with pass as its first pass.
  void Keep(const TPreparedArea& area, TReadPass pass, const std::vector<TReadWord>& words);


private:
  struct TEntry {
    int32_t Width, Height;
    TReadPass Pass;
    std::vector<uint8_t> Grey;
    std::vector<TReadWord> Words;  // boxes from the area's top left corner
    uint64_t Order;
  };
  static uint64_t KeyOf(const TPreparedArea& area, TReadPass pass);
  size_t SizeOf(const TEntry& entry) const;
  void MakeRoom(size_t bytes);

  size_t FBudget, FUsed = 0;
  uint64_t FOrder = 0;
  std::unordered_multimap<uint64_t, TEntry> FEntries;
  std::deque<std::pair<uint64_t, uint64_t>> FAge;  // key and order, oldest first
};
