// rz_text_recall make|score|missed OUT.kof: the text index benchmark's film and its
// score. make writes a film of screens with known text, one segment per font size
// (8 to 11 pt), theme (dark on light, light on dark) and face (Tahoma, DejaVu Sans),
// every other one without anti-aliasing, and two ribbons (rows of tightly set words of
// mixed sizes and faces, one with anti-aliasing); score reads the index kof index
// wrote beside it (OUT.kof.words.json) and prints recall and never-drawn hits by size
// and theme, for the screens and for the ribbons; missed lists the drawn words the
// index lacks.
#include <algorithm>
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
  for (const bool antialiased : {true, false}) {
    textfilms::Screen ribbon;
    ribbon.antialiased = antialiased;
    ribbon.seed = seed++;
    ribbon.ribbon = true;
    screens.push_back(ribbon);
  }
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

void PrintRow(const char* size, Theme theme, const textfilms::Score& score) {
  std::printf("%-6s %-14s %7.1f%% %11.1f%%   (%d of %d words; %d of %d hits)\n", size,
              theme == Theme::DarkOnLight ? "dark on light" : "light on dark", 100 * score.Recall(),
              100 * score.NeverDrawn(), score.found, score.drawn, score.never, score.indexed);
}

// The ribbons' words by size (8 and 9 pt, 10 and 11 pt) and theme; never-drawn hits are
// counted over both ribbons, whose words mix.
void ScoreRibbons(const TTextIndex& index, const textfilms::TextFilm& made, const std::vector<int>& ribbons) {
  std::printf("\nribbons: rows of tightly set words of 8 to 11 pt, Tahoma and DejaVu Sans\n");
  for (const int smallest : {8, 10})
    for (const Theme theme : {Theme::DarkOnLight, Theme::LightOnDark}) {
      std::vector<textfilms::DrawnWord> group;
      for (const textfilms::DrawnWord& word : made.words)
        if (word.points / 2 == smallest / 2 && word.theme == theme &&
            std::find(ribbons.begin(), ribbons.end(), word.segment) != ribbons.end())
          group.push_back(word);
      textfilms::Score score = textfilms::ScoreIndex(group, index, ribbons);
      score.indexed = score.never = 0;
      PrintRow(smallest == 8 ? "8-9" : "10-11", theme, score);
    }
  const textfilms::Score all = textfilms::ScoreIndex(made.words, index, ribbons);
  std::printf("all    %-14s %7.1f%% %11.1f%%\n", "", 100 * all.Recall(), 100 * all.NeverDrawn());
}

int Score(const std::string& film) {
  const TTextIndex index = IndexOf(film);
  const auto screens = Screens();
  const textfilms::TextFilm made = textfilms::MakeTextFilm(screens);
  std::map<std::pair<int, Theme>, std::vector<int>> groups;
  std::vector<int> plain, ribbons;
  for (size_t s = 0; s < screens.size(); ++s) {
    (screens[s].ribbon ? ribbons : plain).push_back(int(s) + 1);
    if (!screens[s].ribbon) groups[{screens[s].points, screens[s].theme}].push_back(int(s) + 1);
  }
  std::printf("%-6s %-14s %8s %12s\n", "size", "theme", "recall", "never drawn");
  for (const auto& [key, segments] : groups)
    PrintRow((std::to_string(key.first) + " pt").c_str(), key.second, textfilms::ScoreIndex(made.words, index, segments));
  const textfilms::Score all = textfilms::ScoreIndex(made.words, index, plain);
  std::printf("all    %-14s %7.1f%% %11.1f%%\n", "", 100 * all.Recall(), 100 * all.NeverDrawn());
  ScoreRibbons(index, made, ribbons);
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
