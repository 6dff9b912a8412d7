#include "text/reading_cache.h"

#include <algorithm>
#include <utility>

namespace {
// FNV-1a over the area's size, the pass and its pixels.
uint64_t Mixed(uint64_t hash, uint64_t value) { return (hash ^ value) * 0x100000001B3ull; }

TTextBox Moved(const TTextBox& box, int32_t x, int32_t y) { return {box.Left + x, box.Top + y, box.Right + x, box.Bottom + y}; }

bool SamePass(TReadPass a, TReadPass b) { return a.Factor == b.Factor && a.Layout == b.Layout; }
}  // namespace

uint64_t TReadingCache::KeyOf(const TPreparedArea& area, TReadPass pass) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const int64_t value : {int64_t(area.Box.Width()), int64_t(area.Box.Height()), int64_t(pass.Factor),
                              int64_t(pass.Layout)})
    hash = Mixed(hash, uint64_t(value));
  for (const uint8_t grey : area.Grey) hash = Mixed(hash, grey);
  return hash;
}

std::optional<std::vector<TReadWord>> TReadingCache::Find(const TPreparedArea& area, TReadPass pass) const {
  const auto [first, last] = FEntries.equal_range(KeyOf(area, pass));
  for (auto it = first; it != last; ++it) {
    const TEntry& entry = it->second;
    if (entry.Width != area.Box.Width() || entry.Height != area.Box.Height() || !SamePass(entry.Pass, pass) ||
        entry.Grey != area.Grey)
      continue;
    std::vector<TReadWord> words = entry.Words;
    for (TReadWord& word : words) word.Box = Moved(word.Box, area.Box.Left, area.Box.Top);
    return words;
  }
  return std::nullopt;
}

size_t TReadingCache::SizeOf(const TEntry& entry) const {
  size_t bytes = sizeof(TEntry) + entry.Grey.size();
  for (const TReadWord& word : entry.Words) bytes += sizeof(TReadWord) + word.Text.size();
  return bytes;
}

void TReadingCache::Keep(const TPreparedArea& area, TReadPass pass, const std::vector<TReadWord>& words) {
  TEntry entry{area.Box.Width(), area.Box.Height(), pass, area.Grey, words, FOrder++};
  for (TReadWord& word : entry.Words) word.Box = Moved(word.Box, -area.Box.Left, -area.Box.Top);
  const size_t bytes = SizeOf(entry);
  if (bytes > FBudget) return;
  MakeRoom(bytes);
  FUsed += bytes;
  const uint64_t key = KeyOf(area, pass);
  FAge.push_back({key, entry.Order});
  FEntries.emplace(key, std::move(entry));
}

// Takes the oldest entries away until bytes more fit.
void TReadingCache::MakeRoom(size_t bytes) {
  while (FUsed + bytes > FBudget && !FAge.empty()) {
    const uint64_t key = FAge.front().first, order = FAge.front().second;
    FAge.pop_front();
    const auto [first, last] = FEntries.equal_range(key);
    const auto oldest = std::find_if(first, last, [order](const auto& entry) { return entry.second.Order == order; });
    FUsed -= SizeOf(oldest->second);
    FEntries.erase(oldest);
  }
}
