#pragma once
// The encoders kof export uses, opened with their settings: H.264 (libx264) and AAC
// for MP4 and MKV, VP9 (libvpx) and Opus for WebM, FFmpeg's GIF encoder for GIF, and
// for a lossless MKV H.264 in RGB without loss (libx264rgb) and FLAC.
#include <cstdint>

#include "kof_export/export_options.h"
#include "kof_export/ff_holders.h"

struct ExportCodecs {
  const char* video;
  const char* sound;  // nullptr: the format carries no sound
  AVPixelFormat pixels;  // what the video encoder takes
};

// The codecs the format is written with.
ExportCodecs CodecsOf(ExportFormat format, bool lossless);

struct VideoSettings {
  int32_t width = 0, height = 0;
  int64_t timeScale = 1;  // ticks per second, the encoder's time base
  int32_t rate = 1;       // pictures per second of the first segment
  bool globalHeader = false;
  int32_t threads = 0;    // 0: as many as the machine has
};

// An opened video encoder. Pictures of screens are encoded for sharp text; YUV is
// BT.709 in the limited range. Throws EkoError when the library lacks the encoder or
// refuses the settings.
ff::CodecContext OpenVideoEncoder(const ExportCodecs& codecs, const VideoSettings& settings);

// An opened sound encoder for channels (1 or 2) at sampleRate, or the nearest rate the
// encoder takes. Throws EkoError.
ff::CodecContext OpenSoundEncoder(const ExportCodecs& codecs, int channels, int sampleRate, bool globalHeader);
