#include "text/text_index.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "film/ko_error.h"
#include "text/utf8_text.h"

using json = nlohmann::ordered_json;

namespace {
double Milliseconds(double seconds) { return std::round(seconds * 1000) / 1000; }

json WordJson(const TIndexedWord& w) {
  return json{{"text", w.Text},
              {"confidence", w.Confidence},
              {"segment", w.Segment},
              {"box", {w.Box.Left, w.Box.Top, w.Box.Width(), w.Box.Height()}},
              {"from", Milliseconds(w.From)},
              {"to", Milliseconds(w.To)}};
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

TTextBox ReadBox(const json& object, const std::string& where, const TIndexedSegment& segment) {
  const json& box = Field(object, "box", where);
  if (!box.is_array() || box.size() != 4 || !std::all_of(box.begin(), box.end(), [](const json& v) {
        return v.is_number_integer() && v.get<int64_t>() >= 0 && v.get<int64_t>() <= 65535;
      }))
    Damaged(where + "\"box\" is not four whole numbers: left, top, width, height");
  const TTextBox b{box[0].get<int32_t>(), box[1].get<int32_t>(), box[0].get<int32_t>() + box[2].get<int32_t>(),
                   box[1].get<int32_t>() + box[3].get<int32_t>()};
  if (b.Right > segment.Width || b.Bottom > segment.Height) Damaged(where + "\"box\" lies outside its segment");
  return b;
}

TIndexedWord ReadWord(const json& value, size_t number, const std::vector<TIndexedSegment>& segments) {
  const std::string where = "word " + std::to_string(number) + " ";
  if (!value.is_object()) Damaged(where + "is not an object");
  TIndexedWord word;
  word.Text = Text(value, "text", where);
  if (word.Text.empty() || !IsUtf8(word.Text)) Damaged(where + "\"text\" is empty or not UTF-8");
  word.Confidence = int32_t(WholeNumber(value, "confidence", where, 0, 100));
  word.Segment = int32_t(WholeNumber(value, "segment", where, 1, int64_t(segments.size())));
  word.Box = ReadBox(value, where, segments[size_t(word.Segment - 1)]);
  word.From = Seconds(value, "from", where);
  word.To = Seconds(value, "to", where);
  if (word.To < word.From) Damaged(where + "goes (\"to\") before it comes (\"from\")");
  return word;
}

template <typename Item, typename Read>
std::vector<Item> ReadList(const json& document, const char* name, Read read) {
  const json& list = Field(document, name, "the document ");
  if (!list.is_array()) Damaged(std::string("\"") + name + "\" is not a list");
  std::vector<Item> items;
  items.reserve(list.size());
  for (const json& value : list) items.push_back(read(value, items.size() + 1));
  return items;
}
}  // namespace

std::string TextIndexDocument(const TTextIndex& index) {
  json head{{"format", kTextIndexFormat},   {"version", kTextIndexVersion}, {"film", index.Film},
            {"filmBytes", index.FilmBytes}, {"languages", index.Languages}, {"segments", json::array()}};
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
  const json parsed = json::parse(document.begin(), document.end(), nullptr, false);
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
  index.Languages = Text(parsed, "languages", "the document ");
  index.Segments = ReadList<TIndexedSegment>(parsed, "segments", ReadSegment);
  index.Words = ReadList<TIndexedWord>(
      parsed, "words", [&](const json& value, size_t number) { return ReadWord(value, number, index.Segments); });
  return index;
}
