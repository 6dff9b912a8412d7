#include "app/segment_list_window_win.h"

#include <memory>

#include "app/commands_win.h"
#include "controls/ko_common_win.h"
#include "app/player_win.h"
#include "platform/wide_text_win.h"
#include "app/bottom_panel_win.h"
#include "session/panel_layout.h"
#include "controls/control_palette_win.h"
#include "controls/scaled_gdi_win.h"
#include "platform/gdi_holders_win.h"

namespace {
constexpr wchar_t kClassName[] = L"koSegmentList";
constexpr int kCloseButtonId = 1;
// The design's places (96 DPI): a header strip from (4, 4) to (w - 4, 22), the caption
// narrowed by 2 on each side, the list box from (4, 24) to (w - 4, h - 4), and the
// close button, 15 x 15, at (w - 20, 5).
constexpr int32_t kMargin = 4, kHeaderBottom = 22, kCaptionInset = 2, kCloseSize = 15, kCloseRight = 20, kCloseTop = 5;

struct TSegmentListState {
  TSegmentListState(TPlayer& player, HWND window) : Player(player), Window(window) {}
  TPlayer& Player;
  HWND Window;
  RECT Client{};
  HWND ListBox = nullptr;
  HWND CloseButton = nullptr;
  WNDPROC SavedListBoxProc = nullptr;
  std::wstring ListCaption;
  TScreenScale Scale;
  // The system's dialog font made for the list's screen when that differs from the
  // system's own scale; empty while the stock font fits.
  TGdiObject<HFONT> ScaledFont;
  HFONT Font() const { return ScaledFont ? ScaledFont.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
};
std::unique_ptr<TSegmentListState> listState;

void MoveFocusOffList() {
  if (listState && GetFocus() == listState->ListBox) {
    if (HWND segments = PanelButton(CM_SEGMENTS)) SetFocus(segments);
  }
}

// The chosen line's segment starts and the list closes; without a chosen line it only
// closes.
void ActivateSelectedSegment() {
  if (!listState) return;
  const auto index = static_cast<int32_t>(SendMessageW(listState->ListBox, LB_GETCURSEL, 0, 0));
  TPlayer& player = listState->Player;
  ToggleSegmentList(player);
  player.Engine.StartSegment(index);
  RefreshSegmentLine();
}

// Enter starts the chosen line's segment, Escape closes the list; both on key-down and
// key-up, since the dialog handling of the message loop takes the key-down of both.
// Returns false for any other key.
bool OnListKey(HWND listBox, WPARAM key) {
  if (key == VK_RETURN) {
    ActivateSelectedSegment();
  } else if (key == VK_ESCAPE) {
    if (IsWindowVisible(listBox) && listState) ToggleSegmentList(listState->Player);
  } else {
    return false;
  }
  MoveFocusOffList();
  return true;
}

LRESULT ListBoxMessage(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!listState) return DefWindowProcW(listBox, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (OnListKey(listBox, wParam)) return 0;
      break;
    case WM_LBUTTONDBLCLK: ActivateSelectedSegment(); return 0;
    case WM_RBUTTONDOWN: ShowContextMenuAtCursor(listState->Player); return 0;
  }
  return CallWindowProcW(listState->SavedListBoxProc, listBox, message, wParam, lParam);
}

LRESULT CALLBACK ListBoxProc(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return ListBoxMessage(listBox, message, wParam, lParam);
  } catch (...) {
    ShowPaneError(GetParent(listBox), "SegmentList", message);
    return 0;
  }
}

// The list box's font, and the close button's size, for the list's scale.
void ApplyScale(TSegmentListState& list, const TScreenScale& scale) {
  list.Scale = scale;
  list.ScaledFont = StockFontForScale(DEFAULT_GUI_FONT, scale);
  SendMessageW(list.ListBox, WM_SETFONT, reinterpret_cast<WPARAM>(list.Font()), TRUE);
  const int32_t close = scale.Px(kCloseSize);
  SetWindowPos(list.CloseButton, nullptr, 0, 0, close, close, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(list.Window, nullptr, TRUE);
}

void OnCreate(TPlayer& player, HWND window) {
  listState = std::make_unique<TSegmentListState>(player, window);
  TSegmentListState& list = *listState;
  list.ListCaption = Utf8ToWide(player.Texts.Message(TMessageText::kSegmentListCaption));
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  list.ListBox = CreateWindowExW(0, L"LISTBOX", L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 8,
                                 8, 100, 100, window, nullptr, instance, nullptr);
  list.CloseButton = CreateWindowExW(0, L"BUTTON", L"X", WS_CHILD | WS_VISIBLE, 0, 0, 15, 15, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)), instance, nullptr);
  // The system's dialog font: the built-in caption is Russian, and the plain system font
  // has no Cyrillic letters on every system.
  ApplyScale(list, player.Scale);
  list.SavedListBoxProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list.ListBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListBoxProc)));
  GetClientRect(window, &list.Client);
}

// The header strip with the caption and the frame around the whole pane (as wide as
// the panel's lines), in the palette's strip colours; then the children put in their
// places.
void PaintHeader(TSegmentListState& list) {
  const LONG w = list.Client.right;
  const LONG h = list.Client.bottom;
  const TScreenScale& s = list.Scale;
  const int32_t margin = s.Px(kMargin), headerBottom = s.Px(kHeaderBottom), inset = s.Px(kCaptionInset);
  {
    TWindowDC dc(list.Window);
    if (dc.Get() == nullptr) return;
    const RECT header{margin, margin, w - margin, headerBottom};
    const TControlPalette palette = CurrentControlPalette();
    const TGdiObject<HPEN> framePen = CreateLinePen(palette.Strip, s.Px(kPanelLineWidth));
    const TGdiObject<HBRUSH> headerBrush(CreateSolidBrush(palette.Strip));
    const TSelection pen(dc.Get(), framePen.Get());
    const TSelection font(dc.Get(), list.Font());
    {
      const TSelection hollow(dc.Get(), GetStockObject(NULL_BRUSH));
      Rectangle(dc.Get(), 0, 0, w, h);
    }
    FillRect(dc.Get(), &header, headerBrush.Get());
    SetTextColor(dc.Get(), palette.StripText);
    SetBkMode(dc.Get(), TRANSPARENT);
    RECT text{header.left + inset, header.top, header.right - inset, header.bottom};
    DrawTextW(dc.Get(), list.ListCaption.c_str(), static_cast<int>(list.ListCaption.size()), &text, 0);
  }
  const int32_t listTop = headerBottom + s.Px(kCaptionInset);
  MoveWindow(list.ListBox, margin, listTop, w - 2 * margin, h - listTop - margin, TRUE);
  SetWindowPos(list.CloseButton, nullptr, w - s.Px(kCloseRight), s.Px(kCloseTop), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnPaint(HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(window, WM_PAINT, wParam, lParam);
  if (listState) PaintHeader(*listState);
  return result;
}

void OnDestroy(TPlayer& player, HWND window) {
  if (player.SegmentListWindow == window) player.SegmentListWindow = nullptr;
}

void OnSize(HWND window) {
  if (listState) GetClientRect(window, &listState->Client);
}

void OnCommand(TPlayer& player, WPARAM wParam) {
  if (LOWORD(wParam) == kCloseButtonId) ToggleSegmentList(player);
}

LRESULT Dispatch(TPlayer& player, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(player, window); return 0;
    case WM_DESTROY: OnDestroy(player, window); return 0;
    // The list box's messages use the saved procedure until the list box is gone.
    case WM_NCDESTROY: listState.reset(); break;
    case WM_SIZE: OnSize(window); return 0;
    case WM_PAINT: return OnPaint(window, wParam, lParam);
    case WM_COMMAND: OnCommand(player, wParam); return 0;
    case WM_RBUTTONDOWN: ShowContextMenuAtCursor(player); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK SegmentListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TPlayer* player = PlayerOf(window);
  if (player == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return Dispatch(*player, window, message, wParam, lParam);
  } catch (...) {
    ShowPaneError(window, "SegmentList", message);
    return 0;
  }
}

}  // namespace

HWND CreateSegmentListWindow(HWND mainWindow) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterPaneClass(instance, kClassName, SegmentListProc)) return nullptr;
  constexpr DWORD kStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
  return CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", kStyle,
                         0, 0, 400, 300, mainWindow, nullptr, instance, nullptr);
}

void RefreshSegmentListCaption() {
  if (!listState) return;
  listState->ListCaption = Utf8ToWide(listState->Player.Texts.Message(TMessageText::kSegmentListCaption));
  InvalidateRect(listState->Window, nullptr, TRUE);
}

void FillSegmentList() {
  if (!listState) return;
  const TPlayer& player = listState->Player;
  if (!player.Segments || player.Segments->Count() == 0) return;
  const HWND listBox = listState->ListBox;
  const auto count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) SendMessageW(listBox, LB_DELETESTRING, 0, 0);
  for (int32_t i = 0; i < player.Segments->Count(); ++i) {
    const TSegmentInfo* segment = player.Segments->Get(i);
    const std::wstring name = segment != nullptr ? Utf8ToWide(AnsiToUtf8(segment->Name)) : std::wstring();
    SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SelectSegmentLine(player.Engine.CurrentSegment());
}

void SelectSegmentLine(int32_t index) {
  if (listState) SendMessageW(listState->ListBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

HWND SegmentListBox() { return listState ? listState->ListBox : nullptr; }

void ScaleSegmentList(const TScreenScale& scale) {
  if (listState) ApplyScale(*listState, scale);
}
