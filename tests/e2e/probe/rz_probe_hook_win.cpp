// The part of rz_probe that runs inside the program under test: menus belong to the
// process that made them, so under Wine another process cannot read them. rz_probe
// hooks the program's message retrieval for a moment with this library; the hook reads
// the asked-for menu there and sends it back as text. It changes nothing it sees, but
// for the one request that plays the system's part when a window moves to a screen of
// another scale (which also leaves the DPI it told on the window, for the next).
#include <windows.h>

#include <string>

#include "probe_text_win.h"

namespace {
std::string ItemState(const MENUITEMINFOW& item) {
  std::string state = (item.fState & MFS_DISABLED) ? "grayed" : "enabled";
  if (item.fState & MFS_CHECKED) state += ",checked";
  if (item.fType & MFT_SEPARATOR) state += ",separator";
  if (item.hSubMenu != nullptr) state += ",popup";
  return state;
}

// One line per item: position path ("2" on the bar, "2.1" in its drop-down), state, text.
void AppendMenuLines(HMENU menu, const std::string& path, std::string& out) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    wchar_t text[512] = L"";
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = UINT(std::size(text));
    if (!GetMenuItemInfoW(menu, UINT(position), TRUE, &item)) continue;
    const std::string here = path + std::to_string(position);
    out += here + "\t" + ItemState(item) + "\t" + Escaped(text) + "\n";
    if (item.hSubMenu != nullptr) AppendMenuLines(item.hSubMenu, here + ".", out);
  }
}

// The DPI a window was last told it has (kept on the window), else the system's.
constexpr wchar_t kToldDpi[] = L"rz_probe.dpi";
int WindowDpi(HWND window) {
  const auto told = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(window, kToldDpi)));
  return told > 0 ? told : static_cast<int>(GetDpiForWindow(window));
}

// WM_DPICHANGED as the system sends it: the new DPI twice in wParam, and a suggested
// window rectangle at the same place, its size scaled from the window's DPI to the new
// (the DPI it was told last: the system's stays the prefix's). Answers with the
// rectangle the window then has.
std::string ChangeScreenDpi(HWND window, int dpi) {
  RECT r{};
  GetWindowRect(window, &r);
  const int old = WindowDpi(window);
  RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, old), r.top + MulDiv(r.bottom - r.top, dpi, old)};
  SetPropW(window, kToldDpi, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  GetWindowRect(window, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "\n";
}

void Answer(const MSG& request) {
  if (request.lParam > kProbeScreenDpi) {
    const std::string rect = ChangeScreenDpi(request.hwnd, static_cast<int>(request.lParam - kProbeScreenDpi));
    COPYDATASTRUCT data{1, DWORD(rect.size()), const_cast<char*>(rect.data())};
    SendMessageTimeoutW(reinterpret_cast<HWND>(request.wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return;
  }
  HMENU menu = request.lParam == kProbeOpenMenu
                   ? reinterpret_cast<HMENU>(SendMessageW(request.hwnd, MN_GETHMENU, 0, 0))
                   : GetMenu(request.hwnd);
  std::string lines;
  if (menu != nullptr) AppendMenuLines(menu, "", lines);
  COPYDATASTRUCT data{};
  data.dwData = menu != nullptr ? 1 : 0;
  data.cbData = DWORD(lines.size());
  data.lpData = lines.data();
  SendMessageTimeoutW(reinterpret_cast<HWND>(request.wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
}
}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK RzProbeGetMessageHook(int code, WPARAM removal, LPARAM message) {
  auto* msg = reinterpret_cast<MSG*>(message);
  if (code == HC_ACTION && removal == PM_REMOVE && msg->message == ProbeMenuMessage()) {
    Answer(*msg);
    msg->message = WM_NULL;  // the program never sees the request
  }
  return CallNextHookEx(nullptr, code, removal, message);
}
