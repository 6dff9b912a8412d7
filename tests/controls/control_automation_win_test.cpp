// What a UI Automation client gets of the owner-drawn controls: the provider each hands
// out for WM_GETOBJECT's UiaRootObjectId, a slider whose RangeValue pattern tells the
// steps its keys take, sets its value as the user's own change does, and fails cleanly
// once the window is gone. Wine 8's client calls read the provider's properties through
// WM_GETOBJECT, but not the pattern (no type for its properties, UiaGetPatternProvider
// unimplemented): the pattern is asked of the control's own provider.
#include <windows.h>

#include <ole2.h>
#include <uiautomationclient.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "controls/control_automation_win.h"
#include "controls/ko_progress_bar_win.h"
#include "controls/ko_slider_win.h"
#include "support/control_parent_win.h"

namespace {
// The provider's RangeValue pattern, as a client asks for it; null when it has none.
IRangeValueProvider* RangeOf(IRawElementProviderSimple& provider) {
  IUnknown* pattern = nullptr;
  if (FAILED(provider.GetPatternProvider(UIA_RangeValuePatternId, &pattern)) || pattern == nullptr) return nullptr;
  void* range = nullptr;
  pattern->QueryInterface(__uuidof(IRangeValueProvider), &range);
  pattern->Release();
  return static_cast<IRangeValueProvider*>(range);
}

double Value(IRangeValueProvider& range) {
  double value = NAN;
  return SUCCEEDED(range.get_Value(&value)) ? value : NAN;
}

// Properties of a window's provider as a client in another thread reads them (Wine 8's
// UiaNodeFromHandle and UiaGetPropertyValue), this thread serving WM_GETOBJECT and the
// calls meanwhile: numbers and truths as numbers, a text into text; NAN for what it
// could not read.
std::vector<double> ReadAsClient(HWND window, const std::vector<PROPERTYID>& ids, std::wstring& text) {
  using TNode = void*;
  const HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
  const auto lookup = [core](const char* name) { return reinterpret_cast<void*>(GetProcAddress(core, name)); };
  const auto nodeFromHandle = reinterpret_cast<HRESULT(WINAPI*)(HWND, TNode*)>(lookup("UiaNodeFromHandle"));
  const auto propertyValue =
      reinterpret_cast<HRESULT(WINAPI*)(TNode, PROPERTYID, VARIANT*)>(lookup("UiaGetPropertyValue"));
  const auto release = reinterpret_cast<BOOL(WINAPI*)(TNode)>(lookup("UiaNodeRelease"));
  std::vector<double> numbers(ids.size(), NAN);
  if (nodeFromHandle == nullptr || propertyValue == nullptr || release == nullptr) return numbers;
  std::atomic<bool> done{false};
  std::thread client([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    TNode node = nullptr;
    if (SUCCEEDED(nodeFromHandle(window, &node)) && node != nullptr) {
      for (size_t i = 0; i < ids.size(); ++i) {
        VARIANT value;
        if (FAILED(propertyValue(node, ids[i], &value))) continue;
        if (value.vt == VT_BSTR) text = value.bstrVal;
        numbers[i] = value.vt == VT_I4 ? value.lVal : value.vt == VT_BOOL ? -value.boolVal : NAN;
        VariantClear(&value);
      }
      release(node);
    }
    CoUninitialize();
    done = true;
  });
  for (MSG message; !done; Sleep(1))
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  client.join();
  FreeLibrary(core);
  return numbers;
}

using AutomationControls = ControlParentTest;
}  // namespace

TEST_F(AutomationControls, TheBarAndSlidersAreSlidersSteppingAsTheirKeysDo) {
  auto speed = CreateControl<TkoSlider>(FParent);
  speed->SetMax(8);
  speed->SetPosition(3);
  auto volume = CreateControl<TkoSlider>(FParent);
  MoveWindow(volume->Handle(), 0, 30, 116, 20, TRUE);  // a pixel for each percent
  volume->SetMax(100);
  volume->SetPosition(50);
  volume->SetSteps(5, 20);
  volume->OnKeyStep = [](TkoSlider& slider, TSliderStep step) {
    slider.SetPosition(slider.GetPosition() + slider.KeyStepAmount(step));
  };
  auto bar = CreateControl<TkoProgressBar>(FParent);
  bar->SetSegments({10, 90});
  bar->SetPosition(20);
  bar->OnKeyStep = [](TkoProgressBar& bar, TSliderStep step) {
    bar.SetPosition(static_cast<float>(bar.Model().Position() + BarStepSeconds(step, bar.TotalLength())));
  };
  bar->ScreenReaderName = [] { return std::string("Прогресс"); };
  const struct {
    TkoControl& Control;
    double Maximum;
    std::function<double()> ModelValue;
  } controls[] = {{*speed, 8, [&] { return speed->GetPosition(); }},
                  {*volume, 100, [&] { return volume->GetPosition(); }},
                  {*bar, 100, [&] { return bar->Model().Position(); }}};
  for (const auto& [control, maximum, modelValue] : controls) {
    SCOPED_TRACE(maximum);
    IRawElementProviderSimple* provider = control.AutomationProvider();
    ASSERT_NE(provider, nullptr);
    IRangeValueProvider* range = RangeOf(*provider);
    ASSERT_NE(range, nullptr);
    double minimum = -1, top = -1, line = -1, page = -1;
    range->get_Minimum(&minimum);
    range->get_Maximum(&top);
    range->get_SmallChange(&line);
    range->get_LargeChange(&page);
    EXPECT_EQ((std::vector<double>{minimum, top}), (std::vector<double>{0, maximum}));
    for (const auto& [key, step] : {std::pair<WPARAM, double>{VK_RIGHT, line}, {VK_PRIOR, page}, {VK_LEFT, -line}}) {
      const double before = Value(*range);
      SendMessageW(control.Handle(), WM_KEYDOWN, key, 0);
      EXPECT_EQ(Value(*range), modelValue());
      EXPECT_EQ(Value(*range) - before, step) << "key " << key;
    }
    range->Release();
    provider->Release();
  }
  SetFocus(bar->Handle());
  std::wstring name;
  const std::vector<double> read = ReadAsClient(bar->Handle(),
      {UIA_ControlTypePropertyId, UIA_IsEnabledPropertyId, UIA_HasKeyboardFocusPropertyId, UIA_NamePropertyId}, name);
  EXPECT_EQ(std::vector<double>(read.begin(), read.begin() + 3), (std::vector<double>{50015, 1, 1}))
      << "a slider (UIA_SliderControlTypeId), enabled, focused";
  EXPECT_EQ(name, L"Прогресс");
}

TEST_F(AutomationControls, SetValueMovesTheControlAsTheUserDoesWithinItsRangeWhileTheWindowLives) {
  auto slider = CreateControl<TkoSlider>(FParent);
  slider->SetMax(8);
  std::vector<int32_t> told;
  slider->OnChange = [&told](TkoSlider& changed) { told.push_back(changed.GetPosition()); };
  IRawElementProviderSimple* provider = slider->AutomationProvider();
  IRangeValueProvider* range = RangeOf(*provider);
  ASSERT_NE(range, nullptr);
  SendMessageW(slider->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(range->SetValue(6), S_OK);
  EXPECT_EQ(told, (std::vector<int32_t>{1, 6})) << "the owner hears of it as of a key";
  for (const double wrong : {-1.0, 8.5, double(NAN)}) EXPECT_EQ(range->SetValue(wrong), E_INVALIDARG) << wrong;
  EXPECT_EQ(told.size(), 2u);

  auto bar = CreateControl<TkoProgressBar>(FParent);
  std::vector<double> scrubbed;
  bar->OnScrub = [&scrubbed](TkoProgressBar&, double seconds) { scrubbed.push_back(seconds); };
  IRawElementProviderSimple* barProvider = bar->AutomationProvider();
  IRangeValueProvider* barRange = RangeOf(*barProvider);
  ASSERT_NE(barRange, nullptr);
  BOOL readOnly = FALSE;
  EXPECT_EQ(barRange->get_IsReadOnly(&readOnly), S_OK);
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(barRange->SetValue(0), static_cast<HRESULT>(0x80040200)) << "UIA_E_ELEMENTNOTENABLED: no film";
  bar->SetSegments({10, 45});
  EXPECT_EQ(barRange->SetValue(12.5), S_OK);
  EXPECT_EQ(barRange->SetValue(55.5), E_INVALIDARG);
  EXPECT_EQ(scrubbed, std::vector<double>{12.5}) << "the owner hears of it as of a drag";
  EXPECT_EQ(Value(*barRange), 12.5);

  // The bar's window goes with its parent, the slider's with the slider.
  DestroyWindow(FParent);
  slider.reset();
  for (IRangeValueProvider* gone : {range, barRange}) {
    double value = 0;
    EXPECT_EQ(gone->get_Value(&value), static_cast<HRESULT>(0x80040201)) << "UIA_E_ELEMENTNOTAVAILABLE";
    EXPECT_EQ(gone->SetValue(1), static_cast<HRESULT>(0x80040201));
  }
  EXPECT_EQ(bar->AutomationProvider(), nullptr);
  range->Release();
  barRange->Release();
  EXPECT_EQ(provider->Release(), 0u) << "the control let go of its share";
  EXPECT_EQ(barProvider->Release(), 0u);
}
