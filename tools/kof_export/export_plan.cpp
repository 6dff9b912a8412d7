#include "kof_export/export_plan.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "kof_common/film_report.h"
#include "playback/idle_skip.h"

namespace {
constexpr int64_t kMicroseconds = 1000000;
constexpr int64_t kLargestTimeScale = 1000000;

using Wide = __int128;

Wide CeilDiv(Wide numerator, Wide denominator) {
  const Wide quotient = numerator / denominator;
  return quotient + (numerator % denominator > 0 ? 1 : 0);
}

// The first picture starting at or after timeUs, counted in the segment that starts at
// startTicks; between 0 and pictures.
int32_t FirstPictureFrom(int64_t timeUs, int64_t startTicks, int64_t pictureTicks, int64_t timeScale,
                         int32_t pictures) {
  const Wide index = CeilDiv(Wide(timeUs) * timeScale - Wide(startTicks) * kMicroseconds,
                             Wide(pictureTicks) * kMicroseconds);
  return static_cast<int32_t>(std::clamp<Wide>(index, 0, pictures));
}

struct Candidate {
  int32_t number;
  const TSegmentInfo* segment;
  int32_t rate;
};

std::vector<Candidate> Candidates(const TSegmentList& segments, const ExportOptions& options,
                                  std::vector<std::string>& skipped) {
  std::vector<Candidate> found;
  const int32_t count = segments.Count();
  if (options.segment > count)
    throw EkoError("no segment " + std::to_string(options.segment) + " (the film has " + std::to_string(count) + ")");
  for (int32_t i = 0; i < count; ++i) {
    const int32_t number = i + 1;
    if (options.segment != 0 && number != options.segment) continue;
    const TSegmentInfo* segment = segments.Get(i);
    const std::string why = segment == nullptr ? "it is missing" : WhyNotDrawable(*segment);
    if (why.empty()) {
      const int32_t samples = (segment->Flags & 1) != 0 ? 3 : 1;
      found.push_back({number, segment, segment->FramesPerSecond * samples});
    } else if (options.segment != 0) {
      throw EkoError("segment " + std::to_string(number) + " cannot be exported: " + why);
    } else {
      skipped.push_back("segment " + std::to_string(number) + ": " + why);
    }
  }
  if (found.empty()) {
    std::string reasons;
    for (const std::string& why : skipped) reasons.append(reasons.empty() ? " (" : "; ").append(why);
    throw EkoError("the film has no segment that can be exported" + reasons + (reasons.empty() ? "" : ")"));
  }
  return found;
}

int32_t EvenUp(int32_t size) { return size + (size & 1); }
int32_t EvenNearest(double size) { return std::max(2, 2 * static_cast<int32_t>(size / 2 + 0.5)); }

void SetSizes(ExportPlan& plan, const ExportOptions& options) {
  for (const PlannedSegment& s : plan.segments) {
    plan.contentWidth = std::max(plan.contentWidth, s.width);
    plan.contentHeight = std::max(plan.contentHeight, s.height);
  }
  const bool even = NeedsEvenSize(options);
  const bool scaled = options.width > 0 && options.width < plan.contentWidth;
  plan.canvasWidth = even && !scaled ? EvenUp(plan.contentWidth) : plan.contentWidth;
  plan.canvasHeight = even && !scaled ? EvenUp(plan.contentHeight) : plan.contentHeight;
  plan.outWidth = plan.canvasWidth;
  plan.outHeight = plan.canvasHeight;
  if (!scaled) return;
  plan.outWidth = even ? std::max(2, options.width & ~1) : options.width;
  const double height = double(plan.contentHeight) * plan.outWidth / plan.contentWidth;
  plan.outHeight = even ? EvenNearest(height) : std::max(1, static_cast<int32_t>(height + 0.5));
}
}  // namespace

int32_t PlannedSegment::Kept() const {
  int32_t kept = end - first;
  for (const PictureCut& cut : cuts) kept -= cut.end - cut.first;
  return kept;
}

int64_t ExportPlan::TotalPictures() const {
  int64_t total = 0;
  for (const PlannedSegment& s : segments) total += s.Kept();
  return total;
}

std::vector<PictureCut> IdleCuts(const std::vector<TIdleStretch>& idle, int32_t rate, int32_t first, int32_t end) {
  std::vector<PictureCut> cuts;
  for (const TIdleStretch& stretch : idle) {
    const TIdleFrames frames = IdleFramesOf(stretch, rate);
    // As in the players: a stretch the export starts on or inside is played, not skipped.
    if (frames.First <= first) continue;
    const auto a = static_cast<int32_t>(std::clamp<int64_t>(frames.First + 1, first, end));
    const auto b = static_cast<int32_t>(std::clamp<int64_t>(frames.Resume, first, end));
    if (b > a) cuts.push_back({a, b});
  }
  return cuts;
}

bool ExportPlan::HasSound() const {
  return std::any_of(segments.begin(), segments.end(), [](const PlannedSegment& s) { return !s.sound.empty(); });
}

bool NeedsEvenSize(const ExportOptions& options) { return options.format != ExportFormat::Gif && !options.lossless; }

int64_t CommonTimeScale(const std::vector<int32_t>& rates) {
  int64_t scale = 1;
  for (const int32_t rate : rates) {
    scale = std::lcm(scale, int64_t(rate));
    if (scale > kLargestTimeScale) return kLargestTimeScale;
  }
  return scale;
}

ExportPlan MakeExportPlan(const TSegmentList& segments, const ExportOptions& options) {
  ExportPlan plan;
  const std::vector<Candidate> candidates = Candidates(segments, options, plan.skipped);
  std::vector<int32_t> rates;
  for (const Candidate& c : candidates) rates.push_back(c.rate);
  plan.timeScale = CommonTimeScale(rates);

  int64_t startTicks = 0;
  for (const Candidate& c : candidates) {
    PlannedSegment s;
    s.number = c.number;
    s.name = c.segment->Name;
    s.width = c.segment->Width;
    s.height = c.segment->Height;
    s.rate = c.rate;
    s.pictures = c.segment->FrameCount * (c.rate / c.segment->FramesPerSecond);
    s.sound = c.segment->SoundFilePath;
    const int64_t pictureTicks = plan.PictureTicks(s.rate);
    s.first = FirstPictureFrom(options.fromUs, startTicks, pictureTicks, plan.timeScale, s.pictures);
    s.end = options.toUs ? FirstPictureFrom(*options.toUs, startTicks, pictureTicks, plan.timeScale, s.pictures)
                         : s.pictures;
    startTicks += pictureTicks * s.pictures;
    if (s.end > s.first) plan.segments.push_back(s);
  }
  if (plan.segments.empty()) {
    char length[32];
    std::snprintf(length, sizeof(length), "%.3f", double(startTicks) / double(plan.timeScale));
    throw EkoError(std::string("no picture lies in the time range (what is exported lasts ") + length + " s)");
  }
  SetSizes(plan, options);
  return plan;
}
