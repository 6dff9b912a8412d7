#pragma once
// The open film's activity and skipping its idle stretches. A worker thread measures the
// segments one by one after the film opens (TActivityWorker, their sound through ACM);
// each result reaches the UI thread as WM_ACTIVITYREADY on the main window and shows in
// the progress bar's activity strip. While skipping is on, a tick that leaves the film
// playing inside a long enough idle stretch seeks to shortly before its end, and a note
// above the panel tells how much was left out.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "controls/activity_strip.h"
#include "controls/note_window_win.h"
#include "playback/activity_worker.h"
#include "playback/idle_skip.h"

class TWinPlayer;

// Posted to the main window by the activity worker.
constexpr UINT WM_ACTIVITYREADY = WM_APP + 3;
// How long the note of a skip stays.
constexpr uint32_t kSkipNoteMs = 2000;

struct TFilmActivity {
  std::unique_ptr<TActivityWorker> Worker;
  // By the film's segment index; none until measured.
  std::vector<std::optional<TActivityResult>> Segments;
  // Counts the results taken, so the strip is rebuilt only when one came.
  uint32_t Version = 0;
  // The length skipping had when last on (View > Skip idle stretches turns it on again
  // at it).
  int32_t LastOnSeconds = 0;
  std::unique_ptr<TNoteWindow> Note;
};

// At start-up: skipping as the command line or else the settings file says.
void ChooseIdleSkipAtStart(TWinPlayer& player);
// A film was loaded: its segments are measured from now on.
void StartFilmActivity(TWinPlayer& player);
// Before the film's segments and files go: the worker lets go of them, the strip empties.
void ReleaseFilmActivity(TWinPlayer& player);
// WM_ACTIVITYREADY: takes the worker's results.
void TakeFilmActivity(TWinPlayer& player);
// The strip of each segment of the bar, which shows the film's segments bar[i].
std::vector<TStripSegment> ActivityStrip(const TWinPlayer& player, const std::vector<int32_t>& bar);
// After a tick that went on from the segment and frame shown before it: the jump over an
// idle stretch that playback reached, when one is due (never while the user drags along
// the bar).
void SkipIdleIfDue(TWinPlayer& player, int32_t segmentBefore, int32_t shownBefore);
// View > Skip idle stretches (Ctrl+I): on and off, remembered in the settings file.
void ToggleIdleSkip(TWinPlayer& player);
