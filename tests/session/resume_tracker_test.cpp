// What a film leaves to be resumed: watched long enough and not at its end, from the
// place shown or the one it stopped at; when an offer may be made; its time text.
#include "session/resume_tracker.h"

#include <tuple>

#include <gtest/gtest.h>

#include "session/command_line.h"
#include "support/clock_fakes.h"

namespace {
// 10 s, 5 s that cannot be played (its time still counts, as on the bar), 20 s.
struct ResumeFilm {
  ResumeFilm() {
    rig.AddSegment(100, 10);
    rig.AddSegment(50, 10, 0, false);
    rig.AddSegment(200, 10);
  }
  ClockRig rig;
};
}  // namespace

TEST(ResumeTracker, RemembersAPlaceWatchedTenSecondsAndForgetsTheEnd) {
  using enum TResumeAction;
  struct Step {
    TPlayState State;
    int64_t AtMs;
  };
  struct Case {
    std::vector<Step> States;  // play state changes, from a film opened at 0 ms
    std::optional<TFilmFrame> StoppedAt;
    TPlayState StateAtClose;
    TFilmFrame Shown;
    int64_t CloseMs;
    TResumeDecision Expected;
  };
  const Case cases[] = {
      {{{psPlaying, 0}}, {}, psPlaying, {2, 30}, 10000, {kRemember, {2, 30}}},
      {{{psPlaying, 0}}, {}, psPlaying, {2, 30}, 9999, {}},
      // Paused time does not count; played stretches add up.
      {{{psPlaying, 0}, {psPaused, 6000}, {psPlaying, 60000}}, {}, psPaused, {0, 70}, 63999, {}},
      {{{psPlaying, 0}, {psPaused, 6000}, {psPlaying, 60000}}, {}, psPaused, {0, 70}, 64000, {kRemember, {0, 70}}},
      // Stopped: the place it stopped at, not the film's start it went back to.
      {{{psPlaying, 0}, {psStopped, 12000}}, TFilmFrame{0, 99}, psStopped, {0, -1}, 30000, {kRemember, {0, 99}}},
      {{{psPlaying, 0}}, std::nullopt, psStopped, {0, -1}, 30000, {}},
      // The film's last frame: forgotten, however long it played.
      {{{psPlaying, 0}, {psStopped, 40000}}, TFilmFrame{2, 199}, psStopped, {0, -1}, 50000, {kForget, {2, 199}}},
      {{{psPlaying, 0}}, {}, psPaused, {2, 199}, 2000, {kForget, {2, 199}}},
      {{{psPlaying, 0}}, {}, psPlaying, {0, 99}, 20000, {kRemember, {0, 99}}},
      // A place in no segment that can be shown is none.
      {{{psPlaying, 0}}, {}, psPlaying, {1, 10}, 20000, {}},
      {{{psPlaying, 0}}, {}, psPlaying, {7, 10}, 20000, {}},
  };
  const ResumeFilm film;
  for (size_t i = 0; i < std::size(cases); ++i) {
    TResumeTracker tracker;
    tracker.Reset(0);
    for (const Step& step : cases[i].States) tracker.PlayStateIs(step.State, step.AtMs);
    if (cases[i].StoppedAt) tracker.Stopped(*cases[i].StoppedAt);
    tracker.Stopped({0, -1});  // the stop at closing, with nothing shown any more
    EXPECT_EQ(tracker.Decide(cases[i].StateAtClose, cases[i].Shown, film.rig.Segments, cases[i].CloseMs),
              cases[i].Expected)
        << "case " << i;
  }
  // Another film starts afresh.
  TResumeTracker tracker;
  tracker.Reset(0);
  tracker.PlayStateIs(psPlaying, 0);
  tracker.Stopped({0, 50});
  tracker.Reset(20000);
  EXPECT_EQ(tracker.WatchedMs(40000), 0);
  EXPECT_EQ(tracker.Decide(psStopped, {0, -1}, film.rig.Segments, 40000), TResumeDecision{});
}

TEST(ResumeTracker, OffersOnlyWithoutSegmentOrCloseOnFinishAndTellsThePlacesTime) {
  using enum TFilmDoor;
  const std::tuple<std::vector<std::wstring>, TFilmDoor, bool> lines[] = {
      {{}, kStartup, true},
      {{L"film.kof", L"/size", L"800", L"600"}, kStartup, true},
      {{L"film.kof", L"/segm", L"1"}, kStartup, false},
      {{L"film.kof", L"/segm", L"1"}, kChosen, true},  // the segment was the start-up film's
      {{L"film.kof", L"/closeonfinish"}, kStartup, false},
      {{L"film.kof", L"/closeonfinish"}, kChosen, false},
      {{L"film.kof", L"/segm"}, kStartup, true},  // no number: no segment given
  };
  for (const auto& [line, door, allowed] : lines)
    EXPECT_EQ(ResumeOfferAllowed(ParseCommandLine(line, {1280, 1024}).Options, door), allowed) << line.size();

  const ResumeFilm film;
  const std::pair<TFilmFrame, std::string> places[] = {
      {{0, 0}, "00:00:00"}, {{0, 99}, "00:00:09"}, {{2, 0}, "00:00:15"}, {{2, 155}, "00:00:30"}};
  for (const auto& [place, text] : places) EXPECT_EQ(ClockText(PlaceSeconds(film.rig.Segments, place)), text);
  EXPECT_EQ(ClockText(3600 * 25 + 754.9), "25:12:34");
}

TEST(ResumeTracker, OffersOnlyAFrameTheFilmHasNow) {
  const ResumeFilm film;
  // Beyond a segment's end (a file edited, or the film changed), in a segment that cannot
  // be played, in none.
  const std::pair<TFilmFrame, bool> places[] = {
      {{0, 0}, true},        {{0, 99}, true},  {{2, 199}, true}, {{0, 100}, false}, {{2, 200}, false},
      {{2, 1000000}, false}, {{0, -1}, false}, {{1, 10}, false}, {{3, 0}, false},   {{-1, 0}, false},
  };
  for (const auto& [place, offered] : places)
    EXPECT_EQ(IsResumablePlace(film.rig.Segments, place), offered) << place.Segment << " " << place.Frame;
}
