// kof export's command line: the time texts, the formats and what is refused.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "kof_export/export_options.h"

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
  EXPECT_EQ(std::tuple(options->Film(), options->format, options->segment, options->fromUs, options->toUs,
                       options->width),
            std::tuple("film.kof", ExportFormat::WebM, 2, 60000000, 90000000, 640));
  EXPECT_EQ(ParseExportArguments({"f", "-o", "a.gif"})->format, ExportFormat::Gif);
  EXPECT_EQ(ParseExportArguments({"f", "-o", "a.mp4"})->format, ExportFormat::Mp4);
  EXPECT_EQ(ParseExportArguments({"f", "-o", "a.MKV", "--lossless"})->format, ExportFormat::Mkv);
  EXPECT_TRUE(ParseExportArguments({"f", "--progress", "-o", "a.mp4"})->progress);
  EXPECT_FALSE(ParseExportArguments({"f", "-o", "a.mp4"})->progress);
  const auto batch = ParseExportArguments({"a", "--out-dir", "d", "b", "--format", "GIF", "-j", "3", "--force"});
  ASSERT_TRUE(batch);
  EXPECT_EQ(std::tuple(batch->films.size(), batch->outDir, batch->format, batch->jobs, batch->force),
            std::tuple(2u, "d", ExportFormat::Gif, 3, true));

  const std::vector<std::vector<std::string>> refused = {
      {"f"},
      {"-o", "a.mp4"},
      {"f", "g", "-o", "a.mp4"},
      {"f", "-o", "a.avi"},
      {"f", "-o", "a.mp4", "--lossless"},              // lossless is MKV's
      {"f", "-o", "a.mkv", "--lossless", "--width", "9"},  // and keeps the size
      {"f", "-o", "a.mp4", "--out-dir", "d"},
      {"f", "g", "--out-dir", "d"},                    // no format
      {"f", "--out-dir", "d", "--format", "avi"},
      {"f", "-o", "a.mp4", "--format", "mp4"},         // batch options with -o
      {"f", "-o", "a.mp4", "--force"},
      {"f", "--out-dir", "d", "--format", "mp4", "--progress"},  // one film's
      {"f", "--out-dir", "d", "--format", "mp4", "-j", "0"},
      {"f", "-o", "a.mp4", "-o", "b.mp4"},
      {"f", "-o", "a.mp4", "--segment", "0"},
      {"f", "-o", "a.mp4", "--width"},
      {"f", "-o", "a.mp4", "--from", "5", "--to", "5"},
      {"f", "-o", "a.mp4", "--speed", "2"},
      {"f", "-o", "a.mp4", "--skip-idle", "0"},
      {"f", "-o", "a.mp4", "--skip-idle", "-3"},
      {"f", "-o", "a.mp4", "--skip-idle", "24:00:00.001"},
      {"f", "-o", "a.mp4", "--skip-idle"},
  };
  for (const auto& args : refused) {
    std::string line;
    for (const std::string& arg : args) line += arg + " ";
    EXPECT_FALSE(ParseExportArguments(args)) << line;
  }
}

TEST(ExportOptions, SkipIdleTakesATimeAboveZeroInWholeMillisecondsRoundedUp) {
  EXPECT_EQ(ParseExportArguments({"f", "-o", "a.mp4"})->skipIdleMs, 0) << "idle stretches stay unless asked";
  const struct {
    const char* time;
    int32_t milliseconds;
  } cases[] = {{"3", 3000}, {"1:30", 90000}, {"2.5", 2500}, {"0.0001", 1}, {"24:00:00", 86400000}};
  for (const auto& c : cases) {
    const auto options = ParseExportArguments({"f", "--skip-idle", c.time, "-o", "a.mkv", "--lossless"});
    ASSERT_TRUE(options) << c.time;
    EXPECT_EQ(options->skipIdleMs, c.milliseconds) << c.time;
  }
}

// A batch's worker on Windows gets its film's options as a command line: read back, it
// must give the same export.
TEST(ExportOptions, OneFilmsArgumentsReadBackAsItsOptions) {
  const auto options = [](std::vector<std::string> args) { return *ParseExportArguments(args); };
  const ExportOptions cases[] = {
      options({"lesson.kof", "-o", "out.mp4"}),
      options({"Урок 1.kof", "-o", "dir/Урок 1.mkv", "--lossless", "--segment", "3"}),
      options({"a.kof", "-o", "a.webm", "--from", "1:02.000007", "--to", "2:00:00", "--width", "640"}),
      options({"a.kof", "-o", "a.gif", "--from", "0.5", "--skip-idle", "2.0004"}),
  };
  for (const ExportOptions& one : cases) {
    const auto again = ParseExportArguments(OneFilmArguments(one));
    ASSERT_TRUE(again) << one.Film();
    EXPECT_EQ(std::tuple(again->films, again->out, again->format, again->lossless, again->segment, again->fromUs,
                         again->toUs, again->width, again->skipIdleMs),
              std::tuple(one.films, one.out, one.format, one.lossless, one.segment, one.fromUs, one.toUs, one.width,
                         one.skipIdleMs))
        << one.Film();
  }
}
