#pragma once
// The field of Find on screen (class "koSearch"): a child window floating above the
// bottom panel, as the notes do, with a labelled search field (the label, just before
// it, is also the name a screen reader gives it), a line saying what was found and the
// list of hits, named by a label of no size just before it. Typing calls OnQuery;
// Enter, or a click on a line, OnChoose with the line (the one selected, else the
// first); Escape OnClose. Up and Down in the field move the selection through the list.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi_holders_win.h"
#include "playback/picture_layout.h"
#include "playback/screen_scale.h"

class TSearchBar {
public:
  // Creates the hidden bar as a child of parent, sized for the screen's scale; Handle()
  // is null when it could not.
  TSearchBar(HWND parent, const TScreenScale& scale);
  ~TSearchBar();
  TSearchBar(const TSearchBar&) = delete;
  TSearchBar& operator=(const TSearchBar&) = delete;

  HWND Handle() const { return FWindow; }
  // The field and the list of hits, which take their turns in the focus's round.
  HWND Field() const { return FField; }
  HWND List() const { return FList; }
  // The field's label (an "&" in it marks its access key), the list's name, and the line
  // under the field.
  void SetLabel(const std::wstring& label);
  void SetListName(const std::wstring& name);
  void SetStatus(const std::wstring& status);
  // The list's lines, none selected.
  void SetLines(const std::vector<std::wstring>& lines);
  void Select(std::optional<size_t> line);
  // The bar's size on this screen: fixed, so that it does not jump as hits come.
  TkoSize Size() const;
  // Shows it with its top-left corner at x, y of the parent's client area, above the
  // parent's other children, and puts the keyboard in its field, all of it selected.
  void ShowAt(int32_t x, int32_t y);
  void Focus();
  void Hide();
  bool Visible() const { return FWindow != nullptr && IsWindowVisible(FWindow); }
  // The window moved to a screen of another scale.
  void SetScale(const TScreenScale& scale);

  std::function<void(const std::wstring&)> OnQuery;
  std::function<void(size_t)> OnChoose;
  std::function<void()> OnClose;

private:
  template <class Pane>
  friend LRESULT PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* paneName);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  void WindowGone();
  // A key the field and the list share; true when it was taken.
  bool Key(WPARAM key);
  void ChooseSelected();
  void LayOutControls();

  HWND FWindow = nullptr;
  HWND FLabel = nullptr, FField = nullptr, FStatus = nullptr, FListName = nullptr, FList = nullptr;
  // The field's and the list's own procedures, which theirs pass messages on to.
  WNDPROC FFieldProcedure = nullptr, FListProcedure = nullptr;
  TScreenScale FScale;
  TGdiObject<HFONT> FFont;
};
