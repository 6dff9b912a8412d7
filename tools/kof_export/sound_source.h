#pragma once
// One segment's MP3, decoded and resampled to a sample format, channel layout and
// rate (the sound encoder's, or what the level meter takes), read a stretch at a time.
#include <cstdint>
#include <filesystem>

#include "kof_export/ff_holders.h"

// The samples a SoundSource delivers. The layout is taken as it is, not copied: its
// owner (the encoder) outlives the source.
struct SoundFormat {
  AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
  AVChannelLayout layout{};
  int sampleRate = 0;

  static SoundFormat Of(const AVCodecContext& encoder) {
    return {encoder.sample_fmt, encoder.ch_layout, encoder.sample_rate};
  }
};

class SoundSource {
public:
  // Opens the file for the format. Throws EkoError when it cannot be opened or holds
  // no sound that can be decoded.
  SoundSource(const std::filesystem::path& path, const SoundFormat& format);

  // Appends up to count samples to out; fewer only at the end of the sound. Damaged
  // frames are stepped over. Returns how many were appended. Throws EkoError when
  // memory runs out.
  int32_t Read(AVAudioFifo* out, int32_t count);
  // Drops up to count samples from the start.
  void Skip(int64_t count);

  struct Shape {
    int channels = 0;  // 0 when the file holds no sound that can be read
    int sampleRate = 0;
  };
  // The channels and rate of the file's sound.
  static Shape Describe(const std::filesystem::path& path);

private:
  // Decodes at least one more frame into the pending samples; false at the end.
  bool DecodeMore();
  void ConvertFrame(const AVFrame* frame);
  bool SameFormat(const AVFrame& frame) const;

  SoundFormat FFormat;
  ff::Input FInput;
  ff::CodecContext FDecoder;
  ff::Resampler FResampler;
  ff::AudioFifo FPending;
  ff::Packet FPacket;
  ff::Frame FFrame;
  int FStream = -1;
  int FInputFormat = -1, FInputRate = 0, FInputChannels = 0;
  bool FInputEnded = false;
  bool FEnded = false;
};
