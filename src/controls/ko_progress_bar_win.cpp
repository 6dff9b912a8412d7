#include "controls/ko_progress_bar_win.h"

#include <algorithm>
#include <cstdlib>

#include "controls/control_bounds.h"
#include "controls/scaled_gdi_win.h"
#include "platform/gdi_holders_win.h"

namespace {
constexpr int32_t kDefaultWidth = 200, kDefaultHeight = 10;
}  // namespace

TkoProgressBar::TkoProgressBar() { MakeTools(); }

void TkoProgressBar::MakeTools() {
  FFramePen = CreateLinePen(FPalette.BarFrame, FLine);
  FMarkPen = CreateLinePen(FPalette.Lines, FLine);
  FBodyBrush = TGdiObject<HBRUSH>(CreateSolidBrush(FPalette.Background));
  FPlayedBrush = TGdiObject<HBRUSH>(CreateSolidBrush(FPalette.BarPlayed));
}

void TkoProgressBar::SetScale(const TScreenScale& scale) {
  FScale = scale;
  FLine = scale.Px(1);
  MakeTools();
  FModel.SetMargin(scale.Px(2));
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TkoProgressBar::SetPalette(const TControlPalette& palette) {
  FPalette = palette;
  MakeTools();
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TkoProgressBar::SetActivity(std::vector<TStripSegment> strip) {
  const auto same = [](const TStripSegment& a, const TStripSegment& b) {
    if (a.Known != b.Known || a.Slices.size() != b.Slices.size() || a.Idle.size() != b.Idle.size()) return false;
    for (size_t i = 0; i < a.Slices.size(); ++i)
      if (a.Slices[i].From != b.Slices[i].From || a.Slices[i].To != b.Slices[i].To || a.Slices[i].Level != b.Slices[i].Level)
        return false;
    for (size_t i = 0; i < a.Idle.size(); ++i)
      if (a.Idle[i].From != b.Idle[i].From || a.Idle[i].To != b.Idle[i].To) return false;
    return true;
  };
  if (std::equal(strip.begin(), strip.end(), FStrip.begin(), FStrip.end(), same)) return;
  FStrip = std::move(strip);
  InvalidateRect(FHandle, nullptr, FALSE);
}

HCURSOR TkoProgressBar::GetCursor() { return LoadCursorW(nullptr, IDC_HAND); }

DWORD TkoProgressBar::GetStyle() { return WS_CHILD | WS_VISIBLE | WS_TABSTOP; }

void TkoProgressBar::InitWindow() {
  SetWidth(kDefaultWidth);
  SetHeight(kDefaultHeight);
  SetLeft(0);
  SetTop(0);
  FModel.SetPosition(0);
  TkoControl::InitWindow();
}

LRESULT TkoProgressBar::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN: OnClick(lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_LBUTTONUP: OnButtonUp(lParam); return 0;
    case WM_CAPTURECHANGED: FPressed = FScrubbing = false; return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
  }
  return TkoControl::WndProc(window, message, wParam, lParam);
}

void TkoProgressBar::SetSegments(const std::vector<float>& lengths) {
  if (lengths == FModel.Lengths()) return;
  const bool wasAvailable = Available();
  FModel.ClearSegments();
  for (const float length : lengths) FModel.AddSegment(length);
  FModel.SetPosition(FModel.Position());
  InvalidateRect(FHandle, nullptr, FALSE);
  if (Available() != wasAvailable) NotifyAccessibleStateChange(FHandle);
}

void TkoProgressBar::SetPosition(float seconds) {
  const float was = FModel.Position();
  const int32_t before = FModel.ValueToPixel(was, FWidth);
  FModel.SetPosition(seconds);
  if (FModel.ValueToPixel(FModel.Position(), FWidth) != before) InvalidateRect(FHandle, nullptr, FALSE);
  if (FModel.Position() != was && FValueNotices.Allow(GetTickCount64())) NotifyValueChange();
}

void TkoProgressBar::NoticeUserChange() {
  FValueNotices.Sent(GetTickCount64());
  NotifyValueChange();
}

void TkoProgressBar::DoKeyStep(TSliderStep step) {
  if (!Available() || !OnKeyStep) return;
  if (!RunOwnerHandler([&, handler = OnKeyStep] { handler(*this, step); })) return;
  NoticeUserChange();
}

bool TkoProgressBar::SelectSegment(int32_t index) {
  if (index < 0 || index >= FModel.Count()) return true;
  bool allow = true;
  // The handler runs from a copy: destroying the bar destroys OnSegmentClick too.
  if (OnSegmentClick && !RunOwnerHandler([&, handler = OnSegmentClick] { handler(*this, index, allow); }))
    return false;
  if (allow) {
    SetPosition(FModel.SegmentStart(index));
    NoticeUserChange();
  }
  return true;
}

// The press selects the segment as a click always has; the bar then keeps the mouse
// until the button is released, so that a drag can follow.
void TkoProgressBar::OnClick(LPARAM lParam) {
  if (OnLeave && !RunOwnerHandler([&, handler = OnLeave] { handler(*this); })) return;
  const int32_t segment = FModel.SegmentAtPixel(UnsignedLowWord(lParam), FWidth);
  if (segment >= 0 && !SelectSegment(segment)) return;
  FPressX = SignedLowWord(lParam);
  FQuietPoint = lParam;
  FScrubbing = false;
  SetCapture(FHandle);
  FPressed = GetCapture() == FHandle;
}

void TkoProgressBar::OnMouseMove(LPARAM lParam) {
  const int32_t x = SignedLowWord(lParam);
  if (!FPressed) {
    if (lParam == FQuietPoint) return;
    FQuietPoint = -1;
    if (!FTrackingLeave) {
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
      FTrackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    if (OnHover) RunOwnerHandler([&, handler = OnHover] { handler(*this, x, FModel.TimeAtPixel(x, FWidth)); });
    return;
  }
  if (!FScrubbing && std::abs(x - FPressX) < GetSystemMetrics(SM_CXDRAG)) return;
  FScrubbing = true;
  ScrubTo(FModel.TimeAtPixel(x, FWidth));
}

void TkoProgressBar::ScrubTo(double seconds) {
  SetPosition(static_cast<float>(seconds));
  if (OnScrub && !RunOwnerHandler([&, handler = OnScrub] { handler(*this, seconds); })) return;
  NoticeUserChange();
}

TAccessibleRange TkoProgressBar::ValueRange() const {
  return {FModel.Position(), 0, FModel.TotalLength(), kBarLineSeconds, kBarPageSeconds};
}

void TkoProgressBar::OnMouseLeave() {
  FTrackingLeave = false;
  if (OnLeave) RunOwnerHandler([&, handler = OnLeave] { handler(*this); });
}

void TkoProgressBar::OnButtonUp(LPARAM lParam) {
  const bool pressed = FPressed;
  FQuietPoint = lParam;
  FPressed = FScrubbing = false;
  if (pressed) ReleaseCapture();
}

// The activity strip over the body and the played part: shaded bands, then idle
// stretches hatched with diagonal lines in the lines' colour, a scaled step apart.
void TkoProgressBar::PaintStrip(HDC dc) {
  if (FStrip.empty()) return;
  const TStripRows rows = StripRows(FHeight, FModel.Margin(), FScale);
  if (rows.Bottom <= rows.Top) return;
  for (const TStripBand& band : StripBands(FModel, FWidth, FStrip)) {
    const RECT area{band.Left, rows.Top, band.Right, rows.Bottom};
    if (band.Hatched) {
      const TGdiObject<HBRUSH> body(CreateSolidBrush(FPalette.Background));
      FillRect(dc, &area, body.Get());
      const int32_t saved = SaveDC(dc);
      IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
      const TSelection pen(dc, FMarkPen.Get());
      const int32_t height = rows.Bottom - rows.Top;
      for (int32_t x = band.Left - height; x < band.Right; x += FScale.Px(3)) {
        MoveToEx(dc, x, rows.Bottom, nullptr);
        LineTo(dc, x + height, rows.Top);
      }
      RestoreDC(dc, saved);
      continue;
    }
    if (const std::optional<uint32_t> colour = StripShadeColour(FPalette, band.Shade)) {
      const TGdiObject<HBRUSH> brush(CreateSolidBrush(*colour));
      FillRect(dc, &area, brush.Get());
    }
  }
}

// A white body framed in the bar colour, the played part filled from x = 2 (the
// margin), and a black mark at each boundary between segments (the palette's colours). A played part that ends
// at or left of the margin is not drawn.
void TkoProgressBar::Paint() {
  TPaintScope paint(FHandle);
  const HDC dc = paint.Get();
  if (dc == nullptr) return;
  const TSelection framePen(dc, FFramePen.Get());
  const TSelection body(dc, FBodyBrush.Get());
  Rectangle(dc, 0, 0, FWidth, FHeight);
  const int32_t margin = FModel.Margin();
  const int32_t right = FModel.ValueToPixel(FModel.Position(), FWidth);
  const int32_t bottom = FHeight - margin;
  if (right > margin) {
    const TSelection bar(dc, FPlayedBrush.Get());
    Rectangle(dc, margin, margin, right, bottom);
  }
  PaintStrip(dc);
  const TSelection markPen(dc, FMarkPen.Get());
  for (const int32_t x : FModel.MarkPixels(FWidth)) {
    MoveToEx(dc, x, margin, nullptr);
    LineTo(dc, x, bottom);
  }
  DrawFocusCue(dc, RECT{0, 0, FWidth, FHeight});
}
