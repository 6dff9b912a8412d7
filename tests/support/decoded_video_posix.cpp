#include "support/decoded_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {
template <typename T, void (*Free)(T**)>
struct Freer {
  void operator()(T* p) const { Free(&p); }
};
using Input = std::unique_ptr<AVFormatContext, Freer<AVFormatContext, avformat_close_input>>;
using Codec = std::unique_ptr<AVCodecContext, Freer<AVCodecContext, avcodec_free_context>>;
using Frame = std::unique_ptr<AVFrame, Freer<AVFrame, av_frame_free>>;
using Packet = std::unique_ptr<AVPacket, Freer<AVPacket, av_packet_free>>;
using Resampler = std::unique_ptr<SwrContext, Freer<SwrContext, swr_free>>;
struct ScalerFree {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

Codec OpenDecoder(const AVStream& stream) {
  const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
  Require(codec != nullptr, "no decoder");
  Codec context(avcodec_alloc_context3(codec));
  Require(avcodec_parameters_to_context(context.get(), stream.codecpar) >= 0, "bad stream parameters");
  Require(avcodec_open2(context.get(), codec, nullptr) >= 0, "cannot open the decoder");
  return context;
}

// RGB from any decoded picture, YUV read by its own matrix and range.
filmwriter::Picture ToPicture(const AVFrame& frame) {
  std::unique_ptr<SwsContext, ScalerFree> scaler(
      sws_getContext(frame.width, frame.height, AVPixelFormat(frame.format), frame.width, frame.height,
                     AV_PIX_FMT_RGB24, SWS_POINT | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr));
  Require(scaler != nullptr, "cannot convert a picture");
  const int matrix = frame.colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
  sws_setColorspaceDetails(scaler.get(), sws_getCoefficients(matrix), frame.color_range == AVCOL_RANGE_JPEG,
                           sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
  std::vector<uint8_t> rgb(size_t(frame.width) * size_t(frame.height) * 3);
  uint8_t* to[] = {rgb.data()};
  const int toStride[] = {frame.width * 3};
  sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, to, toStride);
  filmwriter::Picture picture = filmwriter::Picture::Filled(frame.width, frame.height, 0);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
  return picture;
}

struct SoundDecoder {
  Resampler resampler;
  double timeBase = 0;
  long long next = -1;  // where the samples decoded so far end

  void Add(const AVFrame& frame, DecodedVideo& video) {
    if (resampler == nullptr) {
      SwrContext* made = nullptr;
      AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
      swr_alloc_set_opts2(&made, &mono, AV_SAMPLE_FMT_FLT, frame.sample_rate,
                          const_cast<AVChannelLayout*>(&frame.ch_layout), AVSampleFormat(frame.format),
                          frame.sample_rate, 0, nullptr);
      resampler.reset(made);
      Require(made != nullptr && swr_init(made) >= 0, "cannot resample");
      video.sampleRate = frame.sample_rate;
    }
    std::vector<float> samples(size_t(frame.nb_samples) + 64);
    uint8_t* to[] = {reinterpret_cast<uint8_t*>(samples.data())};
    const int n = swr_convert(resampler.get(), to, int(samples.size()),
                              const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
    const double at = frame.pts == AV_NOPTS_VALUE ? 0 : double(frame.pts) * timeBase;
    long long first = std::llround(at * video.sampleRate);
    // Within 2 ms of where the last frame ended, it follows on, as players take it:
    // Matroska rounds each frame's time to a millisecond.
    if (next >= 0 && std::llabs(first - next) <= video.sampleRate / 500) first = next;
    next = first + n;
    for (int i = 0; i < n; ++i) {
      if (first + i < 0) continue;
      if (size_t(first + i) >= video.sound.size()) video.sound.resize(size_t(first + i) + 1);
      video.sound[size_t(first + i)] = samples[size_t(i)];
    }
  }
};
}  // namespace

DecodedVideo DecodeVideo(const std::filesystem::path& path) {
  av_log_set_level(AV_LOG_ERROR);
  AVFormatContext* opened = nullptr;
  Require(avformat_open_input(&opened, path.c_str(), nullptr, nullptr) >= 0, "cannot open the video");
  Input input(opened);
  Require(avformat_find_stream_info(opened, nullptr) >= 0, "cannot read the video");
  DecodedVideo video;
  const int videoIndex = av_find_best_stream(opened, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  const int soundIndex = av_find_best_stream(opened, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  Require(videoIndex >= 0 || soundIndex >= 0, "no stream");
  if (const AVDictionaryEntry* title = av_dict_get(opened->metadata, "title", nullptr, 0)) video.title = title->value;
  if (const AVDictionaryEntry* comment = av_dict_get(opened->metadata, "comment", nullptr, 0))
    video.comment = comment->value;
  for (unsigned i = 0; i < opened->nb_chapters; ++i) {
    const AVChapter& c = *opened->chapters[i];
    const AVDictionaryEntry* title = av_dict_get(c.metadata, "title", nullptr, 0);
    video.chapters.push_back({title ? title->value : "", double(c.start) * av_q2d(c.time_base),
                              double(c.end) * av_q2d(c.time_base)});
  }
  Codec pictures;
  AVRational videoTimeBase{1, 1};
  if (videoIndex >= 0) {
    const AVStream& videoStream = *opened->streams[videoIndex];
    pictures = OpenDecoder(videoStream);
    video.videoCodec = avcodec_get_name(videoStream.codecpar->codec_id);
    video.width = videoStream.codecpar->width;
    video.height = videoStream.codecpar->height;
    videoTimeBase = videoStream.time_base;
    video.duration = videoStream.duration == AV_NOPTS_VALUE ? double(opened->duration) / AV_TIME_BASE
                                                            : double(videoStream.duration) * av_q2d(videoTimeBase);
  }
  Codec sounds;
  SoundDecoder sound;
  if (soundIndex >= 0) {
    sounds = OpenDecoder(*opened->streams[soundIndex]);
    video.soundCodec = avcodec_get_name(opened->streams[soundIndex]->codecpar->codec_id);
    sound.timeBase = av_q2d(opened->streams[soundIndex]->time_base);
  }
  Packet packet(av_packet_alloc());
  Frame frame(av_frame_alloc());
  const auto drain = [&](AVCodecContext* codec, bool isVideo) {
    while (avcodec_receive_frame(codec, frame.get()) >= 0) {
      if (isVideo) {
        video.pictures.push_back(ToPicture(*frame));
        video.times.push_back(double(frame->best_effort_timestamp) * av_q2d(videoTimeBase));
      } else {
        sound.Add(*frame, video);
      }
      av_frame_unref(frame.get());
    }
  };
  while (av_read_frame(opened, packet.get()) >= 0) {
    const bool isVideo = videoIndex >= 0 && packet->stream_index == videoIndex;
    AVCodecContext* codec = isVideo ? pictures.get() : packet->stream_index == soundIndex ? sounds.get() : nullptr;
    if (codec != nullptr && avcodec_send_packet(codec, packet.get()) >= 0) drain(codec, isVideo);
    av_packet_unref(packet.get());
  }
  if (pictures) {
    avcodec_send_packet(pictures.get(), nullptr);
    drain(pictures.get(), true);
  }
  if (sounds) {
    avcodec_send_packet(sounds.get(), nullptr);
    drain(sounds.get(), false);
  }
  return video;
}

double Psnr(const filmwriter::Picture& a, const filmwriter::Picture& b) {
  double squares = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8) {
      const double d = double((a.pixels[i] >> shift) & 0xFF) - double((b.pixels[i] >> shift) & 0xFF);
      squares += d * d;
    }
  if (squares == 0) return std::numeric_limits<double>::infinity();
  return 10 * std::log10(255.0 * 255.0 * 3 * double(a.pixels.size()) / squares);
}

double Loudness(const DecodedVideo& video, double from, double to) {
  const size_t first = size_t(std::max(0.0, from * video.sampleRate));
  const size_t end = std::min(video.sound.size(), size_t(std::max(0.0, to * video.sampleRate)));
  double sum = 0;
  for (size_t i = first; i < end; ++i) sum += double(video.sound[i]) * video.sound[i];
  return end > first ? std::sqrt(sum / double(end - first)) : 0;
}

double SoundOnset(const DecodedVideo& video, double from, float threshold) {
  for (size_t i = size_t(std::max(0.0, from * video.sampleRate)); i < video.sound.size(); ++i)
    if (std::fabs(video.sound[i]) > threshold) return double(i) / video.sampleRate;
  return -1;
}
