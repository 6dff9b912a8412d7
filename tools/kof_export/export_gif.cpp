// kof export to GIF: one palette for the whole film. A film of at most 256 colours
// keeps them exactly; otherwise palettegen chooses 256 from every picture and
// paletteuse maps the pictures onto them. Each needs the pictures more than once, so
// the engine plays the film once per pass.
#include <functional>
#include <optional>

#include "kof_export/export_encoders.h"
#include "kof_export/export_run.h"
#include "kof_export/gif_palette.h"
#include "kof_export/letterbox.h"
#include "kof_export/media_output.h"
#include "kof_export/palette_filters.h"
#include "kof_export/picture_converter.h"
#include "kof_export/progress_line.h"

namespace {
constexpr int64_t kGifTimeScale = 100;  // GIF counts time in hundredths of a second

using GifPictureHandler = std::function<void(const TkoPictureView& picture, int64_t hundredths)>;

TkoPictureView ViewOf(const AVFrame& frame) {
  return {frame.data[0], frame.width, frame.height, frame.linesize[0], 32};
}

// One pass over the plan's pictures at the GIF's size, each with its time. A picture
// that would start in the same hundredth as the one before cannot be shown and is
// left out.
void ForEachGifPicture(TSegmentList& segments, const ExportPlan& plan, ProgressLine& progress, bool report,
                       const GifPictureHandler& onPicture) {
  Letterbox letterbox(plan.canvasWidth, plan.canvasHeight, plan.contentWidth, plan.contentHeight);
  std::optional<PictureConverter> scaler;
  if (plan.Scaled())
    scaler.emplace(plan.contentWidth, plan.contentHeight, AV_PIX_FMT_BGR0, plan.outWidth, plan.outHeight);
  ExportPictures pictures(segments);
  int64_t ticks = 0, last = -1;
  for (const PlannedSegment& segment : plan.segments) {
    const int64_t pictureTicks = plan.PictureTicks(segment.rate);
    const SegmentOutcome outcome = pictures.Play(segment, [&](const TkoPictureView& picture) {
      const int64_t hundredths = (ticks * kGifTimeScale + plan.timeScale / 2) / plan.timeScale;
      ticks += pictureTicks;
      progress.Advance(1.0 / segment.rate);
      if (hundredths == last) return;
      last = hundredths;
      const TkoPictureView& placed = letterbox.Place(picture);
      onPicture(scaler ? ViewOf(*scaler->Convert(placed)) : placed, hundredths);
    });
    if (report) ReportSegment(segment, outcome);
  }
}
}  // namespace

void ExportGif(TSegmentList& segments, const ExportPlan& plan, const ExportOptions& options) {
  MediaOutput output(options);
  const VideoSettings settings{plan.outWidth, plan.outHeight, kGifTimeScale, plan.segments.front().rate,
                               output.WantsGlobalHeaders(), options.threads};
  StreamEncoder video(OpenVideoEncoder(CodecsOf(ExportFormat::Gif, false), settings), output);
  output.Start();
  const int64_t pictures = plan.TotalPictures();
  const double seconds = PlanSeconds(plan);
  ProgressLine progress(2 * pictures, 2 * seconds);
  const auto encode = [&video](AVFrame* frame) { video.Encode(frame, 0); };

  ColourCounter counter;
  ForEachGifPicture(segments, plan, progress, true, [&](const TkoPictureView& picture, int64_t) {
    counter.Add(picture);
  });
  if (!counter.Overflowed()) {
    ExactPaletteFrames frames(counter.Index(), plan.outWidth, plan.outHeight);
    ForEachGifPicture(segments, plan, progress, false, [&](const TkoPictureView& picture, int64_t hundredths) {
      AVFrame* frame = frames.Map(picture);
      frame->pts = hundredths;
      encode(frame);
    });
  } else {
    progress.AddWork(pictures, seconds);
    PaletteGenerator generator(plan.outWidth, plan.outHeight);
    ForEachGifPicture(segments, plan, progress, false, [&](const TkoPictureView& picture, int64_t hundredths) {
      generator.Add(picture, hundredths);
    });
    const ff::Frame palette = generator.Finish();
    PaletteMapper mapper(plan.outWidth, plan.outHeight, palette.get());
    ForEachGifPicture(segments, plan, progress, false, [&](const TkoPictureView& picture, int64_t hundredths) {
      mapper.Map(picture, hundredths, encode);
    });
    mapper.Finish(encode);
  }
  video.Flush();
  output.Finish();
}
