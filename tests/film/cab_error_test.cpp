#include <gtest/gtest.h>

#include "film/ko_cab.h"

namespace {

TEST(CabinetMessage, BuiltFromTheErrorRecord) {
  EXPECT_STREQ(CabErrorText(2), "Cabinet file does not have the correct format");
  EXPECT_STREQ(CabErrorText(11), "FDI aborted");
  for (int32_t code : {-1, 12}) EXPECT_STREQ(CabErrorText(code), "FDI error") << code;

  EXPECT_EQ(BuildCabinetMessage(5, 8, true, "Not enough memory resources are available to process this command.\r\n"),
            "Could not allocate enough memory [0x0005].\r\n"
            "Not enough memory resources are available to process this command [0x0008].");
  EXPECT_EQ(BuildCabinetMessage(4, 0, true, "ignored"), "Cabinet file is corrupt [0x0004]");
  EXPECT_EQ(BuildCabinetMessage(0xAB, 0xBEEF, true, "x"), "FDI error [0x00AB].\r\nx [0xBEEF].");
  EXPECT_EQ(BuildCabinetMessage(0x12345, 0, true, ""), "FDI error [0x12345]");
  // Without the error-present flag the record says nothing.
  EXPECT_EQ(BuildCabinetMessage(5, 8, false, "text"), "FDI error");

  EXPECT_FALSE(SystemErrorText(8).empty());
  EXPECT_EQ(std::string(EkoCabinet(5, 8, true).what()),
            "Could not allocate enough memory [0x0005].\r\n" + SystemErrorText(8) + " [0x0008].");
  EXPECT_STREQ(EkoCabinet("Cabinet.dll not found").what(), "Cabinet.dll not found");
}

TEST(CabinetMessage, SystemTextIsTrimmedAndLimited) {
  EXPECT_EQ(TrimSystemText("Access is denied.\r\n"), "Access is denied");
  EXPECT_EQ(TrimSystemText("a . .\t\x01"), "a");
  EXPECT_EQ(TrimSystemText("v1.2 ok"), "v1.2 ok");
  EXPECT_EQ(TrimSystemText(std::string(300, 'w')), std::string(256, 'w'));
  // The limit applies first: what is left at the cut is trimmed too.
  EXPECT_EQ(TrimSystemText(std::string(255, 'w') + ". tail"), std::string(255, 'w'));
}

}  // namespace
