// Fuzzes the text index reader and its search: the input is an index document as found
// beside a film, and after a NUL byte, if there is one, a query. One that reads is
// written again and must read back the same, and is searched with that query and a few
// phrases as kof search and the players search it. Findings: a crash, undefined
// behaviour or an exception other than the reader's own message; a document read that
// does not survive being written again; a search past its bound of steps, or a hit
// that names no word of the index (a hang shows as the fuzzer's timeout).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "film/ko_error.h"
#include "text/text_index.h"
#include "text/text_search.h"

namespace {
[[noreturn]] void Fail(const char* what, size_t size) {
  std::fprintf(stderr, "%s (input of %zu bytes)\n", what, size);
  std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = std::min(input.find('\0'), input.size());
  TTextIndex index;
  try {
    index = ParseTextIndex(input.substr(0, split));
  } catch (const EkoError&) {
    return 0;
  }
  if (ParseTextIndex(TextIndexDocument(index)) != index) Fail("an index read does not read back as written", size);
  const TTextSearch search(index);
  const std::string query(input.substr(std::min(split + 1, input.size())));
  for (const std::string& q : {query, std::string("a"), std::string("open set"), std::string("настр")}) {
    const TTextFound found = search.Find(q);
    if (found.Steps > kSearchMostSteps) Fail("a search went past its bound of steps", size);
    for (const TTextHit& hit : found.Hits)
      if (hit.Word >= index.Words.size() || hit.Segment != index.Words[hit.Word].Segment)
        Fail("a hit names no word of the index", size);
  }
  return 0;
}
