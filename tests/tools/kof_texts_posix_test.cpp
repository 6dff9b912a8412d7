// kof texts as a user runs it: the table it writes is what the player reads, and gives
// every text the player looks up its built-in value. kof pack takes it by name (kof_pack).
#include <gtest/gtest.h>

#include "session/fixed_texts.h"
#include "session/ui_language.h"
#include "kof_common/text_encoding.h"
#include "tools/kof_run.h"

namespace {
std::string From1251(const std::string& text) { return CodePageToUtf8(text, 1251); }
}  // namespace

TEST(KofTexts, TheTableRoundTripsThroughTheLanguageTableReader) {
  const struct {
    const char* arguments;
    TUiLanguage language, other;
  } cases[] = {
      {"", TUiLanguage::kRussian, TUiLanguage::kEnglish},
      {"--language ru", TUiLanguage::kRussian, TUiLanguage::kEnglish},
      {"--language en", TUiLanguage::kEnglish, TUiLanguage::kRussian},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const KofRun run = Kof(std::string("texts ") + c.arguments);
    ASSERT_EQ(run.exitCode, 0);
    // Read over the other language's texts, so that every text must come from the table.
    TUiTexts texts(c.other);
    texts.OverlayMessageTexts(run.out, From1251);
    const std::vector<TMenuItemText> items = texts.OverlayMenuTexts(run.out, From1251);
    for (size_t i = 0; i < kMessageTextCount; ++i)
      EXPECT_EQ(texts.Message(static_cast<TMessageText>(i)), kMessageTexts[i].In(c.language)) << kMessageTexts[i].Key;
    for (size_t i = 0; i < kMenuTextCount; ++i)
      EXPECT_EQ(texts.Menu(static_cast<TMenuText>(i)), kMenuTexts[i].In(c.language)) << kMenuTexts[i].Key;
    const TFixedTexts& fixed = FixedTexts(c.language);
    const auto item = [&items](TMenuId menu, int32_t position) {
      for (const TMenuItemText& i : items)
        if (i.Menu == menu && i.Position == position) return i.Text;
      return std::string("none");
    };
    EXPECT_EQ(item(TMenuId::kContext, 13), fixed.ContextHelp);
    EXPECT_EQ(item(TMenuId::kContext, 16), fixed.Close);
    // One line a key, each ended by CR LF.
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), std::count(run.out.begin(), run.out.end(), '='));
    EXPECT_EQ(run.out.substr(run.out.size() - 2), "\r\n");
  }
  for (const char* wrong : {"--language de", "--language", "en", "--language en --language ru"}) {
    SCOPED_TRACE(wrong);
    const KofRun run = Kof(std::string("texts ") + wrong, "", true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("usage: kof texts"), std::string::npos) << run.out;
  }
}
