#include "kof_export/sound_levels_ff.h"

#include <vector>

#include "film/ko_error.h"
#include "kof_export/sound_source.h"

namespace {
constexpr int32_t kChunk = 4096;
}  // namespace

TSoundLevels ReadSoundLevels(const std::filesystem::path& path, int32_t windowMilliseconds) {
  const SoundSource::Shape shape = SoundSource::Describe(path);
  if (shape.channels <= 0 || shape.sampleRate <= 0) throw EkoError("no sound that can be decoded");
  // The file's own channels and rate, as floats side by side: nothing is mixed away.
  SoundFormat format;
  format.sampleFormat = AV_SAMPLE_FMT_FLT;
  av_channel_layout_default(&format.layout, shape.channels);
  format.sampleRate = shape.sampleRate;
  SoundSource source(path, format);
  ff::AudioFifo decoded(av_audio_fifo_alloc(format.sampleFormat, shape.channels, kChunk));
  if (decoded == nullptr) throw std::bad_alloc();
  TSoundLevelMeter meter(shape.sampleRate, shape.channels, windowMilliseconds);
  std::vector<float> samples(size_t{kChunk} * size_t(shape.channels));
  while (source.Read(decoded.get(), kChunk) > 0) {
    void* data[] = {samples.data()};
    const int got = av_audio_fifo_read(decoded.get(), data, kChunk);
    meter.Add(samples.data(), got);
  }
  return meter.Finish();
}
