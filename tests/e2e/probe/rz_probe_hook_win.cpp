// The part of rz_probe that runs inside the program under test: menus belong to the
// process that made them, so under Wine another process cannot read them. rz_probe
// hooks the program's message retrieval for a moment with this library; the hook reads
// the asked-for menu there and sends it back as text. It changes nothing it sees.
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

void Answer(const MSG& request) {
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
