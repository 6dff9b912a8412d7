#pragma once
// A growable list of 8-bit strings with "key = value" lookup; the cabinet reader's
// bookkeeping and the language table are kept in it.
#include <cstdint>
#include <string>
#include <vector>

class TkoStringList {
public:
  static constexpr int32_t kGrowthStep = 16;

  void Clear();
  // Appends s and returns its index; the capacity grows by 16 when full.
  int32_t Add(const std::string& s);
  // The line at i, or "" when i is out of range.
  std::string Get(int32_t i) const;
  // Removes the line at i; an index out of range is ignored.
  void Delete(int32_t i);
  // Index of the first line equal to s (case matters), or -1.
  int32_t IndexOf(const std::string& s) const;
  // The trimmed value of the first "key=value" line whose trimmed key matches key
  // ignoring case; "" when key is empty or no line matches.
  std::string GetValue(const std::string& key) const;
  // Appends the lines of a text buffer: CR and NUL end a line, LF between lines is
  // skipped (see the .cpp for the exact scan). Nothing for null or length <= 0.
  void SetText(const char* buffer, int32_t length);

  int32_t Count() const { return FCount; }
  int32_t Capacity() const { return static_cast<int32_t>(FLines.size()); }

private:
  int32_t FCount = 0;
  std::vector<std::string> FLines;
};

// Blanks and control characters (bytes up to 0x20) removed from both ends.
std::string TrimText(const std::string& s);
// Case-insensitive equality of 8-bit texts: ASCII and the Cyrillic letters of
// Windows-1251, the recorder's code page.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);
