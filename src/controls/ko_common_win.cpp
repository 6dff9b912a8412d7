#include "controls/ko_common_win.h"

#include <cstdio>

#include "platform/wide_text_win.h"

namespace {
// The one font description CreateFontByName fills; all zero before the first call.
LOGFONTW fontDescription{};

struct FontSearch {
  std::wstring FullName;
  bool Found = false;
};

int CALLBACK CopyMatchingFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* search = reinterpret_cast<FontSearch*>(data);
  const auto* named = reinterpret_cast<const ENUMLOGFONTW*>(font);
  if (search->FullName != named->elfFullName) return 1;  // go on
  fontDescription = named->elfLogFont;
  search->Found = true;
  return 0;  // the first match ends the enumeration
}

// Copies the first installed font named exactly `face` into the description. Without
// one, the description asks for `face` by name and keeps its other fields, so that the
// system picks the same nearest face at every call whatever was created before.
void FindInstalledFont(const std::wstring& face) {
  TScreenDC screen;
  FontSearch search{face};
  EnumFontFamiliesW(screen.Get(), face.c_str(), CopyMatchingFont, reinterpret_cast<LPARAM>(&search));
  if (!search.Found) lstrcpynW(fontDescription.lfFaceName, face.c_str(), LF_FACESIZE);
}

void ApplyHeightAndStyle(int32_t height, unsigned style) {
  const TkoFontTraits traits = FontTraitsFromStyle(style);
  fontDescription.lfHeight = height;
  fontDescription.lfWidth = 0;
  fontDescription.lfCharSet = DEFAULT_CHARSET;
  fontDescription.lfWeight = traits.Weight;
  fontDescription.lfItalic = traits.Italic ? TRUE : FALSE;
  fontDescription.lfUnderline = traits.Underline ? TRUE : FALSE;
  fontDescription.lfStrikeOut = traits.StrikeOut ? TRUE : FALSE;
}
}  // namespace

bool SetMenuText(HMENU menu, int position, const std::string& text) {
  if (!MenuTextReplacesItem(text)) return false;
  std::wstring wide = Utf8ToWide(text);
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_TYPE;
  item.fType = MFT_STRING;
  item.dwTypeData = wide.data();
  item.cch = static_cast<UINT>(wide.size() + 1);
  if (SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) return true;
  MessageBoxW(nullptr, L"SetMenuText: SetMenuItemInfo error", L"Debug", MB_OK);
  return false;
}

TGdiObject<HBITMAP> SetButtonBitmap(HWND button, TGdiObject<HBITMAP> picture) {
  if (picture) SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Get()));
  return picture;
}

bool RegisterPaneClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = className;
  return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void ShowPaneError(HWND window, const char* pane, UINT message) {
  char text[96];
  std::snprintf(text, sizeof text, "%s: WndProc error: Msg = %u", pane, message);
  MessageBoxW(window, Utf8ToWide(text).c_str(), L"Error", MB_OK);
}

void SetButtonCheck(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

RECT ToWinRect(const TkoRect& rect) { return RECT{rect.Left, rect.Top, rect.Right, rect.Bottom}; }

TGdiObject<HFONT> CreateFontByName(const std::string& face, int32_t height, unsigned style) {
  FindInstalledFont(Utf8ToWide(face));
  ApplyHeightAndStyle(height, style);
  return TGdiObject<HFONT>(CreateFontIndirectW(&fontDescription));
}

void ShowKeyboardCues(HWND window) {
  const HWND root = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
  if (root != nullptr) SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}
