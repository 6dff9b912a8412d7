#pragma once
// The LZMA stage: decodes a segment's packed block, a file in the LZMA SDK's
// LZMA-alone format (5 property bytes, u64 uncompressed size or all ones for
// "unknown", the LZMA stream), into the segment's data file, in-process.
#include <cstdint>
#include <filesystem>
#include <string>

// Memory the decoder may take for its dictionary and state.
constexpr uint64_t kLzmaMemoryLimit = 256ull << 20;

struct TLzmaResult {
  bool Ok = false;
  // Why the output was discarded; empty when Ok.
  std::string Problem;
};

// Decodes input into output (created or emptied). Only a stream that reaches its end
// counts: with a known size, when that many bytes have come out; with an unknown size,
// at its end marker. A stream that is cut short or corrupt, announces or produces more
// than outputLimit bytes, or needs more than kLzmaMemoryLimit, leaves no output file.
// Bytes behind the end of the stream are ignored. Throws EkoError("Cannot open or
// create file.") when input cannot be opened or output cannot be created.
TLzmaResult DecodeLzmaFile(const std::filesystem::path& input, const std::filesystem::path& output,
                           uint64_t outputLimit);
