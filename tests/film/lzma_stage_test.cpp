#include "film/lzma_stage.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(std::filesystem::exists(dir / "out.~7z"), result.Ok);
  if (result.Ok && expected) {
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
      EXPECT_EQ(Decode(Bytes(packed.begin(), packed.begin() + long(cut))).Problem, "the LZMA stream is cut short")
          << "cut at " << cut;
    packed.insert(packed.end(), {9, 9, 9});  // bytes behind the stream are ignored
    const TLzmaResult result = Decode(packed, 1 << 20, &data);
    EXPECT_TRUE(result.Ok) << result.Problem;
  }
}

TEST(LzmaStage, CorruptHeadersAndOversizedOutputAreRefused) {
  const Bytes data = Sample(50000);
  const Bytes packed = filmwriter::BuildLzmaAlone(data);
  Bytes badProperties = packed, hugeDictionary = packed;
  badProperties[0] = 0xE1;  // beyond lc/lp/pb's range
  filmwriter::PatchU32(hugeDictionary, 1, 0x80000000u);  // 2 GiB: more than the decoder may take
  // Without an announced size the bound holds for the whole output, not per piece:
  // 200000 bytes come out in several pieces, each below the limit of 1.5 pieces.
  const Bytes unannounced = filmwriter::BuildLzmaAlone(Sample(200000), LzmaSize::Unknown);
  const std::tuple<Bytes, uint64_t, std::string> cases[] = {
      {badProperties, 1 << 20, "the packed block is not an LZMA-alone stream"},
      {hugeDictionary, 1 << 20, "the LZMA stream needs too much memory"},
      {packed, data.size() - 1, "the LZMA stream announces more than the segment header allows"},
      {unannounced, 96 * 1024, "the LZMA stream expands beyond the size the segment header announces"},
  };
  for (const auto& [input, limit, problem] : cases) EXPECT_EQ(Decode(input, limit).Problem, problem);
}
