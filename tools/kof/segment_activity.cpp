#include "segment_activity.h"

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "playback/activity_source.h"
#include "sound_levels_ff.h"

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
      // Sound that cannot be decoded is not heard: the segment plays as without
      // sound.
      if (result.problem.empty())
        result.problem = std::string("sound: ") + error.what();
    }
  }
  result.activity = ComputeActivity(input, settings);
  return result;
}
