#include "session/access_keys.h"

#include <gtest/gtest.h>

#include <set>

#include "session/video_export.h"
#include "text/utf8_text.h"

// Alt and a letter reach every control of the export box, in Russian and in English:
// each label has one key, no two the same, and reads as before without its mark.
TEST(AccessKeys, EveryLabelOfTheExportBoxGetsAKeyOfItsOwnInBothLanguages) {
  for (const TUiLanguage language : {TUiLanguage::kRussian, TUiLanguage::kEnglish}) {
    const TUiTexts texts(language);
    std::vector<std::string> labels;
    for (const TMessageText label : kExportBoxLabels) labels.push_back(texts.Message(label));
    const std::vector<std::string> keyed = WithAccessKeys(labels);
    ASSERT_EQ(keyed.size(), labels.size());
    std::set<char32_t> keys;
    for (size_t i = 0; i < keyed.size(); ++i) {
      const size_t mark = keyed[i].find('&');
      ASSERT_NE(mark, std::string::npos) << keyed[i];
      EXPECT_EQ(keyed[i].find('&', mark + 1), std::string::npos) << keyed[i];
      EXPECT_EQ(keyed[i].substr(0, mark) + keyed[i].substr(mark + 1), labels[i]);
      keys.insert(FoldCase(DecodeUtf8(keyed[i], mark + 1).first));
    }
    EXPECT_EQ(keys.size(), labels.size());
  }
}

TEST(AccessKeys, GivenKeysStayTakenLettersAreSkippedAndAmpersandsShowAsThemselves) {
  EXPECT_EQ(WithAccessKeys({"Options", "&Open", "Oo", "R & D", "Ёж", "ёлка", "Tom &"}),
            (std::vector<std::string>{"O&ptions", "&Open", "Oo", "&R && D", "&Ёж", "ё&лка", "&Tom &&"}));
}
