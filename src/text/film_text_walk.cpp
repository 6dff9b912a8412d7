#include "text/film_text_walk.h"

#include <algorithm>

#include "playback/headless_player.h"
#include "text/changed_areas.h"
#include "text/screen_settle.h"

namespace {
int32_t RateOf(const TSegmentInfo& segment) { return std::max<int32_t>(segment.FramesPerSecond, 1); }

double SecondsOf(const TSegmentInfo& segment) {
  return double(std::max(segment.FrameCount, 0)) / RateOf(segment);
}
}  // namespace

// One segment's pictures: what changed from the picture before, when areas settle, and
// the entries their readings make.
class TFilmTextWalk::SegmentWalk {
public:
  SegmentWalk(int32_t segment, int32_t rate) : FRate(rate), FTracker(segment) {}

  std::vector<TTextBox> Picture(int32_t frame, const TkoPictureView& picture) {
    const TkoPictureView before = FPrevious.View();
    if (before.IsEmpty() || before.Width != picture.Width || before.Height != picture.Height ||
        before.Depth != picture.Depth)
      FPrevious.Resize(picture.Width, picture.Height, picture.Depth);
    FLast = double(frame) / FRate;
    for (const TTextBox& box : ChangedAreas(FPrevious.View(), picture)) {
      FSettle.Changed(box, FLast);
      FTracker.Changed(box, FLast);
    }
    CopyPicture(picture);
    return Widened(FSettle.Due(FLast));
  }

  void Read(const TTextBox& area, const std::vector<TReadWord>& words) { FTracker.Read(area, words, FLast, FSettle); }
  std::vector<TTextBox> Remaining() { return Widened(FSettle.Remaining()); }
  TkoPictureView Picture() { return FPrevious.View(); }
  double Seconds() const { return FLast; }
  std::vector<TIndexedWord> Finish(int32_t frameCount) { return FTracker.Finish(double(frameCount) / FRate); }

private:
  std::vector<TTextBox> Widened(std::vector<TTextBox> due) const {
    for (TTextBox& area : due) area = FTracker.Widened(area);
    return due;
  }

  void CopyPicture(const TkoPictureView& picture) {
    const TkoPictureView kept = FPrevious.View();
    for (int32_t y = 0; y < picture.Height; ++y)
      std::copy_n(picture.Row(y), size_t(picture.Width) * size_t(picture.BytesPerPixel()), kept.Row(y));
  }

  int32_t FRate;
  TScreenSettle FSettle;
  TWordTracker FTracker;
  TkoPicture FPrevious;  // the picture shown last, black before the first
  double FLast = 0;
};

TFilmTextWalk::TFilmTextWalk(TSegmentList& segments, ProblemHandler onProblem)
    : FSegments(segments), FOnProblem(std::move(onProblem)) {}

double TFilmTextWalk::TotalSeconds() const {
  double total = 0;
  for (int32_t i = 0; i < FSegments.Count(); ++i) total += SecondsOf(*FSegments.Get(i));
  return total;
}

TFilmTextWalk::~TFilmTextWalk() = default;

TkoPictureView TFilmTextWalk::Picture() { return FWalk ? FWalk->Picture() : TkoPictureView{}; }

void TFilmTextWalk::Read(const TTextBox& area, const std::vector<TReadWord>& words) {
  if (FWalk) FWalk->Read(area, words);
}

std::vector<TIndexedSegment> TFilmTextWalk::Segments() const {
  std::vector<TIndexedSegment> sizes;
  for (int32_t i = 0; i < FSegments.Count(); ++i)
    sizes.push_back({std::max(FSegments.Get(i)->Width, 1), std::max(FSegments.Get(i)->Height, 1)});
  return sizes;
}

bool TFilmTextWalk::Step() {
  FDue.clear();
  FNewPictureSeconds = 0;
  for (;;) {
    if (!FWalk && !StartNextSegment()) return false;
    if (FPlaying || !FStarted) {
      if (StepSegment()) return true;
      continue;
    }
    if (!FRemainingDue) {
      FRemainingDue = true;
      FDue = FWalk->Remaining();
      if (!FDue.empty()) return true;
    }
    EndSegment();
  }
}

// The next segment whose pictures can be drawn; the others are told and passed over.
bool TFilmTextWalk::StartNextSegment() {
  for (; FNext < FSegments.Count(); ++FNext) {
    const TSegmentInfo& info = *FSegments.Get(FNext);
    if (const std::string why = WhyNotDrawable(info); !why.empty()) {
      FOnProblem(FNext + 1, "no words: " + why);
      FSecondsBefore += SecondsOf(info);
      continue;
    }
    FPlayer = std::make_unique<THeadlessPlayer>(FSegments);
    FPlayer->SetCursorVisible(false);
    FWalk = std::make_unique<SegmentWalk>(FNext + 1, RateOf(info));
    FStarted = FPlaying = FRemainingDue = false;
    ++FNext;
    return true;
  }
  return false;
}

// One tick of the segment's player; true when it showed a frame not walked yet.
bool TFilmTextWalk::StepSegment() {
  bool walked = false;
  const THeadlessPlayer::FrameHandler onFrame = [&](int32_t frame, const TkoPictureView& picture) {
    FDue = FWalk->Picture(frame, picture);
    walked = true;
    return true;
  };
  const int32_t index = FNext - 1;
  FPlaying = FStarted ? FPlayer->Step(onFrame) : FPlayer->BeginSegment(index, onFrame);
  FStarted = true;
  if (!FPlaying)
    if (const std::string failure = FPlayer->EndSegment(); !failure.empty()) FOnProblem(FNext, failure);
  if (walked) {
    FSegmentSeconds = FWalk->Seconds();
    FNewPictureSeconds = 1.0 / RateOf(*FSegments.Get(index));
  }
  return walked;
}

void TFilmTextWalk::EndSegment() {
  const TSegmentInfo& info = *FSegments.Get(FNext - 1);
  for (TIndexedWord& word : FWalk->Finish(info.FrameCount)) FWords.push_back(std::move(word));
  FWalk.reset();
  FPlayer.reset();
  FSecondsBefore += SecondsOf(info);
  FSegmentSeconds = 0;
}
