#include "film/segment_list.h"

#include <algorithm>
#include <atomic>

#include "film/ko_cursor.h"
#include "film/temp_files.h"

// --- TCursorList --------------------------------------------------------------------

TCursorList::TCursorList() = default;
TCursorList::~TCursorList() = default;

void TCursorList::Clear() { FItems.clear(); }

int32_t TCursorList::Add(std::unique_ptr<TkoCursor> cursor) {
  FItems.push_back(std::move(cursor));
  return Count() - 1;
}

TkoCursor* TCursorList::Item(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(index)].get();
}

// --- TSegmentList -------------------------------------------------------------------

TSegmentList::~TSegmentList() { Clear(); }

uint64_t NewSegmentSerial() {
  // Records are also made off the UI thread (a background reader's own copy).
  static std::atomic<uint64_t> last{0};
  return ++last;
}

TSegmentInfo* TSegmentList::Add() {
  if (Count() == FCapacity) {
    FCapacity += kGrowthStep;
    FItems.reserve(static_cast<size_t>(FCapacity));
  }
  FItems.push_back(std::make_unique<TSegmentInfo>());
  return FItems.back().get();
}

TSegmentInfo* TSegmentList::Get(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(index)].get();
}

void TSegmentList::FreeItem(int32_t index) {
  if (index < 0 || index >= Count()) return;
  std::unique_ptr<TSegmentInfo>& slot = FItems[static_cast<size_t>(index)];
  if (!slot) return;
  // The data file is closed before it is deleted: an open file cannot be deleted on
  // Windows.
  slot->FrameStream.reset();
  slot->Cursors.Clear();
  RemoveTempPath(slot->DataFilePath);
  RemoveTempPath(slot->SoundFilePath);
  slot.reset();
}

void TSegmentList::Clear() {
  for (int32_t i = 0; i < Count(); ++i) FreeItem(i);
  FItems.clear();
  FItems.shrink_to_fit();
  FCapacity = 0;
}

// --- GetSoundType -------------------------------------------------------------------

int32_t GetSoundType(const std::filesystem::path& fileName) {
  // From the last "." of the last component, so ".MP3" alone counts as an extension
  // too (std::filesystem would call it a stem).
  const std::filesystem::path::string_type name = fileName.filename().native();
  const size_t dot = name.rfind('.');
  if (dot == name.npos) return kSoundWave;
  std::string extension;
  for (size_t i = dot; i < name.size(); ++i) {
    const auto c = name[i];
    if (static_cast<unsigned long>(c) > 0x7F) return kSoundWave;
    extension += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  if (extension == ".mp3") return kSoundMp3;
  if (extension == ".mid") return kSoundMidi;
  return kSoundWave;
}
