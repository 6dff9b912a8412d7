#pragma once
// The segment list (class "koSegmentList"): a pane on the left of the main window with a
// coloured header carrying the caption (the list's label), a close button "X" (named for
// a screen reader by words) and a list box with one line
// per segment, in film order, so that a line index is a segment index. Enter or a double
// click on a line hides the pane and starts that segment; Escape hides it. Shown and
// hidden by the segment list toggle (command 113). The player holds it; the pane's window
// carries it in its window data, and goes with the main window.
#include <windows.h>

#include <cstdint>
#include <string>

#include "controls/accessible_name_win.h"
#include "platform/gdi_holders_win.h"
#include "playback/screen_scale.h"

class TWinPlayer;

class TSegmentListPane {
public:
  explicit TSegmentListPane(TWinPlayer& player) : FPlayer(player) {}
  // Makes the hidden pane as a child of the main window (0, 0, 400 x 300; the main
  // window's layout places it) with its children, for the player's screen scale. Until
  // then, and once the pane is gone, the calls below do nothing.
  void Create(HWND mainWindow);
  ~TSegmentListPane();
  TSegmentListPane(const TSegmentListPane&) = delete;
  TSegmentListPane& operator=(const TSegmentListPane&) = delete;

  // The pane's window; null when it could not be made or is gone.
  HWND Window() const { return FWindow; }
  // The list box, which takes the keyboard focus when the pane is shown; null without one.
  HWND ListBox() const { return FWindow != nullptr ? FListBox : nullptr; }
  // Refills the lines from the player's segments and selects the current segment's line.
  // Without segments, the lines stay as they are.
  void Fill();
  // Takes the caption and the close button's name from the player's texts again, and
  // redraws the caption.
  void RefreshTexts();
  // Selects line index; an index without a line clears the selection.
  void SelectLine(int32_t index);
  // The screen's scale changed: the header, the list's font and the close button follow
  // (the pane's own width is the main window's layout).
  void SetScale(const TScreenScale& scale);

private:
  template <class Pane>
  friend LRESULT PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* paneName);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ListBoxProcedure(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT ListBoxMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void WindowGone() { FWindow = nullptr; }  // gone with the main window
  void MakeChildren();
  bool ListKey(WPARAM key);
  void ActivateSelectedSegment();
  void MoveFocusOffList();
  void SetTexts();
  void PaintHeader();
  void DrawCaption(const DRAWITEMSTRUCT& item) const;
  HFONT Font() const;

  TWinPlayer& FPlayer;
  HWND FWindow = nullptr;
  HWND FCaption = nullptr;  // an owner-drawn label
  HWND FListBox = nullptr;
  HWND FCloseButton = nullptr;
  TAccessibleName FCloseName;
  WNDPROC FListBoxProcedure = nullptr;  // the list box's own, which ours passes messages on to
  RECT FClient{};
  TScreenScale FScale;
  // The system's dialog font made for the list's screen when that differs from the
  // system's own scale; empty while the stock font fits.
  TGdiObject<HFONT> FScaledFont;
};
