#pragma once
// The boxes playback asks for, worded once for both players: each player shows them in
// its own way (the Windows player after the message at hand, the page at once).
#include <cstdint>
#include <string>

#include "session/session_view.h"
#include "session/ui_texts.h"

// Playback stopped: text tells why.
TSessionBox PlaybackFailedBox(const TUiTexts& texts, const std::string& text);
// A segment that cannot be played is skipped; reason is "FPS = 0" or why it has no frames.
TSessionBox SkippedSegmentBox(const TUiTexts& texts, const std::string& reason);
// The screen's colour depth is one the pictures cannot be shown in.
TSessionBox UnsupportedDepthBox(const TUiTexts& texts, int32_t depth);
// A frame's record is damaged: text tells which; playback goes on.
TSessionBox DamagedRecordBox(const TUiTexts& texts, const std::string& text);
