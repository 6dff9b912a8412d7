#pragma once
// Where the bottom panel puts its controls and paints its areas, in the panel's client
// coordinates (w and h are the client area's width and height). The tables give the
// design's pixels (96 DPI); TPanelGeometry has them for the screen's scale.
#include <array>
#include <cstdint>

#include "session/command_ids.h"
#include "session/ui_texts.h"
#include "controls/control_palette.h"
#include "playback/picture_layout.h"  // TkoRect, TkoBox
#include "playback/screen_scale.h"

enum class TPanelButtonKind : uint8_t { kPush, kToggle };

struct TPanelButton {
  int32_t Id;  // the child id and the command it runs
  TkoBox Box;
  TPanelButtonKind Kind;
  const wchar_t* Bitmap;  // bitmap resource name
  TMenuText ToolTip;
};

// In creation order, which is also the keyboard's tab order. Play and Pause share one
// place; exactly one of them is shown.
constexpr TPanelButton kPanelButtons[] = {
    {CM_PLAY, {8, 8, 24, 24}, TPanelButtonKind::kPush, L"PLAYBMP", TMenuText::kPlay},
    {CM_PAUSE, {8, 8, 24, 24}, TPanelButtonKind::kPush, L"PAUSEBMP", TMenuText::kPause},
    {CM_STOP, {36, 8, 24, 24}, TPanelButtonKind::kPush, L"STOPBMP", TMenuText::kStop},
    {CM_SEGMENTS, {72, 8, 24, 24}, TPanelButtonKind::kToggle, L"SEGMENTSBMP", TMenuText::kSegments},
    {CM_PREVIOUS, {100, 8, 24, 24}, TPanelButtonKind::kPush, L"PREVBMP", TMenuText::kPrev},
    {CM_NEXT, {128, 8, 24, 24}, TPanelButtonKind::kPush, L"NEXTBMP", TMenuText::kNext},
    {CM_FULL_SCREEN, {164, 8, 24, 24}, TPanelButtonKind::kToggle, L"FULLSCREENBMP", TMenuText::kFullScreen},
};
constexpr int32_t kPanelButtonCount = 7;

constexpr TkoBox kProgressBarBox{210, 23, 200, 10};
constexpr TkoBox kSpeedSliderBox{420, 18, 70, 20};
constexpr TkoBox kVolumeSliderBox{494, 18, 50, 20};
constexpr int32_t kSpeedSliderMax = 8;
constexpr int32_t kSpeedSliderStart = 3;  // normal speed
constexpr int32_t kVolumeSliderMax = 100;
// The volume's keys: 5 % a line, as a notch of the wheel, and 20 % a page.
constexpr int32_t kVolumeLineStep = 5;
constexpr int32_t kVolumePageStep = 20;
constexpr const wchar_t* kSpeedThumbBitmap = L"VELOCITYBMP";
constexpr const wchar_t* kVolumeThumbBitmap = L"SOUNDVOLUMEBMP";

// The design's colours as the system takes them, 0x00BBGGRR (control_palette.h).
constexpr uint32_t kPanelWhite = TControlPalette{}.Background;
constexpr uint32_t kStripColour = TControlPalette{}.Strip;  // red 144, green 152, blue 168
constexpr uint32_t kPanelBlack = TControlPalette{}.Lines;

// The slanted information strip: (194, 0) -> (w, 0) -> (w, 16) -> (210, 16) -> back.
struct TStripCorners {
  int32_t SlantTopX = 194;
  int32_t SlantBottomX = 210;
  int32_t Bottom = 16;
};
constexpr TStripCorners kStrip{};
constexpr int32_t kInfoTextX = 214;
constexpr int32_t kInfoTextY = 2;

// The panel font: Tahoma, 13 high, bold. Lines (frames, edges, outlines) are 1 wide.
constexpr int32_t kPanelFontHeight = 13;
constexpr int32_t kPanelLineWidth = 1;
// The pictures: buttons 20 x 20; thumbs 14 x 14, inside the thumb's outline.
constexpr int32_t kButtonPictureSize = 20;
constexpr int32_t kThumbPictureSize = 14;
// The progress bar's white margin around its drawing area.
constexpr int32_t kProgressBarMargin = 2;

// The panel on a screen of the given scale: every length above times s, rounded as
// TScreenScale rounds. At 96 DPI the design's values.
struct TPanelGeometry {
  explicit TPanelGeometry(const TScreenScale& scale = TScreenScale());

  TScreenScale Scale;
  int32_t Height;
  std::array<TkoBox, kPanelButtonCount> Buttons;  // in kPanelButtons' order
  TkoBox ProgressBar;
  TkoBox SpeedSlider;
  TkoBox VolumeSlider;
  TStripCorners Strip;
  TkoPoint InfoText;
  int32_t FontHeight;
  int32_t LineWidth;
  int32_t ButtonPicture;  // its width and height
  int32_t ThumbSize;      // the slider's square thumb
  int32_t ThumbPicture;   // the thumb inside its outline: ThumbSize - 2 x LineWidth
  int32_t BarMargin;

  // The time line, right-aligned.
  TkoRect TimeTextRect(int32_t w) const;
  // The segment title; the volume label lies over its right part.
  TkoRect TitleRect(int32_t w, int32_t h) const;
  TkoRect VolumeLabelRect(int32_t w, int32_t h) const;
};

// Until the first segment is shown, the format line reads as for this picture.
constexpr int32_t kStartInfoWidth = 600, kStartInfoHeight = 400, kStartInfoBits = 32, kStartInfoRate = 12;

// The window timer that refreshes the volume label.
constexpr uintptr_t kVolumeTimerId = 0;
constexpr uint32_t kVolumeTimerPeriodMs = 200;
