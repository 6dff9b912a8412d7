#include "film/ko_string_list.h"

void TkoStringList::Clear() {
  FLines.clear();
  FCount = 0;
}

int32_t TkoStringList::Add(const std::string& s) {
  if (FCount == Capacity()) FLines.resize(FLines.size() + kGrowthStep);
  FLines[static_cast<size_t>(FCount)] = s;
  return FCount++;
}

std::string TkoStringList::Get(int32_t i) const {
  return i >= 0 && i < FCount ? FLines[static_cast<size_t>(i)] : std::string();
}

void TkoStringList::Delete(int32_t i) {
  if (i < 0 || i >= FCount) return;
  for (int32_t j = i; j + 1 < FCount; ++j) FLines[static_cast<size_t>(j)] = std::move(FLines[static_cast<size_t>(j + 1)]);
  FLines[static_cast<size_t>(--FCount)].clear();
}

int32_t TkoStringList::IndexOf(const std::string& s) const {
  for (int32_t i = 0; i < FCount; ++i)
    if (FLines[static_cast<size_t>(i)] == s) return i;
  return -1;
}

std::string TkoStringList::GetValue(const std::string& key) const {
  if (key.empty()) return {};
  for (int32_t i = 0; i < FCount; ++i) {
    const std::string& line = FLines[static_cast<size_t>(i)];
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (SameTextIgnoringCase(TrimText(line.substr(0, eq)), key)) return TrimText(line.substr(eq + 1));
  }
  return {};
}

// Two states: between lines an LF is skipped and any other byte opens a line (and is
// not tested as a line end); in a line CR or NUL closes it, every other byte belongs.
void TkoStringList::SetText(const char* buffer, int32_t length) {
  if (buffer == nullptr || length <= 0) return;
  int32_t lineStart = -1;
  for (int32_t i = 0; i < length; ++i) {
    const char c = buffer[i];
    if (lineStart < 0) {
      if (c != '\n') lineStart = i;
    } else if (c == '\r' || c == '\0') {
      Add(std::string(buffer + lineStart, static_cast<size_t>(i - lineStart)));
      lineStart = -1;
    }
  }
  if (lineStart >= 0) Add(std::string(buffer + lineStart, static_cast<size_t>(length - lineStart)));
}

std::string TrimText(const std::string& s) {
  size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
  return s.substr(first, last - first);
}

namespace {
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);  // А..Я
  if (c == 0xA8) return 0xB8;                                              // Ё
  return c;
}
}  // namespace

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
  return true;
}
