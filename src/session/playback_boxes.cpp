#include "session/playback_boxes.h"

namespace {
using TKind = TSessionBox::TKind;
}  // namespace

TSessionBox PlaybackFailedBox(const TUiTexts& texts, const std::string& text) {
  return {TKind::kError, texts.Message(TMessageText::kError), text};
}

TSessionBox SkippedSegmentBox(const TUiTexts& texts, const std::string& reason) {
  return {TKind::kWarning, texts.Message(TMessageText::kError), texts.Format(TMessageText::kWrongFile, reason)};
}

TSessionBox UnsupportedDepthBox(const TUiTexts& texts, int32_t depth) {
  return {TKind::kError, texts.Message(TMessageText::kError), texts.Format(TMessageText::kWrongDisplaySettings, depth)};
}

TSessionBox DamagedRecordBox(const TUiTexts& texts, const std::string& text) {
  return {TKind::kWarning, texts.Message(TMessageText::kWarning), text};
}
