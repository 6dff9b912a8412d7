// rz_text_recall make|score|missed OUT.kof: the text index benchmark's film and its
// score. make writes a film of screens with known text, one segment per font size
// (8 to 11 pt), theme (dark on light, light on dark) and face (Tahoma, DejaVu Sans),
// every other one without anti-aliasing; score reads the index kof index wrote beside
// it (OUT.kof.words.json) and prints recall and never-drawn hits by size and theme;
// missed lists the drawn words the index lacks.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/text_films.h"
#include "text/text_search.h"

using filmwriter::FontFace;
using textfilms::Theme;

namespace {
std::vector<textfilms::Screen> Screens() {
  std::vector<textfilms::Screen> screens;
  unsigned seed = 100;
  for (const int points : {8, 9, 10, 11})
    for (const Theme theme : {Theme::DarkOnLight, Theme::LightOnDark})
      for (const FontFace face : {FontFace::Tahoma, FontFace::DejaVuSans})
        screens.push_back({face, points, theme, (seed & 1) == 0, seed++});
  return screens;
}

TTextIndex IndexOf(const std::string& film) {
  std::ifstream file(film + ".words.json", std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return ParseTextIndex(bytes.str());
}

// The drawn words the index lacks, one a line: segment, time, box, text.
int Missed(const std::string& film) {
  const TTextIndex index = IndexOf(film);
  for (const textfilms::DrawnWord& word : textfilms::MakeTextFilm(Screens()).words)
    if (textfilms::ScoreIndex({word}, index, {word.segment}).found == 0 && SearchForm(word.text).size() >= 3)
      std::printf("%d %.1f %d,%d %s\n", word.segment, word.from, word.box.Left, word.box.Top, word.text.c_str());
  return 0;
}

int Score(const std::string& film) {
  const TTextIndex index = IndexOf(film);
  const auto screens = Screens();
  const textfilms::TextFilm made = textfilms::MakeTextFilm(screens);
  std::map<std::pair<int, Theme>, std::vector<int>> groups;
  for (size_t s = 0; s < screens.size(); ++s) groups[{screens[s].points, screens[s].theme}].push_back(int(s) + 1);
  std::printf("%-6s %-14s %8s %12s\n", "size", "theme", "recall", "never drawn");
  for (const auto& [key, segments] : groups) {
    const textfilms::Score score = textfilms::ScoreIndex(made.words, index, segments);
    std::printf("%2d pt  %-14s %7.1f%% %11.1f%%   (%d of %d words; %d of %d hits)\n", key.first,
                key.second == Theme::DarkOnLight ? "dark on light" : "light on dark", 100 * score.Recall(),
                100 * score.NeverDrawn(), score.found, score.drawn, score.never, score.indexed);
  }
  const textfilms::Score all = textfilms::ScoreIndex(made.words, index);
  std::printf("all    %-14s %7.1f%% %11.1f%%\n", "", 100 * all.Recall(), 100 * all.NeverDrawn());
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 3 ? argv[1] : "";
  if (command == "make") {
    const textfilms::TextFilm film = textfilms::MakeTextFilm(Screens());
    filmwriter::WriteBytesToFile(argv[2], filmwriter::WithTrailer(filmwriter::BuildFilm(film.segments)));
    return 0;
  }
  if (command == "score") return Score(argv[2]);
  if (command == "missed") return Missed(argv[2]);
  std::fputs("usage: rz_text_recall make|score|missed OUT.kof\n", stderr);
  return 2;
}
