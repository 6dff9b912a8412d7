// The web player's arithmetic: MP3 lengths from frame headers, the sound's clock and
// the region of the picture that changed.
#include <gtest/gtest.h>

#include "demo/mp3_encoder.h"
#include "web/mp3_length.h"
#include "web/picture_rgba.h"
#include "web/sound_clock.h"
#include "writer/mp3_silence.h"

using filmwriter::Bytes;

namespace {
// One frame header: MPEG version bits (3: 1, 2: 2, 0: 2.5), layer bits (1: III, 3: I),
// bit-rate and rate indexes, padding; the body is zeros.
Bytes Frame(int version, int layer, int bitRate, int rate, int padding, size_t bytes) {
  Bytes frame(bytes, 0);
  frame[0] = 0xFF;
  frame[1] = uint8_t(0xE0 | version << 3 | layer << 1 | 1);
  frame[2] = uint8_t(bitRate << 4 | rate << 2 | padding << 1);
  return frame;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
}  // namespace

TEST(Mp3Length, FramesAreCountedByTheirHeadersBehindAnId3Tag) {
  const Bytes id3 = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 5, 1, 2, 3, 4, 5};
  // MPEG 1 layer III, 128 kbit/s at 44.1 kHz: 417 bytes, 418 with padding.
  const Bytes mpeg1 = Frame(3, 1, 9, 0, 0, 417), padded = Frame(3, 1, 9, 0, 1, 418);
  // MPEG 2 layer III, 64 kbit/s at 22.05 kHz: 72 x 64000 / 22050 = 208 bytes, 576 samples.
  const Bytes mpeg2 = Frame(2, 1, 8, 0, 0, 208);
  // MPEG 1 layer I, 32 kbit/s at 32 kHz: 12 x 32000 / 32000 x 4 = 48 bytes, 384 samples;
  // at 44.1 kHz 8 whole 4-byte slots, 9 with padding.
  const Bytes layer1 = Frame(3, 3, 1, 2, 0, 48);
  const Bytes layer1At44 = Frame(3, 3, 1, 0, 0, 32), padded1 = Frame(3, 3, 1, 0, 1, 36);
  // Layer II, 1152 samples also in MPEG 2: MPEG 1 at 160 kbit/s 144 x 160000 / 44100 =
  // 522 bytes; MPEG 2 at 64 kbit/s and 22.05 kHz 417.
  const Bytes layer2 = Frame(3, 2, 9, 0, 0, 522), mpeg2Layer2 = Frame(2, 2, 8, 0, 0, 417);
  // MPEG 2.5 layer III, 64 kbit/s at 11.025 kHz: 72 x 64000 / 11025 = 417 bytes, 418 padded.
  const Bytes mpeg25 = Frame(0, 1, 8, 0, 0, 417), padded25 = Frame(0, 1, 8, 0, 1, 418);
  // An ID3 tag with a footer (flag 0x10): 10 + 5 + 10 bytes.
  Bytes id3Footer = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 5, 1, 2, 3, 4, 5, '3', 'D', 'I', 4, 0, 0x10, 0, 0, 0, 5};
  const struct {
    const char* name;
    Bytes bytes;
    int32_t rate;
    int64_t samples;
  } cases[] = {
      {"silence", filmwriter::SilentMp3(3000), 48000, 125 * 1152},
      {"padding and an ID3 tag", Join({id3, mpeg1, padded, mpeg1}), 44100, 3 * 1152},
      {"cut short in the last frame", Join({mpeg1, Bytes(padded.begin(), padded.begin() + 100)}), 44100, 2 * 1152},
      {"an ID3v1 tag behind", Join({mpeg1, {'T', 'A', 'G', 0, 0, 0}}), 44100, 1152},
      {"MPEG 2", Join({mpeg2, mpeg2}), 22050, 2 * 576},
      {"layer I", Join({layer1, layer1, layer1}), 32000, 3 * 384},
      {"layer I with padding", Join({padded1, layer1At44, padded1, layer1At44}), 44100, 4 * 384},
      {"layer II", Join({layer2, layer2}), 44100, 2 * 1152},
      {"MPEG 2 layer II", Join({mpeg2Layer2, mpeg2Layer2}), 22050, 2 * 1152},
      {"MPEG 2.5 with padding", Join({padded25, mpeg25, padded25}), 11025, 3 * 576},
      {"cut right after the last header", Join({mpeg1, Bytes(mpeg1.begin(), mpeg1.begin() + 4)}), 44100, 2 * 1152},
      {"an ID3 tag with a footer", Join({id3Footer, mpeg1}), 44100, 1152},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto length = ReadMp3Length(c.bytes.data(), c.bytes.size());
    ASSERT_TRUE(length);
    EXPECT_EQ(length->SampleRate, c.rate);
    EXPECT_EQ(length->Samples, c.samples);
  }
  const Bytes lame = demo::EncodeMp3(std::vector<int16_t>(44100 * 2, 1000), 44100);
  const auto encoded = ReadMp3Length(lame.data(), lame.size());
  ASSERT_TRUE(encoded);
  EXPECT_NEAR(encoded->Milliseconds(), 2000, 80);  // the encoder's delay and padding
}

TEST(Mp3Length, StreamsThatAreNoMp3GiveNothing) {
  const Bytes mpeg1 = Frame(3, 1, 9, 0, 0, 417);
  const Bytes cases[] = {{},
                         Bytes(1000, 0x41),
                         Frame(3, 1, 0, 0, 0, 417),   // free format
                         Frame(1, 1, 9, 0, 0, 417),   // reserved version
                         Frame(3, 1, 9, 3, 0, 417),   // reserved rate
                         Join({mpeg1, Frame(3, 1, 9, 1, 0, 400)})};  // the rate changes
  for (const Bytes& bytes : cases) EXPECT_FALSE(ReadMp3Length(bytes.data(), bytes.size())) << bytes.size();
}

TEST(SoundClock, ThePositionRunsOnFromThePagesReportNeverBackNorPastEitherEnd) {
  TSoundClock clock;
  const uint32_t request = clock.Play(500);
  EXPECT_EQ(clock.Position(2000), 500) << "not heard yet";
  clock.Started(request, 520, 1000);
  const std::pair<double, double> positions[] = {{900, 520},  // reported from ahead of now
                                                 {1100, 620},
                                                 {1e7, 1e7 - 1000 + 520}};  // no length known: no end
  for (const auto& [now, position] : positions) EXPECT_EQ(clock.Position(now), position) << now;
  clock.SetLength(3000);
  EXPECT_EQ(clock.Position(1e7), 3000);
  clock.Seek(-40);
  EXPECT_EQ(clock.Position(1e7), 0);
}

TEST(DirtyRegion, AreasJoinIntoOneBoxCutToThePicture) {
  TDirtyRegion region;
  region.SetBounds(100, 50);
  EXPECT_TRUE(region.Empty());
  region.Add({-10, -10, 5, 5});  // wholly outside
  EXPECT_TRUE(region.Empty());
  region.Add({90, 40, 32, 32});
  region.Add({10, 5, 4, 4});
  EXPECT_EQ(region.Take(), (TkoBox{10, 5, 90, 45}));
  EXPECT_TRUE(region.Empty());
  region.AddAll();
  EXPECT_EQ(region.Take(), (TkoBox{0, 0, 100, 50}));
}
