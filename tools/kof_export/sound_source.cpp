#include "kof_export/sound_source.h"

#include <algorithm>

#include "film/ko_error.h"

namespace {
ff::Input OpenInput(const std::filesystem::path& path) {
  AVFormatContext* context = nullptr;
  ff::Check(avformat_open_input(&context, ff::FileUrl(path).c_str(), nullptr, nullptr), "cannot open the sound");
  ff::Input input(context);
  ff::Check(avformat_find_stream_info(context, nullptr), "cannot read the sound");
  return input;
}
}  // namespace

SoundSource::Shape SoundSource::Describe(const std::filesystem::path& path) {
  try {
    const ff::Input input = OpenInput(path);
    const int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0) return {};
    const AVCodecParameters& sound = *input->streams[stream]->codecpar;
    return {sound.ch_layout.nb_channels, sound.sample_rate};
  } catch (const EkoError&) {
    return {};
  }
}

SoundSource::SoundSource(const std::filesystem::path& path, const SoundFormat& format)
    : FFormat(format), FInput(OpenInput(path)), FPacket(ff::NewPacket()), FFrame(ff::NewFrame()) {
  const AVCodec* codec = nullptr;
  FStream = ff::Check(av_find_best_stream(FInput.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0), "no sound found");
  FDecoder.reset(avcodec_alloc_context3(codec));
  if (FDecoder == nullptr) throw std::bad_alloc();
  ff::Check(avcodec_parameters_to_context(FDecoder.get(), FInput->streams[FStream]->codecpar), "cannot read the sound");
  ff::Check(avcodec_open2(FDecoder.get(), codec, nullptr), "cannot decode the sound");
  FPending.reset(av_audio_fifo_alloc(format.sampleFormat, format.layout.nb_channels, 4096));
  if (FPending == nullptr) throw std::bad_alloc();
}

bool SoundSource::SameFormat(const AVFrame& frame) const {
  return frame.format == FInputFormat && frame.sample_rate == FInputRate &&
         frame.ch_layout.nb_channels == FInputChannels;
}

int32_t SoundSource::Read(AVAudioFifo* out, int32_t count) {
  while (av_audio_fifo_size(FPending.get()) < count && DecodeMore()) {
  }
  const int32_t n = std::min(count, av_audio_fifo_size(FPending.get()));
  if (n == 0) return 0;
  uint8_t** data = nullptr;
  ff::Check(av_samples_alloc_array_and_samples(&data, nullptr, FFormat.layout.nb_channels, n,
                                               FFormat.sampleFormat, 0),
            "out of memory");
  av_audio_fifo_read(FPending.get(), reinterpret_cast<void**>(data), n);
  const int written = av_audio_fifo_write(out, reinterpret_cast<void**>(data), n);
  av_freep(&data[0]);
  av_freep(&data);
  ff::Check(written, "out of memory");
  return n;
}

void SoundSource::Skip(int64_t count) {
  while (count > 0) {
    while (av_audio_fifo_size(FPending.get()) == 0)
      if (!DecodeMore()) return;
    const int n = static_cast<int>(std::min<int64_t>(count, av_audio_fifo_size(FPending.get())));
    av_audio_fifo_drain(FPending.get(), n);
    count -= n;
  }
}

bool SoundSource::DecodeMore() {
  while (!FEnded) {
    const int received = avcodec_receive_frame(FDecoder.get(), FFrame.get());
    if (received >= 0) {
      ConvertFrame(FFrame.get());
      av_frame_unref(FFrame.get());
      return true;
    }
    if (received == AVERROR_EOF) {
      FEnded = true;
      if (FResampler != nullptr) ConvertFrame(nullptr);
      return av_audio_fifo_size(FPending.get()) > 0;
    }
    if (received != AVERROR(EAGAIN)) {
      FEnded = true;  // the decoder gives up: so does the sound
      return av_audio_fifo_size(FPending.get()) > 0;
    }
    if (FInputEnded) {
      avcodec_send_packet(FDecoder.get(), nullptr);
      continue;
    }
    if (av_read_frame(FInput.get(), FPacket.get()) < 0) {
      FInputEnded = true;
      continue;
    }
    // A damaged packet is refused and stepped over.
    if (FPacket->stream_index == FStream) avcodec_send_packet(FDecoder.get(), FPacket.get());
    av_packet_unref(FPacket.get());
  }
  return false;
}

// Resamples a decoded frame (null: what the resampler still holds) into the pending
// samples. The resampler is made for the frame's format, anew when it changes.
void SoundSource::ConvertFrame(const AVFrame* frame) {
  if (frame != nullptr && !SameFormat(*frame)) {
    FResampler.reset();
    FInputFormat = frame->format;
    FInputRate = frame->sample_rate;
    FInputChannels = frame->ch_layout.nb_channels;
  }
  if (FResampler == nullptr) {
    SwrContext* resampler = nullptr;
    // FFmpeg 5 takes the layouts without const; it only reads them.
    ff::Check(swr_alloc_set_opts2(&resampler, &FFormat.layout, FFormat.sampleFormat,
                                  FFormat.sampleRate, const_cast<AVChannelLayout*>(&frame->ch_layout),
                                  static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr),
              "cannot resample the sound");
    FResampler.reset(resampler);
    ff::Check(swr_init(resampler), "cannot resample the sound");
  }
  const int inSamples = frame != nullptr ? frame->nb_samples : 0;
  const int capacity = swr_get_out_samples(FResampler.get(), inSamples);
  if (capacity <= 0) return;
  uint8_t** data = nullptr;
  ff::Check(av_samples_alloc_array_and_samples(&data, nullptr, FFormat.layout.nb_channels, capacity,
                                               FFormat.sampleFormat, 0),
            "out of memory");
  const int converted = swr_convert(FResampler.get(), data, capacity,
                                    frame != nullptr ? const_cast<const uint8_t**>(frame->extended_data) : nullptr,
                                    inSamples);
  if (converted > 0) av_audio_fifo_write(FPending.get(), reinterpret_cast<void**>(data), converted);
  av_freep(&data[0]);
  av_freep(&data);
}
