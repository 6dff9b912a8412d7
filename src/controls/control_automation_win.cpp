#include "controls/control_automation_win.h"

#include <uiautomationclient.h>

#include <cmath>

#include "controls/control_accessible_win.h"

namespace {
// UIA_SliderControlTypeId, which MinGW-w64's headers lack. The bar is a slider too: the
// user moves it.
constexpr LONG kSliderControlType = 50015;

// The calls of uiautomationcore.dll used here (see kUiaRootObjectId).
using TReturnProvider = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using THostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
using TRaisePropertyChanged = HRESULT(WINAPI*)(IRawElementProviderSimple*, PROPERTYID, VARIANT, VARIANT);
using TClientsAreListening = BOOL(WINAPI*)();

template <typename TFunction>
TFunction Lookup(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  // GetProcAddress returns a generic function pointer; the name fixes its real type.
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// uiautomationcore.dll and the calls the providers need, loaded at the first provider
// asked for and kept for the process's life.
class TAutomationCore {
public:
  TAutomationCore()
      : FLibrary(LoadLibraryW(L"uiautomationcore.dll")),
        ReturnProvider(Lookup<decltype(ReturnProvider)>(FLibrary, "UiaReturnRawElementProvider")),
        HostProvider(Lookup<decltype(HostProvider)>(FLibrary, "UiaHostProviderFromHwnd")),
        RaisePropertyChanged(Lookup<TRaisePropertyChanged>(FLibrary, "UiaRaiseAutomationPropertyChangedEvent")),
        ClientsAreListening(Lookup<decltype(ClientsAreListening)>(FLibrary, "UiaClientsAreListening")) {}
  // The library is never freed: its threads may still run while the program ends.
  ~TAutomationCore() = default;
  TAutomationCore(const TAutomationCore&) = delete;
  TAutomationCore& operator=(const TAutomationCore&) = delete;

private:
  HMODULE FLibrary;  // first: the calls below are looked up in it

public:
  TReturnProvider ReturnProvider;
  THostProvider HostProvider;
  TRaisePropertyChanged RaisePropertyChanged;
  TClientsAreListening ClientsAreListening;
};

const TAutomationCore& AutomationCore() {
  static const TAutomationCore core;
  return core;
}

void SetBool(VARIANT* value, bool on) {
  value->vt = VT_BOOL;
  value->boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
}

HRESULT SetText(VARIANT* value, const std::wstring& text) {
  if (text.empty()) return S_OK;  // no name: the property stays empty
  value->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (value->bstrVal == nullptr) return E_OUTOFMEMORY;
  value->vt = VT_BSTR;
  return S_OK;
}
}  // namespace

HRESULT TControlAutomation::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (id == __uuidof(IUnknown) || id == __uuidof(IRawElementProviderSimple)) {
    *object = static_cast<IRawElementProviderSimple*>(this);
  } else if (id == __uuidof(IRangeValueProvider)) {
    *object = static_cast<IRangeValueProvider*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TControlAutomation::Release() {
  const ULONG left = --FReferences;
  if (left == 0) delete this;
  return left;
}

// UseComThreading: the control's window thread is a single-threaded apartment
// (OleInitialize), so UI Automation calls the provider only there, where the control
// may be asked.
HRESULT TControlAutomation::get_ProviderOptions(ProviderOptions* options) {
  if (options == nullptr) return E_POINTER;
  *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
  return S_OK;
}

HRESULT TControlAutomation::GetPatternProvider(PATTERNID pattern, IUnknown** provider) {
  if (provider == nullptr) return E_POINTER;
  *provider = nullptr;
  if (FSource == nullptr) return kUiaElementNotAvailable;
  if (pattern == UIA_RangeValuePatternId) {
    *provider = static_cast<IRangeValueProvider*>(this);
    AddRef();
  }
  return S_OK;
}

HRESULT TControlAutomation::GetPropertyValue(PROPERTYID property, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  VariantInit(value);
  if (FSource == nullptr) return kUiaElementNotAvailable;
  switch (property) {
    case UIA_ControlTypePropertyId:
      value->vt = VT_I4;
      value->lVal = kSliderControlType;
      return S_OK;
    case UIA_NamePropertyId: return SetText(value, FSource->AccessibleName());
    case UIA_IsKeyboardFocusablePropertyId: SetBool(value, true); return S_OK;
    case UIA_HasKeyboardFocusPropertyId: SetBool(value, GetFocus() == FSource->AccessibleWindow()); return S_OK;
    case UIA_IsEnabledPropertyId: SetBool(value, FSource->AccessibleAvailable()); return S_OK;
  }
  return S_OK;  // any other property: empty, UI Automation's default or the host's
}

HRESULT TControlAutomation::get_HostRawElementProvider(IRawElementProviderSimple** host) {
  if (host == nullptr) return E_POINTER;
  *host = nullptr;
  if (FSource == nullptr) return kUiaElementNotAvailable;
  const TAutomationCore& core = AutomationCore();
  return core.HostProvider != nullptr ? core.HostProvider(FSource->AccessibleWindow(), host) : E_NOTIMPL;
}

HRESULT TControlAutomation::SetValue(double value) {
  if (FSource == nullptr) return kUiaElementNotAvailable;
  if (!FSource->AccessibleAvailable()) return kUiaElementNotEnabled;
  const TAccessibleRange range = FSource->AccessibleRange();
  if (std::isnan(value) || value < range.Minimum || value > range.Maximum) return E_INVALIDARG;
  FSource->SetAccessibleValue(value);  // may detach this provider: nothing of it is used after
  return S_OK;
}

HRESULT TControlAutomation::RangeNumber(double* out, double (*pick)(const TAccessibleSource&)) const {
  if (out == nullptr) return E_POINTER;
  *out = 0;
  if (FSource == nullptr) return kUiaElementNotAvailable;
  *out = pick(*FSource);
  return S_OK;
}

HRESULT TControlAutomation::get_Value(double* value) {
  return RangeNumber(value, [](const TAccessibleSource& source) { return source.AccessibleRange().Value; });
}

HRESULT TControlAutomation::get_Maximum(double* value) {
  return RangeNumber(value, [](const TAccessibleSource& source) { return source.AccessibleRange().Maximum; });
}

HRESULT TControlAutomation::get_Minimum(double* value) {
  return RangeNumber(value, [](const TAccessibleSource& source) { return source.AccessibleRange().Minimum; });
}

HRESULT TControlAutomation::get_LargeChange(double* value) {
  return RangeNumber(value, [](const TAccessibleSource& source) { return source.AccessibleRange().LargeChange; });
}

HRESULT TControlAutomation::get_SmallChange(double* value) {
  return RangeNumber(value, [](const TAccessibleSource& source) { return source.AccessibleRange().SmallChange; });
}

// A control that cannot be used now takes no value.
HRESULT TControlAutomation::get_IsReadOnly(BOOL* readOnly) {
  if (readOnly == nullptr) return E_POINTER;
  *readOnly = TRUE;
  if (FSource == nullptr) return kUiaElementNotAvailable;
  *readOnly = FSource->AccessibleAvailable() ? FALSE : TRUE;
  return S_OK;
}

LRESULT ReturnAutomationProvider(HWND window, WPARAM wParam, LPARAM lParam, IRawElementProviderSimple* provider) {
  const TAutomationCore& core = AutomationCore();
  return core.ReturnProvider != nullptr ? core.ReturnProvider(window, wParam, lParam, provider) : 0;
}

void ForgetAutomationProviders(HWND window) {
  const TAutomationCore& core = AutomationCore();
  if (core.ReturnProvider != nullptr) core.ReturnProvider(window, 0, 0, nullptr);
}

// Only while a client listens: the event costs a call into the core at every change.
void RaiseAutomationValueChange(IRawElementProviderSimple* provider, double value) {
  const TAutomationCore& core = AutomationCore();
  if (core.RaisePropertyChanged == nullptr || core.ClientsAreListening == nullptr || !core.ClientsAreListening())
    return;
  VARIANT before;
  VariantInit(&before);  // the value before is not kept
  VARIANT after;
  VariantInit(&after);
  after.vt = VT_R8;
  after.dblVal = value;
  core.RaisePropertyChanged(provider, UIA_RangeValueValuePropertyId, before, after);
}
