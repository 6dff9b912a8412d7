#pragma once
// The screen reader's view of one of the program's owner-drawn controls: an IAccessible
// object (role slider, no children) that asks its control for name, value and state,
// and a UI Automation provider (control_automation_win.h) that also tells its range and
// steps and sets its value. The control keeps both for its life and answers
// WM_GETOBJECT with them; a client may hold them longer, so the control detaches them
// when its window goes, and they then answer every question with "no longer there".
#include <windows.h>

#include <string>

struct IRawElementProviderSimple;

// A control's value, the range it moves in and the steps its keys take.
struct TAccessibleRange {
  double Value = 0;
  double Minimum = 0;
  double Maximum = 0;
  double SmallChange = 0;
  double LargeChange = 0;
};

// What the object asks of its control.
class TAccessibleSource {
public:
  virtual HWND AccessibleWindow() const = 0;
  virtual std::wstring AccessibleName() const = 0;
  virtual std::wstring AccessibleValue() const = 0;
  // False while the control cannot be used (disabled, or nothing to show).
  virtual bool AccessibleAvailable() const = 0;
  virtual TAccessibleRange AccessibleRange() const = 0;
  // Takes a value inside the range, while available, as the user's own change (a drag,
  // a key) does, telling the owner the same way. May destroy the control.
  virtual void SetAccessibleValue(double value) = 0;

protected:
  ~TAccessibleSource() = default;
};

class TControlAccessible;
class TControlAutomation;

// Owns the control's share of both objects, each made at its first question.
class TAccessibleHolder {
public:
  explicit TAccessibleHolder(TAccessibleSource& source) : FSource(source) {}
  ~TAccessibleHolder() { Disconnect(); }
  TAccessibleHolder(const TAccessibleHolder&) = delete;
  TAccessibleHolder& operator=(const TAccessibleHolder&) = delete;

  // WM_GETOBJECT: the IAccessible object for OBJID_CLIENT (LresultFromObject), the
  // provider for UiaRootObjectId (UiaReturnRawElementProvider); 0 for any other id, and
  // once disconnected, which the caller passes on to the default procedure.
  LRESULT AnswerGetObject(WPARAM wParam, LPARAM lParam);
  // The UI Automation provider that WM_GETOBJECT hands out, with a reference for the
  // caller; null once disconnected.
  IRawElementProviderSimple* AutomationProvider();
  // The control's window is going (WM_DESTROY, or the control destroying it): both
  // objects are detached and released, and UI Automation lets go of the window.
  void Disconnect();
  // The control's value changed: screen readers hear it through both.
  void NotifyValueChange();

private:
  TAccessibleSource& FSource;
  TControlAccessible* FObject = nullptr;
  TControlAutomation* FProvider = nullptr;
  bool FDisconnected = false;
};

// Tells screen readers that the control became available or unavailable. Focus changes
// the system tells itself.
void NotifyAccessibleStateChange(HWND window);
