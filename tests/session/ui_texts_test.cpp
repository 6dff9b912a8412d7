#include "session/ui_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "session/fixed_texts.h"
#include "session/ui_language.h"
#include "film/safe_format.h"
#include "text/utf8_text.h"

namespace {
// Marks what went through the code-page conversion.
std::string FakeToUtf8(const std::string& ansi) { return "<" + ansi + ">"; }

// "A2 text|" per item: menu letter (File, Actions, View, Help, Bar, Context), position.
std::string Listed(const std::vector<TMenuItemText>& items) {
  std::string listed;
  for (const TMenuItemText& item : items)
    listed += "FAVHBC"[static_cast<int>(item.Menu)] + std::to_string(item.Position) + " " + item.Text + "|";
  return listed;
}

bool HasCyrillic(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c == '\xD0' || c == '\xD1'; });
}

// The boxes' and the help's fixed texts of a language, field by field.
std::vector<const char*> BoxTexts(TUiLanguage language) {
  const TFixedTexts& t = FixedTexts(language);
  return {t.PropertiesCaption, t.HelpText, t.CommandLineHelpCaption, t.CommandLineHelpText,
          t.InvalidCommandLineText, t.AboutCaption, t.AboutNotice, t.AboutCloseButton, t.AboutLicensesButton,
          t.LicenseLines, t.LicenseLibraries, t.LicenseFiles, t.ContextHelp, t.Close};
}
}  // namespace

// A key added without its English text, or with a text that formats differently, fails.
TEST(UiTexts, EveryTextHasAnEnglishOneThatFormatsLikeTheRussian) {
  std::vector<TTextEntry> entries(std::begin(kMessageTexts), std::end(kMessageTexts));
  entries.insert(entries.end(), std::begin(kMenuTexts), std::end(kMenuTexts));
  for (const TTextEntry& entry : entries) {
    SCOPED_TRACE(entry.Key);
    ASSERT_NE(entry.English, nullptr);
    EXPECT_FALSE(std::string(entry.English).empty());
    EXPECT_FALSE(HasCyrillic(entry.English));
    for (const char conversion : {'d', 's'})
      EXPECT_EQ(IsSafeFormat(entry.English, conversion), IsSafeFormat(entry.BuiltIn, conversion)) << conversion;
  }
  const auto lines = [](const char* text) { return std::count(text, text + std::string(text).size(), '\r'); };
  const std::vector<const char*> english = BoxTexts(TUiLanguage::kEnglish), russian = BoxTexts(TUiLanguage::kRussian);
  for (size_t i = 0; i < english.size(); ++i) {
    const char *en = english[i], *ru = russian[i];
    SCOPED_TRACE(en);
    EXPECT_FALSE(std::string(en).empty());
    EXPECT_FALSE(HasCyrillic(en));
    EXPECT_EQ(lines(en), lines(ru));  // boxes laid out line by line keep their shape
  }
}

// Every English text, the boxes' and the help's included, in US spelling.
TEST(UiTexts, EnglishTextsUseUsSpelling) {
  std::vector<std::string> texts;
  for (const TTextEntry& entry : kMessageTexts) texts.push_back(entry.English);
  for (const TTextEntry& entry : kMenuTexts) texts.push_back(entry.English);
  for (const char* text : BoxTexts(TUiLanguage::kEnglish)) texts.push_back(text);
  const char* const british[] = {"colour", "centre",  "behaviour", "favourite", "licence", "cancelled",
                                 "grey",   "organis", "recognis",  "initialis", "analys",  "programme",
                                 "dialogue", "maximis", "minimis", "optimis"};
  for (std::string text : texts) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* word : british) EXPECT_EQ(text.find(word), std::string::npos) << word << " in: " << text;
  }
}

// In the built-in menus of either language every item has exactly one access key ("&"
// before a letter or digit), no two items of one menu share one, and the menu bar's
// titles have theirs; the language's submenu, the last item of View and of the context
// menu, counts in both.
TEST(UiTexts, BuiltInMenuItemsHaveOneAccessKeyEachUniqueWithinTheirMenu) {
  for (const TUiLanguage language : {TUiLanguage::kRussian, TUiLanguage::kEnglish}) {
    std::map<std::string, std::map<char32_t, std::string>> keysByMenu;
    const auto take = [&](const std::string& menu, const std::string& item) {
      const std::string text = item.substr(0, item.find('\b'));
      SCOPED_TRACE(menu + ": " + item);
      const size_t mark = text.find('&');
      ASSERT_NE(mark, std::string::npos) << "no access key";
      EXPECT_EQ(text.find('&', mark + 1), std::string::npos) << "two access keys";
      const auto [code, length] = DecodeUtf8(text, mark + 1);
      ASSERT_NE(length, 0u);
      EXPECT_TRUE(code > 0x7F || std::isalnum(static_cast<int>(code)));
      const auto [place, fresh] = keysByMenu[menu].emplace(FoldCase(code), text);
      EXPECT_TRUE(fresh) << "the key of " << place->second;
    };
    for (const TMenuItemText& item : BuiltInMenuItems(language))
      take(std::string(1, "FAVHBC"[static_cast<int>(item.Menu)]), item.Text);
    const TLanguageMenuTexts languages = LanguageMenuTexts(language);
    take("V", languages.Title);
    take("C", languages.Title);
    take("language", languages.Russian);
    take("language", languages.English);
    EXPECT_EQ(keysByMenu.size(), 7u);  // the bar, its four drop-downs, the context menu, the languages
  }
  // Tooltips and the page's buttons take the texts without marks.
  for (const TTextEntry& entry : kMenuTexts)
    for (const char* text : {entry.BuiltIn, entry.English}) EXPECT_EQ(std::string(text).find('&'), std::string::npos);
}

// Every built-in item has words, in its language's letters.
TEST(UiTexts, BuiltInMenuItemsHaveWordsInTheirLanguage) {
  for (const TUiLanguage language : {TUiLanguage::kRussian, TUiLanguage::kEnglish})
    for (const TMenuItemText& item : BuiltInMenuItems(language)) {
      EXPECT_FALSE(item.Text.empty() || item.Text[0] == '\b') << Listed({item});
      EXPECT_EQ(HasCyrillic(item.Text), language == TUiLanguage::kRussian) << Listed({item});
    }
}

std::string ListedByPlace(std::vector<TMenuItemText> items) {
  std::sort(items.begin(), items.end(), [](const TMenuItemText& a, const TMenuItemText& b) {
    return std::pair(static_cast<int>(a.Menu), a.Position) < std::pair(static_cast<int>(b.Menu), b.Position);
  });
  return Listed(items);
}

// The built-in texts: dots behind the items that open a box (not behind the Russian
// bar's Load), the key behind the bar's items only, Close for Exit in the context menu.
TEST(UiTexts, BuiltInItemsCarryTheirDotsKeysAndWords) {
  const std::string russian = ListedByPlace(BuiltInMenuItems(TUiLanguage::kRussian));
  const std::string english = ListedByPlace(BuiltInMenuItems(TUiLanguage::kEnglish));
  for (const char* item : {"F0 &Загрузить\bCtrl+O|", "F1 &Свойства...\bF8|", "F4 &Выход\bAlt+F4|",
                           "A10 Предыдущий &кадр\bCtrl+,|", "A17 Пр&одолжить с ...\bCtrl+R|", "H0 &Справка\bF1|",
                           "H2 &О программе...|", "C0 &Загрузить...|", "C2 &Воспроизведение|", "C16 Закр&ыть|",
                           "C25 Со&хранить кадр...|"})
    EXPECT_NE(russian.find(item), std::string::npos) << item << " in " << russian;
  for (const char* item : {"F0 &Open...\bCtrl+O|", "V1 &Full screen\bAlt+Enter|", "C0 &Open...|", "C16 E&xit|"})
    EXPECT_NE(english.find(item), std::string::npos) << item << " in " << english;
}

// Under a film's table the table wins for its keys; a key it lacks gives the English
// text under English (under Russian the item stays as it is: the tests below).
TEST(UiTexts, UnderEnglishAKeyTheTableLacksGivesTheEnglishText) {
  TUiTexts texts(TUiLanguage::kEnglish);
  const std::string table = "Play=Start\r\nerror=Trouble\r\nContextHelp=Contents";
  texts.OverlayMessageTexts(table, FakeToUtf8);
  const std::string listed = Listed(texts.OverlayMenuTexts(table, FakeToUtf8));
  EXPECT_EQ(texts.Menu(TMenuText::kPlay), "<Start>");
  EXPECT_EQ(texts.Menu(TMenuText::kStop), "Stop");
  EXPECT_EQ(texts.Message(TMessageText::kError), "<Trouble>");
  EXPECT_EQ(texts.Message(TMessageText::kLoading), "Loading film...");
  for (const char* item : {"A0 <Start>\bF9|", "A2 Stop\bF11|", "C16 Exit|", "B0 File|", "H0 <Contents>\bF1|",
                           "A17 Resume from last position\bCtrl+R|"})
    EXPECT_NE(listed.find(item), std::string::npos) << item << " in " << listed;
}

TEST(UiTexts, MessageTextsTakeOnlyNonEmptyTableValues) {
  TUiTexts texts;
  texts.OverlayMessageTexts(
      "error = Fehler\r\nLoading=   \r\n\r\nSegments = Abschnitte\r\nWarning=a=b\rWarning=second\r"
      "Play=Abspielen",
      FakeToUtf8);
  EXPECT_EQ(texts.Message(TMessageText::kError), "<Fehler>");  // keys ignore case
  EXPECT_EQ(texts.Message(TMessageText::kLoading), "Загрузка фильма ...");
  EXPECT_EQ(texts.Message(TMessageText::kSegmentListCaption), "<Abschnitte>");
  EXPECT_EQ(texts.Message(TMessageText::kWarning), "<a=b>");  // first "=" splits, first entry wins
  EXPECT_EQ(texts.Message(TMessageText::kCannotOpenFileFmt), "Не могу открыть файл %s");
  // The message overlay leaves the menu group alone.
  EXPECT_EQ(texts.Menu(TMenuText::kPlay), "Воспроизведение");
  EXPECT_EQ(texts.Menu(TMenuText::kSegments), "Сегменты");

}

TEST(UiTexts, MenuTextsAreEmptyForMissingKeysAndTheirItemsKeepTheResourceText) {
  TUiTexts texts;
  const std::vector<TMenuItemText> items =
      texts.OverlayMenuTexts("File=Datei\r\nStop = Halt \r\nSpeedy=x\r\nContextHelp=Hilfe", FakeToUtf8);
  EXPECT_EQ(texts.Menu(TMenuText::kFile), "<Datei>");
  EXPECT_EQ(texts.Menu(TMenuText::kStop), "<Halt>");
  EXPECT_EQ(texts.Menu(TMenuText::kSpeed), "");  // the slider's tooltip goes empty
  EXPECT_EQ(texts.Menu(TMenuText::kHelp), "");   // so does the help box's caption
  // ... while the message group keeps its value.
  EXPECT_EQ(texts.Message(TMessageText::kSegmentListCaption), "Сегменты");

  // Missing keys give "" (Help title, Close) or a bare "\bF9" (Play): SetMenuText keeps those items.
  const std::string listed = Listed(items);
  for (const char* item : {"A2 <Halt>\bF11|", "H0 <Hilfe>\bF1|", "C13 <Hilfe>|", "A0 \bF9|", "B3 |", "C16 |"})
    EXPECT_NE(listed.find(item), std::string::npos) << item;

  TUiTexts noTable;
  EXPECT_TRUE(noTable.OverlayMenuTexts("", FakeToUtf8).empty());
  EXPECT_EQ(noTable.Menu(TMenuText::kSpeed), "Скорость воспроизведения");
}

TEST(UiTexts, EveryMenuItemGetsItsKeyAndShortcut) {
  std::string table;
  for (const TTextEntry& entry : kMenuTexts) table += std::string(entry.Key) + "=" + entry.Key + "\r\n";
  table += "ContextHelp=CH\r\nClose=CL";
  TUiTexts texts;
  // Each drop-down's items, the bar's titles and the context menu's items, by place.
  EXPECT_EQ(ListedByPlace(texts.OverlayMenuTexts(table, [](const std::string& s) { return s; })),
            "F0 Load\bCtrl + O|F1 Properties\bF8|F2 ExportVideo\bCtrl+E|F4 Exit\bAlt+F4|"
            "A0 Play\bF9|A1 Pause\bF10|A2 Stop\bF11|A4 Segments\bF6|A5 Prev\bF4|A6 Next\bF5|"
            "A8 SeekBack\bAlt+Left|A9 SeekForward\bAlt+Right|A10 PrevFrame\bCtrl+,|A11 NextFrame\bCtrl+.|"
            "A12 SegmentStart\bAlt+Home|A13 SegmentEnd\bAlt+End|A15 SavePicture\bCtrl+S|A17 Resume\bCtrl+R|"
            "A19 FindOnScreen\bCtrl+F|"
            "V0 ShowPanel\bF7|V1 FullScreen\bAlt + Enter|V3 ZoomScreenScale\bCtrl+0|V4 ZoomOriginalPixels\bCtrl+1|"
            "V5 ZoomFitWindow\bCtrl+2|V7 SkipIdle\bCtrl+I|"
            "H0 CH\bF1|H2 About|B0 File|B1 Actions|B2 View|B3 Help|"
            "C0 Load|C2 Play|C3 Pause|C4 Stop|C6 Segments|C7 Prev|C8 Next|C10 ShowPanel|C11 FullScreen|C13 CH|"
            "C14 About|C16 CL|C18 SeekBack|C19 SeekForward|C20 PrevFrame|C21 NextFrame|C22 SegmentStart|"
            "C23 SegmentEnd|C25 SavePicture|C27 ZoomScreenScale|C28 ZoomOriginalPixels|C29 ZoomFitWindow|"
            "C31 ExportVideo|");
}

TEST(UiTexts, TableFormatsAreUsedOnlyWithTheExpectedConversion) {
  TUiTexts texts;
  texts.OverlayMessageTexts(
      "SegmentCountFmt=%s segments\rCannotOpenFileFmt=100%% sure: %s\rWrongDisplaySettings=%d bits %d\r"
      "WrongFile=%d\rInvalidVersionFormat=no number\rError=50%",
      [](const std::string& s) { return s; });
  EXPECT_EQ(texts.Format(TMessageText::kSegmentCountFmt, 3), "Количество сегментов: 3");
  EXPECT_EQ(texts.Format(TMessageText::kCannotOpenFileFmt, "C:\\%d.kof"), "100% sure: C:\\%d.kof");
  EXPECT_EQ(texts.Format(TMessageText::kWrongDisplaySettings, 16),
            "Данный видео режим не поддерживается (16 бит цвет)");
  EXPECT_EQ(texts.Format(TMessageText::kWrongFile, "FPS = 0"), "Неверный формат файла: FPS = 0");
  EXPECT_EQ(texts.Format(TMessageText::kInvalidVersionFormat, 2), "no number");
  // A lone "%" at the end is not a format; a text of the other kind comes unformatted.
  EXPECT_EQ(texts.Format(TMessageText::kError, 1), "Ошибка");
  EXPECT_EQ(TUiTexts().Format(TMessageText::kCannotOpenFileFmt, 7), "Не могу открыть файл %s");
  // Under English an unfit table value falls back to the English text.
  TUiTexts english(TUiLanguage::kEnglish);
  english.OverlayMessageTexts("SegmentCountFmt=%s segments", [](const std::string& s) { return s; });
  EXPECT_EQ(english.Format(TMessageText::kSegmentCountFmt, 3), "Number of segments: 3");
}

