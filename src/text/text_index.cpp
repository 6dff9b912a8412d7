#include "text/text_index.h"

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>

#include "film/film_identity.h"
#include "film/ko_error.h"
#include "text/utf8_text.h"

std::filesystem::path TextIndexBeside(const std::filesystem::path& film) {
  // Appended to the path itself: its text in the system's narrow code page could lose
  // letters of the film's name.
  std::filesystem::path index = film;
  index += kTextIndexSuffix;
  return index;
}

using json = nlohmann::ordered_json;

namespace {
double Milliseconds(double seconds) { return std::round(seconds * 1000) / 1000; }

json WordJson(const TIndexedWord& w) {
  json word{{"text", w.Text},
            {"confidence", w.Confidence},
            {"segment", w.Segment},
            {"box", {w.Box.Left, w.Box.Top, w.Box.Width(), w.Box.Height()}},
            {"from", Milliseconds(w.From)},
            {"to", Milliseconds(w.To)}};
  if (w.Moves.empty()) return word;
  json& moves = word["moves"] = json::array();
  for (const TWordMove& move : w.Moves)
    moves.push_back({Milliseconds(move.At), move.Box.Left, move.Box.Top, move.Box.Width(), move.Box.Height()});
  return word;
}

[[noreturn]] void ThrowTooLarge() {
  throw EkoError("the text index is larger than " + std::to_string(kTextIndexMostBytes >> 20) +
                 " MB, more than this program reads");
}

[[noreturn]] void Damaged(const std::string& what) { throw EkoError("damaged text index: " + what); }

const json& Field(const json& object, const char* name, const std::string& where) {
  const auto found = object.find(name);
  if (found == object.end()) Damaged(where + "has no \"" + name + "\"");
  return *found;
}

int64_t WholeNumber(const json& object, const char* name, const std::string& where, int64_t low, int64_t high) {
  const json& value = Field(object, name, where);
  if (!value.is_number_integer() || value.get<int64_t>() < low || value.get<int64_t>() > high)
    Damaged(where + "\"" + name + "\" is not a whole number from " + std::to_string(low) + " to " +
            std::to_string(high));
  return value.get<int64_t>();
}

double Seconds(const json& object, const char* name, const std::string& where) {
  const json& value = Field(object, name, where);
  if (!value.is_number() || !(value.get<double>() >= 0) || value.get<double>() > 1e9)
    Damaged(where + "\"" + name + "\" is not a time in seconds");
  // Kept to the millisecond, as the document is written: a document read and written
  // again reads back the same.
  return Milliseconds(value.get<double>());
}

std::string Text(const json& object, const char* name, const std::string& where) {
  const json& value = Field(object, name, where);
  if (!value.is_string()) Damaged(where + "\"" + name + "\" is not text");
  return value.get<std::string>();
}

bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = DecodeUtf8(text, at).second;
    if (length == 0) return false;
    at += length;
  }
  return true;
}

TIndexedSegment ReadSegment(const json& value, size_t number) {
  const std::string where = "segment " + std::to_string(number) + " ";
  if (!value.is_object()) Damaged(where + "is not an object");
  constexpr int64_t kLargest = 65535;
  return {int32_t(WholeNumber(value, "width", where, 1, kLargest)),
          int32_t(WholeNumber(value, "height", where, 1, kLargest))};
}

bool IsPixelCount(const json& value) {
  return value.is_number_integer() && value.get<int64_t>() >= 0 && value.get<int64_t>() <= 65535;
}

// Left, top, width and height from first on in list.
TTextBox BoxFrom(const json& list, size_t first) {
  const int32_t left = list[first].get<int32_t>(), top = list[first + 1].get<int32_t>();
  return {left, top, left + list[first + 2].get<int32_t>(), top + list[first + 3].get<int32_t>()};
}

TTextBox ReadBox(const json& object, const std::string& where) {
  const json& box = Field(object, "box", where);
  if (!box.is_array() || box.size() != 4 || !std::all_of(box.begin(), box.end(), IsPixelCount))
    Damaged(where + "\"box\" is not four whole numbers: left, top, width, height");
  return BoxFrom(box, 0);
}

// Each move [at, left, top, width, height], later than the one before, while the word
// is on screen.
std::vector<TWordMove> ReadMoves(const json& object, const TIndexedWord& word, const std::string& where) {
  const auto found = object.find("moves");
  if (found == object.end()) return {};
  if (!found->is_array()) Damaged(where + "\"moves\" is not a list");
  std::vector<TWordMove> moves;
  double last = word.From;
  for (const json& move : *found) {
    const bool shaped = move.is_array() && move.size() == 5 && move[0].is_number() &&
                        std::all_of(move.begin() + 1, move.end(), IsPixelCount);
    const double at = shaped ? Milliseconds(move[0].get<double>()) : -1;
    if (!(at >= last && at <= word.To))
      Damaged(where + "has a move that is not [seconds, left, top, width, height] in time order while it shows");
    moves.push_back({at, BoxFrom(move, 1)});
    last = at;
  }
  return moves;
}

// A word as its own fields have it; its segment and box are checked against the
// segments once all are read (CheckPlace), wherever the document lists them.
TIndexedWord ReadWord(const json& value, size_t number) {
  const std::string where = "word " + std::to_string(number) + " ";
  if (!value.is_object()) Damaged(where + "is not an object");
  TIndexedWord word;
  word.Text = Text(value, "text", where);
  if (word.Text.empty() || !IsUtf8(word.Text)) Damaged(where + "\"text\" is empty or not UTF-8");
  if (word.Text.size() > kIndexedWordMostBytes)
    Damaged(where + "\"text\" is longer than " + std::to_string(kIndexedWordMostBytes) + " bytes");
  word.Confidence = int32_t(WholeNumber(value, "confidence", where, 0, 100));
  const json& segment = Field(value, "segment", where);
  word.Segment = segment.is_number_integer() && segment.get<int64_t>() >= 1 && segment.get<int64_t>() <= INT32_MAX
                     ? segment.get<int32_t>()
                     : 0;
  word.Box = ReadBox(value, where);
  word.From = Seconds(value, "from", where);
  word.To = Seconds(value, "to", where);
  if (word.To < word.From) Damaged(where + "goes (\"to\") before it comes (\"from\")");
  word.Moves = ReadMoves(value, word, where);
  return word;
}

void CheckPlace(const TIndexedWord& word, size_t number, const std::vector<TIndexedSegment>& segments) {
  const std::string where = "word " + std::to_string(number) + " ";
  if (word.Segment < 1 || size_t(word.Segment) > segments.size())
    Damaged(where + "\"segment\" is not a whole number from 1 to " + std::to_string(segments.size()));
  const TIndexedSegment& segment = segments[size_t(word.Segment - 1)];
  const auto outside = [&](const TTextBox& box) { return box.Right > segment.Width || box.Bottom > segment.Height; };
  if (outside(word.Box) || std::any_of(word.Moves.begin(), word.Moves.end(), [&](const TWordMove& move) {
        return outside(move.Box);
      }))
    Damaged(where + "\"box\" lies outside its segment");
}

// Takes the document's segments and words as the parser finishes each and drops it from
// the tree the parser builds, which so never holds more than one of them; fields no
// reader reads, and what lies inside fields that are not lists, are dropped as they
// come. What is wrong with the lists is kept to be told once the document as a whole is
// known to be an index.
class TListReader {
public:
  // The parser's callback: whether to keep what it read.
  bool Take(int depth, json::parse_event_t event, json& parsed) {
    using Event = json::parse_event_t;
    const bool starts = event == Event::object_start || event == Event::array_start;
    if (depth == 1) {
      if (event == Event::key) FKey = parsed.get<std::string>();
      FList = event == Event::array_start ? ListNamed(FKey) : nullptr;
      return event != Event::key || OneOf(FKey, {"format", "version", "film", "filmBytes", "filmIdentity",
                                                 "languages", "segments", "words"});
    }
    if (depth == 0) return true;
    if (!FList) return false;
    if (depth == 3 && event == Event::key) {
      FField = parsed.get<std::string>();
      return OneOf(FField, {"text", "confidence", "segment", "box", "from", "to", "moves", "width", "height"});
    }
    // A field's list of numbers, and the moves' list of such lists.
    if (depth >= 3) return !(starts && depth >= (FField == "moves" ? 5 : 4));
    if (starts) return true;
    const size_t number = ++FList->Count;
    if (FList->Problem.empty()) try {
        if (FList == &FWords)
          Words.push_back(ReadWord(parsed, number));
        else
          Segments.push_back(ReadSegment(parsed, number));
      } catch (const EkoError& e) {
        FList->Problem = e.what();
      }
    return false;
  }

  // Throws what was wrong with the segments or the words, in that order.
  void ThrowProblems() const {
    for (const TList* list : {&FSegments, &FWords})
      if (!list->Problem.empty()) throw EkoError(list->Problem);
  }

  std::vector<TIndexedSegment> Segments;
  std::vector<TIndexedWord> Words;

private:
  struct TList {
    size_t Count = 0;
    std::string Problem;
  };
  TList* ListNamed(const std::string& key) { return key == "words" ? &FWords : key == "segments" ? &FSegments : nullptr; }
  static bool OneOf(const std::string& key, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return key == name; });
  }

  std::string FKey, FField;
  TList* FList = nullptr;  // the list whose elements are being read
  TList FSegments, FWords;
};

const json& List(const json& document, const char* name) {
  const json& list = Field(document, name, "the document ");
  if (!list.is_array()) Damaged(std::string("\"") + name + "\" is not a list");
  return list;
}
}  // namespace

std::string TextIndexDocument(const TTextIndex& index) {
  json head{{"format", kTextIndexFormat},   {"version", kTextIndexVersion}, {"film", index.Film},
            {"filmBytes", index.FilmBytes}, {"filmIdentity", index.FilmIdentity},
            {"languages", index.Languages}, {"segments", json::array()}};
  for (const TIndexedSegment& s : index.Segments)
    head["segments"].push_back({{"width", s.Width}, {"height", s.Height}});
  std::string text = head.dump(-1, ' ', false, json::error_handler_t::replace);
  text.pop_back();  // the closing brace: the words follow, one a line
  text += ",\n\"words\": [";
  for (size_t i = 0; i < index.Words.size(); ++i)
    text += (i == 0 ? "\n" : ",\n") + WordJson(index.Words[i]).dump(-1, ' ', false, json::error_handler_t::replace);
  return text + "\n]}\n";
}

TTextIndex ParseTextIndex(std::string_view document) {
  if (document.size() > kTextIndexMostBytes) ThrowTooLarge();
  TListReader lists;
  const json parsed = json::parse(
      document.begin(), document.end(),
      [&](int depth, json::parse_event_t event, json& value) { return lists.Take(depth, event, value); }, false);
  if (parsed.is_discarded()) throw EkoError("not a text index: the file is not JSON (or is cut short)");
  if (!parsed.is_object() || !parsed.contains("format") || parsed["format"] != kTextIndexFormat)
    throw EkoError(std::string("not a text index: it does not say \"format\": \"") + kTextIndexFormat + "\"");
  const int64_t version = WholeNumber(parsed, "version", "the document ", 1, INT32_MAX);
  if (version > kTextIndexVersion)
    throw EkoError("the text index is of version " + std::to_string(version) + ", newer than this program reads (" +
                   std::to_string(kTextIndexVersion) + "): make it again with this kof index");
  TTextIndex index;
  index.Film = Text(parsed, "film", "the document ");
  index.FilmBytes = WholeNumber(parsed, "filmBytes", "the document ", 0, INT64_MAX);
  if (version >= 2) index.FilmIdentity = Text(parsed, "filmIdentity", "the document ");
  index.Languages = Text(parsed, "languages", "the document ");
  List(parsed, "segments");
  List(parsed, "words");
  lists.ThrowProblems();
  index.Segments = std::move(lists.Segments);
  index.Words = std::move(lists.Words);
  for (size_t i = 0; i < index.Words.size(); ++i) CheckPlace(index.Words[i], i + 1, index.Segments);
  return index;
}

std::optional<TTextIndex> ReadTextIndexFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff size = file.tellg();
  if (size < 0) throw EkoError("the text index cannot be read");
  if (uint64_t(size) > kTextIndexMostBytes) ThrowTooLarge();
  std::string document(size_t(size), '\0');
  file.seekg(0);
  if (!file.read(document.data(), size)) throw EkoError("the text index cannot be read");
  return ParseTextIndex(document);
}

bool IndexBelongsTo(const TTextIndex& index, const std::filesystem::path& film) {
  return !index.FilmIdentity.empty() && index.FilmIdentity == FilmIdentity(film);
}
