#pragma once
// The About box without its window: its fixed texts and where everything goes, from
// the dialog's client size, the screen's scale and what the texts measure.
#include <cstdint>
#include <string>
#include <vector>

#include "playback/ko_picture.h"  // TkoPoint
#include "playback/screen_scale.h"
#include "session/ui_texts.h"

// Fixed texts of the About box (no language table reaches them; fixed_texts.h has the
// English ones).
inline constexpr char kAboutCaption[] = "О программе";
inline constexpr char kAboutCloseButton[] = "Закрыть";
inline constexpr char kAboutTitle[] = "roRezodu";
inline constexpr char kAboutVersion[] = "version 2.8.0.24";
inline constexpr char kAboutAuthor[] = "© 2026 roRezodu developers";
// Drawn without word wrapping, so the lines are broken here.
inline constexpr char kAboutNotice[] =
    "Программа распространяется бесплатно.\r\n"
    "Её можно свободно копировать и передавать\r\n"
    "вместе с фильмами.";

// The box's buttons as they show in language, Close and then Licenses, each with an
// access key of its own (access_keys.h): "&Закрыть", "&Лицензии".
std::vector<std::string> AboutBoxButtons(TUiLanguage language);

// What the box's parts measure in the fonts of its scale (pixels).
struct TAboutMeasures {
  TkoSize Icon;     // the icon as the system draws it
  TkoSize Title;    // in the title font, without its shadow
  TkoSize Version;  // in the version's font
  TkoSize Author;   // in the text font
  TkoSize Notice;   // all its lines
  TkoSize Close;    // the Close button's text in the button's font
  TkoSize Licenses; // the Licenses button's text in the button's font
};

// Where everything goes, in the dialog's client area (pixels; rectangles exclude their
// right and bottom edges, as the system's do). At 96 DPI, with texts that fit, the
// design's places: the version at 185, 21, the author line at t, 50, the notice at
// t, 80, the line at 150, the Close button at 368, 160, W / 6 x 26, and the Licenses
// button of the same size left of it, a margin apart. At other scales
// each of these lengths is scaled; a text taller or wider than its place pushes what
// lies below or beside it further, so that no two parts overlap, and the box grows
// when its parts need more room than the dialog has.
struct TAboutLayout {
  int32_t Margin = 0;      // m = W / 64
  int32_t TextColumn = 0;  // t = W / 8, or right of the icon when that is wider
  TkoPoint Icon;
  int32_t TitleShadow = 0;  // the grey copy lies this far right and down
  TkoRect Title;            // with its shadow
  TkoRect Version;
  TkoRect Author;
  TkoRect Notice;
  TkoPoint LineFrom;  // the separator line, LineWidth thick
  TkoPoint LineTo;
  int32_t LineWidth = 1;
  TkoRect Close;
  TkoRect Licenses;  // left of Close, as high
  TkoSize Client;  // the dialog's client size, or larger when the parts need it
};

// The layout for a dialog whose client area is `client` on a screen at `scale`
// (divisions truncate).
TAboutLayout AboutLayout(TkoSize client, const TScreenScale& scale, const TAboutMeasures& measures);
