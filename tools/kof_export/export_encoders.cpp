#include "kof_export/export_encoders.h"

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

// Lossless H.264 of the RGB pictures as they are: quantiser 0 keeps every pixel, and
// a picture that repeats most of the one before costs little (FFV1, which codes every
// picture whole, made files 20 times as large of the same lesson).
void SetLosslessH264Options(AVDictionary** options) {
  av_dict_set(options, "preset", "veryfast", 0);
  av_dict_set(options, "qp", "0", 0);
}

void SetOptions(const std::string& codec, AVDictionary** options) {
  if (codec == "libx264") SetH264Options(options);
  else if (codec == "libvpx-vp9") SetVp9Options(options);
  else if (codec == "libx264rgb") SetLosslessH264Options(options);
}

void TagBt709(AVCodecContext* context) {
  context->color_range = AVCOL_RANGE_MPEG;
  context->colorspace = AVCOL_SPC_BT709;
  context->color_primaries = AVCOL_PRI_BT709;
  context->color_trc = AVCOL_TRC_BT709;
}

int NearestRate(const AVCodec* codec, int rate) {
  if (codec->supported_samplerates == nullptr) return rate;
  int best = codec->supported_samplerates[0];
  for (const int* r = codec->supported_samplerates; *r != 0; ++r)
    if (std::abs(*r - rate) < std::abs(best - rate)) best = *r;
  return best;
}
}  // namespace

ExportCodecs CodecsOf(ExportFormat format, bool lossless) {
  switch (format) {
    case ExportFormat::Mp4: return {"libx264", "aac", AV_PIX_FMT_YUV420P};
    case ExportFormat::WebM: return {"libvpx-vp9", "libopus", AV_PIX_FMT_YUV420P};
    case ExportFormat::Gif: return {"gif", nullptr, AV_PIX_FMT_PAL8};
    case ExportFormat::Mkv:
      return lossless ? ExportCodecs{"libx264rgb", "flac", AV_PIX_FMT_BGR0}
                      : ExportCodecs{"libx264", "aac", AV_PIX_FMT_YUV420P};
  }
  return {"", nullptr, AV_PIX_FMT_NONE};
}

ff::CodecContext OpenVideoEncoder(const ExportCodecs& codecs, const VideoSettings& settings) {
  const AVCodec* codec = FindEncoder(codecs.video);
  ff::CodecContext context = NewContext(codec);
  context->width = settings.width;
  context->height = settings.height;
  context->pix_fmt = codecs.pixels;
  context->time_base = AVRational{1, static_cast<int>(settings.timeScale)};
  context->framerate = AVRational{settings.rate, 1};
  context->gop_size = settings.rate * 10;
  context->thread_count = settings.threads;
  if (settings.globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (codecs.pixels == AV_PIX_FMT_YUV420P) TagBt709(context.get());
  AVDictionary* options = nullptr;
  SetOptions(codecs.video, &options);
  Open(context.get(), codec, options);
  return context;
}

ff::CodecContext OpenSoundEncoder(const ExportCodecs& codecs, int channels, int sampleRate, bool globalHeader) {
  const AVCodec* codec = FindEncoder(codecs.sound);
  ff::CodecContext context = NewContext(codec);
  context->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
  context->sample_rate = NearestRate(codec, sampleRate);
  av_channel_layout_default(&context->ch_layout, channels);
  context->bit_rate = 64000 * channels;  // lossless encoders ignore it
  context->time_base = AVRational{1, context->sample_rate};
  if (globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Open(context.get(), codec, nullptr);
  return context;
}
