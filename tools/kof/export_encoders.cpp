#include "export_encoders.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <cstdlib>

#include "film/ko_error.h"

namespace {
const AVCodec* FindEncoder(const char* name) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (codec == nullptr) throw EkoError(std::string("this FFmpeg has no ") + name + " encoder");
  return codec;
}

ff::CodecContext NewContext(const AVCodec* codec) {
  ff::CodecContext context(avcodec_alloc_context3(codec));
  if (context == nullptr) throw std::bad_alloc();
  return context;
}

void Open(AVCodecContext* context, const AVCodec* codec, AVDictionary* options) {
  const int opened = avcodec_open2(context, codec, &options);
  av_dict_free(&options);
  ff::Check(opened, std::string("cannot open the ") + codec->name + " encoder");
}

// H.264 for screens: veryfast, tuned for flat areas and sharp edges; a key frame at
// least every 10 s so players can seek.
void SetH264Options(AVDictionary** options) {
  av_dict_set(options, "preset", "veryfast", 0);
  av_dict_set(options, "tune", "stillimage", 0);
  av_dict_set(options, "crf", "20", 0);
  av_dict_set(options, "profile", "high", 0);
}

// VP9 at constant quality, fast enough for long recordings.
void SetVp9Options(AVDictionary** options) {
  av_dict_set(options, "deadline", "good", 0);
  av_dict_set(options, "cpu-used", "5", 0);
  av_dict_set(options, "row-mt", "1", 0);
  av_dict_set(options, "crf", "32", 0);
  av_dict_set(options, "b", "0", 0);
}

int NearestRate(const AVCodec* codec, int rate) {
  if (codec->supported_samplerates == nullptr) return rate;
  int best = codec->supported_samplerates[0];
  for (const int* r = codec->supported_samplerates; *r != 0; ++r)
    if (std::abs(*r - rate) < std::abs(best - rate)) best = *r;
  return best;
}
}  // namespace

AVPixelFormat VideoPixelFormat(ExportFormat format) {
  return format == ExportFormat::Gif ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_YUV420P;
}

ff::CodecContext OpenVideoEncoder(ExportFormat format, const VideoSettings& settings) {
  const char* name = format == ExportFormat::Mp4 ? "libx264" : format == ExportFormat::WebM ? "libvpx-vp9" : "gif";
  const AVCodec* codec = FindEncoder(name);
  ff::CodecContext context = NewContext(codec);
  context->width = settings.width;
  context->height = settings.height;
  context->pix_fmt = VideoPixelFormat(format);
  context->time_base = AVRational{1, static_cast<int>(settings.timeScale)};
  context->framerate = AVRational{settings.rate, 1};
  context->gop_size = settings.rate * 10;
  context->thread_count = 0;  // as many as the machine has
  if (settings.globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  AVDictionary* options = nullptr;
  if (format != ExportFormat::Gif) {
    context->color_range = AVCOL_RANGE_MPEG;
    context->colorspace = AVCOL_SPC_BT709;
    context->color_primaries = AVCOL_PRI_BT709;
    context->color_trc = AVCOL_TRC_BT709;
    format == ExportFormat::Mp4 ? SetH264Options(&options) : SetVp9Options(&options);
  }
  Open(context.get(), codec, options);
  return context;
}

ff::CodecContext OpenSoundEncoder(ExportFormat format, int channels, int sampleRate, bool globalHeader) {
  const AVCodec* codec = FindEncoder(format == ExportFormat::Mp4 ? "aac" : "libopus");
  ff::CodecContext context = NewContext(codec);
  context->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
  context->sample_rate = NearestRate(codec, sampleRate);
  av_channel_layout_default(&context->ch_layout, channels);
  context->bit_rate = 64000 * channels;
  context->time_base = AVRational{1, context->sample_rate};
  if (globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Open(context.get(), codec, nullptr);
  return context;
}
