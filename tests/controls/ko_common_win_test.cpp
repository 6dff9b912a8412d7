// The shared window routines on real buttons and fonts, and the wide texts; the menu
// routines show in the end-to-end tests, which read the menus a user sees.
#include "controls/ko_common_win.h"

#include <gtest/gtest.h>

#include "platform/wide_text_win.h"

#include <string>
#include <tuple>
#include <utility>

namespace {
LOGFONTW DescriptionOf(const TGdiObject<HFONT>& font) {
  LOGFONTW description{};
  GetObjectW(font.Get(), sizeof(description), &description);
  return description;
}
}  // namespace

TEST(WideText, RoundTripsRussianAndReplacesBrokenUtf8) {
  const std::string russian = "О программе — «Закрыть»";
  EXPECT_EQ(Utf8ToWide(russian), L"О программе — «Закрыть»");
  EXPECT_EQ(WideToUtf8(Utf8ToWide(russian)), russian);
  EXPECT_EQ(Utf8ToWide(std::string("a\xFF" "b")), L"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)).size(), 3u) << "embedded NULs are kept";
  EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(KoCommonButtons, CheckStateAndTheBitmap) {
  // Styled as the panel's toggle buttons: a button shows an image only with BS_BITMAP.
  HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_BITMAP, 0, 0, 20,
                                20, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  SetButtonCheck(button, true);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
  SetButtonCheck(button, false);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  const TGdiObject<HBITMAP> missing = SetButtonBitmap(button, TGdiObject<HBITMAP>());
  EXPECT_FALSE(missing);
  EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "no picture, no image";
  const TGdiObject<HBITMAP> shown = SetButtonBitmap(button, TGdiObject<HBITMAP>(CreateBitmap(20, 20, 1, 32, nullptr)));
  EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(shown.Get()));
  DestroyWindow(button);
}

// The full name is compared exactly: an unknown face or another spelling matches no
// installed font and is asked for by name, the same whatever was created before.
TEST(KoCommonFonts, CreateFontByNameTakesTheInstalledFaceAndKeepsItWhenNoneMatches) {
  const std::tuple<const char*, unsigned, std::tuple<std::string, LONG, LONG, BYTE, BYTE>> cases[] = {
      {"Tahoma", kFontBold | kFontUnderline, {"Tahoma", 14, 700, 0, 1}},  // fonts-wine provides Tahoma
      {"No Such Face Anywhere", kFontItalic, {"No Such Face Anywhere", 14, 400, 1, 0}},
      {"tahoma", kFontItalic, {"tahoma", 14, 400, 1, 0}},
  };
  for (const auto& [face, style, expected] : cases) {
    const TGdiObject<HFONT> font = CreateFontByName(face, 14, style);
    ASSERT_TRUE(font);
    const LOGFONTW made = DescriptionOf(font);
    EXPECT_EQ(std::tuple(WideToUtf8(made.lfFaceName), made.lfHeight, made.lfWeight, made.lfItalic, made.lfUnderline),
              expected);
    EXPECT_EQ(std::pair(made.lfWidth, made.lfCharSet), std::pair(LONG{0}, BYTE{DEFAULT_CHARSET})) << face;
  }
}
