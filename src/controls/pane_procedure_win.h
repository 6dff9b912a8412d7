#pragma once
// The window procedure of a pane: one C++ object per child window, made with
// CreateWindowExW(..., this). The object comes with WM_NCCREATE and is kept in the
// window's GWLP_USERDATA (its destructor clears it before destroying the window, so no
// message reaches an object that is gone); its Message handles what comes while the
// two are together, from the window's creation on, with FWindow the window, and
// WindowGone tells it the window was destroyed with its parent. An exception in a handler shows ShowPaneError's box
// instead of crossing into Windows.
#include <windows.h>

#include "controls/ko_common_win.h"

template <class Pane>
LRESULT PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* paneName) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* pane = reinterpret_cast<Pane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (pane == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    pane->WindowGone();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    pane->FWindow = window;  // also while CreateWindowExW has not returned it yet
    return pane->Message(message, wParam, lParam);
  } catch (...) {
    ShowPaneError(window, paneName, message);
    return 0;
  }
}

// The pane's destructor: the window, if it is still there, goes without its object, so no
// message it gets while it is destroyed reaches a pane that is going.
inline void DestroyPaneWindow(HWND window) {
  if (window == nullptr) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}
