#include "controls/control_accessible_win.h"

#include <oleacc.h>

#include <atomic>

#include "controls/control_automation_win.h"

namespace {
// The interface ids by __uuidof: both liboleacc and libuuid define IID_IAccessible, and
// a program that needs both libraries could not link the symbol.
const IID& kIdAccessible = __uuidof(IAccessible);

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnNothing(BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return S_FALSE;
}
}  // namespace

// The COM object. Its questions go to the source while it is attached; afterwards
// every one of them fails with CO_E_OBJNOTCONNECTED.
class TControlAccessible final : public IAccessible {
public:
  explicit TControlAccessible(TAccessibleSource& source) : FSource(&source) {}
  void Detach() { FSource = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == kIdAccessible) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --FReferences;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: no type information; clients call the interface directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    if (FSource == nullptr) return CO_E_OBJNOTCONNECTED;
    // The window's standard object is the parent; Wine may not make one.
    void* object = nullptr;
    if (FAILED(CreateStdAccessibleObject(FSource->AccessibleWindow(), OBJID_WINDOW, __uuidof(IDispatch), &object)) ||
        object == nullptr)
      return S_FALSE;
    *parent = static_cast<IDispatch*>(object);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return FSource != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (child == nullptr) return E_POINTER;
    *child = nullptr;
    return FSource != nullptr ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    return ReturnText(FSource->AccessibleName(), name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    return ReturnText(FSource->AccessibleValue(), value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    return ReturnNothing(text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_SLIDER;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    VariantInit(state);
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    const HWND window = FSource->AccessibleWindow();
    long bits = STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == window) bits |= STATE_SYSTEM_FOCUSED;
    if (!FSource->AccessibleAvailable()) bits |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(window)) bits |= STATE_SYSTEM_INVISIBLE;
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    return ReturnNothing(text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (topic != nullptr) *topic = 0;
    return ReturnNothing(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    return ReturnNothing(text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (focus == nullptr) return E_POINTER;
    VariantInit(focus);
    if (FSource == nullptr) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != FSource->AccessibleWindow()) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection == nullptr) return E_POINTER;
    VariantInit(selection);
    return FSource != nullptr ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    return ReturnNothing(text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    if ((flags & SELFLAG_TAKEFOCUS) == 0) return E_INVALIDARG;
    SetFocus(FSource->AccessibleWindow());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    RECT rect{};
    if (!GetWindowRect(FSource->AccessibleWindow(), &rect)) return E_FAIL;
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    VariantInit(end);
    if (const HRESULT checked = Check(start); checked != S_OK) return checked;
    return S_FALSE;  // no children, and siblings are the parent's to tell
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (child == nullptr) return E_POINTER;
    VariantInit(child);
    if (FSource == nullptr) return CO_E_OBJNOTCONNECTED;
    RECT rect{};
    if (!GetWindowRect(FSource->AccessibleWindow(), &rect) || !PtInRect(&rect, POINT{x, y})) return S_FALSE;
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  ~TControlAccessible() = default;

  // S_OK when the object is attached and child names the control itself.
  HRESULT Check(const VARIANT& child) const {
    if (FSource == nullptr) return CO_E_OBJNOTCONNECTED;
    return IsSelf(child) ? S_OK : E_INVALIDARG;
  }

  std::atomic<ULONG> FReferences{1};
  TAccessibleSource* FSource;
};

LRESULT TAccessibleHolder::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
  if (FDisconnected) return 0;
  if (static_cast<LONG>(lParam) == kUiaRootObjectId) {
    IRawElementProviderSimple* provider = AutomationProvider();
    const LRESULT result = ReturnAutomationProvider(FSource.AccessibleWindow(), wParam, lParam, provider);
    provider->Release();
    return result;
  }
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
  if (FObject == nullptr) FObject = new TControlAccessible(FSource);
  const LRESULT result = LresultFromObject(kIdAccessible, wParam, FObject);
  return result > 0 ? result : 0;
}

IRawElementProviderSimple* TAccessibleHolder::AutomationProvider() {
  if (FDisconnected) return nullptr;
  if (FProvider == nullptr) FProvider = new TControlAutomation(FSource);
  FProvider->AddRef();
  return FProvider;
}

void TAccessibleHolder::Disconnect() {
  if (FDisconnected) return;
  FDisconnected = true;
  if (FObject != nullptr) {
    FObject->Detach();
    FObject->Release();
    FObject = nullptr;
  }
  if (FProvider != nullptr) {
    FProvider->Detach();
    ForgetAutomationProviders(FSource.AccessibleWindow());
    FProvider->Release();
    FProvider = nullptr;
  }
}

void TAccessibleHolder::NotifyValueChange() {
  const HWND window = FSource.AccessibleWindow();
  if (FDisconnected || window == nullptr) return;
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
  if (FProvider != nullptr) RaiseAutomationValueChange(FProvider, FSource.AccessibleRange().Value);
}

void NotifyAccessibleStateChange(HWND window) {
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}
