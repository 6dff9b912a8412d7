#include "app/main_window_win.h"

#include "app/about_box_win.h"
#include "app/command_ids.h"

namespace {
constexpr wchar_t kClassName[] = L"KOAPP";
constexpr wchar_t kTitle[] = L"roRezodu";

void OnCommand(HWND window, int command) {
  if (command == CM_EXIT) DestroyWindow(window);
  if (command == CM_ABOUT) ShowAboutBox(window);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  HMENU menu = LoadMenuW(instance, L"KOAPP");
  return CreateWindowExW(WS_EX_ACCEPTFILES, kClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 600,
                         400, nullptr, menu, instance, nullptr);
}
