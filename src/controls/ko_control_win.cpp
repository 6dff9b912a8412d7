#include "controls/ko_control_win.h"

#include <commctrl.h>

#include <exception>

#include "platform/wide_text_win.h"
#include "controls/control_bounds.h"
#include "controls/ko_common_win.h"

namespace {
// Set up once for the process, before any control exists: the atom that names the
// window property binding a window to its object, and the common-controls library that
// provides the panel's tooltip class.
class TkoControlsModule {
public:
  TkoControlsModule() : FAtom(GlobalAddAtomW(L"koCD")), FCommonControls(LoadLibraryW(L"comctl32.dll")) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
  }
  ~TkoControlsModule() {
    if (FAtom != 0) GlobalDeleteAtom(FAtom);
    if (FCommonControls != nullptr) FreeLibrary(FCommonControls);
  }
  TkoControlsModule(const TkoControlsModule&) = delete;
  TkoControlsModule& operator=(const TkoControlsModule&) = delete;

  // The property name: the atom, or the plain text should the atom table be full.
  const wchar_t* PropertyName() const { return FAtom != 0 ? MAKEINTATOM(FAtom) : L"koCD"; }

private:
  ATOM FAtom;
  HMODULE FCommonControls;
};

const TkoControlsModule controlsModule;

TkoControl* BoundControl(HWND window) {
  return static_cast<TkoControl*>(GetPropW(window, controlsModule.PropertyName()));
}

// A failure inside a control's handler (a command it ran, for instance) must not unwind
// through the system's message dispatch: it is shown here.
void ShowControlError(HWND window, const char* text) {
  MessageBoxW(GetParent(window), Utf8ToWide(text).c_str(), L"Error", MB_OK | MB_ICONERROR);
}
}  // namespace

LRESULT CALLBACK TkoControl::SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TkoControl* control = BoundControl(window);
  if (control == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return control->WndProc(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowControlError(window, error.what());
  } catch (...) {
    ShowControlError(window, "Error");
  }
  return 0;
}

TkoControl::~TkoControl() {
  *FAlive = false;
  if (FHandle == nullptr) return;
  FAccessible.Disconnect();
  RemovePropW(FHandle, controlsModule.PropertyName());
  DestroyWindow(FHandle);
}

void TkoControl::Create(HWND parentWindow) {
  FBackgroundBrush = GetBackgroundBrush();
  FClassName = GetWindowClassName();
  FStyle = GetStyle();
  FExStyle = GetExStyle();
  FParentWindow = parentWindow;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = SharedWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = GetCursor();
  windowClass.hbrBackground = FBackgroundBrush;
  windowClass.lpszClassName = FClassName.c_str();
  RegisterClassW(&windowClass);  // fails once the class exists: its first registration holds
  FHandle = CreateWindowExW(FExStyle, FClassName.c_str(), FCaption.c_str(), FStyle, FLeft, FTop, FWidth, FHeight,
                            FParentWindow, nullptr, instance, nullptr);
  if (FHandle == nullptr) {
    MessageBoxW(nullptr, L"FHandle = 0", L"", MB_OK);
    return;
  }
  SetPropW(FHandle, controlsModule.PropertyName(), this);
  InitWindow();
}

void TkoControl::UpdateBounds() { MoveWindow(FHandle, FLeft, FTop, FWidth, FHeight, TRUE); }

void TkoControl::SetLeft(int32_t value) {
  FLeft = value;
  UpdateBounds();
}

void TkoControl::SetTop(int32_t value) {
  FTop = value;
  UpdateBounds();
}

void TkoControl::SetWidth(int32_t value) {
  FWidth = value;
  UpdateBounds();
}

void TkoControl::SetHeight(int32_t value) {
  FHeight = value;
  UpdateBounds();
}

HBRUSH TkoControl::GetBackgroundBrush() { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1)); }

HCURSOR TkoControl::GetCursor() { return LoadCursorW(nullptr, IDC_ARROW); }

DWORD TkoControl::GetStyle() { return WS_CHILD | WS_VISIBLE | WS_BORDER; }

DWORD TkoControl::GetExStyle() { return 0; }

std::wstring TkoControl::GetCaption() { return {}; }

void TkoControl::SetHandle(HWND window) { FHandle = window; }

void TkoControl::InitWindow() {
  FEnabled = true;
  UpdateBounds();
}

LRESULT TkoControl::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: SetHandle(window); return 0;
    case WM_MOVE: DoMove(UnsignedLowWord(lParam), UnsignedHighWord(lParam)); return 0;
    case WM_SIZE: DoSize(UnsignedLowWord(lParam), UnsignedHighWord(lParam)); return 0;
    case WM_ERASEBKGND: return DoEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_SIZING:
    case WM_MOVING: return DoSizingMoving(wParam, reinterpret_cast<RECT*>(lParam));
    case KOM_APPLYBOUNDS: UpdateBounds(); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (OnKeyDown(wParam)) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(FHandle, nullptr, FALSE); return 0;  // the focus rectangle comes or goes
    case WM_UPDATEUISTATE:
      DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT object = FAccessible.AnswerGetObject(wParam, lParam)) return object;
      break;
    case WM_DESTROY: FAccessible.Disconnect(); break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TkoControl::DoSizingMoving(WPARAM, RECT* rect) {
  const TkoBox bounds = BoundsFromSizingRect({rect->left, rect->top, rect->right, rect->bottom});
  FLeft = bounds.X;
  FTop = bounds.Y;
  FWidth = bounds.Width;
  FHeight = bounds.Height;
  return TRUE;
}

void TkoControl::DoSize(int32_t width, int32_t height) {
  FWidth = width;
  FHeight = height;
}

void TkoControl::DoMove(int32_t left, int32_t top) {
  FLeft = left;
  FTop = top;
}

LRESULT TkoControl::DoEraseBackground(HDC) { return 0; }

void TkoControl::DoKeyStep(TSliderStep) {}

void TkoControl::NotifyValueChange() { FAccessible.NotifyValueChange(); }

void TkoControl::DrawFocusCue(HDC dc, const RECT& rect) const {
  if (GetFocus() != FHandle) return;
  if ((SendMessageW(FHandle, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0) return;
  DrawFocusRect(dc, &rect);
}

std::wstring TkoControl::AccessibleName() const {
  return ScreenReaderName ? Utf8ToWide(ScreenReaderName()) : std::wstring();
}

std::wstring TkoControl::AccessibleValue() const {
  return ScreenReaderValue ? Utf8ToWide(ScreenReaderValue()) : std::wstring();
}

// Left and Down step back, Right and Up forward, as the system's trackbar does.
bool TkoControl::OnKeyDown(WPARAM key) {
  TSliderStep step = TSliderStep::kNone;
  switch (key) {
    case VK_LEFT:
    case VK_DOWN: step = TSliderStep::kLineBack; break;
    case VK_RIGHT:
    case VK_UP: step = TSliderStep::kLineForward; break;
    case VK_NEXT: step = TSliderStep::kPageBack; break;
    case VK_PRIOR: step = TSliderStep::kPageForward; break;
    case VK_HOME: step = TSliderStep::kToStart; break;
    case VK_END: step = TSliderStep::kToEnd; break;
    default: return false;
  }
  ShowKeyboardCues(FHandle);
  if (FEnabled) DoKeyStep(step);
  return true;
}

bool TkoControl::RunOwnerHandler(const std::function<void()>& handler) {
  const std::shared_ptr<bool> alive = FAlive;
  handler();
  return *alive;
}
