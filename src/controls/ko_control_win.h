#pragma once
// TkoControl: the base of the program's own owner-drawn controls. One object is bound
// to one child window of its own registered class through the window property named by
// the atom "koCD"; the class's shared window procedure hands every message to the
// object's WndProc. The object keeps the window's bounds, follows WM_MOVE and WM_SIZE,
// and destroys the window with itself.
//
// Descendants choose class name, cursor, styles, painting and mouse handling by
// overriding the virtual operations; they are made with CreateControl<T>(parent).
//
// Every such control is a slider to the keyboard and to screen readers: it takes the
// arrows from the dialog handling of the message loop, turns the keys of TSliderStep
// into DoKeyStep, shows a focus rectangle once the keyboard is in use, and answers
// WM_GETOBJECT with an accessible object whose name and value the owner supplies and a
// UI Automation provider that also tells and sets its value in its range.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/control_accessible_win.h"
#include "controls/slider_keys.h"

// Tells a control to move its window back to the bounds it stores.
constexpr UINT KOM_APPLYBOUNDS = WM_USER + 1;

class TkoControl : private TAccessibleSource {
public:
  TkoControl(const TkoControl&) = delete;
  TkoControl& operator=(const TkoControl&) = delete;
  // Unbinds the object (the window's last messages go to the default procedure), then
  // destroys the window. The background brush is not deleted: see SetBackgroundBrush.
  virtual ~TkoControl();

  HWND Handle() const { return FHandle; }
  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  bool Enabled() const { return FEnabled; }

  // Moves the window to the stored bounds (MoveWindow, repainting).
  void UpdateBounds();
  // Each stores its value, then UpdateBounds.
  void SetLeft(int32_t value);
  void SetTop(int32_t value);
  void SetWidth(int32_t value);
  void SetHeight(int32_t value);
  // The brush the control paints its background with. The control only borrows it: the
  // caller keeps it alive while the control lives and deletes it afterwards, so a brush
  // shared by several controls is deleted exactly once.
  void SetBackgroundBrush(HBRUSH brush) { FBackgroundBrush = brush; }

  // What a screen reader hears as the control's name and value (UTF-8); either may be
  // empty, and then it hears nothing for it.
  std::function<std::string()> ScreenReaderName;
  std::function<std::string()> ScreenReaderValue;
  // Tells screen readers that the value changed.
  void NotifyValueChange();
  // The UI Automation provider that WM_GETOBJECT hands out, with a reference for the
  // caller; null once the window is gone.
  IRawElementProviderSimple* AutomationProvider() { return FAccessible.AutomationProvider(); }

  // Registers the class (a class that exists keeps its first registration), creates the
  // window with the stored (zero) bounds, binds the object and runs InitWindow. When
  // the window cannot be created, shows "FHandle = 0" and the object stays unbound.
  void Create(HWND parentWindow);

  // The window procedure shared by every class of these controls.
  static LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
  TkoControl() = default;

  // Slots a descendant may override.
  // The class background: a system-colour value that is never painted (the erase
  // message is answered without painting).
  virtual HBRUSH GetBackgroundBrush();
  virtual HCURSOR GetCursor();
  virtual DWORD GetStyle();
  virtual DWORD GetExStyle();
  virtual const wchar_t* GetWindowClassName() = 0;
  virtual std::wstring GetCaption();
  virtual void SetHandle(HWND window);
  // Marks the control enabled and applies the stored bounds; descendants set their
  // defaults first.
  virtual void InitWindow();
  // The base dispatch: create, move, size, erase, sizing and moving, KOM_APPLYBOUNDS;
  // anything else to DefWindowProc. Descendants handle their own messages first.
  virtual LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // WM_SIZING/WM_MOVING: stores the rectangle (inclusive width and height); TRUE.
  virtual LRESULT DoSizingMoving(WPARAM edge, RECT* rect);
  virtual void DoSize(int32_t width, int32_t height);
  virtual void DoMove(int32_t left, int32_t top);
  // 0: the background is left alone; painting covers it.
  virtual LRESULT DoEraseBackground(HDC dc);
  // A key of the focused control, as a step; nothing unless overridden.
  virtual void DoKeyStep(TSliderStep step);
  // Whether the control can be used now (a screen reader hears it unavailable when
  // not): enabled, unless a descendant adds a condition.
  virtual bool Available() const { return FEnabled; }
  // The value, its range and the keys' steps, as UI Automation tells them.
  virtual TAccessibleRange ValueRange() const = 0;
  // A value inside the range from UI Automation, taken as the user's own change of it;
  // may destroy the control (see RunOwnerHandler).
  virtual void SetValueAsUser(double value) = 0;

  // Last in painting: the focus rectangle around rect while the control has the focus
  // and the window's keyboard cues are shown (WM_QUERYUISTATE).
  void DrawFocusCue(HDC dc, const RECT& rect) const;

  // Runs an owner's handler from inside this control's own message handling. The
  // handler may destroy the control with its window (a click that ends the film with
  // close-on-finish destroys the main window and everything in it): false then, and
  // the caller must return without touching the object again.
  bool RunOwnerHandler(const std::function<void()>& handler);

  HWND FHandle = nullptr;
  int32_t FLeft = 0;
  int32_t FTop = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FEnabled = false;
  std::wstring FClassName;
  std::wstring FCaption;
  HWND FParentWindow = nullptr;
  HBRUSH FBackgroundBrush = nullptr;
  DWORD FStyle = 0;
  DWORD FExStyle = 0;

private:
  HWND AccessibleWindow() const override { return FHandle; }
  std::wstring AccessibleName() const override;
  std::wstring AccessibleValue() const override;
  bool AccessibleAvailable() const override { return Available(); }
  TAccessibleRange AccessibleRange() const override { return ValueRange(); }
  void SetAccessibleValue(double value) override { SetValueAsUser(value); }
  bool OnKeyDown(WPARAM key);

  TAccessibleHolder FAccessible{*this};
  // Cleared by the destructor; RunOwnerHandler holds a share of it across the handler.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Makes a control of type TControl as a child of parent (see TkoControl::Create).
template <typename TControl>
std::unique_ptr<TControl> CreateControl(HWND parent) {
  auto control = std::make_unique<TControl>();
  control->Create(parent);
  return control;
}
