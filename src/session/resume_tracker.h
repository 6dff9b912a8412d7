#pragma once
// Resuming a film where it was left: how long it has been watched, where it stands,
// and what to remember of it when it closes. Both players use it; the Windows player
// keeps the places in the settings file, the browser page in its local storage.
#include <cstdint>
#include <optional>
#include <string>

#include "playback/play_state.h"
#include "playback/seek_target.h"
#include "session/film_opening.h"

class TSegmentList;
struct CommandLineOptions;

// A film must have played this long before its place is remembered.
constexpr int64_t kResumeMinimumWatchMs = 10000;
// For so long after a film opens the offer to go back to its place is shown.
constexpr int64_t kResumeOfferMs = 10000;

enum class TResumeAction : uint8_t {
  kNothing,   // keep what was remembered before
  kRemember,  // remember the place
  kForget,    // the film was watched to its end: forget it
};

struct TResumeDecision {
  TResumeAction Action = TResumeAction::kNothing;
  TFilmFrame Place;
  bool operator==(const TResumeDecision&) const = default;
};

class TResumeTracker {
public:
  // Another film opened at nowMs: nothing watched, no place yet.
  void Reset(int64_t nowMs);
  // The play state as it is at nowMs; the time since the last call counts as watched
  // when the film was playing then. Call it at every change of the play state.
  void PlayStateIs(TPlayState state, int64_t nowMs);
  int64_t WatchedMs(int64_t nowMs) const;
  // The film stopped with frame of segment shown (the engine tells this before it
  // goes back to the film's start); a stop with no frame shown changes nothing.
  void Stopped(TFilmFrame shown);

  // What to remember of the film now: its place is the frame shown while playing or
  // paused, else the one shown when it stopped last. kForget when that place is the
  // last frame of the film's last segment that can be played; kRemember when the film
  // has played kResumeMinimumWatchMs; otherwise kNothing.
  TResumeDecision Decide(TPlayState state, TFilmFrame shown, const TSegmentList& segments, int64_t nowMs) const;

private:
  int64_t FWatchedMs = 0;
  int64_t FSinceMs = 0;
  bool FPlaying = false;
  std::optional<TFilmFrame> FStoppedAt;
};

// Whether a place remembered can be offered for the film as it is now: a frame of a
// segment that can be played. A settings file edited by hand, or a film changed with its
// path, size and time kept, can name one beyond the segment's end.
bool IsResumablePlace(const TSegmentList& segments, TFilmFrame place);

// Whether a film opened through this door may offer its place: not when the command line
// asked to close at the end (/closeonfinish), nor for the start-up film when it named a
// segment to start (/segm).
bool ResumeOfferAllowed(const CommandLineOptions& options, TFilmDoor door);

// Seconds from the film's start to the start of place's frame, over the segments with
// a frame rate.
double PlaceSeconds(const TSegmentList& segments, TFilmFrame place);
// "hh:nn:ss" of seconds, the fraction dropped.
std::string ClockText(double seconds);
