// kof texts [--language ru|en]: the player's built-in texts as a complete language
// table, a template for translators: every key the player looks up with its text, in
// the recorder's code page, as the player reads a table from a film executable.
#include <cstdio>
#include <optional>
#include <string>

#include "session/ui_language.h"
#include "kof_common/kof_commands.h"
#include "kof_common/text_encoding.h"

namespace {
constexpr int kRecorderCodePage = 1251;
}  // namespace

std::optional<std::string> BuiltInLanguageBytes(const std::string& name) {
  const std::optional<TUiLanguage> language = ParseUiLanguage(name);
  if (!language) return std::nullopt;
  return Utf8ToCodePage(BuiltInLanguageTable(*language), kRecorderCodePage);
}

int RunTexts(const Arguments& args) {
  std::string name = "ru";
  if (args.size() == 2 && args[0] == "--language") name = args[1];
  const std::optional<std::string> table = args.empty() || args.size() == 2 ? BuiltInLanguageBytes(name) : std::nullopt;
  if (!table) {
    std::fputs("usage: kof texts [--language ru|en]\n", stderr);
    return kExitUsage;
  }
  std::fwrite(table->data(), 1, table->size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitBadFilm;
}
