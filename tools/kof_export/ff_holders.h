#pragma once
// Owners for FFmpeg's contexts: each releases its object with the library's own free
// function when it goes out of scope.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <filesystem>
#include <memory>
#include <string>

namespace ff {

struct CodecContextFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct InputFree {
  void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct ScalerFree {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct ResamplerFree {
  void operator()(SwrContext* s) const { swr_free(&s); }
};
struct FilterGraphFree {
  void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
struct AudioFifoFree {
  void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using CodecContext = std::unique_ptr<AVCodecContext, CodecContextFree>;
using Frame = std::unique_ptr<AVFrame, FrameFree>;
using Packet = std::unique_ptr<AVPacket, PacketFree>;
using Input = std::unique_ptr<AVFormatContext, InputFree>;
using Scaler = std::unique_ptr<SwsContext, ScalerFree>;
using Resampler = std::unique_ptr<SwrContext, ResamplerFree>;
using FilterGraph = std::unique_ptr<AVFilterGraph, FilterGraphFree>;
using AudioFifo = std::unique_ptr<AVAudioFifo, AudioFifoFree>;

// The library's text for an error code.
std::string ErrorText(int code);
// Returns code when it is not negative; throws EkoError("what: text") when it is.
int Check(int code, const std::string& what);
// The path as FFmpeg must be given it: "file:" first, so that a relative path whose first
// part holds a colon ("lessons:2024/a.mp4") is not taken for a protocol's name. Every
// path FFmpeg opens goes through it, also those it opens again by the name it was
// given (MP4's index moved to the front).
std::string FileUrl(const std::filesystem::path& path);
// A new frame, packet, ... Throws std::bad_alloc when the library has no memory.
Frame NewFrame();
Packet NewPacket();
// A frame of the format and size with its own buffer. Throws EkoError when it cannot be had.
Frame NewVideoFrame(AVPixelFormat format, int width, int height);

}  // namespace ff
