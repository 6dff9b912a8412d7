#include "app/about_box_win.h"

#include <shellapi.h>

#include <string>

#include "app/about_box.h"
#include "app/fixed_texts.h"
#include "platform/gdi_holders_win.h"
#include "controls/ko_common_win.h"
#include "app/screen_scale_win.h"
#include "platform/wide_text_win.h"

namespace {
constexpr wchar_t kLinkClass[] = L"Link";
constexpr COLORREF kLineColour = RGB(128, 128, 136);
constexpr COLORREF kShadowColour = RGB(160, 160, 160);
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

void WriteText(HDC dc, TkoPoint at, const char* text) {
  const std::wstring wide = Utf8ToWide(text);
  TextOutW(dc, at.X, at.Y, wide.c_str(), static_cast<int>(wide.size()));
}

void DrawTextInto(HDC dc, const TkoRect& rect, const char* text, UINT format) {
  const std::wstring wide = Utf8ToWide(text);
  RECT area = ToWinRect(rect);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area, format);
}

// One opening of the box: the dialog and the drawing objects it owns until it closes.
class TAboutBox {
public:
  explicit TAboutBox(TUiLanguage language) : FTexts(FixedTexts(language)) {}
  void Open(HWND dialog);
  void Paint() const;
  void PaintLink(HWND link) const;
  void Close();

private:
  void CreateChildren(HINSTANCE instance);
  void DrawTitle(HDC dc) const;

  const TFixedTexts& FTexts;
  HWND FDialog = nullptr;
  TAboutLayout FLayout;
  TScreenScale FScale;
  TGdiObject<HBRUSH> FBackground;
  TGdiObject<HPEN> FLinePen;
  TGdiObject<HFONT> FTitleFont;
  TGdiObject<HFONT> FTextFont;
  TGdiObject<HFONT> FLinkFont;
};

void TAboutBox::Open(HWND dialog) {
  FDialog = dialog;
  RECT client;
  GetClientRect(dialog, &client);
  FLayout = AboutLayout(client.right - client.left, client.bottom - client.top);
  FBackground = TGdiObject<HBRUSH>(CreateSolidBrush(RGB(255, 255, 255)));
  FLinePen = TGdiObject<HPEN>(CreatePen(PS_SOLID, 1, kLineColour));
  SetWindowTextW(dialog, Utf8ToWide(FTexts.AboutCaption).c_str());
  CreateChildren(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)));
  // The system scales the dialog with the screen; its fonts follow.
  FScale = WindowScale(dialog);
  FTitleFont = CreateFontByName("Times New Roman", FScale.Px(32), kFontBold);
  FTextFont = CreateFontByName("Tahoma", FScale.Px(14), 0);
  FLinkFont = CreateFontByName("Tahoma", FScale.Px(14), kFontUnderline);
}

LRESULT CALLBACK LinkWindowProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam);

void TAboutBox::CreateChildren(HINSTANCE instance) {
  const TkoBox& button = FLayout.Button;
  HWND close = CreateWindowExW(0, L"BUTTON", Utf8ToWide(FTexts.AboutCloseButton).c_str(), WS_CHILD | WS_VISIBLE | BS_FLAT,
                               button.X, button.Y, button.Width, button.Height, FDialog,
                               reinterpret_cast<HMENU>(IDOK), instance, nullptr);
  // The button's own default, the system font, has no Cyrillic outside Russian systems.
  SendMessageW(close, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

  WNDCLASSW linkClass{};
  linkClass.style = CS_VREDRAW | CS_HREDRAW;
  linkClass.lpfnWndProc = LinkWindowProc;
  linkClass.hInstance = instance;
  linkClass.hCursor = LoadCursorW(nullptr, IDC_HAND);
  linkClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  linkClass.lpszClassName = kLinkClass;
  RegisterClassW(&linkClass);  // fails harmlessly when the box was opened before

  const TkoBox& link = FLayout.Link;
  CreateWindowExW(0, kLinkClass, L"", WS_CHILD | WS_VISIBLE, link.X, link.Y, link.Width, link.Height, FDialog,
                  nullptr, instance, this);
}

void TAboutBox::Paint() const {
  TWindowDC window(FDialog);
  const HDC dc = window.Get();
  RECT client;
  GetClientRect(FDialog, &client);
  FillRect(dc, &client, FBackground.Get());
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(FDialog, GWLP_HINSTANCE));
  DrawIcon(dc, FLayout.Icon.X, FLayout.Icon.Y, LoadIconW(instance, L"MAINICON"));
  {
    TSelection pen(dc, FLinePen.Get());
    MoveToEx(dc, FLayout.LineFrom.X, FLayout.LineFrom.Y, nullptr);
    LineTo(dc, FLayout.LineTo.X, FLayout.LineTo.Y);
  }
  WriteText(dc, FLayout.Version, kAboutVersion);  // in the context's own font and colours
  TSelection textFont(dc, FTextFont.Get());
  DrawTextInto(dc, FLayout.Author, kAboutAuthor, 0);
  DrawTextInto(dc, FLayout.Notice, FTexts.AboutNotice, 0);
  DrawTitle(dc);
}

// The name twice: grey 2 pixels right and down, then black, which gives it a shadow.
void TAboutBox::DrawTitle(HDC dc) const {
  SetBkMode(dc, TRANSPARENT);
  TSelection titleFont(dc, FTitleFont.Get());
  SetTextColor(dc, kShadowColour);
  const int32_t shadow = FScale.Px(2);
  WriteText(dc, {FLayout.Title.X + shadow, FLayout.Title.Y + shadow}, kAboutTitle);
  SetTextColor(dc, RGB(0, 0, 0));
  WriteText(dc, FLayout.Title, kAboutTitle);
}

void TAboutBox::PaintLink(HWND link) const {
  TWindowDC window(link);
  const HDC dc = window.Get();
  TSelection font(dc, FLinkFont.Get());
  SetTextColor(dc, kLinkColour);
  SetBkMode(dc, TRANSPARENT);
  RECT client;
  GetClientRect(link, &client);
  DrawTextInto(dc, {client.left, client.top, client.right, client.bottom}, kMakerWebAddress, DT_VCENTER);
}

void TAboutBox::Close() {
  FBackground.Reset();
  FLinePen.Reset();
  FTitleFont.Reset();
  FTextFont.Reset();
  FLinkFont.Reset();
  EndDialog(FDialog, 1);
}

TAboutBox* BoxOfLink(HWND link) { return reinterpret_cast<TAboutBox*>(GetWindowLongPtrW(link, GWLP_USERDATA)); }

void RememberBox(HWND link, LPARAM createParameters) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(createParameters);
  SetWindowLongPtrW(link, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

void PaintLinkLabel(HWND link) {
  DefWindowProcW(link, WM_PAINT, 0, 0);  // erases and validates
  if (const TAboutBox* box = BoxOfLink(link)) box->PaintLink(link);
}

void OpenMakerWebAddress(HWND link) {
  ShellExecuteW(GetParent(link), nullptr, Utf8ToWide(kMakerWebAddress).c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

LRESULT CALLBACK LinkWindowProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      RememberBox(link, lParam);
      return DefWindowProcW(link, message, wParam, lParam);
    case WM_PAINT:
      PaintLinkLabel(link);
      return 0;
    case WM_LBUTTONDOWN:
      OpenMakerWebAddress(link);
      return 0;
    default:
      return DefWindowProcW(link, message, wParam, lParam);
  }
}

TAboutBox* BoxOfDialog(HWND dialog) { return reinterpret_cast<TAboutBox*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void OpenBox(HWND dialog, LPARAM box) {
  SetWindowLongPtrW(dialog, DWLP_USER, box);
  BoxOfDialog(dialog)->Open(dialog);
}

void PaintBox(HWND dialog) {
  if (const TAboutBox* box = BoxOfDialog(dialog)) box->Paint();
}

// Identifier 1 is the Close button and Enter, 2 is Esc and the close box.
bool CloseOnCommand(HWND dialog, int command) {
  TAboutBox* box = BoxOfDialog(dialog);
  if (box == nullptr || (command != IDOK && command != IDCANCEL)) return false;
  box->Close();
  return true;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OpenBox(dialog, lParam);
      return FALSE;
    case WM_PAINT:
      PaintBox(dialog);
      return FALSE;  // the dialog's default handling validates
    case WM_ERASEBKGND:
      return TRUE;  // the painting fills the background
    case WM_COMMAND:
      return CloseOnCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}
}  // namespace

bool ShowAboutBox(HWND owner, TUiLanguage language) {
  TAboutBox box(language);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  return DialogBoxParamW(instance, L"ABOUTBOX", owner, AboutDialogProc, reinterpret_cast<LPARAM>(&box)) > 0;
}
