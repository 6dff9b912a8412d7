#include "web/web_export.h"

#include "film/json_writer.h"
#include "film/ko_error.h"
#include "playback/headless_player.h"
#include "web/web_film_file.h"

namespace {
bool Drawable(const TSegmentInfo* segment) {
  return segment != nullptr && segment->Playable() && IsDrawableDepth(segment->BitsPerPixel) && segment->Width > 0 &&
         segment->Height > 0 && segment->FrameCount > 0;
}

// Why a segment is left out of the video, in kof export's words.
std::string WhySkipped(const TSegmentInfo* segment) {
  if (segment == nullptr) return "it is missing";
  const std::string why = WhyNotDrawable(*segment);
  return why.empty() ? "it has no pictures" : why;
}

// The pointer moves three times per frame in segments recorded so (flag 1).
int32_t SamplesPerFrame(const TSegmentInfo& segment) { return (segment.Flags & 1) != 0 ? 3 : 1; }
}  // namespace

TWebExport::TWebExport(const std::filesystem::path& film, const std::filesystem::path& folder) : FPictures(FSegments) {
  LoadFilmFile(FSegments, film, folder);
}

std::string TWebExport::SegmentsJson() const {
  TJsonWriter json;
  json.BeginArray();
  for (int32_t i = 0; i < FSegments.Count(); ++i) {
    const TSegmentInfo* segment = FSegments.Get(i);
    json.BeginObject().Key("drawable").Bool(Drawable(segment));
    if (!Drawable(segment)) json.Key("skipped").String(WhySkipped(segment));
    if (segment != nullptr) {
      const int32_t samples = SamplesPerFrame(*segment);
      json.Key("width").Number(segment->Width).Key("height").Number(segment->Height);
      json.Key("rate").Number(int64_t(segment->FramesPerSecond) * samples).Key("samples").Number(samples);
      json.Key("pictures").Number(int64_t(segment->FrameCount) * samples);
      json.Key("sound").String(segment->SoundFilePath.string());
    }
    json.EndObject();
  }
  return json.EndArray().Text();
}

bool TWebExport::Begin(int32_t index, int32_t first, int32_t end) {
  const TSegmentInfo* segment = index >= 0 && index < FSegments.Count() ? FSegments.Get(index) : nullptr;
  if (!Drawable(segment)) return false;
  FRgba.Resize(segment->Width, segment->Height);
  FPictures.Begin(index, first, end);
  return true;
}

const TRgbaPicture* TWebExport::Next() {
  const TkoPictureView* picture = FPictures.Next();
  if (picture == nullptr) return nullptr;
  FRgba.CopyFrom(*picture, {0, 0, FRgba.Width(), FRgba.Height()});
  return &FRgba;
}
