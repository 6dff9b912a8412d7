#include "app/ui_texts.h"

#include <gtest/gtest.h>

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
}  // namespace

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
  EXPECT_EQ(Listed(texts.OverlayMenuTexts(table, [](const std::string& s) { return s; })),
            "B0 File|B1 Actions|B2 View|B3 Help|F0 Load\bCtrl + O|F1 Properties\bF8|F3 Exit\bAlt+F4|A0 Play\bF9|"
            "A1 Pause\bF10|A2 Stop\bF11|A4 Segments\bF6|A5 Prev\bF4|A6 Next\bF5|V0 ShowPanel\bF7|"
            "V1 FullScreen\bAlt + Enter|H0 CH\bF1|H2 About|C0 Load|C2 Play|C3 Pause|C4 Stop|C6 Segments|C7 Prev|"
            "C8 Next|C10 ShowPanel|C11 FullScreen|C13 CH|C14 About|C16 CL|"
            // Behind them, so that the positions above stay: the seek commands and Save picture.
            "A8 SeekBack\bAlt+Left|C18 SeekBack|A9 SeekForward\bAlt+Right|C19 SeekForward|"
            "A10 PrevFrame\bCtrl+,|C20 PrevFrame|A11 NextFrame\bCtrl+.|C21 NextFrame|"
            "A12 SegmentStart\bAlt+Home|C22 SegmentStart|A13 SegmentEnd\bAlt+End|C23 SegmentEnd|"
            "A15 SavePicture\bCtrl+S|C25 SavePicture|"
            // And behind those, going back to where the film was left, then the zoom choices.
            "A17 Resume\bCtrl+R|"
            "V3 ZoomScreenScale\bCtrl+0|C27 ZoomScreenScale|V4 ZoomOriginalPixels\bCtrl+1|C28 ZoomOriginalPixels|"
            "V5 ZoomFitWindow\bCtrl+2|C29 ZoomFitWindow|");
}

TEST(UiTexts, TableFormatsAreUsedOnlyWithTheExpectedConversion) {
  TUiTexts texts;
  EXPECT_EQ(texts.Format(TMessageText::kSegmentCountFmt, 3), "Количество сегментов: 3");
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
}

