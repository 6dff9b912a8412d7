#pragma once
// The main window's menus: the menu bar from the "KOAPP" resource with its four
// drop-downs, and the context menu built in code. Texts and states are applied by
// position, as the portable rules (ui_texts.h, menu_state.h) give them.
#include <windows.h>

#include <vector>

#include "session/menu_state.h"
#include "session/ui_texts.h"

class TMenus {
public:
  TMenus() = default;
  // Destroys the context menu, and the menu bar while it is detached (attached, it is
  // destroyed with its window).
  ~TMenus();
  TMenus(const TMenus&) = delete;
  TMenus& operator=(const TMenus&) = delete;

  // Takes the window's menu bar and its drop-downs and builds the context menu.
  void Attach(HWND window);
  HMENU Bar() const { return FBar; }
  // Full screen takes the menu bar off the window and gives it back.
  void DetachBar(HWND window);
  void ReattachBar(HWND window);
  // The drop-down or the context menu for a menu id; null for kMenuBar's own items
  // (see Apply*), or before Attach.
  HMENU Menu(TMenuId menu) const;

  // Sets the items' texts (SetMenuText skips empty ones and bare shortcuts).
  void ApplyTexts(const std::vector<TMenuItemText>& items) const;
  void ApplyStates(const std::vector<TMenuItemState>& items) const;
  // Opens the context menu at the screen point; the chosen item arrives as WM_COMMAND.
  void ShowContextMenu(HWND owner, POINT screen) const;

private:
  HMENU FBar = nullptr;
  HMENU FDropDowns[4] = {};
  HMENU FContext = nullptr;
  bool FBarDetached = false;
};
