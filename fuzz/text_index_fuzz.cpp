// Fuzzes the text index reader: the input is an index document as found beside a film.
// One that reads is written again and must read back the same, and is searched with a
// phrase as kof search and the players search it. Findings: a crash, undefined
// behaviour or an exception other than the reader's own message; a document read that
// does not survive being written again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "film/ko_error.h"
#include "text/text_index.h"
#include "text/text_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TTextIndex index;
  try {
    index = ParseTextIndex(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EkoError&) {
    return 0;
  }
  if (ParseTextIndex(TextIndexDocument(index)) != index) {
    std::fprintf(stderr, "an index read from %zu bytes does not read back as written\n", size);
    std::abort();
  }
  const TTextSearch search(index);
  for (const char* query : {"a", "open set", "настр"}) search.Find(query);
  return 0;
}
