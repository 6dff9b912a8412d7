// The page's export's film: its segments as the page plans with them, and pictures
// handed out one at a time that are exactly those the engine presents when it plays the
// segment through (the way kof export took them), the range cut and the last picture
// repeated where the engine ends early.
#include <gtest/gtest.h>

#include "film/film_loader.h"
#include "film/temp_files.h"
#include "support/moving_film.h"
#include "support/temp_dir.h"
#include "web/web_export.h"
#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
// RGBA bytes of the engine's picture, as the canvas takes them.
std::vector<uint8_t> Rgba(const TkoPictureView& view) {
  TRgbaPicture rgba;
  rgba.Resize(view.Width, view.Height);
  rgba.CopyFrom(view, {0, 0, view.Width, view.Height});
  return {rgba.Data(), rgba.Data() + size_t(view.Width) * size_t(view.Height) * 4};
}

std::vector<uint8_t> CanvasBytes(const TRgbaPicture& picture) {
  return {picture.Data(), picture.Data() + size_t(picture.Width()) * size_t(picture.Height()) * 4};
}

class WebExport : public ::testing::Test {
protected:
  TempDir root;
  std::filesystem::path folder = CreatePlayerTempFolder(root.path());
  std::filesystem::path film = root / "film.kof";

  WebExport() {
    // Frames of noise, a pointer wandering over them.
    SegmentSpec pointer = testfilms::NoiseSegment(23, 17, 6, 3, 1, 30);
    SegmentSpec plain = testfilms::NoiseSegment(16, 9, 5, 1, 2, 30);
    SegmentSpec broken = testfilms::NoiseSegment(8, 8, 2, 1, 3, 30);
    pointer.sound = {'I', 'D', '3', 4, 0, 0, 1, 2, 3};
    broken.framesPerSecond = 0.2f;  // rounds to 0: not playable
    WriteBytesToFile(film, WithTrailer(BuildFilm({pointer, plain, broken})));
  }

  // The pictures the engine presents playing segment index through, every tick.
  std::vector<std::vector<uint8_t>> Played(int32_t index) {
    TSegmentList segments;
    TkoFileStream stream(film, kModeReadShared);
    TFilmLoader loader(segments, CreatePlayerTempFolder(root.path()));
    loader.LoadAppendedFilm(&stream);
    THeadlessPlayer player(segments);
    player.SetEveryTick(true);
    std::vector<std::vector<uint8_t>> pictures;
    const auto keep = [&](int32_t, const TkoPictureView& p) { return pictures.push_back(Rgba(p)), true; };
    EXPECT_EQ(player.PlaySegment(index, keep), "");
    return pictures;
  }
};
}  // namespace

TEST_F(WebExport, DescribesEachSegmentWithItsPicturesRateAndSoundAndRefusesOnesThatCannotBeDrawn) {
  TWebExport exporter(film, folder);
  const std::string json = exporter.SegmentsJson();
  EXPECT_NE(json.find(R"({"drawable":true,"width":23,"height":17,"rate":30,"samples":3,"pictures":18,"sound":")"),
            std::string::npos) << json;
  EXPECT_NE(json.find(R"({"drawable":true,"width":16,"height":9,"rate":10,"samples":1,"pictures":5,"sound":""})"),
            std::string::npos) << json;
  EXPECT_NE(json.find(R"({"drawable":false,"skipped":"its frame rate is 0","width":8)"), std::string::npos) << json;
  for (const int32_t segment : {2, 3, -1}) EXPECT_FALSE(exporter.Begin(segment, 0, 1)) << segment;
}

TEST_F(WebExport, HandsOutThePlayedPicturesOneAtATimeWithinTheRange) {
  const auto played = Played(0);
  ASSERT_GE(played.size(), 16u);
  TWebExport exporter(film, folder);
  const struct {
    int32_t first, end;
  } ranges[] = {{0, 18}, {7, 18}, {4, 9}};
  for (const auto& range : ranges) {
    SCOPED_TRACE(range.first);
    ASSERT_TRUE(exporter.Begin(0, range.first, range.end));
    std::vector<std::vector<uint8_t>> got;
    while (const TRgbaPicture* picture = exporter.Next()) got.push_back(CanvasBytes(*picture));
    EXPECT_EQ(exporter.Failure(), "");
    ASSERT_EQ(got.size(), size_t(range.end - range.first));
    for (int32_t k = range.first; k < range.end; ++k) {
      // Where the engine ended a tick early its last picture stands for the rest.
      const auto& expected = played[std::min(size_t(k), played.size() - 1)];
      EXPECT_EQ(got[size_t(k - range.first)], expected) << "picture " << k;
    }
  }
  // A segment given up halfway does not hold up the next one.
  ASSERT_TRUE(exporter.Begin(0, 0, 18));
  ASSERT_NE(exporter.Next(), nullptr);
  const auto plain = Played(1);
  ASSERT_TRUE(exporter.Begin(1, 0, 5));
  for (size_t k = 0; k < 5; ++k) {
    const TRgbaPicture* picture = exporter.Next();
    ASSERT_NE(picture, nullptr) << k;
    EXPECT_EQ(CanvasBytes(*picture), plain[k]) << k;
  }
  EXPECT_EQ(exporter.Next(), nullptr);
}
