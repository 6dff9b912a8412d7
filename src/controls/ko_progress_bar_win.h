#pragma once
// TkoProgressBar (class "koProgressBar"): the film's position as a filled bar with a
// thin mark between segments; a click picks a whole segment, and dragging after the
// press (beyond the system's drag distance) scrubs: the bar follows the mouse and tells
// the owner the time under it. Without a press it tells the owner where the mouse
// hovers, and when it leaves. It knows nothing of films: the owner gives it segment
// lengths and the position in seconds and decides in OnSegmentClick whether a click is
// taken, in OnScrub what a time means and in OnKeyStep what a key of the focused bar
// does. Screen readers hear of a new position at once after the user's own changes,
// and at most once a second while the film moves it. A position set through UI
// Automation is taken as a drag to it: the bar moves and OnScrub tells the owner.
#include <windows.h>

#include <functional>

#include "controls/activity_strip.h"
#include "controls/control_palette.h"
#include "controls/ko_control_win.h"
#include "controls/notice_throttle.h"
#include "controls/progress_model.h"
#include "platform/gdi_holders_win.h"
#include "playback/screen_scale.h"

class TkoProgressBar : public TkoControl {
public:
  TkoProgressBar();

  // Makes the bar's segments these lengths (in seconds) and repaints it when they
  // differ from the ones it has.
  void SetSegments(const std::vector<float>& lengths);
  float TotalLength() const { return FModel.TotalLength(); }
  // Clamps to 0 .. TotalLength() and stores it; repaints (without erasing) when the
  // played part then ends at another pixel. The position is set after every tick, as
  // often as every millisecond: a bar repainted each time would cost the tick more
  // than its frame.
  void SetPosition(float seconds);
  // Asks OnSegmentClick (Allow starts true) and, when allowed, moves the bar to the
  // segment's start. Nothing for an index outside the segments. Returns false when the
  // handler destroyed the bar.
  bool SelectSegment(int32_t index);
  // Called with the bar, the segment's index and Allow, which the handler may clear.
  // The handlers may destroy the bar (see RunOwnerHandler).
  std::function<void(TkoProgressBar&, int32_t, bool&)> OnSegmentClick;
  // Called for every move while the mouse drags along the bar, with the time under it
  // (0 .. TotalLength()); the bar shows that position.
  std::function<void(TkoProgressBar&, double)> OnScrub;
  // The mouse moves over the bar without a press: its x in the bar and the time under
  // it. OnLeave follows when it leaves the bar or presses it.
  std::function<void(const TkoProgressBar&, int32_t, double)> OnHover;
  std::function<void(TkoProgressBar&)> OnLeave;
  // A key of the focused bar (see TSliderStep); may destroy the bar.
  std::function<void(TkoProgressBar&, TSliderStep)> OnKeyStep;

  const TProgressModel& Model() const { return FModel; }
  // A drag along the bar is going on.
  bool Scrubbing() const { return FScrubbing; }
  // Margin, frame and marks sized for a screen at this scale (96 DPI until set).
  void SetScale(const TScreenScale& scale);
  // Paints in these colours from now on (the design's until set).
  void SetPalette(const TControlPalette& palette);
  // The activity strip of each segment (activity_strip.h), in the bar's order; repaints
  // when it differs from the one shown. None is shown until set.
  void SetActivity(std::vector<TStripSegment> strip);

protected:
  HCURSOR GetCursor() override;
  DWORD GetStyle() override;
  const wchar_t* GetWindowClassName() override { return L"koProgressBar"; }
  void InitWindow() override;
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void DoKeyStep(TSliderStep step) override;
  // Without segments there is no film to move through.
  bool Available() const override { return FEnabled && FModel.Count() > 0; }
  // In seconds, 0 .. TotalLength(), stepped as the owner's keys seek (BarStepSeconds).
  TAccessibleRange ValueRange() const override;
  void SetValueAsUser(double seconds) override { ScrubTo(seconds); }

private:
  // The user moved the bar: screen readers hear it now.
  void NoticeUserChange();
  // Shows that time and tells OnScrub, as a drag does.
  void ScrubTo(double seconds);
  void Paint();
  void PaintStrip(HDC dc);
  void OnClick(LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void OnButtonUp(LPARAM lParam);
  void OnMouseLeave();

  TProgressModel FModel;
  // Pens and brushes for the palette and the line width.
  void MakeTools();

  TControlPalette FPalette;
  TScreenScale FScale;
  int32_t FLine = 1;
  std::vector<TStripSegment> FStrip;
  // The frame and the marks, as wide as a scaled line; the body and the played part.
  TGdiObject<HPEN> FFramePen;
  TGdiObject<HPEN> FMarkPen;
  TGdiObject<HBRUSH> FBodyBrush;
  TGdiObject<HBRUSH> FPlayedBrush;
  // Between a press and its release: where it was pressed, and whether the mouse has
  // moved far enough since to scrub.
  bool FPressed = false;
  bool FScrubbing = false;
  int32_t FPressX = 0;
  // Where the last press or release was: the preview stays hidden after a click until the mouse
  // really moves (Windows sends a move at the same place when the capture ends).
  LPARAM FQuietPoint = -1;
  // The system tells the bar when the mouse leaves it (TrackMouseEvent).
  bool FTrackingLeave = false;
  TNoticeThrottle FValueNotices{1000};
};
