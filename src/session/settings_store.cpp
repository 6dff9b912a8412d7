#include "session/settings_store.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>
#include <utility>

namespace {
constexpr std::string_view kPlaceKey = "place";
constexpr std::string_view kOldPlaceKey = "resume";  // earlier builds' places, without their time
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kVersionPrefix = "roRezodu settings ";
constexpr int kTimedValuesVersion = 2;  // before it, "KEY=VALUE" without the time

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

// The version "roRezodu settings N" names; 0 for any other line. A number too large to
// take names a later version too.
int VersionOf(std::string_view firstLine) {
  if (!firstLine.starts_with(kVersionPrefix)) return 0;
  const std::string_view digits = firstLine.substr(kVersionPrefix.size());
  const bool number = !digits.empty() && digits.front() != '0' &&
                      std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!number) return 0;
  int version = std::numeric_limits<int>::max();  // left so when out of range
  std::from_chars(digits.data(), digits.data() + digits.size(), version);
  return version;
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
  const int version = VersionOf(TakeLine(text));
  if (version == 0) return TSettingsText::kDamaged;
  if (version > kVersion) return TSettingsText::kLaterVersion;
  const bool timedValues = version >= kTimedValuesVersion;
  while (!text.empty())
    if (const std::string_view line = TakeLine(text); !line.empty() && !ParseLine(line, timedValues))
      FOtherLines.emplace_back(line);
  std::stable_sort(FPlaces.begin(), FPlaces.end(),
                   [](const TPlaceEntry& a, const TPlaceEntry& b) { return a.SavedMs > b.SavedMs; });
  if (FPlaces.size() > kMaxResumeFilms) FPlaces.resize(kMaxResumeFilms);
  return TSettingsText::kSettings;
}

// False for a line this version does not understand.
bool TSettingsStore::ParseLine(std::string_view line, bool timedValues) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = line.substr(0, equals);
  const std::string_view value = line.substr(equals + 1);
  if (key == kPlaceKey || key == kOldPlaceKey) return ParsePlace(value, key == kPlaceKey);
  return IsKey(key) && ParseValue(key, value, timedValues);
}

bool TSettingsStore::ParseValue(std::string_view key, std::string_view value, bool timed) {
  TSettingValue entry{std::string(key), {}, 0};
  if (timed && !TakeNumber(value, entry.SavedMs)) return false;
  entry.Value = value;
  // A key is there once, with its latest value (the first line's, when they tie).
  const auto known =
      std::find_if(FValues.begin(), FValues.end(), [&](const TSettingValue& known) { return known.Key == key; });
  if (known == FValues.end())
    FValues.push_back(std::move(entry));
  else if (known->SavedMs < entry.SavedMs)
    *known = std::move(entry);
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
  for (const TSettingValue& entry : FValues)
    values.emplace_back(entry.Key).append("=").append(std::to_string(entry.SavedMs)).append(" ").append(entry.Value);
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
  for (const TSettingValue& entry : FValues)
    if (entry.Key == key) return entry.Value;
  return {};
}

bool TSettingsStore::SetValue(const std::string& key, const std::string& value, int64_t savedMs) {
  if (!IsKey(key) || HasLineBreak(value)) return false;
  const auto known =
      std::find_if(FValues.begin(), FValues.end(), [&](const TSettingValue& entry) { return entry.Key == key; });
  if (known == FValues.end())
    FValues.push_back({key, value, savedMs});
  else if (known->SavedMs > savedMs)
    return known->Value == value;
  else
    *known = {key, value, savedMs};
  return true;
}

std::optional<TFilmFrame> TSettingsStore::ResumePlace(const TFilmIdentity& film) const {
  for (const TPlaceEntry& entry : FPlaces)
    if (entry.Film == film) return entry.Place;
  return std::nullopt;
}

bool TSettingsStore::RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs) {
  if (film.Path.empty() || HasLineBreak(film.Path) || place.Segment < 0 || place.Frame < 0) return false;
  const auto known = std::find_if(FPlaces.begin(), FPlaces.end(),
                                  [&](const TPlaceEntry& entry) { return entry.Film.Path == film.Path; });
  if (known != FPlaces.end() && known->SavedMs > savedMs) return known->Film == film && known->Place == place;
  if (known != FPlaces.end()) FPlaces.erase(known);
  const auto later =
      std::find_if(FPlaces.begin(), FPlaces.end(), [&](const TPlaceEntry& entry) { return entry.SavedMs <= savedMs; });
  const bool kept = static_cast<size_t>(later - FPlaces.begin()) < kMaxResumeFilms;
  FPlaces.insert(later, {film, place, savedMs});
  if (FPlaces.size() > kMaxResumeFilms) FPlaces.resize(kMaxResumeFilms);
  return kept;
}

bool TSettingsStore::ForgetPlace(const TFilmIdentity& film, int64_t savedMs) {
  const auto ofPath = [&](const TPlaceEntry& entry) { return entry.Film.Path == film.Path; };
  std::erase_if(FPlaces, [&](const TPlaceEntry& entry) { return ofPath(entry) && entry.SavedMs <= savedMs; });
  return std::none_of(FPlaces.begin(), FPlaces.end(), ofPath);
}

void TSettingsChanges::RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs) {
  std::erase_if(FPlaces, [&](const TPlaceChange& change) { return change.Film.Path == film.Path; });
  FPlaces.push_back({film, place, savedMs});
}

void TSettingsChanges::ForgetPlace(const TFilmIdentity& film, int64_t savedMs) {
  std::erase_if(FPlaces, [&](const TPlaceChange& change) { return change.Film.Path == film.Path; });
  FPlaces.push_back({film, std::nullopt, savedMs});
}

void TSettingsChanges::SetValue(const std::string& key, const std::string& value, int64_t savedMs) {
  std::erase_if(FValues, [&](const TSettingValue& known) { return known.Key == key; });
  FValues.push_back({key, value, savedMs});
}

bool TSettingsChanges::ApplyTo(TSettingsStore& store) const {
  bool allTaken = true;
  for (const TSettingValue& change : FValues)
    allTaken = store.SetValue(change.Key, change.Value, change.SavedMs) && allTaken;
  for (const TPlaceChange& change : FPlaces)
    allTaken = (change.Place ? store.RememberPlace(change.Film, *change.Place, change.SavedMs)
                             : store.ForgetPlace(change.Film, change.SavedMs)) &&
               allTaken;
  return allTaken;
}

void TSettingsChanges::Clear() {
  FPlaces.clear();
  FValues.clear();
}
