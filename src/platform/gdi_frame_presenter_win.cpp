#include "platform/gdi_frame_presenter_win.h"

#include <span>
#include <utility>

#include "film/segment_list.h"
#include "platform/gdi_holders_win.h"
#include "platform/presentation_plan.h"

namespace {
TkoRect ToRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

TkoSize ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// Copies every blit from the picture (selected in source) to the window's client area.
void CopyToWindow(HWND window, HDC source, const TkoBlits& blits) {
  if (blits.Count == 0) return;
  const TWindowDC target(window);
  if (target.Get() == nullptr || source == nullptr) return;
  for (const TkoBlit& blit : std::span(blits.Items, size_t(blits.Count))) {
    const TkoBox& s = blit.Source;
    const TkoBox& t = blit.Target;
    if (!blit.Stretch) {
      BitBlt(target.Get(), t.X, t.Y, t.Width, t.Height, source, s.X, s.Y, SRCCOPY);
      continue;
    }
    // Set each time: a class with its own DC keeps the mode of the copy before.
    SetStretchBltMode(target.Get(), blit.Smooth ? HALFTONE : blit.Nearest ? COLORONCOLOR : BLACKONWHITE);
    if (blit.Smooth) SetBrushOrgEx(target.Get(), 0, 0, nullptr);  // halftone needs the brush origin reset
    StretchBlt(target.Get(), t.X, t.Y, t.Width, t.Height, source, s.X, s.Y, s.Width, s.Height, SRCCOPY);
  }
  // The engine writes into the section's bits next; no copy may still be pending.
  GdiFlush();
}
}  // namespace

TGdiFramePresenter::TGdiFramePresenter(const TPlaybackEngine& engine, TkoFrameSource& frames,
                                       const TDibPictureMemory& memory, std::function<bool()> panelShown)
    : FEngine(engine), FFrames(frames), FMemory(memory), FPanelShown(std::move(panelShown)) {}

TkoSize TGdiFramePresenter::Available() const {
  return AvailableArea(ClientRect(), FPanelShown && FPanelShown(), FScale.Px(kBottomPanelHeight));
}

void TGdiFramePresenter::SetScreenScale(TScreenScale scale) {
  FScale = scale;
  LayOutShownPicture();
}

void TGdiFramePresenter::SetZoom(TPictureZoom zoom) {
  FZoom = zoom;
  LayOutShownPicture();
}

void TGdiFramePresenter::LayOutShownPicture() {
  if (FEngine.State() != psStopped) LayOut();
}

TkoRect TGdiFramePresenter::ClientRect() const {
  RECT client{};
  GetClientRect(FWindow, &client);
  return ToRect(client);
}

void TGdiFramePresenter::LayOut() {
  const TSegmentInfo* segment = FEngine.CurrentSegmentInfo();
  if (FWindow == nullptr || segment == nullptr) return;
  const TkoSize frame{segment->Width, segment->Height};
  // Only a segment start (which lays out while stopped) changes the window's size.
  if (FEngine.State() == psStopped) GrowWindowFor(ZoomedSize(frame));
  FPlacement = PlaceZoomedPicture(frame, Available(), FZoom, FScale);
  FShown.Invalidate();
  InvalidateRect(FWindow, nullptr, TRUE);
}

// Moving or maximising sends WM_SIZE at once, so the client area read afterwards is
// the new one.
void TGdiFramePresenter::GrowWindowFor(TkoSize picture) {
  RECT window{};
  GetWindowRect(FWindow, &window);
  const TkoWindowGrowth growth = PlanWindowGrowth(picture, Available(), ToRect(window), ScreenSize());
  if (growth.Action == TkoWindowAction::kMaximise) {
    SendMessageW(FWindow, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (growth.Action == TkoWindowAction::kMoveAndResize) {
    const TkoBox& box = growth.Window;
    MoveWindow(FWindow, box.X, box.Y, box.Width, box.Height, TRUE);
  }
}

void TGdiFramePresenter::PresentWholeFrame() {
  const TkoPictureView& picture = FFrames.Picture();
  const TSegmentInfo* segment = FEngine.CurrentSegmentInfo();
  const TkoRect changed = FFrames.TakeChangedArea();
  if (FWindow == nullptr || segment == nullptr || picture.IsEmpty()) {
    FShown.Invalidate();
    return;
  }
  const TkoCursorOverlay& overlay = FFrames.Overlay();
  CopyToWindow(FWindow, FMemory.SourceDC(),
               FShown.FrameCopies(changed, overlay.NewPosition(), {overlay.LargestWidth(), overlay.LargestHeight()},
                                  {picture.Width, picture.Height}, FPlacement, segment->FramesPerSecond));
  DrawOutline();
}

void TGdiFramePresenter::PresentCursorArea() {
  const TkoPictureView& picture = FFrames.Picture();
  if (FWindow == nullptr || picture.IsEmpty()) return;
  const TkoCursorOverlay& overlay = FFrames.Overlay();
  CopyToWindow(FWindow, FMemory.SourceDC(),
               FShown.PointerCopies(overlay.NewPosition(), {overlay.LargestWidth(), overlay.LargestHeight()},
                                    {picture.Width, picture.Height}, FPlacement));
  DrawOutline();
}

void TGdiFramePresenter::SetOutline(int32_t segment, const TkoBox& frameBox, COLORREF colour) {
  FOutline = TOutline{segment, frameBox, colour};
}

void TGdiFramePresenter::ClearOutline() {
  if (!FOutline) return;
  FOutline.reset();
  FShown.Invalidate();
  if (FWindow != nullptr) InvalidateRect(FWindow, nullptr, FALSE);
}

// A frame a little outside the box, so that the letters stay readable.
void TGdiFramePresenter::DrawOutline() const {
  if (!FOutline || FWindow == nullptr || FOutline->Segment != FEngine.CurrentSegment()) return;
  const TkoBox box = FrameBoxToWindow(FOutline->Box, FPlacement);
  const int32_t width = FScale.Px(2), gap = FScale.Px(2) + width / 2;
  const TWindowDC dc(FWindow);
  if (dc.Get() == nullptr) return;
  const TGdiObject<HPEN> pen(CreatePen(PS_SOLID, width, FOutline->Colour));
  const TSelection usePen(dc.Get(), pen.Get());
  const TSelection noFill(dc.Get(), GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc.Get(), box.X - gap, box.Y - gap, box.X + box.Width + gap, box.Y + box.Height + gap);
  GdiFlush();
}

void TGdiFramePresenter::Resized() { LayOutShownPicture(); }

std::optional<LRESULT> TGdiFramePresenter::Paint() {
  if (FWindow == nullptr) return std::nullopt;
  switch (FEngine.State()) {
    case psPlaying: {
      const TPaintScope validate(FWindow);
      FShown.Invalidate();
      return 0;
    }
    case psPaused:
      DefWindowProcW(FWindow, WM_PAINT, 0, 0);
      FShown.Invalidate();
      PresentWholeFrame();
      return 0;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> TGdiFramePresenter::EraseBackground(HDC dc) {
  if (FWindow == nullptr || FEngine.State() != psPlaying) return std::nullopt;
  if (dc == nullptr) return 1;
  const auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(FWindow, GCLP_HBRBACKGROUND));
  for (const TkoRect& part : PictureMargins(FPlacement, ClientRect()).Parts) {
    if (part.IsEmpty()) continue;
    const RECT rect{part.Left, part.Top, part.Right, part.Bottom};
    FillRect(dc, &rect, brush);
  }
  return 1;
}
