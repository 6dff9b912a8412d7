// rz_text_search_time INDEX [HOURS]: how long searches take in a long lesson's index.
// The index is read, its words repeated, a segment each time, until they cover HOURS
// (1 unless told) of film, and a few kinds of query are timed: a single letter (the
// most hits), a common word, two phrases, a word that is not there. Prints the slowest.
// Then crafted indexes: words stacked in one place in a few columns, each beside all
// the others, searched for a long phrase of them that is not there; once in one row,
// once in rows of words broken by hyphens, each row the line below the one before.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "text/text_search.h"

namespace {
double Milliseconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

void TimeStackedWords(int rows) {
  constexpr int kColumns = 5, kStacked = 4000;
  TTextIndex index;
  index.Segments = {{800, 600}};
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < kColumns; ++column)
      for (int i = 0; i < kStacked / rows; ++i)
        index.Words.push_back(
            {rows == 1 ? "a" : "a-", 90, 1, {10 + 4 * column, 10 + 12 * row, 12 + 4 * column, 20 + 12 * row}, 0, 10});
  const auto start = std::chrono::steady_clock::now();
  const TTextSearch search(index);
  const double built = Milliseconds(start);
  const auto from = std::chrono::steady_clock::now();
  const TTextFound found = search.Find("a a a a a a a a a a a a a a a b");
  std::printf("crafted: %zu words stacked in %d columns and %d rows, made searchable in %.0f ms; a 16-word phrase not there: "
              "%.1f ms, %zu steps%s\n",
              index.Words.size(), kColumns, rows, built, Milliseconds(from), found.Steps, found.Cut ? " (stopped)" : "");
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: rz_text_search_time INDEX [HOURS]\n", stderr);
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  const TTextIndex one = ParseTextIndex(bytes.str());
  double seconds = 1;
  for (const TIndexedWord& w : one.Words) seconds = std::max(seconds, w.To);
  const double hours = argc == 3 ? std::atof(argv[2]) : 1.0;
  TTextIndex index = one;
  index.Words.clear();
  index.Segments.clear();
  for (int copy = 0; copy * seconds < hours * 3600; ++copy) {
    index.Segments.push_back(one.Segments.front());
    for (TIndexedWord w : one.Words) {
      w.Segment = copy + 1;
      index.Words.push_back(w);
    }
  }
  const auto start = std::chrono::steady_clock::now();
  const TTextSearch search(index);
  const double built = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%zu words over %.1f hours in %zu segments; made searchable in %.0f ms\n", index.Words.size(),
              double(index.Segments.size()) * seconds / 3600, index.Segments.size(), built);
  double slowest = 0;
  for (const char* query : {"e", "settings", "save the document", "table settings options", "nowhere"}) {
    const auto from = std::chrono::steady_clock::now();
    const size_t hits = search.Find(query).Hits.size();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
    slowest = std::max(slowest, ms);
    std::printf("  %-26s %7zu hits %8.1f ms\n", query, hits, ms);
  }
  std::printf("slowest search: %.1f ms\n", slowest);
  TimeStackedWords(1);
  TimeStackedWords(4);
  return 0;
}
