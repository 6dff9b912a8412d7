// Fuzzes the language table a film executable carries: the input is the table's raw
// bytes, laid over the built-in texts as start-up and window creation lay it, and every
// message text is then formatted as the player formats it, with a number and a text.
// Findings: a crash or undefined behaviour in reading the table or in formatting a text
// it gave (a table's text is used as a format only with the built-in's conversions), and
// a table that is not empty but yields no menu texts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "session/ui_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string table(reinterpret_cast<const char*>(data), size);
  const auto asIs = [](const std::string& text) { return text; };
  TUiTexts texts;
  texts.OverlayMessageTexts(table, asIs);
  if (texts.OverlayMenuTexts(table, asIs).empty() != table.empty()) {
    std::fprintf(stderr, "a table of %zu bytes gave no menu texts, or none gave some\n", size);
    std::abort();
  }
  const std::string longText(300, '%');
  for (size_t i = 0; i < kMessageTextCount; ++i) {
    texts.Format(static_cast<TMessageText>(i), INT32_MIN);
    texts.Format(static_cast<TMessageText>(i), longText);
  }
  return 0;
}
