#include <gtest/gtest.h>

#include <tuple>

#include "film/ko_cab.h"

namespace {

TEST(CabinetMessage, BuiltFromTheErrorRecord) {
  EXPECT_STREQ(CabErrorText(2), "Cabinet file does not have the correct format");
  for (int32_t code : {-1, 12}) EXPECT_STREQ(CabErrorText(code), "FDI error") << code;
  const std::tuple<int32_t, int32_t, bool, std::string, std::string> cases[] = {
      {5, 8, true, "Not enough memory resources are available to process this command.\r\n",
       "Could not allocate enough memory [0x0005].\r\nNot enough memory resources are available to process this "
       "command [0x0008]."},
      {4, 0, true, "ignored", "Cabinet file is corrupt [0x0004]"},
      {0xAB, 0xBEEF, true, "x", "FDI error [0x00AB].\r\nx [0xBEEF]."},
      {5, 8, false, "text", "FDI error"},  // without the error-present flag the record says nothing
  };
  for (const auto& [code, osError, present, system, message] : cases)
    EXPECT_EQ(BuildCabinetMessage(code, osError, present, system), message);
  EXPECT_EQ(std::string(EkoCabinet(5, 8, true).what()),
            "Could not allocate enough memory [0x0005].\r\n" + SystemErrorText(8) + " [0x0008].");
  EXPECT_FALSE(SystemErrorText(8).empty());
}

TEST(CabinetMessage, SystemTextIsTrimmedAndLimited) {
  // The limit applies first: what is left at the cut is trimmed too.
  const std::pair<std::string, std::string> cases[] = {
      {"Access is denied.\r\n", "Access is denied"}, {"a . .\t\x01", "a"}, {"v1.2 ok", "v1.2 ok"},
      {std::string(300, 'w'), std::string(256, 'w')}, {std::string(255, 'w') + ". tail", std::string(255, 'w')}};
  for (const auto& [text, trimmed] : cases) EXPECT_EQ(TrimSystemText(text), trimmed);
}

}  // namespace
