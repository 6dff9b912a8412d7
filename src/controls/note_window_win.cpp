#include "controls/note_window_win.h"

#include <algorithm>
#include <vector>

#include "controls/control_palette_win.h"
#include "controls/ko_common_win.h"
#include "controls/pane_procedure_win.h"
#include "controls/scaled_gdi_win.h"

namespace {
constexpr wchar_t kClassName[] = L"koNote";
constexpr UINT_PTR kHideTimer = 1;

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

TNoteWindow::TNoteWindow(HWND parent, const TScreenScale& scale, COLORREF frameColour)
    : FScale(scale), FFrameColour(frameColour), FFont(CreateFontByName("Tahoma", scale.Px(13), 0)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterPaneClass(instance, kClassName, Procedure)) return;
  FWindow = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, 1, parent, nullptr, instance,
                            this);
}

TNoteWindow::~TNoteWindow() { DestroyPaneWindow(FWindow); }

LRESULT CALLBACK TNoteWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PaneProcedure<TNoteWindow>(window, message, wParam, lParam, "Note");
}

LRESULT TNoteWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_TIMER: Hide(); return 0;
    case WM_SETCURSOR:
      if (!OnClick) break;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_LBUTTONUP:
      if (OnClick) {
        const auto click = OnClick;  // the handler may change OnClick
        click();
      }
      return 0;
  }
  return DefWindowProcW(FWindow, message, wParam, lParam);
}

void TNoteWindow::SetPicture(const TkoPicture& picture) {
  FPicture = picture;
  if (FWindow != nullptr) InvalidateRect(FWindow, nullptr, FALSE);
}

void TNoteWindow::SetText(const std::wstring& text) {
  if (text == FText) return;
  FText = text;
  if (FWindow == nullptr) return;
  SetWindowTextW(FWindow, text.c_str());
  InvalidateRect(FWindow, nullptr, FALSE);
}

int32_t TNoteWindow::LineHeight() const { return FScale.Px(16); }
int32_t TNoteWindow::Padding() const { return FScale.Px(4); }
int32_t TNoteWindow::FrameWidth() const { return FScale.Px(1); }

void TNoteWindow::SetScale(const TScreenScale& scale) {
  FScale = scale;
  FFont = CreateFontByName("Tahoma", scale.Px(13), 0);
  if (FWindow != nullptr) InvalidateRect(FWindow, nullptr, TRUE);
}

int32_t TNoteWindow::TextWidth() const {
  TScreenDC screen;
  const TSelection font(screen.Get(), FFont.Get());
  int32_t width = 0;
  for (const std::wstring& line : Lines(FText)) {
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), line.c_str(), static_cast<int>(line.size()), &size);
    width = std::max<int32_t>(width, size.cx);
  }
  return width;
}

TkoSize TNoteWindow::Size() const {
  const int32_t lines = static_cast<int32_t>(Lines(FText).size());
  const int32_t inner = FPicture.IsEmpty() ? TextWidth() + 2 * Padding() : FPicture.Width();
  const int32_t picture = FPicture.IsEmpty() ? Padding() : FPicture.Height();
  return {inner + 2 * FrameWidth(), picture + lines * LineHeight() + Padding() + 2 * FrameWidth()};
}

void TNoteWindow::ShowAt(int32_t x, int32_t y) {
  if (FWindow == nullptr) return;
  const TkoSize size = Size();
  SetWindowPos(FWindow, HWND_TOP, x, y, size.Width, size.Height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TNoteWindow::Announce() const {
  if (FWindow != nullptr) NotifyWinEvent(EVENT_SYSTEM_ALERT, FWindow, OBJID_CLIENT, CHILDID_SELF);
}

void TNoteWindow::Hide() {
  if (FWindow == nullptr) return;
  KillTimer(FWindow, kHideTimer);
  ShowWindow(FWindow, SW_HIDE);
}

void TNoteWindow::HideAfter(uint32_t ms) {
  if (FWindow == nullptr) return;
  if (ms == 0)
    KillTimer(FWindow, kHideTimer);
  else
    SetTimer(FWindow, kHideTimer, ms, nullptr);
}

// White inside a frame of the owner's colour (as wide as the panel's lines); the picture
// inside the frame pixel for pixel; the lines below it, centred, cut with an ellipsis
// where they are too long. Under high contrast in the scheme's colours.
void TNoteWindow::Paint() {
  TPaintScope paint(FWindow);
  const HDC dc = paint.Get();
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(FWindow, &client);
  const int32_t frame = FrameWidth();
  const TControlPalette palette = CurrentControlPalette();
  const TGdiObject<HPEN> framePen(CreateLinePen(palette.HighContrast ? palette.Strip : FFrameColour, frame));
  const TGdiObject<HBRUSH> background(CreateSolidBrush(palette.Background));
  {
    const TSelection pen(dc, framePen.Get());
    const TSelection brush(dc, background.Get());
    Rectangle(dc, 0, 0, client.right, client.bottom);
  }
  int32_t top = frame;
  if (!FPicture.IsEmpty()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = FPicture.Width();
    info.bmiHeader.biHeight = -FPicture.Height();  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, frame, frame, static_cast<DWORD>(FPicture.Width()), static_cast<DWORD>(FPicture.Height()), 0,
                      0, 0, static_cast<UINT>(FPicture.Height()), FPicture.Memory().data(), &info, DIB_RGB_COLORS);
    top += FPicture.Height();
  } else {
    top += Padding() / 2;
  }
  const TSelection font(dc, FFont.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, palette.Lines);
  for (const std::wstring& line : Lines(FText)) {
    RECT box{frame + Padding(), top, client.right - frame - Padding(), top + LineHeight()};
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &box,
              DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    top += LineHeight();
  }
}
