#include "session/command_line.h"

#include <gtest/gtest.h>

#include "session/fixed_texts.h"

#include <limits>
#include <string>

// The table names only the fields that differ from the defaults, with designated
// initializers; GCC would warn about every field left to its default initializer.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// GCC 12 at -O3 also takes the defaulted string of those fields for uninitialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {
constexpr TkoSize kScreen{1280, 1024};
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
using Boxes = std::vector<TCommandLineBox>;
constexpr TCommandLineBox kHelp = TCommandLineBox::kHelp;
constexpr TCommandLineBox kInvalid = TCommandLineBox::kInvalidFormat;

struct TParseCase {
  std::vector<std::wstring> Parameters;
  CommandLineOptions Expected;
  Boxes ExpectedBoxes;
};
}  // namespace

TEST(CommandLine, ParsesOptionsAndAppliesTheLimits) {
  const TParseCase cases[] = {
      {{}, {}, {}},
      {{L"/size", L"800", L"600", L"/pos", L"r", L"b"}, {.X = 480, .Y = 424, .Width = 800, .Height = 600}, {}},
      {{L"-SIZE", L"MAX"}, {.SizeMode = smMaximised}, {}},
      {{L"/size", L"max", L"/size", L"min"}, {}, {}},
      {{L"/size", L"100", L"100"}, {}, {}},
      // Values after /pos are not options: their "-" is a sign.
      {{L"/pos", L"-50", L"-50"}, {}, {}},
      {{L"/pos", L"100", L"200"}, {.X = 100, .Y = 200}, {}},
      {{L"/pos", L"5000", L"5000"}, {.X = 680, .Y = 624}, {}},
      {{L"/Pos", L"L", L"T"}, {}, {}},
      // Centring truncates, and takes no vertical part.
      {{L"/size", L"801", L"601", L"/pos", L"C", L"/segm", L"2"},
       {.X = 239, .Y = 211, .Width = 801, .Height = 601, .SegmentNumber = 2, .SegmentGiven = true},
       {}},
      // Centring and "r" use the size known at that moment.
      {{L"/pos", L"c", L"/size", L"800", L"600"}, {.X = 340, .Y = 312, .Width = 800, .Height = 600}, {}},
      {{L"/size", L"1280", L"1024"}, {.Width = 1280, .Height = 1024, .FullScreenRequested = true}, {}},
      {{L"/size", L"1280", L"600"}, {.Width = 1280, .Height = 600}, {}},
      {{L"/size", L"fullscreen"}, {.FullScreenRequested = true}, {}},
      {{L"/size", L"fullscreen", L"/size", L"800", L"600"}, {.Width = 800, .Height = 600}, {}},
      {{L"/segm", L"0"}, {.SegmentNumber = 0, .SegmentGiven = true}, {}},
      {{L"/size", L"1000", L"1024"}, {.Width = 1000, .Height = 1024}, {}},
      {{L"/segm"}, {}, {}},
      {{L"/unknown", L"stray", L"/CloseOnFinish"}, {.CloseOnFinish = true}, {}},
      // Only the first parameter names a film, kept as given.
      {{L"C:\\Фильмы\\Демо Film.KOF", L"/closeonfinish"},
       {.CloseOnFinish = true, .FilmFileName = L"C:\\Фильмы\\Демо Film.KOF"},
       {}},
      {{L"/segm", L"2", L"film.kof"}, {.SegmentNumber = 2, .SegmentGiven = true}, {}},
      {{L"-film.kof"}, {}, {}},
      {{L"/film.kof"}, {}, {}},
      {{L"/?", L"-HELP", L"/segm", L"4"}, {.SegmentNumber = 4, .SegmentGiven = true}, {kHelp, kHelp}},
      // An invalid number ends the parse: nothing later counts and no limit is applied.
      {{L"/pos", L"-50", L"-50", L"/size", L"800", L"abc", L"/segm", L"5"},
       {.X = -50, .Y = -50, .Width = 800, .Height = 400},
       {kInvalid}},
      {{L"/help", L"/pos", L"x1", L"/help"}, {}, {kHelp, kInvalid}},
      {{L"/segm", L"2147483648"}, {}, {kInvalid}},
      {{L"/size", L"max", L"/size", L"0x300"}, {}, {kInvalid}},
      // Screen width minus a width of -2^31 saturates instead of wrapping to a
      // negative X; the limits then pull the 600-wide window back onto the screen.
      {{L"/size", L"-2147483648", L"400", L"/pos", L"r", L"b"}, {.X = 680, .Y = 624}, {}},
      // /skipidle takes whole seconds from 0 (off) to an hour; any other value is a bad
      // command line, which ends the parse as a bad number does.
      {{L"/skipidle", L"3"}, {.IdleSkipSeconds = 3}, {}},
      {{L"-SkipIdle", L"0"}, {.IdleSkipSeconds = 0}, {}},
      {{L"/skipidle", L"3600"}, {.IdleSkipSeconds = 3600}, {}},
      {{L"/skipidle", L"+12", L"/closeonfinish"}, {.CloseOnFinish = true, .IdleSkipSeconds = 12}, {}},
      {{L"/skipidle", L"3601"}, {}, {kInvalid}},
      {{L"/skipidle", L"-1"}, {}, {kInvalid}},
      {{L"/skipidle", L"x"}, {}, {kInvalid}},
      {{L"/skipidle", L"2.5"}, {}, {kInvalid}},
      {{L"/skipidle", L""}, {}, {kInvalid}},
      {{L"/skipidle", L"99999999999"}, {}, {kInvalid}},
      {{L"/skipidle", L"x", L"/closeonfinish"}, {}, {kInvalid}},
      {{L"/skipidle"}, {}, {}},
      {{L"/skipidle", L"5", L"/skipidle", L"0"}, {.IdleSkipSeconds = 0}, {}},
      {{L"/?", L"/skipidle", L"4000"}, {}, {kHelp, kInvalid}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const TCommandLineResult result = ParseCommandLine(cases[i].Parameters, kScreen);
    EXPECT_EQ(result.Options, cases[i].Expected) << "case " << i;
    EXPECT_EQ(result.Boxes, cases[i].ExpectedBoxes) << "case " << i;
  }
}

// At 200 % the smallest and first window is 1200 x 800; numbers given stay pixels.
TEST(CommandLine, TheSmallestWindowFollowsTheScreensScale) {
  const TkoSize smallest{1200, 800};
  const std::pair<std::vector<std::wstring>, CommandLineOptions> cases[] = {
      {{}, {.Width = 1200, .Height = 800}},
      {{L"/size", L"800", L"600"}, {.Width = 1200, .Height = 800}},
      {{L"/size", L"1250", L"900", L"/pos", L"r", L"b"}, {.X = 30, .Y = 124, .Width = 1250, .Height = 900}},
      {{L"/size", L"max", L"/size", L"min", L"/pos", L"c"}, {.X = 40, .Y = 112, .Width = 1200, .Height = 800}},
  };
  for (const auto& [parameters, expected] : cases)
    EXPECT_EQ(ParseCommandLine(parameters, kScreen, smallest).Options, expected) << parameters.size();
}

TEST(CommandLine, IntegersAreDecimalWithAnOptionalSign) {
  const std::pair<std::wstring, std::optional<int32_t>> cases[] = {
      {L"0", 0},           {L"+7", 7},           {L"-0", 0},           {L"007", 7},
      {L"2147483647", kMax}, {L"-2147483648", kMin}, {L"2147483648", {}}, {L"-2147483649", {}},
      {L"99999999999999999999", {}}, {L"", {}},  {L"-", {}},            {L"+-1", {}},
      {L" 1", {}},         {L"1 ", {}},          {L"0x10", {}},        {L"$10", {}},
      {L"1e3", {}},        {L"\u0661", {}},      {L"\uFF11", {}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseDecimalInt32(text), expected) << text.size();
}

// The /? box of each language lists every option the parser takes.
TEST(CommandLine, HelpListsEveryOption) {
  for (const TUiLanguage language : {TUiLanguage::kRussian, TUiLanguage::kEnglish}) {
    const std::string help = FixedTexts(language).CommandLineHelpText;
    for (const char* option : {"-size", "-pos", "-segm", "-closeonfinish", "-skipidle SECONDS", "SkipIdle - "})
      EXPECT_NE(help.find(option), std::string::npos) << option << " in: " << help;
  }
}
