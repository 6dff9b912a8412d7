#include "kof_export/sound_track.h"

#include <algorithm>

#include "film/ko_error.h"

namespace {
constexpr int32_t kSilenceChunk = 4096;

ff::Frame SoundFrame(const AVCodecContext& codec, int32_t samples) {
  ff::Frame frame = ff::NewFrame();
  frame->format = codec.sample_fmt;
  frame->sample_rate = codec.sample_rate;
  frame->nb_samples = samples;
  ff::Check(av_channel_layout_copy(&frame->ch_layout, &codec.ch_layout), "out of memory");
  ff::Check(av_frame_get_buffer(frame.get(), 0), "out of memory");
  return frame;
}
}  // namespace

SoundTrack::SoundTrack(StreamEncoder& encoder)
    : FEncoder(encoder), FWaiting(av_audio_fifo_alloc(encoder.Codec()->sample_fmt,
                                                      encoder.Codec()->ch_layout.nb_channels, kSilenceChunk)),
      FSilence(SoundFrame(*encoder.Codec(), kSilenceChunk)),
      FFrameSize(encoder.Codec()->frame_size > 0 ? encoder.Codec()->frame_size : 1024) {
  if (FWaiting == nullptr) throw std::bad_alloc();
  av_samples_set_silence(FSilence->extended_data, 0, kSilenceChunk, FSilence->ch_layout.nb_channels,
                         static_cast<AVSampleFormat>(FSilence->format));
}

std::string SoundTrack::BeginSegment(const std::filesystem::path& mp3, int64_t offset) {
  FSource.reset();
  if (mp3.empty()) return "";
  try {
    FSource.emplace(mp3, SoundFormat::Of(*FEncoder.Codec()));
    FSource->Skip(offset);
  } catch (const EkoError& error) {
    FSource.reset();
    return error.what();
  }
  return "";
}

void SoundTrack::SkipSource(int64_t count) {
  if (FSource) FSource->Skip(count);
}

void SoundTrack::FillTo(int64_t end) {
  int64_t missing = end - FFilled;
  while (FSource && missing > 0) {
    const int32_t want = static_cast<int32_t>(std::min<int64_t>(missing, kSilenceChunk));
    const int32_t got = FSource->Read(FWaiting.get(), want);
    missing -= got;
    if (got < want) FSource.reset();  // the sound is shorter than its segment
  }
  AppendSilence(missing);
  FFilled = std::max(FFilled, end);
  EncodeFrames(false);
}

void SoundTrack::Finish() {
  EncodeFrames(true);
  FEncoder.Flush();
}

void SoundTrack::AppendSilence(int64_t count) {
  while (count > 0) {
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(count, kSilenceChunk));
    ff::Check(av_audio_fifo_write(FWaiting.get(), reinterpret_cast<void**>(FSilence->extended_data), n),
              "out of memory");
    count -= n;
  }
}

// Whole frames of the encoder's size; at the end also the rest, in a shorter frame
// where the encoder takes one, else padded with silence.
void SoundTrack::EncodeFrames(bool toTheEnd) {
  const AVCodecContext& codec = *FEncoder.Codec();
  const bool shortLast = (codec.codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
  for (;;) {
    const int32_t waiting = av_audio_fifo_size(FWaiting.get());
    if (waiting == 0 || (waiting < FFrameSize && !toTheEnd)) return;
    if (waiting < FFrameSize && !shortLast) AppendSilence(FFrameSize - waiting);
    const int32_t n = std::min(FFrameSize, av_audio_fifo_size(FWaiting.get()));
    ff::Frame frame = SoundFrame(codec, n);
    av_audio_fifo_read(FWaiting.get(), reinterpret_cast<void**>(frame->extended_data), n);
    frame->pts = FEncoded;
    FEncoded += n;
    FEncoder.Encode(frame.get(), 0);
  }
}
