#include "session/accessible_texts.h"

#include <gtest/gtest.h>

namespace {
std::string Same(const std::string& text) { return text; }
}  // namespace

TEST(AccessibleTexts, TheBarReadsPositionTotalAndSegmentInEitherLanguage) {
  const TUiTexts english(TUiLanguage::kEnglish), russian(TUiLanguage::kRussian);
  EXPECT_EQ(BarValueText(english, 83, 600, 1, 3, ":"), "00:01:23 of 00:10:00, segment 2 of 3");
  EXPECT_EQ(BarValueText(russian, 83, 600, 1, 3, ":"), "00:01:23 из 00:10:00, сегмент 2 из 3");
  EXPECT_EQ(BarValueText(english, 3725, 7200, 0, 1, "."), "01.02.05 of 02.00.00, segment 1 of 1");
  // No segment, no value: the bar is unavailable then.
  EXPECT_EQ(BarValueText(english, 0, 0, -1, 0, ":"), "");
  EXPECT_EQ(BarValueText(english, 0, 10, 3, 3, ":"), "");
}

TEST(AccessibleTexts, AFilmsTableWordsTheValuesAndCannotReachPrintf) {
  TUiTexts texts(TUiLanguage::kEnglish);
  texts.OverlayMessageTexts("BarValue=%s / %s (%s|%s) %d %n 100%%\r\nVolumeValue=Vol %s%", Same);
  EXPECT_EQ(BarValueText(texts, 5, 10, 0, 2, ":"), "00:00:05 / 00:00:10 (1|2) %d %n 100%");
  EXPECT_EQ(VolumeValueText(texts, 35), "Vol 35%");
  EXPECT_EQ(FillTextSlots("%s%s%s", {"a"}), "a") << "slots beyond the values stay empty";
  EXPECT_EQ(FillTextSlots("50%", {"a"}), "50%");
  EXPECT_EQ(FillTextSlots("%", {}), "%");
}

TEST(AccessibleTexts, SpeedAndVolumeReadAsTheStripShowsThem) {
  EXPECT_EQ(SpeedValueText(3, "."), "\u00D71.0");
  EXPECT_EQ(SpeedValueText(1, ","), "\u00D70,25");
  EXPECT_EQ(SpeedValueText(8, "."), "MAX");
  EXPECT_EQ(VolumeValueText(TUiTexts(TUiLanguage::kEnglish), 80), "80%");
  EXPECT_EQ(VolumeValueText(TUiTexts(TUiLanguage::kRussian), 0), "0%");
}

TEST(AccessibleTexts, ControlsAreNamedByTheirTooltipsOrTheBuiltInText) {
  TUiTexts russian(TUiLanguage::kRussian);
  EXPECT_EQ(ControlName(russian, TMenuText::kProgress), "Прогресс");
  // Under Russian a table without the key empties the tooltip; the name stays.
  russian.OverlayMenuTexts("Play=Start\r\n", Same);
  EXPECT_EQ(russian.Menu(TMenuText::kStop), "");
  EXPECT_EQ(ControlName(russian, TMenuText::kStop), "Стоп");
  EXPECT_EQ(ControlName(russian, TMenuText::kPlay), "Start");
  TUiTexts english(TUiLanguage::kEnglish);
  english.OverlayMenuTexts("Sound=Loudness\r\n", Same);
  EXPECT_EQ(ControlName(english, TMenuText::kSound), "Loudness");
  EXPECT_EQ(ControlName(english, TMenuText::kSpeed), "Playback speed");
}

TEST(AccessibleTexts, AButtonsWindowTextMarksNoAccessKey) {
  EXPECT_EQ(ButtonWindowText("Play"), "Play");
  EXPECT_EQ(ButtonWindowText("Rock & Roll &&"), "Rock && Roll &&&&");
}
