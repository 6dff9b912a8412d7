#include "web/web_activity.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

#include "film/json_writer.h"
#include "film/segment_list.h"
#include "playback/activity_level.h"
#include "playback/ko_picture.h"
#include "web/mp3_length.h"

namespace {
// The MP3's own rate, from the headers at its start, so that the page decodes it
// without resampling; 0 when they cannot be read.
constexpr size_t kHeaderBytes = 64 * 1024;

int32_t Mp3Rate(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> start(kHeaderBytes);
  file.read(reinterpret_cast<char*>(start.data()), std::streamsize(start.size()));
  const auto length = ReadMp3Length(start.data(), size_t(file.gcount()));
  return length ? length->SampleRate : 0;
}
}  // namespace

std::string ActivityJson(const TSegmentActivity& activity, int64_t screenPixels) {
  TJsonWriter json;
  json.BeginObject().Key("segment").Number(activity.Segment).Key("seconds").Real(activity.Seconds);
  json.Key("slices").BeginArray();
  for (const TActivitySlice& slice : activity.Slices)
    json.BeginArray().Real(slice.From).Real(slice.To).Real(SliceLevel(slice, screenPixels)).EndArray();
  json.EndArray().Key("idle").BeginArray();
  for (const TIdleStretch& idle : activity.Idle) json.BeginArray().Real(idle.From).Real(idle.To).EndArray();
  return json.EndArray().EndObject().Text();
}

std::string TWebActivity::Begin(const TSegmentList& segments, int32_t index) {
  FSource.reset();
  FMeter.reset();
  FSoundExpected = false;
  TJsonWriter json;
  if (index < 0 || index >= segments.Count()) return json.BeginObject().Key("done").Bool(true).EndObject().Text();
  json.BeginObject().Key("segment").Number(index);
  const TSegmentInfo* segment = segments.Get(index);
  if (segment == nullptr || !segment->Playable() || !IsDrawableDepth(segment->BitsPerPixel))
    return json.Key("skip").Bool(true).EndObject().Text();
  FSource = TActivitySource::Of(*segment, index);
  const bool mp3 = !segment->SoundFilePath.empty() && GetSoundType(segment->SoundFilePath) == kSoundMp3;
  FSoundExpected = mp3;
  json.Key("sound").String(mp3 ? segment->SoundFilePath.string() : "");
  return json.Key("rate").Number(mp3 ? Mp3Rate(segment->SoundFilePath) : 0).EndObject().Text();
}

void TWebActivity::BeginSound(int32_t rate, int32_t channels) { FMeter.emplace(rate, channels); }

void TWebActivity::AddSound(const float* samples, int64_t frames) {
  if (FMeter) FMeter->Add(samples, frames);
}

std::string TWebActivity::Finish() {
  if (!FSource) return "";
  TActivityInput input;
  // What cannot be read counts as unchanged, as the player stops there.
  ReadActivityInput(*FSource, input);
  if (FMeter) input.Sound = FMeter->Finish();
  input.SoundUnknown = FSoundExpected && !FMeter;
  const TSegmentActivity activity = ComputeActivity(input);
  FIdle = activity.Idle;
  FSegment = FSource->Segment;
  const int64_t pixels = int64_t(FSource->Width) * FSource->Height;
  FSource.reset();
  FMeter.reset();
  return ActivityJson(activity, pixels);
}
