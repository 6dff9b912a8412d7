// The note above the progress bar: its name and time belong to the picture it shows,
// however late the decoder delivers it and wherever the mouse has gone meanwhile.
#include <gtest/gtest.h>

#include "session/bar_preview_note.h"
#include "film/film_load_fixture.h"

using namespace filmwriter;

namespace {
SegmentSpec Plain(const std::string& name, int frames, float rate) {
  SegmentSpec spec;
  spec.data.name = name;
  Picture picture = Picture::Filled(16, 8, 0x808080);
  for (int k = 0; k < frames; ++k) {
    picture.At(k % 16, k / 16 % 8) ^= 0xFFFFFF;
    spec.data.pictures.push_back(picture);
  }
  spec.framesPerSecond = rate;
  spec.data.cursorRecords = {CursorRecord(MonochromeCursor(0, 0, 2, 2, std::vector<uint8_t>(4, 0)))};
  spec.data.cursorTrack = std::vector<CursorSample>(size_t(frames), CursorSample{0, 1, 1});
  return spec;
}

class BarPreviewNote : public FilmLoad {
protected:
  void SetUp() override {
    // 3 s at 10 frames a second, then 20 s at 5.
    ASSERT_TRUE(LoadFromStart(BuildFilm({Plain("Intro", 30, 10), Plain("Menus", 100, 5)})));
    decoder = std::make_unique<TPreviewDecoder>(list, 0);  // copies the film's segments
  }
  // Hands the note's request to the decoder, if it makes one.
  void Hover(int32_t segment, int32_t frame) {
    if (std::optional<TPreviewRequest> request = note.Hover(segment, frame, 8)) decoder->Request(*request);
  }
  // Works until the decoder has a picture; that picture.
  TPreviewPicture Made() {
    for (int i = 0; i < 100000; ++i)
      if (decoder->Step(4)) return decoder->Result();
    ADD_FAILURE() << "no picture";
    return {};
  }

  std::unique_ptr<TPreviewDecoder> decoder;
  TBarPreviewNote note{list, [](const std::string& name) { return "[" + name + "]"; }};
};
}  // namespace

TEST_F(BarPreviewNote, NamesAndTimesThePictureItShowsNotWhereTheMouseWentSince) {
  Hover(0, 25);
  const TPreviewPicture first = Made();
  Hover(1, 40);  // the mouse moves on before the first picture is taken
  ASSERT_TRUE(note.Take(first));
  EXPECT_EQ(note.Text(), "[Intro]\n00:00:02");

  ASSERT_TRUE(note.Take(Made()));
  EXPECT_EQ(note.Text(), "[Menus]\n00:00:11");  // 3 s + 40 / 5

  // Further along a segment read only so far, the nearest picture at hand comes first,
  // under its own time; the exact one follows under the frame's.
  Hover(1, 95);
  const TPreviewPicture nearest = Made();
  ASSERT_FALSE(nearest.Exact);
  ASSERT_TRUE(note.Take(nearest));
  EXPECT_EQ(note.Text(), "[Menus]\n00:00:11");
  const TPreviewPicture exact = Made();
  ASSERT_TRUE(exact.Exact);
  ASSERT_TRUE(note.Take(exact));
  EXPECT_EQ(note.Text(), "[Menus]\n00:00:22");  // 3 s + 95 / 5
}

TEST_F(BarPreviewNote, AsksOncePerFrameAndShowsNothingOnceTheMouseHasLeft) {
  EXPECT_TRUE(note.Hover(1, 10, 8).has_value());
  EXPECT_FALSE(note.Hover(1, 10, 8).has_value()) << "the decoder already works on it";
  EXPECT_TRUE(note.Hover(1, 11, 8).has_value());

  note.Leave();
  EXPECT_FALSE(note.Hovering());
  TPreviewPicture late;
  late.Segment = 1;
  late.Frame = 11;
  EXPECT_FALSE(note.Take(late)) << "a picture finished after the mouse left";
  EXPECT_EQ(note.Text(), "");
  EXPECT_TRUE(note.Hover(1, 11, 8).has_value()) << "back over the same frame asks again";

  late.Segment = 7;  // a picture of a film that has gone
  EXPECT_FALSE(note.Take(late));
}
