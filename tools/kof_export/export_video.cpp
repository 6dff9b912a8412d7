// kof export to MP4, WebM and MKV: the engine's pictures, letterboxed and converted to
// the encoder's pixels (YUV, or RGB as they are for a lossless MKV), encoded with the
// segments' sound beside them, a chapter per segment. Cut pictures take their sound
// with them, so chapters and sound follow the cut.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "kof_export/export_encoders.h"
#include "kof_export/export_run.h"
#include "kof_export/letterbox.h"
#include "kof_export/media_output.h"
#include "kof_export/picture_converter.h"
#include "kof_export/progress_line.h"
#include "kof_export/sound_track.h"
#include "kof_common/text_encoding.h"
#include "kof_common/utf8_path.h"

namespace {
constexpr int kRecorderCodePage = 1251;

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

// The segment's name for players' chapter lists; a segment without one is called by
// its number.
std::string ChapterTitle(const PlannedSegment& segment) {
  if (segment.name.empty()) return "Segment " + std::to_string(segment.number);
  return CodePageToUtf8(segment.name, kRecorderCodePage);
}
}  // namespace

void ExportVideo(TSegmentList& segments, const ExportPlan& plan, const ExportOptions& options) {
  MediaOutput output(options);
  output.SetTitle(Utf8Of(options.Film().stem()));
  const ExportCodecs codecs = CodecsOf(options.format, options.lossless);
  const VideoSettings settings{plan.outWidth,  plan.outHeight, plan.timeScale, plan.segments.front().rate,
                               output.WantsGlobalHeaders(), options.threads};
  StreamEncoder video(OpenVideoEncoder(codecs, settings), output);
  std::optional<StreamEncoder> audio;
  std::optional<SoundTrack> sound;
  if (const auto shape = SoundShapeOf(plan)) {
    audio.emplace(OpenSoundEncoder(codecs, shape->channels, shape->sampleRate, output.WantsGlobalHeaders()), output);
    sound.emplace(*audio);
  }
  output.Start();

  Letterbox letterbox(plan.canvasWidth, plan.canvasHeight, plan.contentWidth, plan.contentHeight);
  PictureConverter converter(plan.Scaled() ? plan.contentWidth : plan.canvasWidth,
                             plan.Scaled() ? plan.contentHeight : plan.canvasHeight, codecs.pixels, plan.outWidth,
                             plan.outHeight);
  ExportPictures pictures(segments);
  ProgressLine progress(plan.TotalPictures(), PlanSeconds(plan));
  int64_t ticks = 0;
  for (const PlannedSegment& segment : plan.segments) {
    const int64_t pictureTicks = plan.PictureTicks(segment.rate);
    const int64_t start = ticks;
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
    }, [&](const PictureCut& cut) {
      if (sound)
        sound->SkipSource(SampleAt(cut.end * pictureTicks, sound->SampleRate(), plan.timeScale) -
                          SampleAt(cut.first * pictureTicks, sound->SampleRate(), plan.timeScale));
    });
    ReportSegment(segment, outcome);
    // Where the segment's pictures start and end, a record that cannot be read included.
    if (ticks > start) output.AddChapter(start, ticks, AVRational{1, int(plan.timeScale)}, ChapterTitle(segment));
  }
  video.Flush();
  if (sound) sound->Finish();
  output.Finish();
}
