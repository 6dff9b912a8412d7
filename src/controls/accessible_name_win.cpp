#include "controls/accessible_name_win.h"

#include <oleacc.h>

#include <atomic>

namespace {
// The interface id by __uuidof, as control_accessible_win.cpp takes it.
const IID& kIdAccessible = __uuidof(IAccessible);

// The system's object for a control with another name for the control itself; its
// children, if any, keep theirs. It holds the system's object and the name, nothing of
// the control's owner, so a client may keep it as long as it likes.
class TNamedAccessible final : public IAccessible, public IOleWindow {
public:
  TNamedAccessible(IAccessible* standard, HWND control, std::wstring name)
      : FStandard(standard), FControl(control), FName(std::move(name)) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == kIdAccessible)
      *object = static_cast<IAccessible*>(this);
    else if (id == __uuidof(IOleWindow))
      *object = static_cast<IOleWindow*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --FReferences;
    if (left == 0) delete this;
    return left;
  }

  // IOleWindow: the control, which WindowFromAccessibleObject asks for.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = FControl;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return FStandard->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return FStandard->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return FStandard->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    return FStandard->Invoke(member, id, locale, flags, parameters, result, exception, argument);
  }

  // IAccessible: the name of the control itself is ours, the rest the system's.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return FStandard->get_accName(child, name);
    if (name == nullptr) return E_POINTER;
    *name = SysAllocStringLen(FName.data(), static_cast<UINT>(FName.size()));
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return FStandard->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return FStandard->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return FStandard->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return FStandard->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return FStandard->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return FStandard->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return FStandard->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return FStandard->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return FStandard->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return FStandard->get_accKeyboardShortcut(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return FStandard->get_accFocus(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return FStandard->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return FStandard->get_accDefaultAction(child, text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return FStandard->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return FStandard->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return FStandard->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return FStandard->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return FStandard->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  ~TNamedAccessible() { FStandard->Release(); }

  std::atomic<ULONG> FReferences{1};
  IAccessible* const FStandard;
  const HWND FControl;
  const std::wstring FName;
};
}  // namespace

TAccessibleName::~TAccessibleName() { Detach(); }

void TAccessibleName::Attach(HWND control) {
  Detach();
  if (control == nullptr) return;
  FControl = control;
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FOwnProcedure =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
}

void TAccessibleName::Detach() {
  if (FControl == nullptr) return;
  SetWindowLongPtrW(FControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOwnProcedure));
  SetWindowLongPtrW(FControl, GWLP_USERDATA, 0);
  FControl = nullptr;
  FOwnProcedure = nullptr;
}

LRESULT CALLBACK TAccessibleName::Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* name = reinterpret_cast<TAccessibleName*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  if (name == nullptr) return DefWindowProcW(control, message, wParam, lParam);
  const WNDPROC own = name->FOwnProcedure;
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    if (const LRESULT answer = name->AnswerGetObject(wParam); answer > 0) return answer;
  } else if (message == WM_NCDESTROY) {
    name->Detach();
  }
  return CallWindowProcW(own, control, message, wParam, lParam);
}

LRESULT TAccessibleName::AnswerGetObject(WPARAM wParam) const {
  void* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(FControl, OBJID_CLIENT, kIdAccessible, &standard)) || standard == nullptr)
    return 0;
  TNamedAccessible* named = nullptr;
  try {
    named = new TNamedAccessible(static_cast<IAccessible*>(standard), FControl, FName);
  } catch (...) {
    static_cast<IAccessible*>(standard)->Release();
    return 0;
  }
  const LRESULT answer = LresultFromObject(kIdAccessible, wParam, static_cast<IAccessible*>(named));
  named->Release();
  return answer;
}
