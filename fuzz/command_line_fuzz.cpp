// Fuzzes the command-line parser: the input is the screen's width and height (two
// 32-bit numbers) and then the parameters as 16-bit characters, each ended by a 0.
// Findings: a crash or undefined behaviour in the parse or its limits; options that break
// the parser's promises (a parse without an invalid-format box gives a window of at
// least 600 x 400 that does not reach past the screen's right and bottom edges, and the
// invalid-format box ends the list, and a skip length lies within 0 .. 3600 seconds); a
// number read back differently from how it prints.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "session/command_line.h"
#include "playback/idle_skip.h"
#include "playback/saturate.h"

namespace {
[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void CheckNumber(const std::wstring& text) {
  const std::optional<int32_t> value = ParseDecimalInt32(text);
  if (value && ParseDecimalInt32(std::to_wstring(*value)) != value) Fail("a number reads back differently");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TkoSize screen;
  if (size < sizeof screen) return 0;
  std::memcpy(&screen, data, sizeof screen);
  std::vector<std::wstring> parameters(1);
  for (size_t i = sizeof screen; i + 1 < size; i += 2) {
    const auto c = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    if (c == 0)
      parameters.emplace_back();
    else
      parameters.back() += c;
  }
  for (const std::wstring& parameter : parameters) CheckNumber(parameter);

  const TCommandLineResult result = ParseCommandLine(parameters, screen);
  const std::vector<TCommandLineBox>& boxes = result.Boxes;
  for (size_t i = 0; i + 1 < boxes.size(); ++i)
    if (boxes[i] == TCommandLineBox::kInvalidFormat) Fail("a box after the invalid-format box");
  if (!boxes.empty() && boxes.back() == TCommandLineBox::kInvalidFormat) return 0;
  const CommandLineOptions& o = result.Options;
  if (o.IdleSkipSeconds && (*o.IdleSkipSeconds < 0 || *o.IdleSkipSeconds > kLongestIdleSkipSeconds))
    Fail("a skip length outside 0 .. 3600 seconds");
  if (o.Width < kDefaultWindowWidth || o.Height < kDefaultWindowHeight) Fail("a window below 600 x 400");
  const int32_t spaceRight = SaturateToInt32(int64_t{screen.Width} - o.Width);
  const int32_t spaceBelow = SaturateToInt32(int64_t{screen.Height} - o.Height);
  if (o.X > spaceRight || o.Y > spaceBelow) Fail("a window reaching past the screen's right or bottom edge");
  return 0;
}
