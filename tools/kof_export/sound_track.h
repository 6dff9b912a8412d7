#pragma once
// The video's sound track: each segment's MP3 from the segment's first exported
// picture, cut where the segment ends in the video or followed by silence until then;
// silence for segments without sound. The track is built up to the end of each
// picture as it is encoded, so sound and pictures are written side by side and stay
// in step over any length: every position is worked out from the video's own time.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "kof_export/media_output.h"
#include "kof_export/sound_source.h"

class SoundTrack {
public:
  // encoder must outlive this.
  explicit SoundTrack(StreamEncoder& encoder);

  int SampleRate() const { return FEncoder.Codec()->sample_rate; }
  // From here on the track plays mp3 (nothing: silence), from sample offset of it on.
  // Returns "" or why the file cannot be played (it is then silence).
  std::string BeginSegment(const std::filesystem::path& mp3, int64_t offset);
  // Steps over count samples of the segment's sound, as where its pictures are cut.
  void SkipSource(int64_t count);
  // Fills the track up to sample end, counted from the start of the video, and
  // encodes what makes whole frames. Throws EkoError.
  void FillTo(int64_t end);
  // Encodes the rest and drains the encoder. Throws EkoError.
  void Finish();

private:
  void AppendSilence(int64_t count);
  void EncodeFrames(bool toTheEnd);

  StreamEncoder& FEncoder;
  std::optional<SoundSource> FSource;
  ff::AudioFifo FWaiting;  // filled, not yet encoded
  ff::Frame FSilence;
  int32_t FFrameSize;
  int64_t FFilled = 0;
  int64_t FEncoded = 0;
};
