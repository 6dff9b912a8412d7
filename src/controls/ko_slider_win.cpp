#include "controls/ko_slider_win.h"

#include "controls/control_bounds.h"
#include "controls/scaled_gdi_win.h"
#include "film/round_half_even.h"

namespace {
constexpr int32_t kDefaultWidth = 120, kDefaultHeight = 22;
// The track: an 8-pixel bar across the control; the thumb is centred on row 10.
constexpr int32_t kTrackTop = 6, kTrackBottom = 14, kThumbCentreY = 10;
}  // namespace

TkoSlider::TkoSlider()
    : FDisabledPen(CreateLinePen(FPalette.Thumb, 1)), FThumbBrush(CreateSolidBrush(FPalette.Thumb)) {
  FModel.OnChange = [this] {
    NotifyValueChange();
    if (OnChange) OnChange(*this);
  };
  FModel.OnThumbMoved = [this] { InvalidateRect(FHandle, nullptr, TRUE); };
}

HCURSOR TkoSlider::GetCursor() { return LoadCursorW(nullptr, IDC_HAND); }

DWORD TkoSlider::GetStyle() { return WS_CHILD | WS_VISIBLE | WS_TABSTOP; }

void TkoSlider::InitWindow() {
  SetWidth(kDefaultWidth);
  SetHeight(kDefaultHeight);
  SetLeft(0);
  SetTop(0);
  TkoControl::InitWindow();
}

LRESULT TkoSlider::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_LBUTTONUP: OnButtonUp(); return 0;
  }
  return TkoControl::WndProc(window, message, wParam, lParam);
}

void TkoSlider::DoSize(int32_t width, int32_t height) {
  TkoControl::DoSize(width, height);
  FModel.Resize(FWidth);
}

void TkoSlider::SetScale(const TScreenScale& scale) {
  FScale = scale;
  FOutline = scale.Px(1);
  FDisabledPen = CreateLinePen(FPalette.Thumb, FOutline);
  FModel.SetThumbSize(scale.Px(TSliderModel::kThumbSize));
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TkoSlider::SetPalette(const TControlPalette& palette) {
  FPalette = palette;
  FDisabledPen = CreateLinePen(FPalette.Thumb, FOutline);
  FThumbBrush = TGdiObject<HBRUSH>(CreateSolidBrush(FPalette.Thumb));
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TkoSlider::SetSteps(int32_t line, int32_t page) {
  FLineStep = line;
  FPageStep = page;
}

int32_t TkoSlider::KeyStepAmount(TSliderStep step) const {
  return StepAmount(step, FLineStep, FPageStep, FModel.Max() - FModel.Min());
}

void TkoSlider::DoKeyStep(TSliderStep step) {
  if (OnKeyStep) {
    RunOwnerHandler([&, handler = OnKeyStep] { handler(*this, step); });
    return;
  }
  SetPosition(SteppedValue(step, FModel.Position(), FModel.Min(), FModel.Max(), FLineStep, FPageStep));
}

TAccessibleRange TkoSlider::ValueRange() const {
  return {static_cast<double>(FModel.Position()), static_cast<double>(FModel.Min()),
          static_cast<double>(FModel.Max()), static_cast<double>(FLineStep), static_cast<double>(FPageStep)};
}

// The value's pixel decides, as for any value set from outside (slider_model.h).
void TkoSlider::SetValueAsUser(double value) { SetPosition(static_cast<int32_t>(RoundHalfEven(value))); }

void TkoSlider::OnButtonDown(LPARAM lParam) {
  if (!FEnabled) return;
  SetCapture(FHandle);
  FDragging = true;
  FModel.MoveThumbToMouse(SignedLowWord(lParam));
}

void TkoSlider::OnMouseMove(LPARAM lParam) {
  if (FDragging) FModel.MoveThumbToMouse(SignedLowWord(lParam));
}

void TkoSlider::OnButtonUp() {
  FDragging = false;
  ReleaseCapture();
}

void TkoSlider::Paint() {
  TPaintScope paint(FHandle);
  const HDC dc = paint.Get();
  if (dc == nullptr) return;
  FillRect(dc, &paint.Paint().rcPaint, FBackgroundBrush);
  RECT client{};
  GetClientRect(FHandle, &client);
  const TSelection pen(dc, FEnabled ? FTrackPen : FDisabledPen.Get());
  Rectangle(dc, client.left + FOutline, client.top + FScale.Px(kTrackTop), client.right - FOutline,
            client.top + FScale.Px(kTrackBottom));
  const TSelection brush(dc, FThumbBrush.Get());
  const int32_t x = client.left + FModel.ThumbPos();
  const int32_t y = client.top + FScale.Px(kThumbCentreY) - FModel.ThumbHeight() / 2;
  Rectangle(dc, x, y, x + FModel.ThumbWidth(), y + FModel.ThumbHeight());
  if (FThumbBitmap) {
    TMemoryDC memory;
    const TSelection picture(memory.Get(), FThumbBitmap.Get());
    BitBlt(dc, x + FOutline, y + FOutline, FModel.ThumbWidth() - 2 * FOutline, FModel.ThumbHeight() - 2 * FOutline,
           memory.Get(), 0, 0, SRCCOPY);
  }
  DrawFocusCue(dc, client);
}
