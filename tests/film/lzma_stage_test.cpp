#include "film/lzma_stage.h"

#include <gtest/gtest.h>

#include "support/film_bytes.h"
#include "support/lzma_writer.h"
#include "support/temp_dir.h"

using filmwriter::Bytes;

namespace {
Bytes Sample(size_t n) {
  Bytes bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>((i * 31) ^ (i >> 7));
  return bytes;
}

struct LzmaCase {
  TempDir dir;
  std::filesystem::path in = dir / "in.cab";
  std::filesystem::path out = dir / "out.~7z";

  TLzmaResult Run(const Bytes& packed, uint64_t limit = 1 << 20) {
    filmwriter::WriteBytesToFile(in, packed);
    return DecodeLzmaFile(in, out, limit);
  }
};
}  // namespace

TEST(LzmaStage, DecodesEveryLzmaAloneForm) {
  const Bytes data = Sample(100000);
  for (auto size : {filmwriter::LzmaSize::Known, filmwriter::LzmaSize::Unknown,
                    filmwriter::LzmaSize::KnownWithEndMarker}) {
    LzmaCase c;
    Bytes packed = filmwriter::BuildLzmaAlone(data, size);
    packed.insert(packed.end(), {9, 9, 9});  // bytes behind the stream are ignored
    const TLzmaResult result = c.Run(packed);
    EXPECT_TRUE(result.Ok) << result.Problem;
    EXPECT_EQ(filmwriter::ReadBytesFromFile(c.out), data);
  }
}

TEST(LzmaStage, AStreamCutShortLeavesNoOutput) {
  const Bytes data = Sample(20000);
  for (auto size : {filmwriter::LzmaSize::Known, filmwriter::LzmaSize::Unknown}) {
    const Bytes packed = filmwriter::BuildLzmaAlone(data, size);
    for (size_t cut : {size_t(0), size_t(4), size_t(13), size_t(14), packed.size() / 2, packed.size() - 1}) {
      LzmaCase c;
      const TLzmaResult result = c.Run(Bytes(packed.begin(), packed.begin() + long(cut)));
      EXPECT_FALSE(result.Ok) << "cut at " << cut;
      EXPECT_FALSE(result.Problem.empty());
      EXPECT_FALSE(std::filesystem::exists(c.out)) << "cut at " << cut;
    }
  }
}

TEST(LzmaStage, CorruptHeadersAndOversizedOutputAreRefused) {
  const Bytes data = Sample(50000);
  const Bytes packed = filmwriter::BuildLzmaAlone(data);
  {
    LzmaCase c;  // properties byte beyond lc/lp/pb's range
    Bytes bad = packed;
    bad[0] = 0xE1;
    EXPECT_FALSE(c.Run(bad).Ok);
    EXPECT_FALSE(std::filesystem::exists(c.out));
  }
  {
    LzmaCase c;  // a dictionary of 2 GiB is more memory than the decoder may take
    Bytes bad = packed;
    filmwriter::PatchU32(bad, 1, 0x80000000u);
    EXPECT_FALSE(c.Run(bad).Ok);
  }
  {
    LzmaCase c;  // the header announces more than the segment allows
    const TLzmaResult result = c.Run(packed, data.size() - 1);
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(std::filesystem::exists(c.out));
  }
  {
    LzmaCase c;  // no size announced, but the stream expands beyond the limit
    const TLzmaResult result = c.Run(filmwriter::BuildLzmaAlone(data, filmwriter::LzmaSize::Unknown), 4096);
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(std::filesystem::exists(c.out));
  }
  {
    LzmaCase c;  // garbage in the stream body must fail or stop, never hang or overrun
    Bytes bad = packed;
    for (size_t i = 13; i < bad.size(); i += 7) bad[i] ^= 0x5A;
    const TLzmaResult result = c.Run(bad, data.size());
    if (result.Ok) {
      EXPECT_EQ(std::filesystem::file_size(c.out), data.size());
    } else {
      EXPECT_FALSE(std::filesystem::exists(c.out));
    }
  }
}
