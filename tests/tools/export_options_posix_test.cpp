// kof export's command line: the time texts, the formats and what is refused.
#include <gtest/gtest.h>

#include <tuple>

#include "kof/export_options.h"

TEST(ExportOptions, TimesAreSecondsMinutesAndHoursWithAFraction) {
  const struct {
    const char* text;
    int64_t microseconds;  // -1: refused
  } cases[] = {
      {"90", 90000000},       {"1:30", 90000000},    {"00:01:30", 90000000}, {"1:30.5", 90500000},
      {"0.000001", 1},        {"2:00:00", 7200000000}, {"125", 125000000},   {"0:59.25", 59250000},
      {"1:60", -1},           {"1:2:3:4", -1},       {"", -1},               {"1.", -1},
      {"1.1234567", -1},      {":30", -1},           {"1:", -1},             {"-1", -1},
      {"1.5:00", -1},         {"1e3", -1},           {"1:030", -1},          {"0:1:5", 65000000},
      {"999999999", 999999999000000}, {"1000000000", -1},  // nine digits at most
  };
  for (const auto& c : cases) {
    const auto parsed = ParseExportTime(c.text);
    EXPECT_EQ(parsed.value_or(-1), c.microseconds) << c.text;
  }
}

TEST(ExportOptions, TheExtensionChoosesTheFormatAndWrongCommandLinesAreRefused) {
  const auto options = ParseExportArguments({"film.kof", "--segment", "2", "-o", "Out.WebM", "--from", "1:00",
                                             "--to", "90", "--width", "640"});
  ASSERT_TRUE(options);
  EXPECT_EQ(std::tuple(options->film, options->format, options->segment, options->fromUs, options->toUs,
                       options->width),
            std::tuple("film.kof", ExportFormat::WebM, 2, 60000000, 90000000, 640));
  EXPECT_EQ(ParseExportArguments({"f", "-o", "a.gif"})->format, ExportFormat::Gif);
  EXPECT_EQ(ParseExportArguments({"f", "-o", "a.mp4"})->format, ExportFormat::Mp4);

  const std::vector<std::vector<std::string>> refused = {
      {"f"},
      {"-o", "a.mp4"},
      {"f", "g", "-o", "a.mp4"},
      {"f", "-o", "a.mkv"},
      {"f", "-o", "a.mp4", "-o", "b.mp4"},
      {"f", "-o", "a.mp4", "--segment", "0"},
      {"f", "-o", "a.mp4", "--width"},
      {"f", "-o", "a.mp4", "--from", "5", "--to", "5"},
      {"f", "-o", "a.mp4", "--speed", "2"},
  };
  for (const auto& args : refused) EXPECT_FALSE(ParseExportArguments(args)) << args.size() << " " << args.back();
}
