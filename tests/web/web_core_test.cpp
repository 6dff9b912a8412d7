// The web player's arithmetic: MP3 lengths from frame headers, and the region of the
// picture that changed.
#include <gtest/gtest.h>

#include "demo/mp3_encoder.h"
#include "web/mp3_length.h"
#include "web/picture_rgba.h"
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
  // MPEG 1 layer I, 32 kbit/s at 32 kHz: 12 x 32000 / 32000 x 4 = 48 bytes, 384 samples.
  const Bytes layer1 = Frame(3, 3, 1, 2, 0, 48);
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
