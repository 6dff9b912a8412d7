#include "film/lzma_stage.h"

#include <lzma.h>

#include <memory>
#include <vector>

#include "film/ko_error.h"
#include "film/ko_stream.h"
#include "film/temp_files.h"

namespace {
constexpr size_t kChunk = 64 * 1024;

struct StreamEnd {
  void operator()(lzma_stream* stream) const { lzma_end(stream); }
};

std::string DecoderProblem(lzma_ret code) {
  switch (code) {
    case LZMA_MEMLIMIT_ERROR:
    case LZMA_MEM_ERROR:
      return "the LZMA stream needs too much memory";
    case LZMA_FORMAT_ERROR:
    case LZMA_OPTIONS_ERROR:
      return "the packed block is not an LZMA-alone stream";
    case LZMA_DATA_ERROR:
      return "the LZMA stream is corrupt";
    case LZMA_BUF_ERROR:
      return "the LZMA stream is cut short";
    default:
      return FormatText("the LZMA decoder failed (%d)", static_cast<int>(code));
  }
}

// The decoding loop proper; output is deleted by the caller unless this returns Ok.
TLzmaResult Decode(TkoFileStream& in, TkoFileStream& out, uint64_t outputLimit) {
  lzma_stream stream = LZMA_STREAM_INIT;
  lzma_ret code = lzma_alone_decoder(&stream, kLzmaMemoryLimit);
  if (code != LZMA_OK) return {false, DecoderProblem(code)};
  const std::unique_ptr<lzma_stream, StreamEnd> guard(&stream);

  std::vector<uint8_t> inBuffer(kChunk), outBuffer(kChunk);
  uint64_t written = 0;
  bool inputDone = false;
  stream.next_out = outBuffer.data();
  stream.avail_out = outBuffer.size();
  for (;;) {
    if (stream.avail_in == 0 && !inputDone) {
      const int32_t got = in.Read(inBuffer.data(), static_cast<int32_t>(inBuffer.size()));
      stream.next_in = inBuffer.data();
      stream.avail_in = static_cast<size_t>(got);
      inputDone = got <= 0;
    }
    // With LZMA_FINISH, a call that can make no progress returns LZMA_BUF_ERROR, so a
    // stream cut short ends the loop instead of spinning.
    code = lzma_code(&stream, inputDone ? LZMA_FINISH : LZMA_RUN);
    const size_t produced = outBuffer.size() - stream.avail_out;
    if (produced > 0) {
      written += produced;
      if (written > outputLimit)
        return {false, "the LZMA stream expands beyond the size the segment header announces"};
      if (out.Write(outBuffer.data(), static_cast<int32_t>(produced)) != static_cast<int32_t>(produced))
        return {false, "the decoded data file cannot be written"};
      stream.next_out = outBuffer.data();
      stream.avail_out = outBuffer.size();
    }
    if (code == LZMA_STREAM_END) return {true, {}};
    if (code != LZMA_OK) return {false, DecoderProblem(code)};
  }
}
}  // namespace

TLzmaResult DecodeLzmaFile(const std::filesystem::path& input, const std::filesystem::path& output,
                           uint64_t outputLimit) {
  TkoFileStream in(input, kModeReadExclusive);
  TLzmaResult result;
  TTempPath made;  // the output, until it has been decoded completely
  {
    TkoFileStream out(output, kModeCreate);
    made = TTempPath(output);
    // The header's announced size is checked before anything is decoded, so a
    // stream that claims too much is refused at once.
    uint8_t header[13] = {};
    if (in.Read(header, sizeof header) == sizeof header) {
      uint64_t announced = 0;
      for (int i = 12; i >= 5; --i) announced = (announced << 8) | header[i];
      if (announced != UINT64_MAX && announced > outputLimit)
        result.Problem = "the LZMA stream announces more than the segment header allows";
    }
    in.SetPosition(0);
    if (result.Problem.empty()) result = Decode(in, out, outputLimit);
  }
  if (result.Ok) made.Release();
  return result;
}
