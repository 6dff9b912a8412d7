#include <algorithm>
#include <map>
#include <memory>
#include <random>

#include "support/text_films.h"
#include "text/text_search.h"

using filmwriter::FontFace;
using filmwriter::Picture;
using filmwriter::TrueTypeFont;

namespace textfilms {
namespace {
constexpr int kWidth = 720, kHeight = 400, kRate = 10;
constexpr double kSeconds = 11;
constexpr double kTypingFrom = 0.5, kKeyEvery = 0.08;
constexpr double kMenuTimes[][2] = {{1.0, 2.6}, {7.0, 8.6}};  // the menu opens twice
constexpr double kDialogFrom = 3.2, kDialogTo = 6.4;

const std::vector<std::string>& Dictionary() {
  static const std::vector<std::string> words = {
      "settings", "window",    "document", "project", "format",    "insert",   "table",   "picture", "record",
      "screen",   "lesson",    "player",   "export",  "import",    "folder",   "search",  "replace", "select",
      "delete",   "update",    "network",  "printer", "options",   "history",  "account", "profile", "server",
      "library",  "report",    "chapter",  "source",  "target",    "result",   "number",  "letter",  "column",
      "message",  "contact",   "calendar", "summary", "Настройки", "Документ", "Файл",    "Правка",  "Окно",
      "Справка",  "Сохранить", "Открыть",  "Вставка", "Таблица"};
  return words;
}

struct Colours {
  uint32_t page, chrome, ink, selection, selectionInk, edge;
};
Colours ColoursOf(Theme theme) {
  return theme == Theme::DarkOnLight ? Colours{0xFFFFFF, 0xD4D0C8, 0x000000, 0x0A246A, 0xFFFFFF, 0x808080}
                                     : Colours{0x1E1E1E, 0x2D2D30, 0xDCDCDC, 0x3399FF, 0x000000, 0x5A5A5A};
}

void Fill(Picture& p, TTextBox r, uint32_t colour) {
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, p.height); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, p.width); ++x) p.At(x, y) = colour;
}

// What one screen shows: fixed words laid out once, and the editor's typed lines.
class Scene {
public:
  Scene(const Screen& screen, int segment)
      : FFont(screen.face, screen.points, screen.antialiased),
        FColours(ColoursOf(screen.theme)),
        FPoints(screen.points),
        FTheme(screen.theme),
        FSegment(segment),
        FRandom(screen.seed) {
    Lay();
  }

  void Draw(Picture& p, double t) const {
    Fill(p, {0, 0, kWidth, kHeight}, FColours.page);
    Fill(p, {0, 0, kWidth, FBar}, FColours.chrome);
    for (const Placed& w : FBarWords) FFont.Draw(p, w.box.Left, w.box.Top, w.text, FColours.ink);
    for (const auto& times : kMenuTimes)
      if (t >= times[0] && t < times[1]) DrawBox(p, FMenuBox, FMenuWords, FMenuSelected);
    if (t >= kDialogFrom && t < kDialogTo) DrawBox(p, FDialogBox, FDialogWords, -1);
    for (const Typed& w : FTyped) {
      const int letters = int((t - w.start) / kKeyEvery + 1e-9) + 1;
      if (letters <= 0) continue;
      const std::string shown = Prefix(w.text, letters);
      FFont.Draw(p, w.box.Left, w.box.Top, shown, FColours.ink);
    }
  }

  // Every word with its times, as Draw shows it.
  void Record(std::vector<DrawnWord>& words) const {
    const auto add = [&](const std::string& text, const TTextBox& box, double from, double to) {
      words.push_back({text, FSegment, box, from, to, FPoints, FTheme});
    };
    for (const Placed& w : FBarWords) add(w.text, w.box, 0, kSeconds);
    for (const auto& times : kMenuTimes)
      for (const Placed& w : FMenuWords) add(w.text, w.box, times[0], times[1]);
    for (const Placed& w : FDialogWords) add(w.text, w.box, kDialogFrom, kDialogTo);
    for (const Typed& w : FTyped) add(w.text, w.box, FrameTime(w.start + (Letters(w.text) - 1) * kKeyEvery), kSeconds);
  }

private:
  struct Placed {
    std::string text;
    TTextBox box;
  };
  struct Typed {
    std::string text;
    TTextBox box;
    double start;
  };

  static int Letters(const std::string& text) {
    return int(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  }
  static std::string Prefix(const std::string& text, int letters) {
    size_t at = 0;
    for (int n = 0; at < text.size() && n < letters; ++n) do
        ++at;
      while (at < text.size() && (text[at] & 0xC0) == 0x80);
    return text.substr(0, at);
  }
  // The time of the first frame at or after t.
  static double FrameTime(double t) { return std::ceil(t * kRate - 1e-9) / kRate; }

  std::string Pick() { return Dictionary()[FRandom() % Dictionary().size()]; }

  void DrawBox(Picture& p, TTextBox box, const std::vector<Placed>& words, int selected) const {
    Fill(p, box, FColours.edge);
    Fill(p, box.Expanded(-1, -1), FColours.chrome);
    for (size_t i = 0; i < words.size(); ++i) {
      const bool lit = int(i) == selected;
      if (lit)
        Fill(p, {box.Left + 3, words[i].box.Top - 2, box.Right - 3, words[i].box.Bottom + 2}, FColours.selection);
      FFont.Draw(p, words[i].box.Left, words[i].box.Top, words[i].text, lit ? FColours.selectionInk : FColours.ink);
    }
  }

  TTextBox Place(int x, int top, const std::string& text) const {
    const filmwriter::TextBox b = FFont.Box(x, top, text);
    return {b.left, b.top, b.right, b.bottom};
  }

  void Lay() {
    const int line = FFont.LineHeight();
    FBar = line + 8;
    int x = 8;
    for (int i = 0; i < 5; ++i) {
      const std::string word = Pick();
      FBarWords.push_back({word, Place(x, 4, word)});
      x = FBarWords.back().box.Right + 16;
    }
    const int menuLeft = 460, menuTop = FBar;
    for (int i = 0; i < 6; ++i) {
      const std::string word = Pick();
      FMenuWords.push_back({word, Place(menuLeft + 20, menuTop + 6 + i * (line + 6), word)});
    }
    FMenuBox = {menuLeft, menuTop, menuLeft + 200, menuTop + 8 + 6 * (line + 6)};
    FMenuSelected = 2;
    const int dialogLeft = 440, dialogTop = FMenuBox.Bottom + 12;
    for (int row = 0; row < 3; ++row)
      for (int i = 0, dx = dialogLeft + 12; i < 2; ++i) {
        const std::string word = Pick();
        FDialogWords.push_back({word, Place(dx, dialogTop + 10 + row * (line + 8), word)});
        dx = FDialogWords.back().box.Right + 10;
      }
    FDialogBox = {dialogLeft, dialogTop, kWidth - 10, dialogTop + 20 + 3 * (line + 8)};
    double start = kTypingFrom;
    for (int row = 0; row < 4; ++row)
      for (int i = 0, tx = 12; i < 3; ++i) {
        const std::string word = Pick();
        FTyped.push_back({word, Place(tx, FBar + 16 + row * (line + 10), word), start});
        tx = FTyped.back().box.Right + FFont.Width(" ");
        start += (Letters(word) + 1) * kKeyEvery;
      }
  }

  TrueTypeFont FFont;
  Colours FColours;
  int FPoints;
  Theme FTheme;
  int FSegment;
  std::minstd_rand FRandom;
  int FBar = 0;
  std::vector<Placed> FBarWords, FMenuWords, FDialogWords;
  std::vector<Typed> FTyped;
  TTextBox FMenuBox, FDialogBox;
  int FMenuSelected = -1;
};
// Words of toolbars and ribbons, none of them in the other screens' dictionary.
const std::vector<std::string>& RibbonWords() {
  static const std::vector<std::string> words = {
      "template",  "shipment", "hyperlink", "release",  "transfer", "paste",    "clipboard", "styles",
      "heading",   "bookmark", "comment",   "review",   "mailings", "layout",   "margins",   "columns",
      "spacing",   "indent",   "borders",   "shading",  "refresh",  "filter",   "sort",      "group",
      "outline",   "subtotal", "validate",  "consolidate", "freeze", "zoom",    "ruler",     "gridlines",
      "macros",    "developer", "addins",   "protect",  "share",    "track",    "compare",   "restrict",
      "invoice",   "customer", "quantity",  "discount", "warehouse", "supplier", "delivery", "payment",
      "approve",   "reject",   "archive",   "download", "upload",   "connect",  "publish",   "preview",
      "Вид",       "Рецензирование", "Ссылки", "Разметка", "Главная", "Шрифт",  "Абзац",     "Стили"};
  return words;
}

// Rows of words as a ribbon sets them, still for the whole segment.
class RibbonScene {
public:
  RibbonScene(const Screen& screen, int segment) : FSegment(segment), FRandom(screen.seed) {
    for (const int points : {8, 9, 10, 11})
      for (const FontFace face : {FontFace::Tahoma, FontFace::DejaVuSans})
        FFonts.push_back(std::make_unique<TrueTypeFont>(face, points, screen.antialiased));
    Lay();
  }

  void Draw(Picture& p, double) const {
    const Colours light = ColoursOf(Theme::DarkOnLight), dark = ColoursOf(Theme::LightOnDark);
    Fill(p, {0, 0, kWidth, kHeight}, light.page);
    for (const Word& w : FWords) {
      if (w.drawn.theme == Theme::LightOnDark) Fill(p, w.drawn.box.Expanded(2, 1), dark.chrome);
      w.font->Draw(p, w.drawn.box.Left, w.drawn.box.Top, w.drawn.text,
                   w.drawn.theme == Theme::LightOnDark ? dark.ink : light.ink);
    }
  }

  void Record(std::vector<DrawnWord>& words) const {
    for (const Word& w : FWords) words.push_back(w.drawn);
  }

private:
  struct Word {
    const TrueTypeFont* font;
    DrawnWord drawn;
  };

  void Lay() {
    const auto& dictionary = RibbonWords();
    int count = 0;
    for (int top = 12; top + 24 < kHeight; top += 26)
      for (int x = 8;;) {
        const int points = 8 + int(FRandom() % 4);
        const TrueTypeFont& font = *FFonts[size_t((points - 8) * 2 + count % 2)];
        const std::string& text = dictionary[FRandom() % dictionary.size()];
        const Theme theme = ++count % 5 == 0 ? Theme::LightOnDark : Theme::DarkOnLight;
        const int lead = theme == Theme::LightOnDark ? 3 : 0;  // the panel's edge
        const filmwriter::TextBox b = font.Box(x + lead, top, text);
        if (b.right + lead + 8 > kWidth) break;
        FWords.push_back({&font, {text, FSegment, {b.left, b.top, b.right, b.bottom}, 0, kSeconds, points, theme}});
        x = b.right + lead + 2 + int(FRandom() % 2);  // their ink one to four pixels apart
      }
  }

  int FSegment;
  std::minstd_rand FRandom;
  std::vector<std::unique_ptr<TrueTypeFont>> FFonts;
  std::vector<Word> FWords;
};

template <class TScene>
filmwriter::SegmentSpec Filmed(const TScene& scene, size_t index) {
  filmwriter::SegmentSpec spec;
  spec.framesPerSecond = kRate;
  spec.packing = filmwriter::Packing::MsZip;
  spec.width = kWidth;
  spec.height = kHeight;
  spec.data.name = "Screen " + std::to_string(index + 1);
  Picture previous, picture = Picture::Filled(kWidth, kHeight, 0);
  for (int frame = 0; frame < int(kSeconds * kRate); ++frame) {
    scene.Draw(picture, double(frame) / kRate);
    spec.data.frameRecords.push_back(filmwriter::FrameRecord(filmwriter::DifferenceRuns(previous, picture)));
    previous = picture;
  }
  return spec;
}
}  // namespace

TextFilm MakeTextFilm(const std::vector<Screen>& screens) {
  TextFilm film;
  for (size_t s = 0; s < screens.size(); ++s) {
    if (screens[s].ribbon) {
      const RibbonScene scene(screens[s], int(s) + 1);
      scene.Record(film.words);
      film.segments.push_back(Filmed(scene, s));
    } else {
      const Scene scene(screens[s], int(s) + 1);
      scene.Record(film.words);
      film.segments.push_back(Filmed(scene, s));
    }
  }
  return film;
}

Score ScoreIndex(const std::vector<DrawnWord>& drawn, const TTextIndex& index, const std::vector<int>& segments) {
  const auto counted = [&](int segment) {
    return segments.empty() || std::find(segments.begin(), segments.end(), segment) != segments.end();
  };
  const auto long_enough = [](const std::string& form) {
    int letters = 0;
    for (char c : form) letters += (c & 0xC0) != 0x80;
    return letters >= 3;
  };
  Score score;
  std::map<int, std::vector<std::string>> drawnForms;
  for (const DrawnWord& d : drawn) {
    const std::string form = SearchForm(d.text);
    drawnForms[d.segment].push_back(form);
    if (!counted(d.segment) || !long_enough(form)) continue;
    ++score.drawn;
    score.found += std::any_of(index.Words.begin(), index.Words.end(), [&](const TIndexedWord& w) {
      return w.Segment == d.segment && SearchForm(w.Text) == form && w.Box.Intersects(d.box) &&
             std::abs(w.From - d.from) <= 0.5;
    });
  }
  for (const TIndexedWord& w : index.Words) {
    const std::string form = SearchForm(w.Text);
    if (!counted(w.Segment) || !long_enough(form)) continue;
    ++score.indexed;
    const auto& forms = drawnForms[w.Segment];
    score.never += std::find(forms.begin(), forms.end(), form) == forms.end();
  }
  return score;
}

}  // namespace textfilms
