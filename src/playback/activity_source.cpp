#include "playback/activity_source.h"

#include <algorithm>
#include <memory>

#include "film/data_file.h"
#include "film/ko_error.h"
#include "film/little_endian.h"
#include "film/segment_list.h"

namespace {
constexpr int32_t kCancelCheck = 256;

std::vector<TkoCursorSample> PointerSamples(const std::vector<uint8_t>& track) {
  std::vector<TkoCursorSample> samples(track.size() / TkoCursorSample::kSize);
  const uint8_t* p = track.data();
  for (TkoCursorSample& sample : samples) {
    sample = {ReadU16LE(p), ReadU16LE(p + 2), ReadU16LE(p + 4)};
    p += TkoCursorSample::kSize;
  }
  return samples;
}

// Reads every record through LoadFrame, the player's own reading, from a record of our
// own that names no data file (so that nothing is deleted with it).
std::string ReadRecords(const TActivitySource& source, std::vector<TkoRecordChange>& changes,
                        const std::atomic<bool>* cancel) {
  if (source.DataFile.empty()) return "the segment has no frame records";
  std::vector<uint8_t> frame(FrameBufferSize(source.Width, source.Height));
  if (frame.empty()) return "the segment has no picture size";
  TSegmentInfo own;
  try {
    own.FrameStream = std::make_unique<TkoFileStream>(source.DataFile, kModeReadShared);
  } catch (const EkoError& error) {
    return error.what();
  }
  if (own.FrameStream->SetPosition(source.FirstFrameOffset) != source.FirstFrameOffset)
    return "the frame records cannot be found";
  for (size_t k = 0; k < changes.size(); ++k) {
    if (k % kCancelCheck == 0 && cancel != nullptr && cancel->load(std::memory_order_relaxed)) return "cancelled";
    const TLoadFrameResult loaded = LoadFrame(&own, frame);
    if (!loaded.Ok) return loaded.Message.empty() ? "a frame record cannot be read" : loaded.Message;
    if (loaded.Damage == TFrameRecordDamage::kTooLarge) continue;
    changes[k] = MeasureFrameRecord(frame, source.Width, source.Height);
  }
  return "";
}
}  // namespace

TActivitySource TActivitySource::Of(const TSegmentInfo& segment, int32_t index) {
  TActivitySource source;
  source.Segment = index;
  source.Width = segment.Width;
  source.Height = segment.Height;
  source.FrameCount = segment.FrameCount;
  source.FramesPerSecond = segment.FramesPerSecond;
  source.SamplesPerFrame = (segment.Flags & 1) != 0 ? 3 : 1;
  source.FirstFrameOffset = segment.FirstFrameOffset;
  if (segment.FrameStream) source.DataFile = segment.DataFilePath;
  const TkoMemoryStream& track = segment.CursorTrack;
  source.CursorTrack.assign(track.Data(), track.Data() + track.Size());
  return source;
}

std::string ReadActivityInput(const TActivitySource& source, TActivityInput& input, const std::atomic<bool>* cancel) {
  input.Segment = source.Segment;
  input.FramesPerSecond = source.FramesPerSecond;
  input.SamplesPerFrame = source.SamplesPerFrame;
  input.Pointer = PointerSamples(source.CursorTrack);
  input.Frames.assign(static_cast<size_t>(std::max(source.FrameCount, 0)), TkoRecordChange{});
  return ReadRecords(source, input.Frames, cancel);
}
