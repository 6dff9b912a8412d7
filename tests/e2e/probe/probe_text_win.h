#pragma once
// Text helpers shared by rz_probe and its hook library: UTF-8 output with the control
// characters of window and menu texts written as escapes.
#include <windows.h>

#include <string>

inline std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), length, nullptr, nullptr);
  return out;
}

// Backslash, tab, CR, LF and backspace become \\ \t \r \n \b.
inline std::string Escaped(const std::wstring& text) {
  std::string out;
  for (const char c : Utf8(text)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\b': out += "\\b"; break;
      default: out += c;
    }
  }
  return out;
}

// The message rz_probe posts to a window of the program under test; its hook answers
// with the menu as text in WM_COPYDATA to the window in wParam. lParam says which menu,
// or (kProbeScreenDpi + DPI) that the window is to be told, as the system tells it when
// the window reaches a screen of that DPI, that its scale changed.
inline UINT ProbeMenuMessage() { return RegisterWindowMessageW(L"rz_probe.menu"); }
constexpr LPARAM kProbeMenuBar = 0;    // the menu bar of the window the message is for
constexpr LPARAM kProbeOpenMenu = 1;   // the menu shown by the menu window (#32768) it is for
constexpr LPARAM kProbeScreenDpi = 0x10000;
