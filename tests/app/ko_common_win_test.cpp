// The shared window routines on real menus, buttons and fonts.
#include "app/ko_common_win.h"

#include <gtest/gtest.h>

#include "app/wide_text_win.h"

namespace {
// A drop-down menu of three items, destroyed at the end of the test.
class MenuFixture : public testing::Test {
protected:
  void SetUp() override {
    FMenu = CreatePopupMenu();
    AppendMenuW(FMenu, MF_STRING, 101, L"Загрузить\bCtrl+O");
    AppendMenuW(FMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(FMenu, MF_STRING, 100, L"Выход");
  }
  void TearDown() override { DestroyMenu(FMenu); }

  std::string TextAt(int position) const {
    wchar_t text[128] = L"";
    GetMenuStringW(FMenu, UINT(position), text, 128, MF_BYPOSITION);
    return WideToUtf8(text);
  }
  UINT StateAt(int position) const { return GetMenuState(FMenu, UINT(position), MF_BYPOSITION); }

  HMENU FMenu = nullptr;
};

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

TEST_F(MenuFixture, SetMenuTextReplacesByPositionAndSkipsEmptyAndBackspaceTexts) {
  EXPECT_TRUE(SetMenuText(FMenu, 0, "Load\bCtrl + O"));
  EXPECT_EQ(TextAt(0), "Load\bCtrl + O");
  EXPECT_EQ(GetMenuItemID(FMenu, 0), 101u) << "the command stays";

  EXPECT_FALSE(SetMenuText(FMenu, 2, ""));
  EXPECT_FALSE(SetMenuText(FMenu, 2, "\bAlt+F4"));
  EXPECT_EQ(TextAt(2), "Выход");

  EXPECT_TRUE(SetMenuText(FMenu, 2, "Закрыть"));
  EXPECT_EQ(TextAt(2), "Закрыть");
  EXPECT_EQ(TextAt(0), "Load\bCtrl + O");
}

TEST_F(MenuFixture, CheckAndEnableAddressItemsByPosition) {
  CheckMenuItemAt(FMenu, 2, true);
  EnableMenuItemAt(FMenu, 0, false);
  EXPECT_EQ(StateAt(2) & (MF_CHECKED | MF_GRAYED), UINT(MF_CHECKED));
  EXPECT_EQ(StateAt(0) & (MF_CHECKED | MF_GRAYED), UINT(MF_GRAYED));

  CheckMenuItemAt(FMenu, 2, false);
  EnableMenuItemAt(FMenu, 0, true);
  EXPECT_EQ(StateAt(2) & (MF_CHECKED | MF_GRAYED), 0u);
  EXPECT_EQ(StateAt(0) & (MF_CHECKED | MF_GRAYED), 0u);
}

TEST(KoCommonButtons, CheckStateAndAMissingBitmap) {
  HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 20, 20, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  SetButtonCheck(button, true);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
  SetButtonCheck(button, false);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  const TGdiObject<HBITMAP> bitmap = SetButtonBitmap(button, L"NOSUCHBMP");
  EXPECT_FALSE(bitmap) << "this program carries no bitmap of that name";
  EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  DestroyWindow(button);
}

TEST(KoCommonFonts, CreateFontByNameTakesTheInstalledFaceAndKeepsItWhenNoneMatches) {
  const TGdiObject<HFONT> tahoma = CreateFontByName("Tahoma", 14, kFontBold | kFontUnderline);
  ASSERT_TRUE(tahoma);
  LOGFONTW made = DescriptionOf(tahoma);
  EXPECT_STREQ(made.lfFaceName, L"Tahoma") << "fonts-wine provides Tahoma";
  EXPECT_EQ(made.lfHeight, 14);
  EXPECT_EQ(made.lfWidth, 0);
  EXPECT_EQ(made.lfWeight, 700);
  EXPECT_TRUE(made.lfUnderline);
  EXPECT_FALSE(made.lfItalic);
  EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);

  // The full name is compared exactly: an unknown face or another spelling matches no
  // installed font and is asked for by name, the same whatever was created before.
  for (const char* other : {"No Such Face Anywhere", "tahoma"}) {
    const TGdiObject<HFONT> font = CreateFontByName(other, 20, kFontItalic);
    made = DescriptionOf(font);
    EXPECT_EQ(WideToUtf8(made.lfFaceName), other);
    EXPECT_EQ(made.lfHeight, 20);
    EXPECT_EQ(made.lfWeight, 400);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_FALSE(made.lfUnderline);
  }
}
