// rz_probe: what a user sees on the Windows desktop, as plain lines, for the end-to-end
// tests. Run under Wine next to the program under test; it only looks (and, for
// `click`, presses a dialog button as a mouse click would).
//
//   rz_probe windows                  every visible top-level window
//   rz_probe window TITLE             the visible top-level window titled TITLE
//   rz_probe boxes                    every visible dialog box (#32770)
//   rz_probe menu TITLE               the menu bar of the window titled TITLE
//   rz_probe popup                    the open drop-down or context menu
//   rz_probe client TITLE             its client area in screen coordinates
//   rz_probe click TITLE BUTTON       clicks the button BUTTON (its text as shown, without
//                                     the access key's mark) of the dialog titled TITLE
//   rz_probe wait TITLE [SECONDS]     waits until a window titled TITLE is visible
//   rz_probe gone TITLE [SECONDS]     waits until no window titled TITLE is visible
//   rz_probe shown TITLE SECONDS      watches the window titled TITLE for SECONDS, looking
//                                     every millisecond: prints "watching" once it has it,
//                                     then "hidden H of N looks"; 1 when it was ever hidden
//   rz_probe children TITLE           every window inside the window titled TITLE
//   rz_probe focus TITLE              the window that has the keyboard focus in its program
//   rz_probe dpi TITLE DPI            tells the window, as the system does when it reaches a
//                                     screen of that DPI, that its scale changed
//                                     (WM_DPICHANGED, its size scaled from the DPI it was
//                                     told last); prints its window rectangle then
//   rz_probe accessible TITLE         every window inside TITLE that has an accessible
//                                     object of its own, asked from this process as a
//                                     screen reader asks: class, name and value
//   rz_probe alert SECONDS            waits for an alert (EVENT_SYSTEM_ALERT), as a screen
//                                     reader hears of it: prints "watching" once it listens,
//                                     then the class and text of the alert's window
//   rz_probe tips                     the text of every tooltip on show
//   rz_probe close TITLE              asks every window titled TITLE to close (WM_CLOSE), all
//                                     at once, as a session ending does
//   rz_probe hold FILE WHILE          opens FILE sharing nothing, as a sync client or a
//                                     virus scanner does, prints "held" and holds it while
//                                     the file WHILE exists
//
// Lines are UTF-8, fields separated by tabs; in texts a backslash, tab, CR, LF and
// backspace are written \\ \t \r \n \b. Handles are hexadecimal. Exit code 0 when what
// was asked for was found, 1 when not, 2 for a wrong command line.
//
// Menus are read inside the program (rz_probe_hook.dll, beside rz_probe.exe): Wine
// keeps a menu in the process that made it.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <oleacc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "probe_text_win.h"

namespace {
constexpr double kDefaultWaitSeconds = 20;

std::string Hex(const void* handle) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
  return text;
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

void PrintLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + fields[i];
  line += "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

// A top-level window's title, as the system keeps it (no message to a busy program).
std::wstring TitleOf(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, int(std::size(text)));
  return text;
}

// A control's text: GetWindowText does not read controls of other processes, WM_GETTEXT does.
std::wstring WindowText(HWND window) {
  wchar_t text[4096] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, int(std::size(name)));
  return name;
}

std::vector<HWND> VisibleTopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND FindByTitle(const std::wstring& title) {
  for (HWND window : VisibleTopLevelWindows())
    if (TitleOf(window) == title) return window;
  return nullptr;
}

// Why no shown window has the title: the hidden ones that have it, with their styles,
// and how many windows are shown at all.
void TellWhyNotFound(const std::wstring& title) {
  struct TLook {
    const std::wstring& Title;
    int Shown = 0;
  } look{title};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& look = *reinterpret_cast<TLook*>(data);
        if (IsWindowVisible(window)) ++look.Shown;
        if (TitleOf(window) == look.Title)
          std::fprintf(stderr, "rz_probe: %s titled so, style %08lx, shown %d\n", Hex(window).c_str(),
                       static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)), IsWindowVisible(window) ? 1 : 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&look));
  std::fprintf(stderr, "rz_probe: no shown window titled so, of %d shown\n", look.Shown);
}

const char* ShowState(HWND window) {
  if (IsIconic(window)) return "minimised";
  return IsZoomed(window) ? "maximised" : "normal";
}

// handle, class, window rectangle, owner, title, minimised|maximised|normal
void PrintWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  PrintLine({Hex(window), Escaped(ClassOf(window)), RectText(r), Hex(GetWindow(window, GW_OWNER)),
             Escaped(TitleOf(window)), ShowState(window)});
}

int ListWindows() {
  for (HWND window : VisibleTopLevelWindows()) PrintWindow(window);
  return 0;
}

// A tooltip answers WM_GETTEXT with the tip it shows.
int ListTips() {
  int found = 0;
  for (HWND window : VisibleTopLevelWindows())
    if (ClassOf(window) == L"tooltips_class32") std::puts(Escaped(WindowText(window)).c_str()), ++found;
  return found > 0 ? 0 : 1;
}

bool IsStaticText(HWND control) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const LONG kind = style & SS_TYPEMASK;
  return kind != SS_ICON && kind != SS_BITMAP && kind != SS_ENHMETAFILE && kind != SS_ETCHEDFRAME;
}

// handle, caption, text (the static texts joined by \n), buttons joined by |
int ListBoxes() {
  int found = 0;
  for (HWND window : VisibleTopLevelWindows()) {
    if (ClassOf(window) != L"#32770") continue;
    std::wstring text, buttons;
    for (HWND child : ChildWindows(window)) {
      const std::wstring kind = ClassOf(child);
      if (_wcsicmp(kind.c_str(), L"Static") == 0 && IsStaticText(child) && !WindowText(child).empty())
        text += (text.empty() ? L"" : L"\n") + WindowText(child);
      else if (_wcsicmp(kind.c_str(), L"Button") == 0 && IsWindowVisible(child))
        buttons += (buttons.empty() ? L"" : L"|") + WindowText(child);
    }
    PrintLine({Hex(window), Escaped(TitleOf(window)), Escaped(text), Escaped(buttons)});
    ++found;
  }
  return found > 0 ? 0 : 1;
}

// Receives the hook's answer (WM_COPYDATA) in rz_probe's own message-only window.
struct MenuAnswer {
  bool Arrived = false;
  bool HasMenu = false;
  std::string Lines;
};
MenuAnswer menuAnswer;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  menuAnswer.Arrived = true;
  menuAnswer.HasMenu = data->dwData == 1;
  menuAnswer.Lines.assign(static_cast<const char*>(data->lpData), data->cbData);
  return TRUE;
}

HWND CreateReceiver() {
  WNDCLASSW receiverClass{};
  receiverClass.lpfnWndProc = ReceiverProc;
  receiverClass.hInstance = GetModuleHandleW(nullptr);
  receiverClass.lpszClassName = L"rz_probe.receiver";
  RegisterClassW(&receiverClass);
  return CreateWindowExW(0, receiverClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         receiverClass.hInstance, nullptr);
}

std::wstring HookLibraryPath() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"rz_probe_hook.dll";
}

// Asks the program that owns `window` for a menu (kProbeMenuBar, kProbeOpenMenu) and
// prints its lines. Returns 0 when the window has that menu, 1 otherwise.
int AskForMenu(HWND window, LPARAM which) {
  HMODULE library = LoadLibraryW(HookLibraryPath().c_str());
  FARPROC exported = library ? GetProcAddress(library, "RzProbeGetMessageHook") : nullptr;
  auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(exported));
  if (hook == nullptr) {
    std::fputs("rz_probe: cannot load rz_probe_hook.dll\n", stderr);
    return 2;
  }
  HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, hook, library, GetWindowThreadProcessId(window, nullptr));
  HWND receiver = CreateReceiver();
  PostMessageW(window, ProbeMenuMessage(), reinterpret_cast<WPARAM>(receiver), which);
  const ULONGLONG end = GetTickCount64() + 5000;
  while (!menuAnswer.Arrived && GetTickCount64() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  UnhookWindowsHookEx(installed);
  DestroyWindow(receiver);
  if (!menuAnswer.HasMenu || menuAnswer.Lines.empty()) return 1;
  std::fwrite(menuAnswer.Lines.data(), 1, menuAnswer.Lines.size(), stdout);
  return 0;
}

int ShowOpenMenu() {
  for (HWND window : VisibleTopLevelWindows())
    if (ClassOf(window) == L"#32768") return AskForMenu(window, kProbeOpenMenu);
  return 1;
}

// left, top (screen), width, height of the client area
int ShowClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  PrintLine({std::to_string(origin.x), std::to_string(origin.y), std::to_string(client.right),
             std::to_string(client.bottom)});
  return 0;
}

// A button's text as the user reads it: its access key's "&" left out, "&&" shown as "&".
std::wstring ShownText(const std::wstring& text) {
  std::wstring shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

int ClickButton(HWND window, const std::wstring& label) {
  for (HWND child : ChildWindows(window)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"Button") != 0 || ShownText(WindowText(child)) != label) continue;
    PostMessageW(child, BM_CLICK, 0, 0);
    return 0;
  }
  return 1;
}

int WaitFor(const std::wstring& title, double seconds, bool present) {
  const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds * 1000);
  for (;;) {
    if ((FindByTitle(title) != nullptr) == present) return 0;
    if (GetTickCount64() >= end) return 1;
    Sleep(50);
  }
}

int WatchShown(const std::wstring& title, double seconds) {
  HWND window = FindByTitle(title);
  if (window == nullptr) return 1;
  std::puts("watching");
  std::fflush(stdout);
  const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds * 1000);
  uint64_t looks = 0, hidden = 0;
  while (GetTickCount64() < end) {
    ++looks;
    if (!IsWindowVisible(window)) ++hidden;
    Sleep(1);  // about a look a millisecond, leaving the processor to the program watched
  }
  std::printf("hidden %llu of %llu looks\n", static_cast<unsigned long long>(hidden),
              static_cast<unsigned long long>(looks));
  return hidden == 0 ? 0 : 1;
}

// A window inside `top`: handle, class, child id, rectangle in top's client
// coordinates, visible (1) or hidden (0), text.
void PrintChild(HWND top, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
  PrintLine({Hex(child), Escaped(ClassOf(child)), std::to_string(GetDlgCtrlID(child)), RectText(r),
             IsWindowVisible(child) ? "1" : "0", Escaped(WindowText(child))});
}

int ListChildren(HWND window) {
  for (HWND child : ChildWindows(window)) PrintChild(window, child);
  return 0;
}

// A text of an accessible object's own (not a child's); "<none>" when it gives none.
std::string AccessibleText(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  std::string value = "<none>";
  if ((object->*get)(self, &text) == S_OK && text != nullptr) value = Escaped(std::wstring(text, SysStringLen(text)));
  SysFreeString(text);
  return value;
}

// The windows whose program answers WM_GETOBJECT for their client object; the answer
// crosses into this process as it does into a screen reader's.
int ListAccessible(HWND window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int found = 0;
  for (HWND child : ChildWindows(window)) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(child, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG, 5000,
                             &answer) ||
        static_cast<LRESULT>(answer) <= 0)
      continue;
    void* object = nullptr;
    const HRESULT result = ObjectFromLresult(static_cast<LRESULT>(answer), __uuidof(IAccessible), 0, &object);
    if (FAILED(result)) {
      std::printf("%s\tno object (0x%08lx)\n", Escaped(ClassOf(child)).c_str(), static_cast<unsigned long>(result));
      continue;
    }
    auto* accessible = static_cast<IAccessible*>(object);
    PrintLine({Escaped(ClassOf(child)), AccessibleText(accessible, &IAccessible::get_accName),
               AccessibleText(accessible, &IAccessible::get_accValue)});
    accessible->Release();
    ++found;
  }
  return found > 0 ? 0 : 1;
}

// The focused window of the window's program, as `children` prints it; 1 when none is.
int ShowFocus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || info.hwndFocus == nullptr) return 1;
  PrintChild(window, info.hwndFocus);
  return 0;
}

int CloseAll(const std::wstring& title) {
  int found = 0;
  for (HWND window : VisibleTopLevelWindows())
    if (TitleOf(window) == title) PostMessageW(window, WM_CLOSE, 0, 0), ++found;
  return found > 0 ? 0 : 1;
}

int HoldFile(const std::wstring& path, const std::wstring& whileExists) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::puts("held");
  std::fflush(stdout);
  while (GetFileAttributesW(whileExists.c_str()) != INVALID_FILE_ATTRIBUTES) Sleep(50);
  CloseHandle(file);
  return 0;
}

HWND alerted = nullptr;
void CALLBACK RecordAlert(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
  if (alerted == nullptr) alerted = window;
}

int WaitForAlert(double seconds) {
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, RecordAlert, 0, 0, WINEVENT_OUTOFCONTEXT);
  if (hook == nullptr) return 1;
  std::puts("watching");
  std::fflush(stdout);
  const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds * 1000);
  while (alerted == nullptr && GetTickCount64() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  UnhookWinEvent(hook);
  if (alerted == nullptr) return 1;
  PrintLine({Escaped(ClassOf(alerted)), Escaped(WindowText(alerted))});
  return 0;
}

int Usage() {
  std::fputs("usage: rz_probe windows | window T | boxes | menu T | popup | client T | click T BUTTON | tips\n"
             "       rz_probe wait T [SECONDS] | gone T [SECONDS] | shown T SECONDS | children T | focus T\n"
             "       rz_probe dpi T DPI | accessible T | alert SECONDS\n"
             "       rz_probe close T | hold FILE WHILE\n",
             stderr);
  return 2;
}

int Run(const std::vector<std::wstring>& args) {
  if (args.empty()) return Usage();
  const std::wstring& command = args[0];
  const size_t n = args.size();
  const double seconds = n > 2 ? _wtof(args[2].c_str()) : kDefaultWaitSeconds;
  if (command == L"windows" && n == 1) return ListWindows();
  if (command == L"tips" && n == 1) return ListTips();
  if (command == L"boxes" && n == 1) return ListBoxes();
  if (command == L"popup" && n == 1) return ShowOpenMenu();
  if (command == L"wait" && (n == 2 || n == 3)) return WaitFor(args[1], seconds, true);
  if (command == L"gone" && (n == 2 || n == 3)) return WaitFor(args[1], seconds, false);
  if (command == L"shown" && n == 3) return WatchShown(args[1], seconds);
  if (command == L"alert" && n == 2) return WaitForAlert(_wtof(args[1].c_str()));
  if (command == L"close" && n == 2) return CloseAll(args[1]);
  if (command == L"hold" && n == 3) return HoldFile(args[1], args[2]);
  // The other commands look at the window titled args[1]: 1 when there is none.
  const bool known = (n == 2 && (command == L"window" || command == L"menu" || command == L"client" ||
                                 command == L"children" || command == L"focus" || command == L"accessible")) ||
                     (n == 3 && (command == L"click" || command == L"dpi"));
  if (!known) return Usage();
  HWND window = FindByTitle(args[1]);
  if (window == nullptr) return TellWhyNotFound(args[1]), 1;
  if (command == L"window") return PrintWindow(window), 0;
  if (command == L"menu") return AskForMenu(window, kProbeMenuBar);
  if (command == L"client") return ShowClient(window);
  if (command == L"click") return ClickButton(window, args[2]);
  if (command == L"dpi") return AskForMenu(window, kProbeScreenDpi + _wtoi(args[2].c_str()));
  if (command == L"children") return ListChildren(window);
  if (command == L"accessible") return ListAccessible(window);
  return ShowFocus(window);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // UTF-8 bytes and \n as they are
  const int result = Run(std::vector<std::wstring>(argv + 1, argv + argc));
  std::fflush(stdout);
  // The answer is complete: Wine may still abort the process as it ends.
  std::fprintf(stderr, "rz_probe: answered %d\n", result);
  return result;
}
