#pragma once
// The UI Automation view of one of the program's owner-drawn controls: a server-side
// provider (IRawElementProviderSimple) of a slider with the RangeValue pattern
// (IRangeValueProvider), asking its control, as the IAccessible object does, for name,
// state, value, range and steps. The control's accessible holder keeps it and detaches
// it when the window goes; a detached provider answers UIA_E_ELEMENTNOTAVAILABLE.
//
// uiautomationcore.dll is loaded when the first provider is asked for, not linked: a
// system without it gets the IAccessible objects only.
#include <windows.h>

#include <ole2.h>
#include <uiautomationcore.h>

#include <atomic>

// MinGW-w64's uiautomationcore.h lacks the RangeValue pattern's interface; this is its
// documented layout.
#ifndef __IRangeValueProvider_INTERFACE_DEFINED__
#define __IRangeValueProvider_INTERFACE_DEFINED__
MIDL_INTERFACE("36dc7aef-33e6-4691-afe1-2be7274b3d33")
IRangeValueProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(double value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Maximum(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Minimum(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LargeChange(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SmallChange(double* value) = 0;
};
__CRT_UUID_DECL(IRangeValueProvider, 0x36dc7aef, 0x33e6, 0x4691, 0xaf, 0xe1, 0x2b, 0xe7, 0x27, 0x4b, 0x3d, 0x33)
#endif

// MinGW-w64's uiautomationcoreapi.h does not compile as C++ (a parameter is named
// "new"): its values that the controls use, as documented.
constexpr LONG kUiaRootObjectId = -25;
constexpr HRESULT kUiaElementNotEnabled = static_cast<HRESULT>(0x80040200);
constexpr HRESULT kUiaElementNotAvailable = static_cast<HRESULT>(0x80040201);

class TAccessibleSource;

class TControlAutomation final : public IRawElementProviderSimple, public IRangeValueProvider {
public:
  // One reference, the caller's.
  explicit TControlAutomation(TAccessibleSource& source) : FSource(&source) {}
  void Detach() { FSource = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override;
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override;
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override;

  // IRangeValueProvider. SetValue refuses a value outside Minimum .. Maximum
  // (E_INVALIDARG) and any value while the control cannot be used
  // (UIA_E_ELEMENTNOTENABLED); otherwise the control takes it as the user's own change.
  HRESULT STDMETHODCALLTYPE SetValue(double value) override;
  HRESULT STDMETHODCALLTYPE get_Value(double* value) override;
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) override;
  HRESULT STDMETHODCALLTYPE get_Maximum(double* value) override;
  HRESULT STDMETHODCALLTYPE get_Minimum(double* value) override;
  HRESULT STDMETHODCALLTYPE get_LargeChange(double* value) override;
  HRESULT STDMETHODCALLTYPE get_SmallChange(double* value) override;

private:
  ~TControlAutomation() = default;
  // One of the range's numbers, or UIA_E_ELEMENTNOTAVAILABLE once detached.
  HRESULT RangeNumber(double* out, double (*pick)(const TAccessibleSource&)) const;

  std::atomic<ULONG> FReferences{1};
  TAccessibleSource* FSource;
};

// WM_GETOBJECT for UiaRootObjectId: UiaReturnRawElementProvider's answer for provider;
// 0 when uiautomationcore.dll is missing.
LRESULT ReturnAutomationProvider(HWND window, WPARAM wParam, LPARAM lParam, IRawElementProviderSimple* provider);
// The window that handed out providers is going: UI Automation lets go of what it
// keeps for it (UiaReturnRawElementProvider with no provider).
void ForgetAutomationProviders(HWND window);
// Tells listening UI Automation clients the control's new value.
void RaiseAutomationValueChange(IRawElementProviderSimple* provider, double value);
