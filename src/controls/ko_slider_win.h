#pragma once
// TkoSlider (class "koSlider"): a flat horizontal track with a square thumb that may
// carry a picture. A press centres the thumb on the mouse, dragging moves it (the mouse
// is captured), and the value follows the thumb; OnChange reports every change. With
// the focus, the keys step the value by its steps (unless the owner takes them in
// OnKeyStep), and a focus rectangle shows once the keyboard is in use. A value set
// through UI Automation is set as SetPosition sets it.
#include <windows.h>

#include <functional>

#include "controls/control_palette.h"
#include "controls/ko_control_win.h"
#include "controls/slider_model.h"
#include "platform/gdi_holders_win.h"
#include "playback/screen_scale.h"

class TkoSlider : public TkoControl {
public:
  TkoSlider();

  int32_t GetPosition() const { return FModel.Position(); }
  void SetPosition(int32_t value) { FModel.SetPosition(value); }
  // Only stores the maximum (no clamping, no repaint).
  void SetMax(int32_t value) { FModel.SetMax(value); }
  // How far a line key and a page key move the value (1 and 1 until set); screen
  // readers are told them as its steps.
  void SetSteps(int32_t line, int32_t page);
  // How far a key's step moves the value: StepAmount with these steps and the range.
  int32_t KeyStepAmount(TSliderStep step) const;
  // The outline pen of track and thumb while enabled; borrowed: the owner deletes it
  // after the slider is gone.
  void SetTrackPen(HPEN pen) { FTrackPen = pen; }
  // The thumb's picture; the slider owns it from now on and deletes the one it held.
  // It is drawn inside the thumb's outline: the thumb less its outline on each side.
  void SetThumbBitmap(TGdiObject<HBITMAP> bitmap) { FThumbBitmap = std::move(bitmap); }
  // Track, thumb and outline sized for a screen at this scale (96 DPI until set); the
  // thumb goes to the value's pixel. Set the track pen as wide as ThumbOutline().
  void SetScale(const TScreenScale& scale);
  int32_t ThumbOutline() const { return FOutline; }
  // The thumb's colours from now on (the design's until set); the owner gives the
  // track pen, the background brush and the thumb's picture for the same palette.
  void SetPalette(const TControlPalette& palette);
  // Called with the slider after every change of the value; may be empty.
  std::function<void(TkoSlider&)> OnChange;
  // A key of the focused slider; when set, the owner steps the value itself.
  std::function<void(TkoSlider&, TSliderStep)> OnKeyStep;

  const TSliderModel& Model() const { return FModel; }

protected:
  HCURSOR GetCursor() override;
  DWORD GetStyle() override;
  const wchar_t* GetWindowClassName() override { return L"koSlider"; }
  void InitWindow() override;
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void DoSize(int32_t width, int32_t height) override;
  void DoKeyStep(TSliderStep step) override;
  TAccessibleRange ValueRange() const override;
  void SetValueAsUser(double value) override;

private:
  void Paint();
  void OnButtonDown(LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void OnButtonUp();

  TSliderModel FModel;
  TControlPalette FPalette;
  TScreenScale FScale;
  int32_t FOutline = 1;
  TGdiObject<HPEN> FDisabledPen;
  TGdiObject<HBRUSH> FThumbBrush;
  bool FDragging = false;
  int32_t FLineStep = 1;
  int32_t FPageStep = 1;
  HPEN FTrackPen = nullptr;
  TGdiObject<HBITMAP> FThumbBitmap;
};
