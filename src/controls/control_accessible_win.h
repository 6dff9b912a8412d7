#pragma once
// The screen reader's view of one of the program's owner-drawn controls: an IAccessible
// object (role slider, no children) that asks its control for name, value and state.
// The control keeps one object for its life and answers WM_GETOBJECT with it; a client
// may hold the object longer, so the control detaches it when it goes, and the object
// then answers every question with "no longer there".
#include <windows.h>

#include <string>

// What the object asks of its control.
class TAccessibleSource {
public:
  virtual HWND AccessibleWindow() const = 0;
  virtual std::wstring AccessibleName() const = 0;
  virtual std::wstring AccessibleValue() const = 0;
  // False while the control cannot be used (disabled, or nothing to show).
  virtual bool AccessibleAvailable() const = 0;

protected:
  ~TAccessibleSource() = default;
};

class TControlAccessible;

// Owns the control's share of the object, made at the first question.
class TAccessibleHolder {
public:
  explicit TAccessibleHolder(TAccessibleSource& source) : FSource(source) {}
  ~TAccessibleHolder();
  TAccessibleHolder(const TAccessibleHolder&) = delete;
  TAccessibleHolder& operator=(const TAccessibleHolder&) = delete;

  // WM_GETOBJECT: the object for OBJID_CLIENT (LresultFromObject); 0 for any other id,
  // which the caller passes on to the default procedure.
  LRESULT AnswerGetObject(WPARAM wParam, LPARAM lParam);

private:
  TAccessibleSource& FSource;
  TControlAccessible* FObject = nullptr;
};

// Tells screen readers that the control's value changed, or that it became available
// or unavailable. Focus changes the system tells itself.
void NotifyAccessibleValueChange(HWND window);
void NotifyAccessibleStateChange(HWND window);
