#pragma once
// The bottom panel's own state, shared by its window procedure (bottom_panel_win.cpp)
// and its painting (panel_painting_win.cpp). The controls are declared after the
// brushes, pens and pictures they use, so that they are destroyed first.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/control_palette.h"
#include "controls/ko_progress_bar_win.h"
#include "controls/ko_slider_win.h"
#include "session/panel_layout.h"
#include "session/panel_texts.h"
#include "platform/gdi_holders_win.h"

// What the panel keeps of the segment it shows.
struct TShownSegment {
  int32_t Width = kStartInfoWidth;
  int32_t Height = kStartInfoHeight;
  int32_t BitsPerPixel = kStartInfoBits;
  uint8_t FramesPerSecond = kStartInfoRate;
};

class TWinPlayer;

struct TBottomPanelState {
  // Builds the children of the panel window for the player's screen scale.
  TBottomPanelState(HWND window, TWinPlayer& player);
  ~TBottomPanelState();
  TBottomPanelState(const TBottomPanelState&) = delete;
  TBottomPanelState& operator=(const TBottomPanelState&) = delete;

  // WM_DESTROY: the timer stopped, the tooltip window and the three controls destroyed
  // (the buttons go with the panel window; their pictures with this object).
  void ReleaseChildren();
  // The screen's scale changed: pens, font, pictures and every control's place anew.
  void ApplyScale(const TScreenScale& scale);
  // Other colours (high contrast turned on or off, another scheme): brushes, pens,
  // pictures and the controls' colours anew (panel_colours_win.cpp).
  void ApplyPalette(const TControlPalette& palette);
  // Brushes and pens for the palette and the line width of the scale.
  void MakeTools();
  // The buttons' and thumbs' pictures for the scale and the palette.
  void SetPictures();
  // The controls with a tooltip, in the tooltips' order: the buttons, the speed and
  // volume sliders, the progress bar.
  std::vector<HWND> ToolControls() const;

  TWinPlayer& Player;
  HWND Window;
  RECT Client{};
  TNumberSeparators Separators;
  TPanelGeometry Geometry;

  TControlPalette Palette;
  TGdiObject<HBRUSH> BackgroundBrush;
  TGdiObject<HBRUSH> StripBrush;
  TGdiObject<HPEN> TrackPen;  // the sliders' track and thumb outline
  TGdiObject<HPEN> LinePen;   // the panel's frame and the strip's edge
  TGdiObject<HFONT> PanelFont;
  std::array<TGdiObject<HBITMAP>, kPanelButtonCount> ButtonBitmaps;
  std::array<HWND, kPanelButtonCount> Buttons{};

  std::unique_ptr<TkoProgressBar> ProgressBar;
  std::unique_ptr<TkoSlider> SpeedSlider;
  std::unique_ptr<TkoSlider> VolumeSlider;
  HWND ToolTip = nullptr;

  std::string InfoText;
  std::string TimeText;
  std::string TitleText;
  TShownSegment CurrentSegmentRecord;
  float CurrentSeconds = 0;
  // For each part of the progress bar, the film segment it stands for.
  std::vector<int32_t> BarSegments;
  // The film's activity the bar's strip shows: its version then (see TFilmActivity).
  uint32_t StripVersion = 0;
};

// The panel's button with that command id; null for another id.
HWND ButtonOf(const TBottomPanelState& panel, int commandId);

// panel_painting_win.cpp
void DrawInfoStrip(TBottomPanelState& panel);
void DrawTitleArea(TBottomPanelState& panel);
void RefreshVolume(TBottomPanelState& panel);
void RefreshProgress(TBottomPanelState& panel);
