#include "platform/screen_dpi_win.h"

#include "platform/gdi_holders_win.h"

namespace {
int32_t ScreenLogPixels() {
  const TScreenDC screen;
  return screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
}

template <typename TFunction>
TFunction Lookup(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  // GetProcAddress returns a generic function pointer; the name fixes its real type.
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}
}  // namespace

TDpiQueries LoadDpiQueries(HMODULE library) {
  TDpiQueries queries;
  queries.ForWindow = Lookup<decltype(queries.ForWindow)>(library, "GetDpiForWindow");
  queries.ForSystem = Lookup<decltype(queries.ForSystem)>(library, "GetDpiForSystem");
  return queries;
}

const TDpiQueries& SystemDpiQueries() {
  static const TDpiQueries queries = LoadDpiQueries(GetModuleHandleW(L"user32.dll"));
  return queries;
}

int32_t WindowDpi(HWND window, const TDpiQueries& queries) {
  const UINT dpi = queries.ForWindow != nullptr ? queries.ForWindow(window) : 0;
  return dpi != 0 ? static_cast<int32_t>(dpi) : ScreenLogPixels();
}

int32_t SystemDpi(const TDpiQueries& queries) {
  const UINT dpi = queries.ForSystem != nullptr ? queries.ForSystem() : 0;
  return dpi != 0 ? static_cast<int32_t>(dpi) : ScreenLogPixels();
}
