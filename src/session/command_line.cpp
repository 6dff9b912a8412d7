#include "session/command_line.h"

#include <algorithm>
#include <limits>

#include "session/ascii_case.h"
#include "playback/idle_skip.h"
#include "playback/saturate.h"

const char kCommandLineHelpCaption[] = "Параметры запуска roRezodu";
const char kCommandLineHelpText[] =
    "\"FileName.exe\" [-size {FULLSCREEN|MAX|MIN|{w h}} [-pos {C|{{L|R|x} {T|B|y}}}]] [-segm N] [-closeonfinish]\r"
    "[-skipidle SECONDS]\r"
    "\r"
    "fullscreen - полноэкранный режим без нижней панели управления\r"
    "max - максимальный размер (занимает весь экран, но при этом остается заголовок окна и нижняя панель)\r"
    "min - минимальный размер (600 x 400)\r"
    "w h - Width, Height - ширина, высота проигрывателя\r"
    "\r"
    "c - Center - в центре экрана\r"
    "\r"
    "L - Left - по левому краю экрана\r"
    "R - Right - по правому экрана\r"
    "x - отступить от левого края экрана х пикселей\r"  // the "х" is Cyrillic
    "\r"
    "T - Top - по верхнему краю экрана\r"
    "B - Bottom - по нижнему краю экрана\r"
    "y - отступить от верхнего края экрана y пикселей\r"
    "\r"
    "N - Segment Number - начинать воспроизведение с сегмента N\r"
    "\r"
    "CloseOnFinish - закрыть проигрыватель по окончании воспроизведения\r"
    "\r"
    "SkipIdle - пропускать простои не короче SECONDS секунд (0 - не пропускать)";
const char kInvalidCommandLineText[] = "Неверный формат командной строки";
const char kInvalidCommandLineCaption[] = "Error";

std::optional<int32_t> ParseDecimalInt32(std::wstring_view text) {
  const bool negative = !text.empty() && text.front() == L'-';
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // One past the largest magnitude: 2^31 for a negative number.
  const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + (negative ? 1 : 0);
  int64_t magnitude = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    magnitude = magnitude * 10 + (c - L'0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

namespace {
enum class TParseState : uint8_t { kOption, kHorizontal, kVertical, kSize, kHeight, kSegment, kSkipIdle };

bool Is(std::wstring_view parameter, std::wstring_view lowerWord) {
  return SameIgnoringAsciiCase(parameter, lowerWord);
}

class TCommandLineParser {
public:
  TCommandLineParser(TkoSize screen, TkoSize smallest, TCommandLineResult& result)
      : FScreen(screen), FSmallest(smallest), FResult(result) {}

  // Takes one parameter; false when it should have been an integer and is not.
  bool Take(std::wstring_view parameter, bool first) {
    switch (FState) {
      case TParseState::kOption: return TakeOption(parameter, first);
      case TParseState::kHorizontal: return TakeHorizontal(parameter);
      case TParseState::kVertical: return TakeVertical(parameter);
      case TParseState::kSize: return TakeSize(parameter);
      case TParseState::kHeight: return TakeHeight(parameter);
      case TParseState::kSegment: return TakeSegment(parameter);
      case TParseState::kSkipIdle: return TakeSkipIdle(parameter);
    }
    return true;
  }

  void ApplyLimits() {
    CommandLineOptions& o = FResult.Options;
    o.X = std::max(o.X, 0);
    o.Y = std::max(o.Y, 0);
    o.Width = std::max(o.Width, FSmallest.Width);
    o.Height = std::max(o.Height, FSmallest.Height);
    o.X = std::min(o.X, SpaceRight());
    o.Y = std::min(o.Y, SpaceBelow());
  }

private:
  int32_t SpaceRight() const { return SaturateToInt32(int64_t{FScreen.Width} - FResult.Options.Width); }
  int32_t SpaceBelow() const { return SaturateToInt32(int64_t{FScreen.Height} - FResult.Options.Height); }

  // Stores a number in target; false when the text is not one.
  static bool TakeNumber(std::wstring_view text, int32_t& target) {
    const std::optional<int32_t> value = ParseDecimalInt32(text);
    if (value) target = *value;
    return value.has_value();
  }

  bool TakeOption(std::wstring_view parameter, bool first) {
    const bool marked = !parameter.empty() && (parameter.front() == L'-' || parameter.front() == L'/');
    if (!marked) {
      if (first) FResult.Options.FilmFileName = std::wstring(parameter);
      return true;
    }
    const std::wstring_view word = parameter.substr(1);
    if (Is(word, L"closeonfinish")) {
      FResult.Options.CloseOnFinish = true;
    } else if (Is(word, L"size")) {
      FState = TParseState::kSize;
    } else if (Is(word, L"pos")) {
      FState = TParseState::kHorizontal;
    } else if (Is(word, L"segm")) {
      FState = TParseState::kSegment;
    } else if (Is(word, L"skipidle")) {
      FState = TParseState::kSkipIdle;
    } else if (Is(word, L"?") || Is(word, L"help")) {
      FResult.Boxes.push_back(TCommandLineBox::kHelp);
    }
    return true;
  }

  bool TakeHorizontal(std::wstring_view parameter) {
    CommandLineOptions& o = FResult.Options;
    if (Is(parameter, L"c")) {
      o.X = SaturateToInt32((int64_t{FScreen.Width} - o.Width) / 2);
      o.Y = SaturateToInt32((int64_t{FScreen.Height} - o.Height) / 2);
      FState = TParseState::kOption;
      return true;
    }
    FState = TParseState::kVertical;
    if (Is(parameter, L"l")) {
      o.X = 0;
    } else if (Is(parameter, L"r")) {
      o.X = SpaceRight();
    } else {
      return TakeNumber(parameter, o.X);
    }
    return true;
  }

  bool TakeVertical(std::wstring_view parameter) {
    CommandLineOptions& o = FResult.Options;
    FState = TParseState::kOption;
    if (Is(parameter, L"b")) {
      o.Y = SpaceBelow();
    } else if (Is(parameter, L"t")) {
      o.Y = 0;
    } else {
      return TakeNumber(parameter, o.Y);
    }
    return true;
  }

  bool TakeSize(std::wstring_view parameter) {
    CommandLineOptions& o = FResult.Options;
    FState = TParseState::kOption;
    if (Is(parameter, L"fullscreen")) {
      o.FullScreenRequested = true;
      o.SizeMode = smNormal;
    } else if (Is(parameter, L"max")) {
      o.SizeMode = smMaximised;
    } else if (Is(parameter, L"min")) {
      o.SizeMode = smNormal;
      o.Width = FSmallest.Width;
      o.Height = FSmallest.Height;
    } else {
      o.SizeMode = smNormal;
      FState = TParseState::kHeight;
      return TakeNumber(parameter, o.Width);
    }
    return true;
  }

  bool TakeHeight(std::wstring_view parameter) {
    CommandLineOptions& o = FResult.Options;
    FState = TParseState::kOption;
    if (!TakeNumber(parameter, o.Height)) return false;
    o.FullScreenRequested = o.Width == FScreen.Width && o.Height == FScreen.Height;
    return true;
  }

  bool TakeSegment(std::wstring_view parameter) {
    FState = TParseState::kOption;
    FResult.Options.SegmentGiven = TakeNumber(parameter, FResult.Options.SegmentNumber);
    return FResult.Options.SegmentGiven;
  }

  // Whole seconds, 0 .. kLongestIdleSkipSeconds; anything else is a bad command line.
  bool TakeSkipIdle(std::wstring_view parameter) {
    FState = TParseState::kOption;
    const std::optional<int32_t> seconds = ParseDecimalInt32(parameter);
    if (!seconds || *seconds < 0 || *seconds > kLongestIdleSkipSeconds) return false;
    FResult.Options.IdleSkipSeconds = *seconds;
    return true;
  }

  TkoSize FScreen;
  TkoSize FSmallest;
  TCommandLineResult& FResult;
  TParseState FState = TParseState::kOption;
};
}  // namespace

TCommandLineResult ParseCommandLine(const std::vector<std::wstring>& parameters, TkoSize screen, TkoSize smallest) {
  TCommandLineResult result;
  result.Options.Width = smallest.Width;
  result.Options.Height = smallest.Height;
  if (parameters.empty()) return result;
  TCommandLineParser parser(screen, smallest, result);
  for (size_t i = 0; i < parameters.size(); ++i) {
    if (!parser.Take(parameters[i], i == 0)) {
      result.Boxes.push_back(TCommandLineBox::kInvalidFormat);
      return result;
    }
  }
  parser.ApplyLimits();
  return result;
}
