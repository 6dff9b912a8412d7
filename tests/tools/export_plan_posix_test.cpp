// kof export's plan: which pictures of which segments lie in the time range, the time
// base they are counted in, and the video's size, over segments as the loader leaves them.
#include "kof_export/export_plan.h"

#include <gtest/gtest.h>

#include "film/segment_list.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

namespace {
// 1: 192 x 100, 8 frames at 10 fps with three pointer samples a frame (24 pictures at
// 30 a second, 0.8 s), sound; 2: no rate; 3: 151 x 128, 6 frames at 5 fps (1.2 s),
// silent; 4: 16 bits a pixel; 5, the last: 64 x 48, 4 frames at 4 fps (1 s), sound.
struct LessonSegments {
  LessonSegments() {
    TkoFileStream create(data, kModeCreate);
    Add(192, 100, 10, 8, 1, 32, "a.mp3");
    Add(192, 100, 0, 8, 0, 32, "");
    Add(151, 128, 5, 6, 0, 32, "");
    Add(64, 48, 10, 4, 0, 16, "");
    Add(64, 48, 4, 4, 0, 24, "e.mp3");
  }
  void Add(int32_t width, int32_t height, uint8_t fps, int32_t frames, uint32_t flags, uint8_t depth,
           const std::string& sound) {
    TSegmentInfo& s = *segments.Add();
    s.Width = width, s.Height = height, s.FramesPerSecond = fps, s.FrameCount = frames, s.Flags = flags;
    s.BitsPerPixel = depth;
    s.FrameStream = std::make_unique<TkoFileStream>(data, kModeReadShared);
    if (!sound.empty()) s.SoundFilePath = sound;
  }
  ExportPlan Plan(const std::string& arguments) const {
    std::vector<std::string> args = {"film.kof", "-o"};
    for (size_t at = 0, next; at < arguments.size(); at = next + 1) {
      next = std::min(arguments.find(' ', at), arguments.size());
      args.push_back(arguments.substr(at, next - at));
    }
    const auto options = ParseExportArguments(args);
    if (!options) throw EkoError("usage");
    return MakeExportPlan(segments, *options);
  }

  TempDir folder;
  std::filesystem::path data = folder / "frames.dat";
  TSegmentList segments;
};

// "1:15-24 3:0-6": segment number and the pictures [first, end) taken from it.
std::string Ranges(const ExportPlan& plan) {
  std::string text;
  for (const PlannedSegment& s : plan.segments) {
    // Appended piece by piece: GCC 12 at -O3 takes chained additions for overlapping copies.
    if (!text.empty()) text += ' ';
    text.append(std::to_string(s.number)).append(":").append(std::to_string(s.first));
    text.append("-").append(std::to_string(s.end));
  }
  return text;
}
}  // namespace

TEST(ExportPlan, APictureIsTakenWhenItStartsAtOrAfterFromAndBeforeTo) {
  const LessonSegments film;
  const struct {
    const char* options;
    const char* ranges;
  } cases[] = {
      {"a.mp4", "1:0-24 3:0-6 5:0-4"},
      {"a.mp4 --from 0.5", "1:15-24 3:0-6 5:0-4"},  // exactly the start of picture 15
      {"a.mp4 --from 0.500001", "1:16-24 3:0-6 5:0-4"},
      {"a.mp4 --from 0.79", "3:0-6 5:0-4"},  // inside segment 1's last picture
      {"a.mp4 --to 0.79", "1:0-24"},         // that picture starts before 0.79
      {"a.mp4 --to 0.8", "1:0-24"},          // segment 3 starts at 0.8
      {"a.mp4 --from 0.8 --to 1.4", "3:0-3"},
      {"a.mp4 --from 1.0", "3:1-6 5:0-4"},  // counted from segment 3's start at 0.8
      {"a.mp4 --from 2.75", "5:3-4"},
      {"a.mp4 --segment 5", "5:0-4"},  // the last segment
      {"a.mp4 --segment 5 --from 0.25 --to 0.75", "5:1-3"},
      {"a.mp4 --segment 3 --to 0.2", "3:0-1"},
  };
  for (const auto& c : cases) EXPECT_EQ(Ranges(film.Plan(c.options)), c.ranges) << c.options;

  const ExportPlan whole = film.Plan("a.mp4");
  EXPECT_EQ(whole.skipped, (std::vector<std::string>{"segment 2: its frame rate is 0",
                                                     "segment 4: its colour depth 16 is not shown (only 24 and 32)"}));
  EXPECT_TRUE(film.Plan("a.mp4 --segment 5").skipped.empty());
  // 30, 5 and 4 pictures a second each last a whole number of ticks.
  EXPECT_EQ(std::tuple(whole.timeScale, whole.PictureTicks(30), whole.PictureTicks(4)), std::tuple(60, 2, 15));
  EXPECT_EQ(whole.TotalPictures(), 24 + 6 + 4);
  EXPECT_EQ(std::tuple(whole.segments[0].sound, whole.segments[1].sound, whole.segments[2].sound),
            std::tuple("a.mp3", "", "e.mp3"));

  const std::pair<const char*, const char*> refused[] = {
      {"a.mp4 --from 3", "no picture lies in the time range (what is exported lasts 3.000 s)"},
      {"a.mp4 --segment 6", "no segment 6 (the film has 5)"},
      {"a.mp4 --segment 2", "segment 2 cannot be exported: its frame rate is 0"},
  };
  for (const auto& [options, error] : refused) EXPECT_EQ(ErrorOf([&] { film.Plan(options); }), error);
}

TEST(ExportPlan, TheSizeIsTheLargestExportedSegmentsMadeEvenOrScaledDownToTheWidth) {
  const LessonSegments film;
  const struct {
    const char* options;
    int32_t canvasWidth, canvasHeight, outWidth, outHeight;
  } cases[] = {
      {"a.mp4", 192, 128, 192, 128},  // segment 1's width, segment 3's height
      {"a.gif --segment 3", 151, 128, 151, 128},
      {"a.mp4 --from 1", 152, 128, 152, 128},  // segments 3 and 5 only; odd sizes padded
      {"a.mp4 --segment 3 --width 151", 152, 128, 152, 128},  // not scaled: padded
      {"a.mp4 --segment 3 --width 110", 151, 128, 110, 94},   // 93.2 high: the nearest even size
      {"a.gif --segment 3 --width 100", 151, 128, 100, 85},   // 84.8 high
      {"a.mp4 --width 1", 192, 128, 2, 2},
      {"a.gif --width 1", 192, 128, 1, 1},
      {"a.mp4 --width 500", 192, 128, 192, 128},  // never up
  };
  for (const auto& c : cases) {
    const ExportPlan plan = film.Plan(c.options);
    EXPECT_EQ(std::tuple(plan.canvasWidth, plan.canvasHeight, plan.outWidth, plan.outHeight),
              std::tuple(c.canvasWidth, c.canvasHeight, c.outWidth, c.outHeight))
        << c.options;
  }
}

TEST(ExportPlan, RatesWithoutASmallCommonMultipleAreCountedInMicrosecondsRounded) {
  EXPECT_EQ(CommonTimeScale({17, 19, 23, 29, 31}), 1000000);
  ExportPlan plan;
  plan.timeScale = 1000000;
  EXPECT_EQ(plan.PictureTicks(17), 58824);  // 58,823.5
}

TEST(ExportPlan, IdleCutsKeepThePictureOfTheLastChangeAndHalfASecondBeforeTheEnd) {
  const auto cuts = [](std::vector<TIdleStretch> idle, int32_t rate, int32_t first, int32_t end) {
    std::string text;
    for (const PictureCut& cut : IdleCuts(idle, rate, first, end))
      text.append(text.empty() ? "" : " ").append(std::to_string(cut.first) + "-" + std::to_string(cut.end));
    return text;
  };
  // 10 a second: a change at 0.9 s (picture 9) and the next at 7.0 s; pictures 10 to 64
  // go, picture 65 at 6.5 s plays on into the change at 70.
  EXPECT_EQ(cuts({{0, 0.9, 7.0}}, 10, 0, 80), "10-65");
  // 30 a second (three pointer samples a frame); times that are not whole pictures: the
  // first picture after 0.95 s and the first at or after 4.0 s.
  EXPECT_EQ(cuts({{0, 0.95, 4.5}}, 30, 0, 135), "29-120");
  // Two stretches, one idle from the segment's start: as the players do, a stretch the
  // export starts on or inside is kept whole; the time range clips the others.
  EXPECT_EQ(cuts({{0, 0, 3.0}, {0, 5.0, 9.0}}, 10, 0, 90), "51-85");
  EXPECT_EQ(cuts({{0, 1.0, 3.0}, {0, 5.0, 9.0}}, 10, 0, 90), "11-25 51-85");
  EXPECT_EQ(cuts({{0, 1.0, 3.0}, {0, 5.0, 9.0}}, 10, 20, 60), "51-60");
  EXPECT_EQ(cuts({{0, 0, 3.0}, {0, 5.0, 9.0}}, 10, 30, 50), "");
  // A stretch of half a second or less leaves nothing to cut.
  EXPECT_EQ(cuts({{0, 1.0, 1.5}, {0, 2.0, 2.4}}, 10, 0, 30), "");
}

TEST(ExportPlan, CutPicturesAreNotCounted) {
  LessonSegments lesson;
  ExportPlan plan = lesson.Plan("a.mp4");
  plan.segments[0].cuts = {{2, 5}, {10, 20}};
  EXPECT_EQ(plan.segments[0].Kept(), 24 - 3 - 10);
  EXPECT_EQ(plan.TotalPictures(), 24 - 13 + 6 + 4);
}
