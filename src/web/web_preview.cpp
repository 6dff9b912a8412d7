// The web player's preview above the progress bar: the same second decoder as the
// Windows player's, which the player's worker runs between ticks, a few records at a
// time, so that no tick waits for it.
#include "film/json_writer.h"
#include "film/segment_list.h"
#include "playback/seek_target.h"
#include "web/web_player.h"

namespace {
// Records laid between two looks at the clock.
constexpr int32_t kRecordsPerStep = 4;
}  // namespace

void TWebPlayer::PreviewAt(int32_t x, int32_t width, int32_t maxWidth) {
  const double seconds = FBar.TimeAtPixel(x, width);
  const TProgressModel::TSegmentTime at = FBar.SegmentAtTime(seconds);
  if (!FFilm.IsOpen() || x < 0 || at.Segment < 0 || at.Segment >= int32_t(FBarSegments.size())) {
    FPreviewAsked = {};
    if (FPreview) FPreview->Request({});
    return;
  }
  const int32_t index = FBarSegments[size_t(at.Segment)];
  const TSegmentInfo* segment = FFilm.Segments().Get(index);
  if (!IsSeekable(segment)) return PreviewAt(-1, width, maxWidth);
  if (!FPreview) FPreview = std::make_unique<TPreviewDecoder>(FFilm.Segments(), 0);
  const int32_t frame = FrameAtSeconds(*segment, at.Seconds);
  if (index == FPreviewAsked.Segment && frame == FPreviewAsked.Frame && maxWidth == FPreviewAsked.MaxWidth) return;
  FPreviewAsked = {index, frame, maxWidth, {}};
  FPreview->Request({index, frame, maxWidth, FFrames.SeekIndex().Knowledge(*segment)});
}

bool TWebPlayer::PreviewWork(double budgetMs) {
  if (!FPreview) return false;
  const double start = FPage.NowMs();
  do {
    if (!FPreview->Step(kRecordsPerStep)) continue;
    const TPreviewPicture& result = FPreview->Result();
    FPreviewPixels.Resize(result.Picture.Width(), result.Picture.Height());
    TkoPicture copy = result.Picture;
    FPreviewPixels.CopyFrom(copy.View(), {0, 0, copy.Width(), copy.Height()});
    FPreviewShown = {result.Segment, result.Frame, result.Exact, {}};
    return true;
  } while (FPreview->Busy() && FPage.NowMs() - start < budgetMs);
  return false;
}

// The note names the picture shown, which may be an earlier frame than the one under the
// mouse (the nearest at hand while the exact one is made): its segment and its time.
std::string TWebPlayer::PreviewInfo() const {
  const TSegmentInfo* segment = FFilm.Segments().Get(FPreviewShown.Segment);
  TJsonWriter json;
  json.BeginObject().Key("width").Number(FPreviewPixels.Width()).Key("height").Number(FPreviewPixels.Height());
  json.Key("exact").Bool(FPreviewShown.Exact).Key("name").String(segment != nullptr ? FToUtf8(segment->Name) : "");
  json.Key("time").String(ClockText(BarSeconds(FPreviewShown.Segment, FPreviewShown.Frame)));
  json.Key("segment").Number(FPreviewShown.Segment).Key("frame").Number(FPreviewShown.Frame);
  return json.EndObject().Text();
}

// Where the frame's start lies on the bar: its part's start and the frame's time in it.
double TWebPlayer::BarSeconds(int32_t segment, int32_t frame) const {
  const TSegmentInfo* info = FFilm.Segments().Get(segment);
  for (size_t part = 0; part < FBarSegments.size(); ++part)
    if (FBarSegments[part] == segment && info != nullptr && info->FramesPerSecond > 0)
      return FBar.SegmentStart(int32_t(part)) + double(frame) / info->FramesPerSecond;
  return 0;
}

// Before the film's segments go.
void TWebPlayer::ForgetPreview() {
  FPreview.reset();
  FPreviewAsked = {};
  FPreviewShown = {};
}
