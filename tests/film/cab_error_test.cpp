#include <gtest/gtest.h>

#include "film/ko_cab.h"

namespace {

TEST(CabErrorText, KnownCodesAndEverythingElse) {
  EXPECT_STREQ(CabErrorText(0), "No error");
  EXPECT_STREQ(CabErrorText(2), "Cabinet file does not have the correct format");
  EXPECT_STREQ(CabErrorText(5), "Could not allocate enough memory");
  EXPECT_STREQ(CabErrorText(10), "Cabinet returned on fdintNEXT_CABINET is incorrect");
  EXPECT_STREQ(CabErrorText(11), "FDI aborted");
  for (int32_t code : {-1, 12, 0x7FFFFFFF}) EXPECT_STREQ(CabErrorText(code), "FDI error") << code;
}

TEST(CabinetMessage, BuiltFromTheErrorRecord) {
  EXPECT_EQ(BuildCabinetMessage(5, 8, true, "Not enough memory resources are available to process this command.\r\n"),
            "Could not allocate enough memory [0x0005].\r\n"
            "Not enough memory resources are available to process this command [0x0008].");
  EXPECT_EQ(BuildCabinetMessage(4, 0, true, "ignored"), "Cabinet file is corrupt [0x0004]");
  EXPECT_EQ(BuildCabinetMessage(0x12345, 0, true, ""), "FDI error [0x12345]");
  EXPECT_EQ(BuildCabinetMessage(0xAB, 0xBEEF, true, "x"), "FDI error [0x00AB].\r\nx [0xBEEF].");
  // Without the error-present flag the record says nothing.
  EXPECT_EQ(BuildCabinetMessage(5, 8, false, "text"), "FDI error");
}

TEST(CabinetMessage, SystemTextIsTrimmedAndLimited) {
  EXPECT_EQ(TrimSystemText("Access is denied.\r\n"), "Access is denied");
  EXPECT_EQ(TrimSystemText("a . .\t\x01"), "a");
  EXPECT_EQ(TrimSystemText("...  "), "");
  EXPECT_EQ(TrimSystemText("v1.2 ok"), "v1.2 ok");
  const std::string longText(300, 'w');
  EXPECT_EQ(TrimSystemText(longText), longText.substr(0, 256));
  // The limit applies first: what is left at the cut is trimmed too.
  EXPECT_EQ(TrimSystemText(std::string(255, 'w') + ". tail"), std::string(255, 'w'));
}

TEST(EkoCabinet, CarriesItsRecordAndIsAnEkoError) {
  try {
    throw EkoCabinet(5, 8, true);
  } catch (const EkoError& error) {
    const auto* cabinet = dynamic_cast<const EkoCabinet*>(&error);
    ASSERT_NE(cabinet, nullptr);
    EXPECT_EQ(cabinet->ErrorCode, 5);
    EXPECT_EQ(cabinet->OSError, 8);
    EXPECT_TRUE(cabinet->ErrorPresent);
    EXPECT_FALSE(cabinet->IsCompressor);
    const std::string system = SystemErrorText(8);
    EXPECT_FALSE(system.empty());
    EXPECT_EQ(std::string(error.what()), "Could not allocate enough memory [0x0005].\r\n" + system + " [0x0008].");
  }
  EXPECT_STREQ(EkoCabinet("Cabinet.dll not found").what(), "Cabinet.dll not found");
  EXPECT_STREQ(EkoCabinet(7, 2, false).what(), "FDI error");
}

}  // namespace
