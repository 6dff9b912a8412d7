#include "playback/seek_index.h"

#include <algorithm>
#include <limits>
#include <new>

#include "film/segment_list.h"
#include "playback/picture_deflate.h"

namespace {
int64_t PictureSize(const TkoPictureView& picture) {
  return int64_t{picture.Width} * picture.Height * picture.BytesPerPixel();
}
}  // namespace

void TkoSeekIndex::Clear() {
  FSegments.clear();
  FPictureBytes = 0;
}

void TkoSeekIndex::SetBudget(size_t bytes) {
  FBudget = bytes;
  MakeRoom(0);
}

const TkoSeekIndex::TSegmentEntry* TkoSeekIndex::Find(const TSegmentInfo& segment) const {
  const auto found = FSegments.find(segment.Serial);
  return found == FSegments.end() ? nullptr : &found->second;
}

TkoSeekIndex::TSegmentEntry& TkoSeekIndex::Entry(const TSegmentInfo& segment) {
  const auto [found, added] = FSegments.try_emplace(segment.Serial);
  if (added) found->second.FirstOffset = segment.FirstFrameOffset;
  return found->second;
}

// --- Record offsets ---------------------------------------------------------------------

int32_t TkoSeekIndex::NoteRecord(const TSegmentInfo& segment, int64_t offset, int64_t end) {
  TSegmentEntry& entry = Entry(segment);
  const bool next = entry.Offsets.empty() ? offset == entry.FirstOffset : offset == entry.NextOffset;
  if (next && end > offset && offset <= std::numeric_limits<int32_t>::max()) {
    entry.Offsets.push_back(static_cast<int32_t>(offset));
    entry.NextOffset = end;
    return static_cast<int32_t>(entry.Offsets.size() - 1);
  }
  const auto found = std::lower_bound(entry.Offsets.begin(), entry.Offsets.end(), offset);
  if (found == entry.Offsets.end() || *found != offset) return -1;
  return static_cast<int32_t>(found - entry.Offsets.begin());
}

int64_t TkoSeekIndex::RecordOffset(const TSegmentInfo& segment, int32_t frame) const {
  if (frame < 0) return -1;
  const TSegmentEntry* entry = Find(segment);
  if (entry == nullptr || entry->Offsets.empty()) return frame == 0 ? segment.FirstFrameOffset : -1;
  const auto known = static_cast<int32_t>(entry->Offsets.size());
  if (frame < known) return entry->Offsets[static_cast<size_t>(frame)];
  return frame == known ? entry->NextOffset : -1;
}

int32_t TkoSeekIndex::KnownRecords(const TSegmentInfo& segment) const {
  const TSegmentEntry* entry = Find(segment);
  return entry == nullptr ? 0 : static_cast<int32_t>(entry->Offsets.size());
}

size_t TkoSeekIndex::OffsetBytes() const {
  size_t bytes = 0;
  for (const auto& [serial, entry] : FSegments) bytes += entry.Offsets.capacity() * sizeof(int32_t);
  return bytes;
}

// --- Pictures ---------------------------------------------------------------------------

TKeptPicture TkoSeekIndex::LatestAtOrBefore(const TSegmentInfo& segment, int32_t frame,
                                            const TkoPictureView& picture) const {
  const TSegmentEntry* entry = Find(segment);
  if (entry == nullptr) return {};
  const auto after = std::upper_bound(entry->Pictures.begin(), entry->Pictures.end(), frame,
                                      [](int32_t f, const TPicture& kept) { return f < kept.Frame; });
  if (after == entry->Pictures.begin()) return {};
  const TPicture& kept = *std::prev(after);
  if (kept.Width != picture.Width || kept.Height != picture.Height || kept.Depth != picture.Depth) return {};
  return {kept.Frame, kept.Cost};
}

bool TkoSeekIndex::Restore(const TSegmentInfo& segment, int32_t frame, const TkoPictureView& picture) const {
  const TSegmentEntry* entry = Find(segment);
  if (entry == nullptr) return false;
  for (const TPicture& kept : entry->Pictures) {
    if (kept.Frame != frame) continue;
    if (kept.Width != picture.Width || kept.Height != picture.Height || kept.Depth != picture.Depth) return false;
    return kept.Bytes && UnpackPicture(*kept.Bytes, kept.Deflated, picture);
  }
  return false;
}

// A picture is wanted at frame when none is kept there and the costs from the kept
// picture before it (or from the segment's start) and to the one after it both reach
// the spacing.
bool TkoSeekIndex::WantedAt(const TSegmentEntry& entry, int32_t frame, int64_t cost) {
  const auto after = std::upper_bound(entry.Pictures.begin(), entry.Pictures.end(), frame,
                                      [](int32_t f, const TPicture& kept) { return f < kept.Frame; });
  if (after != entry.Pictures.end() && after->Cost - cost < entry.Spacing) return false;
  if (after == entry.Pictures.begin()) return cost >= entry.Spacing;
  const TPicture& latest = *std::prev(after);
  return latest.Frame != frame && cost - latest.Cost >= entry.Spacing;
}

void TkoSeekIndex::Offer(const TSegmentInfo& segment, int32_t frame, int64_t cost, const TkoPictureView& picture) {
  if (picture.IsEmpty() || frame < 0) return;
  TSegmentEntry& entry = Entry(segment);
  // A picture of another size or depth (the display changed): the old ones are of no use.
  if (!entry.Pictures.empty() && (entry.Pictures.front().Width != picture.Width ||
                                  entry.Pictures.front().Height != picture.Height ||
                                  entry.Pictures.front().Depth != picture.Depth)) {
    while (!entry.Pictures.empty()) DropPicture(entry, entry.Pictures.size() - 1);
  }
  if (entry.Spacing == 0) entry.Spacing = std::max<int64_t>(1, kFirstSpacingInPictures * PictureSize(picture));
  entry.CostSeen = std::max(entry.CostSeen, cost);
  if (!WantedAt(entry, frame, cost)) return;

  TPicture kept;
  try {
    if (!Capture(picture, kept)) return;
  } catch (const std::bad_alloc&) {
    return;
  }
  kept.Frame = frame;
  kept.Cost = cost;
  // Making room may widen this segment's spacing: the picture is then only kept if it
  // is still wanted.
  if (!MakeRoom(kept.Size()) || !WantedAt(entry, frame, cost)) return;
  Insert(entry, std::move(kept));
}

void TkoSeekIndex::Insert(TSegmentEntry& entry, TPicture picture) {
  const auto at = std::upper_bound(entry.Pictures.begin(), entry.Pictures.end(), picture.Frame,
                                   [](int32_t f, const TPicture& p) { return f < p.Frame; });
  const size_t bytes = picture.Size();
  entry.Pictures.insert(at, std::move(picture));
  entry.Bytes += bytes;
  FPictureBytes += bytes;
  FPeakPictureBytes = std::max(FPeakPictureBytes, FPictureBytes);
}

bool TkoSeekIndex::Capture(const TkoPictureView& picture, TPicture& kept) {
  TPackedPicture packed;
  if (!PackPicture(picture, FScratch, packed)) return false;
  kept.Width = picture.Width;
  kept.Height = picture.Height;
  kept.Depth = picture.Depth;
  kept.Deflated = packed.Deflated;
  kept.Bytes = std::make_shared<const std::vector<uint8_t>>(std::move(packed.Bytes));
  return true;
}

// Lets pictures of the segment holding the most picture bytes go, one at a time,
// until bytes more fit the budget. Returns false when they cannot fit at all.
bool TkoSeekIndex::MakeRoom(size_t bytes) {
  if (bytes > FBudget) return false;
  while (FPictureBytes + bytes > FBudget) {
    const auto fattest = std::max_element(FSegments.begin(), FSegments.end(), [](const auto& a, const auto& b) {
      return a.second.Bytes < b.second.Bytes;
    });
    if (fattest == FSegments.end() || fattest->second.Bytes == 0) return false;
    DropLeastNeeded(fattest->second);
  }
  return true;
}

// The picture that goes is the one whose neighbours lie closest together (by cost): its
// going lengthens the longest lay the least. The segment's spacing widens with it, to
// three quarters of the gap left, so that new pictures do not crowd in where one just
// went.
void TkoSeekIndex::DropLeastNeeded(TSegmentEntry& entry) {
  size_t least = 0;
  int64_t leastGap = std::numeric_limits<int64_t>::max();
  for (size_t i = 0; i < entry.Pictures.size(); ++i) {
    const int64_t before = i == 0 ? 0 : entry.Pictures[i - 1].Cost;
    const int64_t after = i + 1 < entry.Pictures.size() ? entry.Pictures[i + 1].Cost
                                                         : std::max(entry.CostSeen, entry.Pictures[i].Cost);
    if (after - before < leastGap) {
      leastGap = after - before;
      least = i;
    }
  }
  entry.Spacing = std::max(entry.Spacing, leastGap / 4 * 3);
  DropPicture(entry, least);
}

void TkoSeekIndex::DropPicture(TSegmentEntry& entry, size_t index) {
  const size_t bytes = entry.Pictures[index].Size();
  entry.Pictures.erase(entry.Pictures.begin() + static_cast<ptrdiff_t>(index));
  entry.Bytes -= bytes;
  FPictureBytes -= bytes;
}

// --- Sharing with a second decoder --------------------------------------------------------

TSeekKnowledge TkoSeekIndex::Knowledge(const TSegmentInfo& segment) const {
  const TSegmentEntry* entry = Find(segment);
  if (entry == nullptr) return {};
  return {entry->Offsets, entry->NextOffset, entry->Pictures};
}

void TkoSeekIndex::Learn(const TSegmentInfo& segment, const TSeekKnowledge& knowledge) {
  TSegmentEntry& entry = Entry(segment);
  if (knowledge.Offsets.size() > entry.Offsets.size() && knowledge.Offsets.front() == entry.FirstOffset) {
    entry.Offsets = knowledge.Offsets;
    entry.NextOffset = knowledge.NextOffset;
  }
  for (const TPicture& picture : knowledge.Pictures) {
    const bool kept = std::any_of(entry.Pictures.begin(), entry.Pictures.end(),
                                  [&](const TPicture& own) { return own.Frame == picture.Frame; });
    if (kept || !picture.Bytes) continue;
    if (!MakeRoom(picture.Size())) return;
    entry.CostSeen = std::max(entry.CostSeen, picture.Cost);
    Insert(entry, picture);
  }
}

int32_t TkoSeekIndex::PictureCount() const {
  size_t count = 0;
  for (const auto& [serial, entry] : FSegments) count += entry.Pictures.size();
  return static_cast<int32_t>(count);
}

int32_t TkoSeekIndex::PictureCount(const TSegmentInfo& segment) const {
  const TSegmentEntry* entry = Find(segment);
  return entry == nullptr ? 0 : static_cast<int32_t>(entry->Pictures.size());
}

int64_t TkoSeekIndex::Spacing(const TSegmentInfo& segment) const {
  const TSegmentEntry* entry = Find(segment);
  return entry == nullptr ? 0 : entry->Spacing;
}

std::vector<int32_t> TkoSeekIndex::PictureFrames(const TSegmentInfo& segment) const {
  std::vector<int32_t> frames;
  if (const TSegmentEntry* entry = Find(segment))
    for (const TPicture& kept : entry->Pictures) frames.push_back(kept.Frame);
  return frames;
}
