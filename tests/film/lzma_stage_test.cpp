#include "film/lzma_stage.h"

#include <gtest/gtest.h>

#include "writer/film_bytes.h"
#include "writer/lzma_writer.h"
#include "support/temp_dir.h"

using filmwriter::Bytes;
using filmwriter::LzmaSize;

namespace {
Bytes Sample(size_t n) {
  Bytes bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>((i * 31) ^ (i >> 7));
  return bytes;
}

// Decodes packed with the limit; a failure must leave no output file behind.
TLzmaResult Decode(const Bytes& packed, uint64_t limit = 1 << 20, const Bytes* expected = nullptr) {
  TempDir dir;
  filmwriter::WriteBytesToFile(dir / "in.cab", packed);
  const TLzmaResult result = DecodeLzmaFile(dir / "in.cab", dir / "out.~7z", limit);
  if (!result.Ok) {
    EXPECT_FALSE(result.Problem.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "out.~7z"));
  } else if (expected) {
    EXPECT_EQ(filmwriter::ReadBytesFromFile(dir / "out.~7z"), *expected);
  }
  return result;
}
}  // namespace

TEST(LzmaStage, DecodesEveryLzmaAloneFormAndRefusesCutStreams) {
  const Bytes data = Sample(100000);
  for (auto size : {LzmaSize::Known, LzmaSize::Unknown, LzmaSize::KnownWithEndMarker}) {
    SCOPED_TRACE(static_cast<int>(size));
    Bytes packed = filmwriter::BuildLzmaAlone(data, size);
    for (size_t cut : {size_t(0), size_t(13), size_t(14), packed.size() / 2, packed.size() - 1})
      EXPECT_FALSE(Decode(Bytes(packed.begin(), packed.begin() + long(cut))).Ok) << "cut at " << cut;
    packed.insert(packed.end(), {9, 9, 9});  // bytes behind the stream are ignored
    const TLzmaResult result = Decode(packed, 1 << 20, &data);
    EXPECT_TRUE(result.Ok) << result.Problem;
  }
}

TEST(LzmaStage, CorruptHeadersAndOversizedOutputAreRefused) {
  const Bytes data = Sample(50000);
  const Bytes packed = filmwriter::BuildLzmaAlone(data);
  Bytes badProperties = packed;  // beyond lc/lp/pb's range
  badProperties[0] = 0xE1;
  EXPECT_FALSE(Decode(badProperties).Ok);
  Bytes hugeDictionary = packed;  // 2 GiB: more memory than the decoder may take
  filmwriter::PatchU32(hugeDictionary, 1, 0x80000000u);
  EXPECT_FALSE(Decode(hugeDictionary).Ok);
  // The header announces more than the segment allows, or no size is announced and the
  // stream expands beyond the limit.
  EXPECT_FALSE(Decode(packed, data.size() - 1).Ok);
  EXPECT_FALSE(Decode(filmwriter::BuildLzmaAlone(data, LzmaSize::Unknown), 4096).Ok);

  // Garbage in the stream body must fail or stop at the limit, never hang or overrun.
  Bytes garbage = packed;
  for (size_t i = 13; i < garbage.size(); i += 7) garbage[i] ^= 0x5A;
  TempDir dir;
  filmwriter::WriteBytesToFile(dir / "in", garbage);
  if (DecodeLzmaFile(dir / "in", dir / "out", data.size()).Ok)
    EXPECT_EQ(std::filesystem::file_size(dir / "out"), data.size());
  else
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}
