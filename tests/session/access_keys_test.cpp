#include "session/access_keys.h"

#include <gtest/gtest.h>

#include <set>

#include "session/about_box.h"
#include "session/accessible_texts.h"
#include "session/fixed_texts.h"
#include "session/screen_search.h"
#include "session/ui_language.h"
#include "session/video_export.h"
#include "text/utf8_text.h"

namespace {
// The text without its first "&".
std::string Unmarked(std::string text) {
  const size_t mark = text.find('&');
  return mark == std::string::npos ? text : text.erase(mark, 1);
}
}  // namespace

// Alt and a letter reach every control of the export box, the About box's buttons and
// the field of Find on screen, in Russian and in English: each label has one key, no two
// of a box the same (the field's label sharing none with the menu bar's titles), and
// reads as before without its mark.
TEST(AccessKeys, EveryLabelOfEveryBoxGetsAKeyOfItsOwnInBothLanguages) {
  for (const TUiLanguage language : {TUiLanguage::kRussian, TUiLanguage::kEnglish}) {
    const TUiTexts texts(language);
    std::vector<std::string> exportLabels;
    for (const TMessageText label : kExportBoxLabels) exportLabels.push_back(texts.Message(label));
    const TFixedTexts& fixed = FixedTexts(language);
    std::vector<std::string> titles;
    for (const TMenuItemText& item : BuiltInMenuItems(language))
      if (item.Menu == TMenuId::kMenuBar) titles.push_back(item.Text);
    std::vector<std::string> search = titles, keyedSearch = titles;
    search.push_back(ControlName(texts, TMenuText::kFindOnScreen).append(":"));
    keyedSearch.push_back(SearchFieldLabel(texts, titles));
    const std::vector<std::string> boxes[][2] = {
        {exportLabels, WithAccessKeys(exportLabels)},
        {{fixed.AboutCloseButton, fixed.AboutLicensesButton}, AboutBoxButtons(language)},
        {search, keyedSearch}};
    for (const auto& [labels, keyed] : boxes) {
      ASSERT_EQ(keyed.size(), labels.size());
      std::set<char32_t> keys;
      for (size_t i = 0; i < keyed.size(); ++i) {
        const size_t mark = keyed[i].find('&');
        ASSERT_NE(mark, std::string::npos) << keyed[i];
        EXPECT_EQ(keyed[i].find('&', mark + 1), std::string::npos) << keyed[i];
        EXPECT_EQ(Unmarked(keyed[i]), Unmarked(labels[i]));
        keys.insert(FoldCase(DecodeUtf8(keyed[i], mark + 1).first));
      }
      EXPECT_EQ(keys.size(), labels.size()) << keyed.back();
    }
  }
}

TEST(AccessKeys, GivenKeysStayTakenLettersAreSkippedAndAmpersandsShowAsThemselves) {
  EXPECT_EQ(WithAccessKeys({"Options", "&Open", "Oo", "R & D", "Ёж", "ёлка", "Tom &"}),
            (std::vector<std::string>{"O&ptions", "&Open", "Oo", "&R && D", "&Ёж", "ё&лка", "&Tom &&"}));
}
