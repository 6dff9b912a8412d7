// Start-up and the message loop: registers the main window class, opens the main
// window and runs the one message loop until the window is destroyed.
#include <windows.h>

#include "app/main_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  if (!RegisterMainWindowClass(instance)) return 1;
  HWND window = CreateMainWindow(instance);
  if (window == nullptr) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
