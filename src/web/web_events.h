#pragma once
// The events the web player hands to the page, as JSON objects: each has an "event"
// member naming it and the values the page shows. Texts are UTF-8.
#include <cstdint>
#include <string>
#include <vector>

#include "playback/picture_layout.h"

// The caption of a sound that cannot be played (not a translated text).
inline constexpr const char* kSoundErrorCaption = "Error";

// {"event":"message","caption":..,"text":..,"kind":"error"|"warning"|"info"}: a box.
std::string MessageEvent(const std::string& caption, const std::string& text, const std::string& kind);

// {"event":"sound","action":"open"|"play"|"pause"|"close", "path" (open),
// "offset" in ms and "request" (play)}.
std::string SoundEvent(const std::string& action, const std::string& path = {}, double offsetMs = 0,
                       uint32_t request = 0);

// {"event":"layout","width","height","shownWidth","shownHeight","originX","originY",
// "scaling"}: the canvas size, the size it is shown at and where, in the page's area for
// the picture (device pixels).
std::string LayoutEvent(TkoSize frame, const TkoPicturePlacement& placement);

// {"event":"loading","text":..}: a film is being read; an empty text: no longer (it
// failed to open).
std::string LoadingEvent(const std::string& text);

// {"event":"fullscreen","on":..}: the player switches full screen.
std::string FullScreenEvent(bool on);

// {"event":"commands","commands":[{"name","id","code","ctrl","alt","shift","shortcut",
// "aria"}, ...]}: the player's commands, each with its key as the page reads it (the
// DOM's key code: "F9", "KeyO", "Comma"; "" for none), as the menus show it ("Ctrl+,")
// and as aria-keyshortcuts names it ("Control+,").
std::string CommandsEvent();

// {"event":"firstpicture"}: the film's first frame reached the canvas.
std::string FirstPictureEvent();

// {"event":"skipped","seconds":..,"text":..}: playback jumped over that much of an idle
// stretch; the text is the note to show.
std::string SkippedEvent(double seconds, const std::string& text);

// What the panel shows.
struct TPanelState {
  int32_t PlayState = 0;  // 0 stopped, 1 playing, 2 paused
  int32_t Segment = 0;
  int32_t Frame = -1;  // the record loaded last, as the time line counts
  int32_t Shown = -1;  // the frame whose picture is shown
  int32_t Speed = 3;
  double Position = 0;  // seconds from the film's start
  double Total = 0;
  std::string SpeedLabel;
  std::string TimeText;
  std::string PositionText;  // the position and the total as the time line writes them
  std::string TotalText;
  std::string InfoText;
  std::string Title;
  bool operator==(const TPanelState&) const = default;
};
std::string StateEvent(const TPanelState& state);

// One segment as the segment list shows it.
struct TSegmentLine {
  std::string Name;
  int32_t Width = 0, Height = 0, Bits = 0, Rate = 0, Frames = 0;
  bool Sound = false;
  bool Playable = false;
};
// One part of the progress bar: its length and the segment it starts.
struct TBarPart {
  float Seconds = 0;
  int32_t Segment = 0;
};
// A text shown by the page, under its language table key.
struct TPageText {
  std::string Key;
  std::string Value;
};
struct TFilmDescription {
  std::string Name;
  bool LanguageTable = false;
  std::vector<TSegmentLine> Segments;
  std::vector<TBarPart> Bar;
  std::vector<TPageText> MenuTexts;
  std::vector<TPageText> MessageTexts;
  // The menu texts of the language chosen without the film's table: the names a screen
  // reader gives the page's controls where the table leaves their tooltips empty.
  std::vector<TPageText> MenuNames;
};
// {"event":"film","name","language","segments":[..],"bar":[..],
//  "texts":{"menu":{..},"message":{..},"names":{..}}}
std::string FilmEvent(const TFilmDescription& film);
// The texts changed (another language was chosen):
// {"event":"texts","menu":{..},"message":{..},"names":{..}}
std::string TextsEvent(const std::vector<TPageText>& menu, const std::vector<TPageText>& message,
                       const std::vector<TPageText>& names);
