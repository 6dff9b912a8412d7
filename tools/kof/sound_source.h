#pragma once
// One segment's MP3, decoded and resampled to the sound encoder's sample format,
// channel layout and rate, read a stretch at a time.
#include <cstdint>
#include <filesystem>

#include "ff_holders.h"

class SoundSource {
public:
  // Opens the file for the encoder's format. Throws EkoError when it cannot be opened
  // or holds no sound that can be decoded.
  SoundSource(const std::filesystem::path& path, const AVCodecContext& encoder);

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

  const AVCodecContext& FEncoder;
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
