#pragma once
// The main window's menus, the menu bar with its four drop-downs and the context menu,
// and the keys, all made from the command table. Texts are applied by position, as film
// language tables address them (ui_texts.h), and states by command (menu_state.h).
#include <windows.h>

#include <vector>

#include "session/menu_state.h"
#include "session/ui_texts.h"

class TMenus {
public:
  TMenus() = default;
  // Destroys the context menu, and the menu bar while it is on no window (on one, it is
  // destroyed with its window).
  ~TMenus();
  TMenus(const TMenus&) = delete;
  TMenus& operator=(const TMenus&) = delete;

  // Builds the menu bar, for the main window's creation, and the context menu.
  HMENU BuildBar();
  // The window's creation took the bar.
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
  void ApplyStates(const std::vector<TCommandState>& items) const;
  // Opens the context menu at the screen point; the chosen item arrives as WM_COMMAND.
  void ShowContextMenu(HWND owner, POINT screen) const;

private:
  HMENU FBar = nullptr;
  HMENU FDropDowns[4] = {};
  HMENU FContext = nullptr;
  bool FBarOnWindow = false;
};

// The accelerators of every command with a key of its own.
HACCEL CreateCommandAccelerators();
