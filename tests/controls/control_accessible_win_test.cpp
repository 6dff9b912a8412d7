// What a screen reader reads of the owner-drawn controls, asked as it asks: WM_GETOBJECT
// for the client object, the answer turned back into an IAccessible (ObjectFromLresult),
// then role, name, value, state, place and the keys that step the control.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "controls/ko_progress_bar_win.h"
#include "controls/ko_slider_win.h"
#include "support/control_parent_win.h"

namespace {
// The client object of a window, as a screen reader gets it; null when it has none.
IAccessible* ClientObject(HWND window) {
  const LRESULT answer = SendMessageW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
  if (answer <= 0) return nullptr;
  void* object = nullptr;
  if (FAILED(ObjectFromLresult(answer, __uuidof(IAccessible), 0, &object))) return nullptr;
  return static_cast<IAccessible*>(object);
}

VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible& object) {
  BSTR text = nullptr;
  const HRESULT result = (object.*get)(Self(), &text);
  std::wstring value = result == S_OK && text != nullptr ? std::wstring(text, SysStringLen(text)) : L"<none>";
  SysFreeString(text);
  return value;
}

long State(IAccessible& object) {
  VARIANT state;
  VariantInit(&state);
  return SUCCEEDED(object.get_accState(Self(), &state)) && state.vt == VT_I4 ? state.lVal : -1;
}

// The events screen readers hook, counted per window as they reach an out-of-context
// hook (delivered through this thread's messages).
class WinEventCount {
public:
  explicit WinEventCount(DWORD event) : FEvent(event) {
    FHook = SetWinEventHook(event, event, nullptr, &Record, 0, 0, WINEVENT_OUTOFCONTEXT);
  }
  ~WinEventCount() { UnhookWinEvent(FHook); }
  bool Hooked() const { return FHook != nullptr; }
  // The events since the last call for the window's client object.
  int Since(HWND window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    int count = 0;
    for (const auto& [event, source, object] : Seen)
      if (event == FEvent && source == window && object == OBJID_CLIENT) ++count;
    Seen.clear();
    return count;
  }

private:
  static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
    Seen.push_back({event, window, object});
  }
  static inline std::vector<std::tuple<DWORD, HWND, LONG>> Seen;
  DWORD FEvent;
  HWINEVENTHOOK FHook = nullptr;
};

using AccessibleControls = ControlParentTest;
}  // namespace

TEST_F(AccessibleControls, ASliderIsASliderWithTheNameAndValueItsOwnerGives) {
  auto slider = CreateControl<TkoSlider>(FParent);
  MoveWindow(slider->Handle(), 30, 10, 70, 20, TRUE);
  slider->SetMax(100);
  slider->SetPosition(80);
  slider->ScreenReaderName = [] { return std::string("Громкость"); };
  slider->ScreenReaderValue = [&slider] { return std::to_string(slider->GetPosition()) + " %"; };
  IAccessible* object = ClientObject(slider->Handle());
  ASSERT_NE(object, nullptr);

  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(object->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_SLIDER);
  EXPECT_EQ(Text(&IAccessible::get_accName, *object), L"Громкость");
  EXPECT_EQ(Text(&IAccessible::get_accValue, *object), L"80 %");

  SetFocus(FParent);
  EXPECT_EQ(State(*object), STATE_SYSTEM_FOCUSABLE);
  SetFocus(slider->Handle());
  ASSERT_EQ(GetFocus(), slider->Handle());
  EXPECT_EQ(State(*object), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);

  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(object->accLocation(&left, &top, &width, &height, Self()), S_OK);
  RECT screen{};
  GetWindowRect(slider->Handle(), &screen);
  EXPECT_EQ((std::vector<long>{left, top, width, height}),
            (std::vector<long>{screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top}));
  EXPECT_EQ((std::vector<long>{screen.left, screen.top}), (std::vector<long>{40, 30})) << "in screen coordinates";

  long children = -1;
  EXPECT_EQ(object->get_accChildCount(&children), S_OK);
  EXPECT_EQ(children, 0);
  VARIANT child = Self();
  child.lVal = 1;
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(child, &name), E_INVALIDARG) << "no children to name";
  IDispatch* parent = nullptr;
  const HRESULT parentResult = object->get_accParent(&parent);
  EXPECT_TRUE(parentResult == S_OK || parentResult == S_FALSE) << std::hex << parentResult;
  EXPECT_EQ(parent != nullptr, parentResult == S_OK);
  if (parent != nullptr) parent->Release();

  // The value follows the slider, and the object outlives it without reaching it.
  SendMessageW(slider->Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(Text(&IAccessible::get_accValue, *object), L"79 %");
  slider.reset();
  BSTR value = nullptr;
  EXPECT_EQ(object->get_accValue(Self(), &value), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(object->Release(), 0u);
}

TEST_F(AccessibleControls, TheBarIsUnavailableWithoutSegmentsAndOnlyTheClientObjectIsOurs) {
  auto bar = CreateControl<TkoProgressBar>(FParent);
  MoveWindow(bar->Handle(), 0, 0, 200, 10, TRUE);
  bar->ScreenReaderName = [] { return std::string("Position"); };
  EXPECT_EQ(SendMessageW(bar->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)) > 0, false)
      << "the window's own object is the system's";
  IAccessible* object = ClientObject(bar->Handle());
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(Text(&IAccessible::get_accName, *object), L"Position");
  EXPECT_EQ(Text(&IAccessible::get_accValue, *object), L"<none>") << "the owner gave no value";
  EXPECT_EQ(State(*object), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);
  bar->SetSegments({10, 45});
  EXPECT_EQ(State(*object), STATE_SYSTEM_FOCUSABLE);
  ShowWindow(bar->Handle(), SW_HIDE);
  EXPECT_EQ(State(*object), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE);
  object->Release();
}

TEST_F(AccessibleControls, KeysStepTheFocusedControlsAndTheArrowsStayWithThem) {
  auto slider = CreateControl<TkoSlider>(FParent);
  MoveWindow(slider->Handle(), 0, 0, 70, 20, TRUE);
  slider->SetMax(8);
  slider->SetPosition(3);
  EXPECT_EQ(SendMessageW(slider->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
  const std::pair<WPARAM, int32_t> keys[] = {{VK_RIGHT, 4}, {VK_UP, 5}, {VK_PRIOR, 6}, {VK_END, 8}, {VK_RIGHT, 8},
                                             {VK_DOWN, 7}, {VK_LEFT, 6}, {VK_NEXT, 5}, {VK_HOME, 0}};
  for (const auto& [key, expected] : keys) {
    SendMessageW(slider->Handle(), WM_KEYDOWN, key, 0);
    EXPECT_EQ(slider->GetPosition(), expected) << "key " << key;
  }

  auto bar = CreateControl<TkoProgressBar>(FParent);
  std::vector<TSliderStep> steps;
  bar->OnKeyStep = [&steps](TkoProgressBar&, TSliderStep step) { steps.push_back(step); };
  SendMessageW(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(steps.empty()) << "a bar without a film takes no steps";
  bar->SetSegments({10, 45});
  for (const int key : {VK_LEFT, VK_RIGHT, VK_NEXT, VK_PRIOR, VK_HOME, VK_END, int{'A'}})
    SendMessageW(bar->Handle(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
  using S = TSliderStep;
  EXPECT_EQ(steps, (std::vector<S>{S::kLineBack, S::kLineForward, S::kPageBack, S::kPageForward, S::kToStart,
                                   S::kToEnd}));
}

TEST_F(AccessibleControls, ScreenReadersHearEachFocusOnceAndTheBarBecomingAvailable) {
  HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 300, 0, 60, 20, FParent, nullptr,
                                nullptr, nullptr);
  auto slider = CreateControl<TkoSlider>(FParent);
  auto bar = CreateControl<TkoProgressBar>(FParent);
  WinEventCount focus(EVENT_OBJECT_FOCUS);
  ASSERT_TRUE(focus.Hooked());
  // The system's button is the measure: the system tells of every focus change once.
  for (HWND window : {button, slider->Handle(), bar->Handle(), button}) {
    SetFocus(window);
    EXPECT_EQ(focus.Since(window), 1) << "focus on " << (window == button ? "the button" : "a control");
  }

  WinEventCount state(EVENT_OBJECT_STATECHANGE);
  bar->SetSegments({10, 45});
  EXPECT_EQ(state.Since(bar->Handle()), 1) << "a film: the bar becomes available";
  bar->SetSegments({10, 50});
  EXPECT_EQ(state.Since(bar->Handle()), 0) << "still available";
  bar->SetSegments({});
  EXPECT_EQ(state.Since(bar->Handle()), 1) << "no film: unavailable";
}
