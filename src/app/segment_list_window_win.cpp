#include "app/segment_list_window_win.h"

#include <algorithm>
#include <iterator>

#include "app/bottom_panel_win.h"
#include "app/commands_win.h"
#include "app/player_win.h"
#include "controls/control_palette_win.h"
#include "controls/ko_common_win.h"
#include "controls/pane_procedure_win.h"
#include "controls/scaled_gdi_win.h"
#include "platform/wide_text_win.h"
#include "session/panel_layout.h"

namespace {
constexpr wchar_t kClassName[] = L"koSegmentList";
constexpr int kCloseButtonId = 1;
// The design's places (96 DPI): a header strip from (4, 4) to (w - 4, 22), the caption
// narrowed by 2 on each side, the list box from (4, 24) to (w - 4, h - 4), and the
// close button, 15 x 15, at (w - 20, 5).
constexpr int32_t kMargin = 4, kHeaderBottom = 22, kCaptionInset = 2, kCloseSize = 15, kCloseRight = 20, kCloseTop = 5;
}  // namespace

void TSegmentListPane::Create(HWND mainWindow) {
  FScale = FPlayer.Scale;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterPaneClass(instance, kClassName, Procedure)) return;
  constexpr DWORD kStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", kStyle, 0, 0, 400, 300, mainWindow, nullptr, instance, this);
}

TSegmentListPane::~TSegmentListPane() {
  if (FWindow == nullptr) return;
  // The list box ends in its own procedure: ours would no longer find the pane.
  if (FListBoxProcedure != nullptr)
    SetWindowLongPtrW(FListBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FListBoxProcedure));
  DestroyPaneWindow(FWindow);
}

LRESULT CALLBACK TSegmentListPane::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PaneProcedure<TSegmentListPane>(window, message, wParam, lParam, "SegmentList");
}

LRESULT TSegmentListPane::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: MakeChildren(); return 0;
    case WM_SIZE: GetClientRect(FWindow, &FClient); return 0;
    case WM_PAINT: {
      const LRESULT result = DefWindowProcW(FWindow, WM_PAINT, wParam, lParam);
      PaintHeader();
      return result;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseButtonId) ToggleSegmentList(FPlayer);
      return 0;
    case WM_DRAWITEM: DrawCaption(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_RBUTTONDOWN: ShowContextMenuAtCursor(FPlayer); return 0;
  }
  return DefWindowProcW(FWindow, message, wParam, lParam);
}

// The caption is a label just before the list box, which gives the list its name for a
// screen reader; the close button keeps its "X" and is named by words.
void TSegmentListPane::MakeChildren() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  FCaption = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOPREFIX, 0, 0, 1, 1,
                             FWindow, nullptr, instance, nullptr);
  FListBox = CreateWindowExW(0, L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 8, 8,
                             100, 100, FWindow, nullptr, instance, nullptr);
  FCloseButton = CreateWindowExW(0, L"BUTTON", L"X", WS_CHILD | WS_VISIBLE, 0, 0, 15, 15, FWindow,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)), instance, nullptr);
  FCloseName.Attach(FCloseButton);
  SetTexts();
  // The system's dialog font: the built-in caption is Russian, and the plain system font
  // has no Cyrillic letters on every system.
  SetScale(FScale);
  FListBoxProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FListBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListBoxProcedure)));
  GetClientRect(FWindow, &FClient);
}

void TSegmentListPane::SetTexts() {
  SetWindowTextW(FCaption, Utf8ToWide(FPlayer.Texts.Message(TMessageText::kSegmentListCaption)).c_str());
  FCloseName.SetName(Utf8ToWide(FPlayer.Texts.Message(TMessageText::kSegmentListClose)));
}

// The list box's messages reach the pane through its parent's window data, until the
// list box is gone (it goes before the pane).
LRESULT CALLBACK TSegmentListPane::ListBoxProcedure(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* pane = reinterpret_cast<TSegmentListPane*>(GetWindowLongPtrW(GetParent(listBox), GWLP_USERDATA));
  if (pane == nullptr) return DefWindowProcW(listBox, message, wParam, lParam);
  try {
    return pane->ListBoxMessage(message, wParam, lParam);
  } catch (...) {
    ShowPaneError(GetParent(listBox), "SegmentList", message);
    return 0;
  }
}

LRESULT TSegmentListPane::ListBoxMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (ListKey(wParam)) return 0;
      break;
    case WM_LBUTTONDBLCLK: ActivateSelectedSegment(); return 0;
    case WM_RBUTTONDOWN: ShowContextMenuAtCursor(FPlayer); return 0;
  }
  return CallWindowProcW(FListBoxProcedure, FListBox, message, wParam, lParam);
}

// Enter starts the chosen line's segment, Escape closes the list; both on key-down and
// key-up, since the dialog handling of the message loop takes the key-down of both.
// Returns false for any other key.
bool TSegmentListPane::ListKey(WPARAM key) {
  if (key == VK_RETURN) {
    ActivateSelectedSegment();
  } else if (key == VK_ESCAPE) {
    if (IsWindowVisible(FListBox)) ToggleSegmentList(FPlayer);
  } else {
    return false;
  }
  MoveFocusOffList();
  return true;
}

// The chosen line's segment starts and the list closes; without a chosen line it only
// closes.
void TSegmentListPane::ActivateSelectedSegment() {
  const auto index = static_cast<int32_t>(SendMessageW(FListBox, LB_GETCURSEL, 0, 0));
  TWinPlayer& player = FPlayer;
  ToggleSegmentList(player);
  player.Engine.StartSegment(index);
  player.Panel.RefreshSegmentLine();
}

void TSegmentListPane::MoveFocusOffList() {
  if (FWindow != nullptr && GetFocus() == FListBox) {
    if (HWND segments = FPlayer.Panel.Button(CM_SEGMENTS)) SetFocus(segments);
  }
}

HFONT TSegmentListPane::Font() const {
  return FScaledFont ? FScaledFont.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The header strip and the frame around the whole pane (as wide as the panel's lines), in
// the palette's strip colours; then the children put in their places: the caption on the
// strip up to the close button.
void TSegmentListPane::PaintHeader() {
  const LONG w = FClient.right;
  const LONG h = FClient.bottom;
  const TScreenScale& s = FScale;
  const int32_t margin = s.Px(kMargin), headerBottom = s.Px(kHeaderBottom);
  {
    TWindowDC dc(FWindow);
    if (dc.Get() == nullptr) return;
    const RECT header{margin, margin, w - margin, headerBottom};
    const TControlPalette palette = CurrentControlPalette();
    const TGdiObject<HPEN> framePen = CreateLinePen(palette.Strip, s.Px(kPanelLineWidth));
    const TGdiObject<HBRUSH> headerBrush(CreateSolidBrush(palette.Strip));
    const TSelection pen(dc.Get(), framePen.Get());
    {
      const TSelection hollow(dc.Get(), GetStockObject(NULL_BRUSH));
      Rectangle(dc.Get(), 0, 0, w, h);
    }
    FillRect(dc.Get(), &header, headerBrush.Get());
  }
  const int32_t listTop = headerBottom + s.Px(kCaptionInset);
  MoveWindow(FCaption, margin, margin, std::max<LONG>(0, w - s.Px(kCloseRight) - margin), headerBottom - margin, TRUE);
  MoveWindow(FListBox, margin, listTop, w - 2 * margin, h - listTop - margin, TRUE);
  SetWindowPos(FCloseButton, nullptr, w - s.Px(kCloseRight), s.Px(kCloseTop), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The caption in the strip's letters, narrowed on each side.
void TSegmentListPane::DrawCaption(const DRAWITEMSTRUCT& item) const {
  RECT area = item.rcItem;
  const TControlPalette palette = CurrentControlPalette();
  const TGdiObject<HBRUSH> strip(CreateSolidBrush(palette.Strip));
  FillRect(item.hDC, &area, strip.Get());
  const TSelection font(item.hDC, Font());
  SetTextColor(item.hDC, palette.StripText);
  SetBkMode(item.hDC, TRANSPARENT);
  InflateRect(&area, -FScale.Px(kCaptionInset), 0);
  wchar_t caption[256] = L"";
  const int length = GetWindowTextW(FCaption, caption, static_cast<int>(std::size(caption)));
  DrawTextW(item.hDC, caption, length, &area, DT_NOPREFIX);
}

void TSegmentListPane::RefreshTexts() {
  if (FWindow == nullptr) return;
  SetTexts();
  InvalidateRect(FWindow, nullptr, TRUE);
}

void TSegmentListPane::Fill() {
  const TWinPlayer& player = FPlayer;
  if (FWindow == nullptr || player.Film.Segments().Count() == 0) return;
  const auto count = SendMessageW(FListBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) SendMessageW(FListBox, LB_DELETESTRING, 0, 0);
  for (int32_t i = 0; i < player.Film.Segments().Count(); ++i) {
    const TSegmentInfo* segment = player.Film.Segments().Get(i);
    const std::wstring name = segment != nullptr ? Utf8ToWide(AnsiToUtf8(segment->Name)) : std::wstring();
    SendMessageW(FListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SelectLine(player.Engine.CurrentSegment());
}

void TSegmentListPane::SelectLine(int32_t index) {
  if (FWindow != nullptr) SendMessageW(FListBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The list box's font, and the close button's size, for the list's scale.
void TSegmentListPane::SetScale(const TScreenScale& scale) {
  if (FWindow == nullptr) return;
  FScale = scale;
  FScaledFont = StockFontForScale(DEFAULT_GUI_FONT, scale);
  SendMessageW(FListBox, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
  const int32_t close = scale.Px(kCloseSize);
  SetWindowPos(FCloseButton, nullptr, 0, 0, close, close, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(FWindow, nullptr, TRUE);
}
