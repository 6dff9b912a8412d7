// kof export to MP4 and WebM: the engine's pictures, letterboxed and converted to
// YUV, encoded with the segments' sound beside them.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "export_encoders.h"
#include "export_run.h"
#include "letterbox.h"
#include "media_output.h"
#include "picture_converter.h"
#include "progress_line.h"
#include "sound_track.h"

namespace {
// The sound's channels (stereo when any segment has stereo) and rate (the first
// sound's); nothing when no segment's sound can be read.
std::optional<SoundSource::Shape> SoundShapeOf(const ExportPlan& plan) {
  std::optional<SoundSource::Shape> shape;
  for (const PlannedSegment& segment : plan.segments) {
    if (segment.sound.empty()) continue;
    const SoundSource::Shape found = SoundSource::Describe(segment.sound);
    if (found.channels == 0) continue;
    if (!shape) shape = SoundSource::Shape{1, found.sampleRate};
    shape->channels = std::max(shape->channels, std::min(found.channels, 2));
  }
  return shape;
}

// The sample at a time given in ticks.
int64_t SampleAt(int64_t ticks, int sampleRate, int64_t timeScale) {
  return static_cast<int64_t>((__int128(ticks) * sampleRate + timeScale / 2) / timeScale);
}
}  // namespace

void ExportVideo(TSegmentList& segments, const ExportPlan& plan, const ExportOptions& options) {
  MediaOutput output(options.out, options.format);
  const VideoSettings settings{plan.outWidth, plan.outHeight, plan.timeScale, plan.segments.front().rate,
                               output.WantsGlobalHeaders()};
  StreamEncoder video(OpenVideoEncoder(options.format, settings), output);
  std::optional<StreamEncoder> audio;
  std::optional<SoundTrack> sound;
  if (const auto shape = SoundShapeOf(plan)) {
    audio.emplace(OpenSoundEncoder(options.format, shape->channels, shape->sampleRate, output.WantsGlobalHeaders()),
                  output);
    sound.emplace(*audio);
  }
  output.Start();

  Letterbox letterbox(plan.canvasWidth, plan.canvasHeight, plan.contentWidth, plan.contentHeight);
  PictureConverter converter(plan.Scaled() ? plan.contentWidth : plan.canvasWidth,
                             plan.Scaled() ? plan.contentHeight : plan.canvasHeight, AV_PIX_FMT_YUV420P,
                             plan.outWidth, plan.outHeight);
  ExportPictures pictures(segments);
  ProgressLine progress(plan.TotalPictures(), PlanSeconds(plan));
  int64_t ticks = 0;
  for (const PlannedSegment& segment : plan.segments) {
    const int64_t pictureTicks = plan.PictureTicks(segment.rate);
    if (sound) {
      const int64_t offset = SampleAt(segment.first * pictureTicks, sound->SampleRate(), plan.timeScale);
      if (const std::string why = sound->BeginSegment(segment.sound, offset); !why.empty())
        std::fprintf(stderr, "kof: segment %d: its sound cannot be played (%s); silence instead\n", segment.number,
                     why.c_str());
    }
    const SegmentOutcome outcome = pictures.Play(segment, [&](const TkoPictureView& picture) {
      AVFrame* frame = converter.Convert(letterbox.Place(picture));
      frame->pts = ticks;
      video.Encode(frame, pictureTicks);
      ticks += pictureTicks;
      if (sound) sound->FillTo(SampleAt(ticks, sound->SampleRate(), plan.timeScale));
      progress.Advance(1.0 / segment.rate);
    });
    ReportSegment(segment, outcome);
  }
  video.Flush();
  if (sound) sound->Finish();
  output.Finish();
}
