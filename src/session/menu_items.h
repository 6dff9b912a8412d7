#pragma once
// How the shell addresses menu items: a menu and a position in it, separators counted.
#include <cstdint>

// The four drop-downs have their position in the menu bar as value, so the Windows side
// reaches them with GetSubMenu(menuBar, value). kMenuBar is the bar itself (its items
// are the drop-downs' titles); kContext is the context menu built in code.
enum class TMenuId : uint8_t {
  kFile = 0,
  kActions = 1,
  kView = 2,
  kHelp = 3,
  kMenuBar,
  kContext,
};

// Items behind those the language table addresses, so that those keep their positions.
// In Actions: a separator, the six seek commands (5 seconds back and forward, frame back
// and forward, segment start and end) from kActionsSeekItems on, a separator and Save
// picture. In the context menu likewise, behind Close.
constexpr int32_t kSeekItemCount = 6;
constexpr int32_t kActionsSeekItems = 8;
constexpr int32_t kActionsSavePicture = 15;
constexpr int32_t kContextSeekItems = 18;
constexpr int32_t kContextSavePicture = 25;
// Behind Save picture in Actions, after a separator: going back to where the film was
// left ("Resume").
constexpr int32_t kActionsResume = 17;
// The three zoom choices (screen scale, original pixels, fit window): in View behind a
// separator from kViewZoomItems on; in the context menu likewise, behind Save picture.
constexpr int32_t kZoomItemCount = 3;
constexpr int32_t kViewZoomItems = 3;
constexpr int32_t kContextZoomItems = 27;
// Skipping idle stretches: in View behind the zoom choices and a separator (the language
// submenu follows it).
constexpr int32_t kViewSkipIdle = 7;
// Exporting a video: in File behind Properties (a separator and Exit follow it), and in
// the context menu behind the zoom choices and a separator.
constexpr int32_t kFileExportVideo = 2;
constexpr int32_t kContextExportVideo = kContextZoomItems + kZoomItemCount + 1;
// Finding the text that was on screen: in Actions behind Resume and a separator (not in
// the context menu, whose access keys leave none of its letters free).
constexpr int32_t kActionsFindOnScreen = 19;
