#include "app/film_activity_win.h"

#include <algorithm>

#include "app/bottom_panel_win.h"
#include "session/idle_skip_choice.h"
#include "session/idle_skipping.h"
#include "session/panel_layout.h"
#include "app/player_win.h"
#include "app/resume_win.h"
#include "film/segment_list.h"
#include "platform/acm_sound_levels_win.h"
#include "platform/wide_text_win.h"

namespace {
// Stretches as short as the skip length are found, but never longer than the model's
// default: the strip hatches those too.
TActivitySettings ModelSettings(const TWinPlayer& player) {
  TActivitySettings settings;
  const int32_t seconds = player.State.IdleSkipSeconds > 0 ? player.State.IdleSkipSeconds : player.Activity.LastOnSeconds;
  if (seconds > 0) settings.IdleMilliseconds = std::min(settings.IdleMilliseconds, seconds * 1000);
  return settings;
}

std::vector<TActivityJob> Jobs(const TSegmentList& segments) {
  std::vector<TActivityJob> jobs;
  for (int32_t i = 0; i < segments.Count(); ++i) {
    const TSegmentInfo* segment = segments.Get(i);
    if (segment == nullptr || !segment->Playable()) continue;
    TActivityJob job{TActivitySource::Of(*segment, i), {}, int64_t{segment->Width} * segment->Height};
    if (!segment->SoundFilePath.empty() && GetSoundType(segment->SoundFilePath) == kSoundMp3)
      job.Mp3File = segment->SoundFilePath;
    jobs.push_back(std::move(job));
  }
  return jobs;
}

void ShowSkipNote(TWinPlayer& player, double skipped) {
  TFilmActivity& activity = player.Activity;
  if (player.MainWindow == nullptr) return;
  if (!activity.Note) activity.Note = std::make_unique<TNoteWindow>(player.MainWindow, player.Scale, kStripColour);
  activity.Note->SetText(Utf8ToWide(IdleSkippedNote(player.Texts, skipped)));
  ShowNoteAboveThePanel(player, *activity.Note);
  activity.Note->Announce();
  activity.Note->HideAfter(kSkipNoteMs);
}
}  // namespace

void ChooseIdleSkipAtStart(TWinPlayer& player) {
  const int32_t remembered = ParseIdleSkipSetting(player.Settings.Read().Value(kIdleSkipKey));
  player.State.IdleSkipSeconds = StartingIdleSkip(player.Options.IdleSkipSeconds, IdleSkipSetting(remembered));
  player.Activity.LastOnSeconds = player.State.IdleSkipSeconds > 0 ? player.State.IdleSkipSeconds : remembered;
}

void StartFilmActivity(TWinPlayer& player) {
  TFilmActivity& activity = player.Activity;
  if (!player.Film.IsOpen() || player.MainWindow == nullptr) return;
  if (!activity.Worker) {
    HWND window = player.MainWindow;
    activity.Worker = std::make_unique<TActivityWorker>(DecodeMp3Levels,
                                                        [window] { PostMessageW(window, WM_ACTIVITYREADY, 0, 0); });
  }
  activity.Segments.assign(static_cast<size_t>(player.Film.Segments().Count()), std::nullopt);
  ++activity.Version;
  activity.Worker->Start(Jobs(player.Film.Segments()), ModelSettings(player));
}

void ReleaseFilmActivity(TWinPlayer& player) {
  TFilmActivity& activity = player.Activity;
  if (activity.Worker) activity.Worker->Start({}, {});
  activity.Segments.clear();
  ++activity.Version;
  if (activity.Note) activity.Note->Hide();
}

void TakeFilmActivity(TWinPlayer& player) {
  TFilmActivity& activity = player.Activity;
  if (!activity.Worker) return;
  bool taken = false;
  for (TActivityResult& result : activity.Worker->Take()) {
    const auto index = static_cast<size_t>(result.Activity.Segment);
    if (index >= activity.Segments.size()) continue;
    activity.Segments[index] = std::move(result);
    taken = true;
  }
  if (!taken) return;
  ++activity.Version;
  player.Panel.RefreshActivityStrip();
}

std::vector<TStripSegment> ActivityStrip(const TWinPlayer& player, const std::vector<int32_t>& bar) {
  std::vector<TStripSegment> strip;
  const TActivitySettings model;
  for (const int32_t index : bar) {
    const auto& segments = player.Activity.Segments;
    const bool known = index >= 0 && static_cast<size_t>(index) < segments.size() && segments[size_t(index)];
    if (!known) {
      strip.emplace_back();
      continue;
    }
    const TActivityResult& result = *segments[static_cast<size_t>(index)];
    strip.push_back(StripSegment(result.Activity, result.ScreenPixels, model.SilenceFloorDb));
  }
  return strip;
}

void SkipIdleIfDue(TWinPlayer& player, int32_t segmentBefore, int32_t shownBefore) {
  const TFilmActivity& activity = player.Activity;
  const bool known = segmentBefore >= 0 && static_cast<size_t>(segmentBefore) < activity.Segments.size() &&
                     activity.Segments[static_cast<size_t>(segmentBefore)];
  if (!known) return;
  const auto skipped = SkipIdleAfterTick(player.Engine, activity.Segments[static_cast<size_t>(segmentBefore)]->Activity.Idle,
                                         player.State.IdleSkipSeconds,
                                         {segmentBefore, shownBefore, player.Panel.Scrubbing()});
  if (skipped) ShowSkipNote(player, *skipped);
}

void ToggleIdleSkip(TWinPlayer& player) {
  TFilmActivity& activity = player.Activity;
  player.State.IdleSkipSeconds = ToggledIdleSkip(player.State.IdleSkipSeconds, activity.LastOnSeconds);
  if (player.State.IdleSkipSeconds > 0) activity.LastOnSeconds = player.State.IdleSkipSeconds;
  player.Settings.SetValue(kIdleSkipKey, IdleSkipSetting(player.State.IdleSkipSeconds));
}
