#pragma once
// A small window floating above the bottom panel (class "koNote"): an optional picture
// over lines of text, black on white in a frame of its owner's colour, as wide as the
// panel's lines at the note's scale. The bar's preview and the offer to resume are
// notes. Its text is also its window text (lines joined by line feeds). A click on it
// calls OnClick.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/gdi_holders_win.h"
#include "playback/ko_picture.h"
#include "playback/picture_layout.h"
#include "playback/screen_scale.h"

class TNoteWindow {
public:
  // Creates the hidden note as a child of parent, sized for the screen's scale, framed
  // in frameColour; Handle() is null when it could not.
  TNoteWindow(HWND parent, const TScreenScale& scale, COLORREF frameColour);
  ~TNoteWindow();
  TNoteWindow(const TNoteWindow&) = delete;
  TNoteWindow& operator=(const TNoteWindow&) = delete;

  HWND Handle() const { return FWindow; }
  // The picture (copied; 32 bits a pixel, may be empty) and the text, lines separated
  // by "\n"; repaints.
  void SetPicture(const TkoPicture& picture);
  void SetText(const std::wstring& text);
  // The note's size for what it shows: the picture's width (or the text's, without a
  // picture) and the picture's height and the lines below it, framed.
  TkoSize Size() const;
  // Shows it with its top-left corner at x, y of the parent's client area, above the
  // parent's other children; it takes neither the focus nor the activation.
  void ShowAt(int32_t x, int32_t y);
  // Raises the note shown as an alert, which screen readers speak: for what the user is
  // told, not for the bar's preview.
  void Announce() const;
  void Hide();
  bool Visible() const { return FWindow != nullptr && IsWindowVisible(FWindow); }
  // Hides the note after ms milliseconds (0: never).
  void HideAfter(uint32_t ms);
  // The window moved to a screen of another scale: a new font and sizes.
  void SetScale(const TScreenScale& scale);

  std::function<void()> OnClick;

private:
  template <class Pane>
  friend LRESULT PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* paneName);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  void WindowGone() { FWindow = nullptr; }  // gone with its parent: nothing is left to destroy
  void Paint();
  int32_t LineHeight() const;
  int32_t Padding() const;
  int32_t FrameWidth() const;
  int32_t TextWidth() const;

  HWND FWindow = nullptr;
  TScreenScale FScale;
  COLORREF FFrameColour;
  TGdiObject<HFONT> FFont;
  TkoPicture FPicture;
  std::wstring FText;
};
