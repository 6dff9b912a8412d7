#include "app/settings_store.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {
constexpr std::string_view kResumeKey = "resume";

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsKey(std::string_view key) {
  return !key.empty() && key.find('=') == std::string_view::npos && !HasLineBreak(key) && key != kResumeKey;
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

bool TSettingsStore::Parse(std::string_view text) {
  FValues.clear();
  FResume.clear();
  if (text.size() > kMaxFileBytes) return false;
  bool first = true;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      if (line != kFirstLine) return false;
      first = false;
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    if (key == kResumeKey)
      ParseResume(value);
    else if (IsKey(key) && Value(key).empty())
      FValues.emplace_back(key, value);
  }
  return !first;
}

bool TSettingsStore::ParseResume(std::string_view value) {
  TResumeEntry entry;
  if (FResume.size() >= kMaxResumeFilms || !TakeNumber(value, entry.Film.Size) ||
      !TakeNumber(value, entry.Film.WriteTime) || !TakeNumber(value, entry.Place.Segment) ||
      !TakeNumber(value, entry.Place.Frame) || value.empty() || entry.Place.Segment < 0 || entry.Place.Frame < 0)
    return false;
  entry.Film.Path = value;
  // A path is there once, with its latest place.
  for (const TResumeEntry& known : FResume)
    if (known.Film.Path == entry.Film.Path) return false;
  FResume.push_back(std::move(entry));
  return true;
}

std::string TSettingsStore::Text() const {
  std::string text(kFirstLine);
  text += '\n';
  // Piece by piece: GCC 12 at -O3 takes chained additions for overlapping copies.
  for (const auto& [key, value] : FValues) text.append(key).append("=").append(value).append("\n");
  for (const TResumeEntry& entry : FResume) {
    text.append(kResumeKey).append("=");
    for (const int64_t number : {entry.Film.Size, entry.Film.WriteTime, int64_t{entry.Place.Segment},
                                 int64_t{entry.Place.Frame}})
      text.append(std::to_string(number)).append(" ");
    text.append(entry.Film.Path).append("\n");
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
  for (const TResumeEntry& entry : FResume)
    if (entry.Film == film) return entry.Place;
  return std::nullopt;
}

void TSettingsStore::RememberPlace(const TFilmIdentity& film, TFilmFrame place) {
  if (film.Path.empty() || HasLineBreak(film.Path) || place.Segment < 0 || place.Frame < 0) return;
  ForgetPlace(film);
  FResume.insert(FResume.begin(), {film, place});
  if (FResume.size() > kMaxResumeFilms) FResume.resize(kMaxResumeFilms);
}

void TSettingsStore::ForgetPlace(const TFilmIdentity& film) {
  std::erase_if(FResume, [&](const TResumeEntry& entry) { return entry.Film.Path == film.Path; });
}

bool LoadSettings(const std::filesystem::path& path, TSettingsStore& store) {
  store.Parse({});
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string text;
  text.resize(TSettingsStore::kMaxFileBytes + 1);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) return false;
  text.resize(static_cast<size_t>(file.gcount()));
  return store.Parse(text);
}

bool SaveSettings(const std::filesystem::path& path, const TSettingsStore& store) {
  // A name of its own, so that two players saving at once do not write into one file.
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path temporary = path;
  temporary += ".";
  temporary += std::to_string(stamp);
  temporary += ".tmp";
  const std::string text = store.Text();
  bool written = false;
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (file) {
      file.write(text.data(), static_cast<std::streamsize>(text.size()));
      file.close();
      written = !file.fail();
    }
  }
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}
