// The player's export: from the box's choices to kof-export's command line and the
// proposed name, and kof-export's progress lines back to percent and time left.
#include "session/video_export.h"

#include <gtest/gtest.h>

namespace {
using Args = std::vector<std::string>;
const TVideoExportPlace kPlace{1, 12.5, 1024};  // the second segment, 12.5 s in, 1024 wide

Args Extra(const TVideoExportChoice& choice, const TVideoExportPlace& place = kPlace) {
  Args args = VideoExportArguments(choice, place, "C:\\films\\lesson.kof", "D:\\out\\lesson.mp4");
  const Args common{"export", "C:\\films\\lesson.kof", "-o", "D:\\out\\lesson.mp4", "--progress"};
  EXPECT_TRUE(std::equal(common.begin(), common.end(), args.begin())) << "every export starts so";
  return Args(args.begin() + static_cast<long>(common.size()), args.end());
}
}  // namespace

TEST(VideoExport, TheChoicesBecomeKofExportsOptions) {
  using F = TVideoFormat;
  using R = TVideoRange;
  using S = TVideoSize;
  const struct {
    const char* name;
    TVideoExportChoice choice;
    Args extra;
  } cases[] = {
      {"the whole film as it is", {F::kMp4, R::kWholeFilm, S::kFilmSize, 0}, {}},
      {"this segment", {F::kWebM, R::kThisSegment, S::kFilmSize, 0}, {"--segment", "2"}},
      {"from here to its end", {F::kGif, R::kHereToSegmentEnd, S::kFilmSize, 0}, {"--segment", "2", "--from", "12.500"}},
      {"half the size", {F::kMkv, R::kWholeFilm, S::kHalf, 0}, {"--width", "512"}},
      {"a width", {F::kMp4, R::kWholeFilm, S::kWidth, 640}, {"--width", "640"}},
      {"a width no smaller keeps the size", {F::kMp4, R::kWholeFilm, S::kWidth, 1024}, {}},
      {"no width keeps it too", {F::kMp4, R::kWholeFilm, S::kWidth, 0}, {}},
      {"lossless keeps every pixel", {F::kLosslessMkv, R::kThisSegment, S::kHalf, 0}, {"--lossless", "--segment", "2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Extra(c.choice), c.extra) << c.name;
  EXPECT_EQ(Extra({F::kMp4, R::kWholeFilm, S::kHalf, 0}, {0, 0, 1}), (Args{"--width", "1"})) << "never 0 wide";
  EXPECT_EQ(Extra({F::kMp4, R::kHereToSegmentEnd, S::kFilmSize, 0}, {0, -0.001, 8}), (Args{"--segment", "1", "--from", "0.000"}));
}

TEST(VideoExport, TheProposedNameFollowsTheFilmTheRangeAndTheFormat) {
  using F = TVideoFormat;
  EXPECT_EQ(ProposedVideoName("lesson", {F::kMp4, TVideoRange::kWholeFilm}, kPlace), "lesson.mp4");
  EXPECT_EQ(ProposedVideoName("lesson", {F::kWebM, TVideoRange::kThisSegment}, kPlace), "lesson-seg2.webm");
  EXPECT_EQ(ProposedVideoName("lesson", {F::kGif, TVideoRange::kHereToSegmentEnd}, kPlace), "lesson-seg2.gif");
  EXPECT_EQ(ProposedVideoName("урок 1", {F::kLosslessMkv, TVideoRange::kWholeFilm}, kPlace), "урок 1.mkv");
  EXPECT_EQ(ProposedVideoName("", {F::kMkv, TVideoRange::kWholeFilm}, kPlace), "video.mkv");
}

TEST(VideoExport, ProgressLinesGivePercentAndTimeLeft) {
  EXPECT_DOUBLE_EQ(*ReadExportProgress("2.500 10.000\n"), 0.25);
  EXPECT_DOUBLE_EQ(*ReadExportProgress("10 10"), 1.0);
  EXPECT_DOUBLE_EQ(*ReadExportProgress("12 10"), 1.0) << "a pass's rounding never makes more than the whole";
  for (const char* other : {"", "5", "5 0", "-1 10", "a b", "1 2 3", "120/6000 pictures"})
    EXPECT_FALSE(ReadExportProgress(other)) << '"' << other << '"';

  EXPECT_EQ(ExportPercent(0), 0);
  EXPECT_EQ(ExportPercent(0.256), 25);
  EXPECT_EQ(ExportPercent(0.9999), 99) << "100 only when done";
  EXPECT_EQ(ExportPercent(1), 100);
  EXPECT_DOUBLE_EQ(*ExportSecondsLeft(0.25, 10), 30);
  EXPECT_DOUBLE_EQ(*ExportSecondsLeft(1, 10), 0);
  EXPECT_FALSE(ExportSecondsLeft(0, 10));
  EXPECT_FALSE(ExportSecondsLeft(0.5, 0));
}

// kof-export's warnings after it ended well come with the note, in kof's words; without
// warnings the note is as before.
TEST(VideoExport, TheSavedNoteCarriesKofExportsWarnings) {
  const TUiTexts english(TUiLanguage::kEnglish), russian(TUiLanguage::kRussian);
  const std::string skipped = "segment 2: its frame rate is 0; skipped";
  EXPECT_EQ(ExportWarnings("kof: " + skipped + "\r\n\r\nkof: segment 3: cut\r\n"),
            (std::vector<std::string>{skipped, "segment 3: cut"}));
  EXPECT_EQ(ExportWarnings(""), std::vector<std::string>{});
  const struct {
    const TUiTexts& texts;
    std::vector<std::string> warnings;
    std::string note;
  } cases[] = {
      {english, {}, "Saved a.mp4"},
      {russian, {}, "Сохранено: a.mp4"},
      {english, {skipped}, "Saved a.mp4 with a warning:\n" + skipped},
      {russian, {skipped, "b"}, "Сохранено с предупреждениями: a.mp4\n" + skipped + "\nb"},
      {english, {"1", "2", "3", "4"}, "Saved a.mp4 with warnings:\n1\n2\n3\n..."},
  };
  for (const auto& c : cases) EXPECT_EQ(ExportSavedText(c.texts, "a.mp4", c.warnings), c.note);
}
