#include "platform/acm_sound_levels_win.h"

#include <windows.h>
// After windows.h, which leaves out the multimedia types the ACM headers build on.
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "playback/mp3_format.h"

namespace {
constexpr size_t kSourceBytes = 64 * 1024;
constexpr size_t kHeaderProbeBytes = 64 * 1024;  // an ID3v2 tag and the first header
constexpr WORD kPcmBytesPerSample = 2;
// The decoder's delay in samples, as Windows' own MP3 decoder states it for every rate.
constexpr WORD kCodecDelay = 1393;

// An open ACM conversion stream, closed with the holder.
class TAcmStream {
public:
  TAcmStream(WAVEFORMATEX* source, WAVEFORMATEX* target) {
    if (acmStreamOpen(&FStream, nullptr, source, target, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0)
      FStream = nullptr;
  }
  ~TAcmStream() {
    if (FStream != nullptr) acmStreamClose(FStream, 0);
  }
  TAcmStream(const TAcmStream&) = delete;
  TAcmStream& operator=(const TAcmStream&) = delete;
  HACMSTREAM Get() const { return FStream; }

private:
  HACMSTREAM FStream = nullptr;
};

// A stream header prepared on buffers of these sizes, unprepared with the holder.
class TPreparedHeader {
public:
  TPreparedHeader(HACMSTREAM stream, std::vector<BYTE>& source, std::vector<BYTE>& target) : FStream(stream) {
    FHeader.cbStruct = sizeof(FHeader);
    FHeader.pbSrc = source.data();
    FHeader.cbSrcLength = static_cast<DWORD>(source.size());
    FHeader.pbDst = target.data();
    FHeader.cbDstLength = static_cast<DWORD>(target.size());
    FSourceSize = FHeader.cbSrcLength;
    FPrepared = acmStreamPrepareHeader(stream, &FHeader, 0) == 0;
  }
  ~TPreparedHeader() {
    if (!FPrepared) return;
    FHeader.cbSrcLength = FSourceSize;  // unprepared with the sizes it was prepared with
    acmStreamUnprepareHeader(FStream, &FHeader, 0);
  }
  TPreparedHeader(const TPreparedHeader&) = delete;
  TPreparedHeader& operator=(const TPreparedHeader&) = delete;
  bool Prepared() const { return FPrepared; }
  ACMSTREAMHEADER& Header() { return FHeader; }

private:
  HACMSTREAM FStream;
  ACMSTREAMHEADER FHeader{};
  DWORD FSourceSize = 0;
  bool FPrepared = false;
};

MPEGLAYER3WAVEFORMAT SourceFormat(const TMp3Format& format) {
  MPEGLAYER3WAVEFORMAT mp3{};
  mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3.wfx.nChannels = static_cast<WORD>(format.Channels);
  mp3.wfx.nSamplesPerSec = static_cast<DWORD>(format.SampleRate);
  mp3.wfx.nAvgBytesPerSec = static_cast<DWORD>(format.BitRate / 8);
  mp3.wfx.nBlockAlign = 1;
  mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3.wID = MPEGLAYER3_ID_MPEG;
  mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
  mp3.nBlockSize = static_cast<WORD>(format.FrameBytes);
  mp3.nFramesPerBlock = 1;
  mp3.nCodecDelay = kCodecDelay;
  return mp3;
}

WAVEFORMATEX TargetFormat(const TMp3Format& format) {
  WAVEFORMATEX pcm{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  pcm.nChannels = static_cast<WORD>(format.Channels);
  pcm.nSamplesPerSec = static_cast<DWORD>(format.SampleRate);
  pcm.nBlockAlign = static_cast<WORD>(format.Channels * kPcmBytesPerSample);
  pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;
  pcm.wBitsPerSample = 16;
  return pcm;
}

// Feeds 16-bit samples to the meter as -1.0 .. 1.0.
void Measure(TSoundLevelMeter& meter, const BYTE* pcm, DWORD bytes, int32_t channels, std::vector<float>& scratch) {
  const size_t values = bytes / kPcmBytesPerSample;
  scratch.resize(values);
  for (size_t i = 0; i < values; ++i) {
    int16_t sample;
    std::memcpy(&sample, pcm + i * kPcmBytesPerSample, sizeof sample);
    scratch[i] = static_cast<float>(sample) / 32768.0f;
  }
  meter.Add(scratch.data(), static_cast<int64_t>(values / static_cast<size_t>(channels)));
}

// Converts the file from the first frame on, piece by piece; false when ACM fails.
bool Convert(std::ifstream& file, HACMSTREAM stream, const TMp3Format& format, TSoundLevelMeter& meter,
             int64_t& pcmBytes) {
  std::vector<BYTE> source(kSourceBytes);
  DWORD targetSize = 0;
  if (acmStreamSize(stream, kSourceBytes, &targetSize, ACM_STREAMSIZEF_SOURCE) != 0 || targetSize == 0) return false;
  std::vector<BYTE> target(targetSize);
  TPreparedHeader prepared(stream, source, target);
  if (!prepared.Prepared()) return false;
  ACMSTREAMHEADER& header = prepared.Header();
  std::vector<float> scratch;
  size_t held = 0;  // bytes of source the decoder left for the next piece
  DWORD flags = ACM_STREAMCONVERTF_START;
  bool ended = false;
  while (!ended) {
    file.read(reinterpret_cast<char*>(source.data() + held), static_cast<std::streamsize>(source.size() - held));
    held += static_cast<size_t>(file.gcount());
    ended = file.eof() || held < source.size();
    header.cbSrcLength = static_cast<DWORD>(held);
    flags |= ended ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN;
    if (acmStreamConvert(stream, &header, flags) != 0) return false;
    flags = 0;
    pcmBytes += header.cbDstLengthUsed;
    Measure(meter, target.data(), header.cbDstLengthUsed, format.Channels, scratch);
    const size_t used = header.cbSrcLengthUsed;
    if (used == 0 && !ended && held == source.size()) return false;  // a piece it cannot take at all
    std::memmove(source.data(), source.data() + used, held - used);
    held -= used;
  }
  return true;
}
}  // namespace

std::optional<TSoundLevels> DecodeMp3Levels(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> probe(kHeaderProbeBytes);
  in.read(reinterpret_cast<char*>(probe.data()), static_cast<std::streamsize>(probe.size()));
  const auto format = ReadMp3Format(probe.data(), static_cast<size_t>(in.gcount()));
  if (!format) return std::nullopt;
  in.clear();
  in.seekg(static_cast<std::streamoff>(format->AudioStart));
  MPEGLAYER3WAVEFORMAT source = SourceFormat(*format);
  WAVEFORMATEX target = TargetFormat(*format);
  const TAcmStream stream(&source.wfx, &target);
  if (stream.Get() == nullptr) return std::nullopt;
  TSoundLevelMeter meter(format->SampleRate, format->Channels);
  int64_t pcmBytes = 0;
  if (!Convert(in, stream.Get(), *format, meter, pcmBytes) || pcmBytes == 0) return std::nullopt;
  return meter.Finish();
}
