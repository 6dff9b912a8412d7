#include "app/about_box_win.h"

#include <string>
#include <vector>

#include "session/about_box.h"
#include "session/fixed_texts.h"
#include "session/license_notice.h"
#include "app/message_boxes_win.h"
#include "app/screen_scale_win.h"
#include "controls/ko_common_win.h"
#include "controls/scaled_gdi_win.h"
#include "platform/gdi_holders_win.h"
#include "platform/wide_text_win.h"

namespace {
// The design's separator line and the title's shadow; under high contrast the line is
// in the scheme's text colour and the title has no shadow.
constexpr COLORREF kLineColour = RGB(128, 128, 136);
constexpr COLORREF kShadowColour = RGB(160, 160, 160);

// The texts are owner-drawn static children, each as large as what it shows: the
// system clips each to its own place, and a reader of the box finds them as texts.
enum TAboutText : int { kTitleText = 101, kVersionText, kAuthorText, kNoticeText };
constexpr int kLicensesButton = 201;

// NOTICES as the build put it into the player (resource "NOTICES"); empty without it.
std::string BuiltInNotices() {
  const HRSRC found = FindResourceW(nullptr, L"NOTICES", MAKEINTRESOURCEW(10));  // RT_RCDATA
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

TkoSize TextSize(HDC dc, HFONT font, const std::wstring& text, bool lines) {
  const TSelection selected(dc, font);
  if (lines) {
    RECT area{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_CALCRECT);
    return {area.right - area.left, area.bottom - area.top};
  }
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

// The version is written in a device context's first font, the system font: a bitmap
// font 16 pixels high at 96 DPI, which no other scale gets in its size (Wine keeps it,
// stretched wide). Other screens write it in Tahoma Bold, as high as the scale makes
// those 16 pixels. Empty at 96 DPI.
TGdiObject<HFONT> VersionFontForScale(const TScreenScale& scale) {
  constexpr int32_t kSystemFontHeight = 16;
  if (scale == TScreenScale()) return {};
  return CreateFontByName("Tahoma", scale.Px(kSystemFontHeight), kFontBold);
}

// One opening of the box: the dialog and the drawing objects it owns until it closes.
class TAboutBox {
public:
  TAboutBox(TUiLanguage language, const TControlPalette& palette)
      : FLanguage(language), FTexts(FixedTexts(language)), FPalette(palette) {}
  void Open(HWND dialog);
  void Paint() const;
  void DrawPart(const DRAWITEMSTRUCT& item) const;
  void Close();
  void ShowLicenses() const;

private:
  void CreateFonts();
  TAboutMeasures Measure() const;
  void FitDialog(TkoSize client) const;
  void CreateChildren(HINSTANCE instance);
  void CreateText(HINSTANCE instance, TAboutText id, const TkoRect& place, const std::string& text);
  void CreateButton(HINSTANCE instance, int id, const TkoRect& place, const std::string& text);
  HFONT VersionFont() const;
  HFONT CloseFont() const;

  const TUiLanguage FLanguage;
  const TFixedTexts& FTexts;
  // The background and the texts: the design's white and black, or the scheme's.
  const TControlPalette FPalette;
  HWND FDialog = nullptr;
  TAboutLayout FLayout;
  TScreenScale FScale;
  TGdiObject<HBRUSH> FBackground;
  TGdiObject<HPEN> FLinePen;
  TGdiObject<HFONT> FTitleFont;
  TGdiObject<HFONT> FTextFont;
  // The version's system font and the button's dialog font, made for this screen when
  // the stock ones do not fit it.
  TGdiObject<HFONT> FVersionFont;
  TGdiObject<HFONT> FCloseFont;
};

void TAboutBox::Open(HWND dialog) {
  FDialog = dialog;
  // The system scales the dialog with the screen; its fonts and places follow.
  FScale = WindowScale(dialog);
  RECT client;
  GetClientRect(dialog, &client);
  CreateFonts();
  FLayout = AboutLayout({client.right - client.left, client.bottom - client.top}, FScale, Measure());
  FitDialog({client.right - client.left, client.bottom - client.top});
  FBackground = TGdiObject<HBRUSH>(CreateSolidBrush(FPalette.Background));
  FLinePen = CreateLinePen(FPalette.HighContrast ? FPalette.Lines : kLineColour, FLayout.LineWidth);
  SetWindowTextW(dialog, Utf8ToWide(FTexts.AboutCaption).c_str());
  CreateChildren(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)));
}

void TAboutBox::CreateFonts() {
  FTitleFont = CreateFontByName("Times New Roman", FScale.Px(32), kFontBold);
  FTextFont = CreateFontByName("Tahoma", FScale.Px(14), 0);
  FVersionFont = VersionFontForScale(FScale);
  FCloseFont = StockFontForScale(DEFAULT_GUI_FONT, FScale);
}

HFONT TAboutBox::VersionFont() const {
  return FVersionFont ? FVersionFont.Get() : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

// The button's own default, the system font, has no Cyrillic outside Russian systems.
HFONT TAboutBox::CloseFont() const {
  return FCloseFont ? FCloseFont.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TAboutMeasures TAboutBox::Measure() const {
  const TWindowDC window(FDialog);
  const HDC dc = window.Get();
  TAboutMeasures measures;
  measures.Icon = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  if (dc == nullptr) return measures;
  measures.Title = TextSize(dc, FTitleFont.Get(), Utf8ToWide(kAboutTitle), false);
  measures.Version = TextSize(dc, VersionFont(), Utf8ToWide(kAboutVersion), false);
  measures.Author = TextSize(dc, FTextFont.Get(), Utf8ToWide(kAboutAuthor), true);
  measures.Notice = TextSize(dc, FTextFont.Get(), Utf8ToWide(FTexts.AboutNotice), true);
  measures.Close = TextSize(dc, CloseFont(), Utf8ToWide(FTexts.AboutCloseButton), false);
  measures.Licenses = TextSize(dc, CloseFont(), Utf8ToWide(FTexts.AboutLicensesButton), false);
  return measures;
}

// The dialog grows (to the right and down) when its parts need more room.
void TAboutBox::FitDialog(TkoSize client) const {
  if (FLayout.Client == client) return;
  RECT window;
  GetWindowRect(FDialog, &window);
  SetWindowPos(FDialog, nullptr, 0, 0, window.right - window.left + FLayout.Client.Width - client.Width,
               window.bottom - window.top + FLayout.Client.Height - client.Height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAboutBox::CreateText(HINSTANCE instance, TAboutText id, const TkoRect& place, const std::string& text) {
  CreateWindowExW(0, L"STATIC", Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, place.Left, place.Top,
                  place.Right - place.Left, place.Bottom - place.Top, FDialog,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void TAboutBox::CreateButton(HINSTANCE instance, int id, const TkoRect& place, const std::string& text) {
  HWND button = CreateWindowExW(0, L"BUTTON", Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_FLAT,
                                place.Left, place.Top, place.Right - place.Left, place.Bottom - place.Top, FDialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(CloseFont()), FALSE);
}

// The buttons show their texts with their access keys; they were measured without.
void TAboutBox::CreateChildren(HINSTANCE instance) {
  const std::vector<std::string> buttons = AboutBoxButtons(FLanguage);
  CreateButton(instance, IDOK, FLayout.Close, buttons[0]);
  CreateText(instance, kTitleText, FLayout.Title, kAboutTitle);
  CreateText(instance, kVersionText, FLayout.Version, kAboutVersion);
  CreateText(instance, kAuthorText, FLayout.Author, kAboutAuthor);
  CreateText(instance, kNoticeText, FLayout.Notice, FTexts.AboutNotice);
  CreateButton(instance, kLicensesButton, FLayout.Licenses, buttons[1]);
}

void TAboutBox::ShowLicenses() const {
  ShowBox(FDialog, LicenseBoxText(BuiltInNotices(), "roRezodu.exe", FLanguage), FTexts.AboutLicensesButton,
          MB_OK | MB_ICONINFORMATION);
}

// The background, the icon and the separator line; the texts and the button draw
// themselves.
void TAboutBox::Paint() const {
  TWindowDC window(FDialog);
  const HDC dc = window.Get();
  RECT client;
  GetClientRect(FDialog, &client);
  FillRect(dc, &client, FBackground.Get());
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(FDialog, GWLP_HINSTANCE));
  DrawIcon(dc, FLayout.Icon.X, FLayout.Icon.Y, LoadIconW(instance, L"MAINICON"));
  TSelection pen(dc, FLinePen.Get());
  MoveToEx(dc, FLayout.LineFrom.X, FLayout.LineFrom.Y, nullptr);
  LineTo(dc, FLayout.LineTo.X, FLayout.LineTo.Y);
}

// The version in the system font; the author line and the notice in the text font; the
// name in the title font, grey a little right and down, then over it, which gives it a
// shadow (none under high contrast). Black on white, or the scheme's text on its window.
void TAboutBox::DrawPart(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  RECT area = item.rcItem;
  FillRect(dc, &area, FBackground.Get());
  SetBkColor(dc, FPalette.Background);
  SetTextColor(dc, FPalette.Lines);
  SetBkMode(dc, OPAQUE);
  const auto id = static_cast<TAboutText>(item.CtlID);
  const HFONT font = id == kTitleText ? FTitleFont.Get() : id == kVersionText ? VersionFont() : FTextFont.Get();
  const TSelection selected(dc, font);
  wchar_t text[512] = L"";
  const int length = GetWindowTextW(item.hwndItem, text, static_cast<int>(std::size(text)));
  if (id == kVersionText) {
    TextOutW(dc, area.left, area.top, text, length);
    return;
  }
  if (id != kTitleText) {
    DrawTextW(dc, text, length, &area, 0);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  if (!FPalette.HighContrast) {
    SetTextColor(dc, kShadowColour);
    TextOutW(dc, area.left + FLayout.TitleShadow, area.top + FLayout.TitleShadow, text, length);
    SetTextColor(dc, FPalette.Lines);
  }
  TextOutW(dc, area.left, area.top, text, length);
}

void TAboutBox::Close() {
  FBackground.Reset();
  FLinePen.Reset();
  FTitleFont.Reset();
  FTextFont.Reset();
  FVersionFont.Reset();
  FCloseFont.Reset();
  EndDialog(FDialog, 1);
}

TAboutBox* BoxOfDialog(HWND dialog) { return reinterpret_cast<TAboutBox*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void OpenBox(HWND dialog, LPARAM box) {
  SetWindowLongPtrW(dialog, DWLP_USER, box);
  BoxOfDialog(dialog)->Open(dialog);
}

void PaintBox(HWND dialog) {
  if (const TAboutBox* box = BoxOfDialog(dialog)) box->Paint();
}

bool DrawBoxText(HWND dialog, LPARAM lParam) {
  const TAboutBox* box = BoxOfDialog(dialog);
  if (box == nullptr) return false;
  box->DrawPart(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  return true;
}

// Identifier 1 is the Close button and Enter, 2 is Esc and the close box.
bool RunCommand(HWND dialog, int command) {
  TAboutBox* box = BoxOfDialog(dialog);
  if (box == nullptr) return false;
  if (command == kLicensesButton) {
    box->ShowLicenses();
    return true;
  }
  if (command != IDOK && command != IDCANCEL) return false;
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
    case WM_DRAWITEM:
      return DrawBoxText(dialog, lParam) ? TRUE : FALSE;
    case WM_COMMAND:
      return RunCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}
}  // namespace

bool ShowAboutBox(HWND owner, TUiLanguage language, const TControlPalette& palette) {
  TAboutBox box(language, palette);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  return DialogBoxParamW(instance, L"ABOUTBOX", owner, AboutDialogProc, reinterpret_cast<LPARAM>(&box)) > 0;
}
