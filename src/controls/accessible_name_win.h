#pragma once
// A standard control that shows a sign rather than words (the segment list's close
// button shows "X"), named for screen readers by words of its own. The control's
// procedure answers WM_GETOBJECT for its client object with the system's own object for
// it (CreateStdAccessibleObject) under that name; every other question goes to the
// system's object, and the window keeps its text.
#include <windows.h>

#include <string>

class TAccessibleName {
public:
  TAccessibleName() = default;
  // Gives the control its own procedure back, when it is still there.
  ~TAccessibleName();
  TAccessibleName(const TAccessibleName&) = delete;
  TAccessibleName& operator=(const TAccessibleName&) = delete;

  // Takes over the control's procedure and its window data (GWLP_USERDATA) until the
  // control or this object goes.
  void Attach(HWND control);
  // The name of the objects handed out from now on.
  void SetName(const std::wstring& name) { FName = name; }

private:
  static LRESULT CALLBACK Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  // The answer to WM_GETOBJECT for the client object; 0 when the system's object could
  // not be made, which the caller passes on to the control's own procedure.
  LRESULT AnswerGetObject(WPARAM wParam) const;
  void Detach();

  HWND FControl = nullptr;
  WNDPROC FOwnProcedure = nullptr;
  std::wstring FName;
};
