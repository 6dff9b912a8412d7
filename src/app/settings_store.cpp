#include "app/settings_store.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <utility>

namespace {
constexpr std::string_view kPlaceKey = "place";
constexpr std::string_view kOldPlaceKey = "resume";  // earlier builds' places, without their time
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kVersionPrefix = "roRezodu settings ";

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsKey(std::string_view key) {
  return !key.empty() && key.find('=') == std::string_view::npos && !HasLineBreak(key) && key != kPlaceKey &&
         key != kOldPlaceKey;
}

// The next line of text without its line break; text then starts after it.
std::string_view TakeLine(std::string_view& text) {
  const size_t end = std::min(text.find('\n'), text.size());
  std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(end + 1, text.size()));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// "roRezodu settings 1" is this version's; a higher number a later one's.
TSettingsText KindOf(std::string_view firstLine) {
  if (firstLine == TSettingsStore::kFirstLine) return TSettingsText::kSettings;
  if (!firstLine.starts_with(kVersionPrefix)) return TSettingsText::kDamaged;
  const std::string_view version = firstLine.substr(kVersionPrefix.size());
  const bool number = !version.empty() && version.front() != '0' &&
                      std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
  return number && version != "1" ? TSettingsText::kLaterVersion : TSettingsText::kDamaged;
}

// Of a text over the limit, the whole lines within it (or, without a line break there,
// the limit's worth, which no first line matches).
std::string_view WithinLimit(std::string_view text) {
  if (text.size() <= TSettingsStore::kMaxFileBytes) return text;
  const size_t lastBreak = text.rfind('\n', TSettingsStore::kMaxFileBytes - 1);
  return text.substr(0, lastBreak == std::string_view::npos ? TSettingsStore::kMaxFileBytes : lastBreak + 1);
}

// The next blank-separated decimal number of text, which then starts after it.
template <typename Number>
bool TakeNumber(std::string_view& text, Number& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end == text.data() + text.size() || *end != ' ') return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()) + 1);
  return true;
}
}  // namespace

TSettingsText TSettingsStore::Parse(std::string_view text) {
  *this = TSettingsStore();
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (text.empty()) return TSettingsText::kSettings;
  text = WithinLimit(text);
  const TSettingsText kind = KindOf(TakeLine(text));
  if (kind != TSettingsText::kSettings) return kind;
  while (!text.empty())
    if (const std::string_view line = TakeLine(text); !line.empty() && !ParseLine(line)) FOtherLines.emplace_back(line);
  std::stable_sort(FPlaces.begin(), FPlaces.end(),
                   [](const TPlaceEntry& a, const TPlaceEntry& b) { return a.SavedMs > b.SavedMs; });
  if (FPlaces.size() > kMaxResumeFilms) FPlaces.resize(kMaxResumeFilms);
  return TSettingsText::kSettings;
}

// False for a line this version does not understand.
bool TSettingsStore::ParseLine(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = line.substr(0, equals);
  const std::string_view value = line.substr(equals + 1);
  if (key == kPlaceKey || key == kOldPlaceKey) return ParsePlace(value, key == kPlaceKey);
  if (!IsKey(key)) return false;
  const bool known = std::any_of(FValues.begin(), FValues.end(), [&](const auto& known) { return known.first == key; });
  if (!known) FValues.emplace_back(key, value);
  return true;
}

bool TSettingsStore::ParsePlace(std::string_view value, bool withSavedTime) {
  TPlaceEntry entry;
  if ((withSavedTime && !TakeNumber(value, entry.SavedMs)) || !TakeNumber(value, entry.Film.Size) ||
      !TakeNumber(value, entry.Film.WriteTime) || !TakeNumber(value, entry.Place.Segment) ||
      !TakeNumber(value, entry.Place.Frame) || value.empty() || entry.Place.Segment < 0 || entry.Place.Frame < 0)
    return false;
  entry.Film.Path = value;
  // A path is there once, with its latest place (the first line's, when they tie).
  const auto known = std::find_if(FPlaces.begin(), FPlaces.end(),
                                  [&](const TPlaceEntry& known) { return known.Film.Path == entry.Film.Path; });
  if (known != FPlaces.end() && known->SavedMs >= entry.SavedMs) return true;
  if (known != FPlaces.end()) FPlaces.erase(known);
  FPlaces.push_back(std::move(entry));
  return true;
}

std::string TSettingsStore::Text() const {
  std::vector<std::string> values, places;
  // Piece by piece: GCC 12 at -O3 takes chained additions for overlapping copies.
  for (const auto& [key, value] : FValues) values.emplace_back(key).append("=").append(value);
  for (const TPlaceEntry& entry : FPlaces) {
    std::string& line = places.emplace_back(kPlaceKey).append("=");
    for (const int64_t number : {entry.SavedMs, entry.Film.Size, entry.Film.WriteTime, int64_t{entry.Place.Segment},
                                 int64_t{entry.Place.Frame}})
      line.append(std::to_string(number)).append(" ");
    line.append(entry.Film.Path);
  }
  // Within the limit: the values first, then the lines not understood, then the places,
  // each group as far as it fits, from its start.
  size_t room = kMaxFileBytes - kFirstLine.size() - 1;
  const auto fitting = [&room](const std::vector<std::string>& lines) {
    size_t count = 0;
    for (; count < lines.size() && lines[count].size() < room; ++count) room -= lines[count].size() + 1;
    return count;
  };
  std::string text(kFirstLine);
  text += '\n';
  for (const std::vector<std::string>* group : {&std::as_const(values), &FOtherLines, &std::as_const(places)}) {
    const size_t count = fitting(*group);
    for (size_t i = 0; i < count; ++i) text.append((*group)[i]).append("\n");
  }
  return text;
}

std::string TSettingsStore::Value(std::string_view key) const {
  for (const auto& [known, value] : FValues)
    if (known == key) return value;
  return {};
}

void TSettingsStore::SetValue(const std::string& key, const std::string& value) {
  if (!IsKey(key) || HasLineBreak(value)) return;
  for (auto& [known, old] : FValues)
    if (known == key) {
      old = value;
      return;
    }
  FValues.emplace_back(key, value);
}

std::optional<TFilmFrame> TSettingsStore::ResumePlace(const TFilmIdentity& film) const {
  for (const TPlaceEntry& entry : FPlaces)
    if (entry.Film == film) return entry.Place;
  return std::nullopt;
}

void TSettingsStore::RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs) {
  if (film.Path.empty() || HasLineBreak(film.Path) || place.Segment < 0 || place.Frame < 0) return;
  const auto known = std::find_if(FPlaces.begin(), FPlaces.end(),
                                  [&](const TPlaceEntry& entry) { return entry.Film.Path == film.Path; });
  if (known != FPlaces.end() && known->SavedMs > savedMs) return;
  if (known != FPlaces.end()) FPlaces.erase(known);
  const auto later =
      std::find_if(FPlaces.begin(), FPlaces.end(), [&](const TPlaceEntry& entry) { return entry.SavedMs <= savedMs; });
  FPlaces.insert(later, {film, place, savedMs});
  if (FPlaces.size() > kMaxResumeFilms) FPlaces.resize(kMaxResumeFilms);
}

void TSettingsStore::ForgetPlace(const TFilmIdentity& film, int64_t savedMs) {
  std::erase_if(FPlaces,
                [&](const TPlaceEntry& entry) { return entry.Film.Path == film.Path && entry.SavedMs <= savedMs; });
}

void TSettingsChanges::RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs) {
  std::erase_if(FPlaces, [&](const TPlaceChange& change) { return change.Film.Path == film.Path; });
  FPlaces.push_back({film, place, savedMs});
}

void TSettingsChanges::ForgetPlace(const TFilmIdentity& film, int64_t savedMs) {
  std::erase_if(FPlaces, [&](const TPlaceChange& change) { return change.Film.Path == film.Path; });
  FPlaces.push_back({film, std::nullopt, savedMs});
}

void TSettingsChanges::SetValue(const std::string& key, const std::string& value) {
  std::erase_if(FValues, [&](const auto& known) { return known.first == key; });
  FValues.emplace_back(key, value);
}

void TSettingsChanges::ApplyTo(TSettingsStore& store) const {
  for (const auto& [key, value] : FValues) store.SetValue(key, value);
  for (const TPlaceChange& change : FPlaces)
    if (change.Place)
      store.RememberPlace(change.Film, *change.Place, change.SavedMs);
    else
      store.ForgetPlace(change.Film, change.SavedMs);
}

void TSettingsChanges::Clear() {
  FPlaces.clear();
  FValues.clear();
}
