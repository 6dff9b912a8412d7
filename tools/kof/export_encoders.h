#pragma once
// The encoders kof export uses, opened with their settings: H.264 (libx264) and AAC
// for MP4, VP9 (libvpx) and Opus for WebM, FFmpeg's GIF encoder for GIF.
#include <cstdint>

#include "export_options.h"
#include "ff_holders.h"

struct VideoSettings {
  int32_t width = 0, height = 0;
  int64_t timeScale = 1;  // ticks per second, the encoder's time base
  int32_t rate = 1;       // pictures per second of the first segment
  bool globalHeader = false;
};

// The pixel format the format's video encoder takes: 4:2:0 YUV, or palette indices for GIF.
AVPixelFormat VideoPixelFormat(ExportFormat format);

// An opened video encoder. Pictures of screens are encoded for sharp text; YUV is
// BT.709 in the limited range. Throws EkoError when the library lacks the encoder or
// refuses the settings.
ff::CodecContext OpenVideoEncoder(ExportFormat format, const VideoSettings& settings);

// An opened sound encoder (AAC for MP4, Opus for WebM) for channels (1 or 2) at
// sampleRate, or the nearest rate the encoder takes. Throws EkoError.
ff::CodecContext OpenSoundEncoder(ExportFormat format, int channels, int sampleRate, bool globalHeader);
