#pragma once
// Message boxes with UTF-8 texts, and the boxes the playback engine asks for while a
// tick runs: those wait in a queue and are shown once the tick is over, so that no
// modal loop runs inside a tick.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "session/session_view.h"

// A message box through the wide API; returns what MessageBoxW returns.
int ShowBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);
// The flags of a session's box: OK, with the icon of its kind.
UINT SessionBoxFlags(const TSessionBox& box);

// Boxes to show later, in the order they were asked for.
class TPendingBoxes {
public:
  struct TBox {
    std::string Text;
    std::string Caption;
    UINT Flags = MB_OK;
    // Run after the box is closed (for example: minimise the main window).
    std::function<void()> After = nullptr;
    // Shown without an owner window, whatever owner ShowAll is given.
    bool Unowned = false;
  };
  void Add(TBox box) { FBoxes.push_back(std::move(box)); }
  // Shows every waiting box, owned by owner (null: no owner), oldest first; boxes
  // added meanwhile are shown too.
  void ShowAll(HWND owner);

private:
  std::deque<TBox> FBoxes;
};
