#include "session/transport_commands.h"

#include "session/command_ids.h"
#include "playback/playback_engine.h"

bool RunTransportCommand(TPlaybackEngine& engine, int32_t commandId) {
  constexpr double kStep = TPlaybackEngine::kSeekStepSeconds;
  switch (commandId) {
    case CM_PLAY: engine.Play(); return true;
    case CM_PAUSE: engine.Pause(); return true;
    case CM_STOP: engine.Stop(); return true;
    case CM_PREVIOUS: engine.Previous(); return true;
    case CM_NEXT: engine.Next(); return true;
    case CM_SEEK_BACK: engine.SeekBySeconds(-kStep); return true;
    case CM_SEEK_FORWARD: engine.SeekBySeconds(kStep); return true;
    case CM_PREVIOUS_FRAME: engine.StepFrame(-1); return true;
    case CM_NEXT_FRAME: engine.StepFrame(+1); return true;
    case CM_SEGMENT_START: engine.SeekToSegmentStart(); return true;
    case CM_SEGMENT_END: engine.SeekToSegmentEnd(); return true;
    default: return false;
  }
}
