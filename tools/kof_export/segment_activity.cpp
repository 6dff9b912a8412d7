#include "kof_export/segment_activity.h"

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "playback/activity_source.h"
#include "kof_export/sound_levels_ff.h"

SegmentActivityResult MeasureSegmentActivity(const TSegmentInfo &segment, int32_t index,
                                             const TActivitySettings &settings) {
  SegmentActivityResult result;
  if (!segment.Playable()) {
    result.problem = segment.Problem.empty() ? "the segment cannot be played" : segment.Problem;
    result.activity.Segment = index;
    return result;
  }
  TActivityInput input;
  result.problem = ReadActivityInput(TActivitySource::Of(segment, index), input);
  if (!segment.SoundFilePath.empty() && GetSoundType(segment.SoundFilePath) == kSoundMp3) {
    try {
      input.Sound = ReadSoundLevels(segment.SoundFilePath);
    } catch (const EkoError &error) {
      input.SoundUnknown = true;
      const std::string why = std::string("sound cannot be decoded (") + error.what() + "): no idle stretches";
      result.problem = result.problem.empty() ? why : result.problem + "; " + why;
    }
  }
  result.activity = ComputeActivity(input, settings);
  return result;
}
