#include "controls/search_bar_win.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/ko_common_win.h"
#include "controls/pane_procedure_win.h"

namespace {
constexpr wchar_t kClassName[] = L"koSearch";
constexpr int32_t kListRows = 6;
enum : int { kFieldId = 1, kStatusId, kListId, kLabelId, kListNameId };

// The design's sizes at 96 DPI.
constexpr int32_t kWidth = 480, kPadding = 4, kLabelWidth = 110, kFieldHeight = 22, kStatusHeight = 30,
                  kRowHeight = 16;

void SetFont(HWND control, HFONT font) { SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
}  // namespace

TSearchBar::TSearchBar(HWND parent, const TScreenScale& scale)
    : FScale(scale), FFont(CreateFontByName("Tahoma", scale.Px(13), 0)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterPaneClass(instance, kClassName, Procedure)) return;
  FWindow = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                            WS_BORDER, 0, 0, 1, 1, parent, nullptr, instance, this);
  if (FWindow == nullptr) return;
  const auto child = [&](DWORD exStyle, const wchar_t* className, DWORD style, int id) {
    return CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 1, 1, FWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  // The label's access key ("&") takes the keyboard to the field, the control after it.
  FLabel = child(0, L"STATIC", SS_LEFT | SS_CENTERIMAGE, kLabelId);
  FField = child(WS_EX_CLIENTEDGE, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, kFieldId);
  FStatus = child(0, L"STATIC", SS_LEFT | SS_NOPREFIX, kStatusId);
  // Screen readers name a control without text of its own by the static text just before
  // it: the list's own name, then, rather than the line of what was found.
  FListName = child(0, L"STATIC", SS_LEFT | SS_NOPREFIX, kListNameId);
  FList = child(WS_EX_CLIENTEDGE, L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kListId);
  for (HWND control : {FField, FList}) SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FFieldProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FField, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProcedure)));
  FListProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProcedure)));
  SetScale(scale);
}

TSearchBar::~TSearchBar() {
  if (FWindow == nullptr) return;
  for (HWND control : {FField, FList}) SetWindowLongPtrW(control, GWLP_USERDATA, 0);
  DestroyPaneWindow(FWindow);
}

LRESULT CALLBACK TSearchBar::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PaneProcedure<TSearchBar>(window, message, wParam, lParam, "Search");
}

// The window and its controls are gone with their parent.
void TSearchBar::WindowGone() { FWindow = FLabel = FField = FStatus = FListName = FList = nullptr; }

LRESULT TSearchBar::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kFieldId && HIWORD(wParam) == EN_CHANGE && OnQuery) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(FField)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(FField, text.data(), static_cast<int>(text.size()))));
    OnQuery(text);
    return 0;
  }
  if (message == WM_CTLCOLORSTATIC) {
    SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(FWindow, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOW));
    return 1;
  }
  return DefWindowProcW(FWindow, message, wParam, lParam);
}

// Enter and Escape reach the field and the list, not the dialog handling of the message
// loop (which would send them to the main window as OK and Cancel); their characters
// are not typed. A click on the list chooses the line clicked.
LRESULT CALLBACK TSearchBar::ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* bar = reinterpret_cast<TSearchBar*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  if (bar == nullptr) return DefWindowProcW(control, message, wParam, lParam);
  try {
    return bar->ControlMessage(control, message, wParam, lParam);
  } catch (...) {
    ShowPaneError(control, "Search", message);
    return 0;
  }
}

LRESULT TSearchBar::ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC own = control == FList ? FListProcedure : FFieldProcedure;
  switch (message) {
    case WM_GETDLGCODE:
      if (lParam != 0 && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return CallWindowProcW(own, control, message, wParam, lParam) | DLGC_WANTALLKEYS;
      break;
    case WM_KEYDOWN:
      if (Key(wParam)) return 0;
      break;
    case WM_CHAR:
      if (wParam == L'\r' || wParam == L'\n' || wParam == 0x1B) return 0;
      break;
    case WM_LBUTTONUP:
      if (control == FList) {
        const LRESULT result = CallWindowProcW(own, control, message, wParam, lParam);
        ChooseSelected();
        return result;
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
      break;
  }
  return CallWindowProcW(own, control, message, wParam, lParam);
}

bool TSearchBar::Key(WPARAM key) {
  const int count = static_cast<int>(SendMessageW(FList, LB_GETCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageW(FList, LB_GETCURSEL, 0, 0));
  switch (key) {
    case VK_RETURN: ChooseSelected(); return true;
    case VK_ESCAPE:
      if (OnClose) OnClose();
      return true;
    case VK_UP:
    case VK_DOWN:
      if (GetFocus() != FField || count == 0) return false;
      Select(static_cast<size_t>(std::clamp(selected + (key == VK_DOWN ? 1 : -1), 0, count - 1)));
      return true;
  }
  return false;
}

void TSearchBar::ChooseSelected() {
  const LRESULT count = SendMessageW(FList, LB_GETCOUNT, 0, 0);
  const LRESULT selected = SendMessageW(FList, LB_GETCURSEL, 0, 0);
  if (count <= 0 || !OnChoose) return;
  OnChoose(static_cast<size_t>(selected == LB_ERR ? 0 : selected));
}

void TSearchBar::SetLabel(const std::wstring& label) {
  if (FLabel != nullptr) SetWindowTextW(FLabel, label.c_str());
}

void TSearchBar::SetListName(const std::wstring& name) {
  if (FListName != nullptr) SetWindowTextW(FListName, name.c_str());
}

void TSearchBar::SetStatus(const std::wstring& status) {
  if (FStatus != nullptr) SetWindowTextW(FStatus, status.c_str());
}

void TSearchBar::SetLines(const std::vector<std::wstring>& lines) {
  if (FList == nullptr) return;
  SendMessageW(FList, WM_SETREDRAW, FALSE, 0);
  SendMessageW(FList, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& line : lines) SendMessageW(FList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageW(FList, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FList, nullptr, TRUE);
}

void TSearchBar::Select(std::optional<size_t> line) {
  if (FList != nullptr) SendMessageW(FList, LB_SETCURSEL, line ? static_cast<WPARAM>(*line) : WPARAM(-1), 0);
}

TkoSize TSearchBar::Size() const {
  const int32_t border = 2 * GetSystemMetrics(SM_CYBORDER);
  return {FScale.Px(kWidth) + border,
          FScale.Px(3 * kPadding + kFieldHeight + kStatusHeight + kListRows * kRowHeight + 4) + border};
}

void TSearchBar::LayOutControls() {
  const int32_t pad = FScale.Px(kPadding), width = FScale.Px(kWidth) - 2 * pad;
  const int32_t label = FScale.Px(kLabelWidth);
  int32_t top = pad;
  MoveWindow(FLabel, pad, top, label, FScale.Px(kFieldHeight), TRUE);
  MoveWindow(FField, pad + label, top, width - label, FScale.Px(kFieldHeight), TRUE);
  top += FScale.Px(kFieldHeight) + pad;
  MoveWindow(FStatus, pad, top, width, FScale.Px(kStatusHeight), TRUE);
  top += FScale.Px(kStatusHeight);
  MoveWindow(FListName, pad, top, 0, 0, FALSE);
  MoveWindow(FList, pad, top, width, FScale.Px(kListRows * kRowHeight + 4), TRUE);
}

void TSearchBar::ShowAt(int32_t x, int32_t y) {
  if (FWindow == nullptr) return;
  const TkoSize size = Size();
  SetWindowPos(FWindow, HWND_TOP, x, y, size.Width, size.Height, SWP_SHOWWINDOW);
}

void TSearchBar::Focus() {
  if (FField == nullptr) return;
  SetFocus(FField);
  SendMessageW(FField, EM_SETSEL, 0, -1);
}

void TSearchBar::Hide() {
  if (FWindow != nullptr) ShowWindow(FWindow, SW_HIDE);
}

void TSearchBar::SetScale(const TScreenScale& scale) {
  FScale = scale;
  FFont = CreateFontByName("Tahoma", scale.Px(13), 0);
  if (FWindow == nullptr) return;
  for (HWND control : {FLabel, FField, FStatus, FList}) SetFont(control, FFont.Get());
  SendMessageW(FList, LB_SETITEMHEIGHT, 0, FScale.Px(kRowHeight));
  LayOutControls();
}
