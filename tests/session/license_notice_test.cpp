#include "session/license_notice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {
std::string ProjectNotices() {
  std::ifstream file(std::string(RZ_SOURCE_DIR) + "/NOTICES", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}
}  // namespace

// The box lists the libraries of the player's own section of the NOTICES that comes with
// it, no other section's, in both languages, between the license and the files' names.
TEST(LicenseNotice, ListsThePlayersLibrariesFromTheNoticesFile) {
  const std::string notices = ProjectNotices();
  ASSERT_NE(notices.find("[roRezodu.exe]"), std::string::npos);
  for (const TUiLanguage language : {TUiLanguage::kRussian, TUiLanguage::kEnglish}) {
    const std::string text = LicenseBoxText(notices, "roRezodu.exe", language);
    SCOPED_TRACE(text);
    EXPECT_NE(text.find("GNU General Public License"), std::string::npos);
    EXPECT_NE(text.find("\rliblzma 5.4.1 (public domain)\r"), std::string::npos);
    EXPECT_NE(text.find("\rzlib 1.2.13 (Zlib)\r"), std::string::npos);
    EXPECT_NE(text.find("\rGCC runtime (libstdc++, libgcc) 12 (GPL-3.0-or-later WITH GCC-exception-3.1)\r"),
              std::string::npos);
    EXPECT_EQ(text.find("libmspack"), std::string::npos);  // the page's and kof's, not the player's
    EXPECT_EQ(text.find("FFmpeg"), std::string::npos);
    EXPECT_LT(text.find("liblzma"), text.find("NOTICES"));
  }
}

// A section ends at the next one; lines without the four fields are not libraries; a
// program whose name only begins like the section's is another program.
TEST(LicenseNotice, TakesOnlyTheNamedSectionsLibraryLines) {
  const std::string notices =
      "[kof] The tool\n"
      "a | 1 | MIT | there\n"
      "[kof-export] The encoder\r\n"
      "b | 2 | BSD | there\r\n"
      "Each line: library | version | license\r\n"
      "\r\n"
      "c | 3 | Zlib | here\r\n";
  const std::string text = LicenseBoxText(notices, "kof-export", TUiLanguage::kEnglish);
  EXPECT_NE(text.find("\rb 2 (BSD)\rc 3 (Zlib)\r\r"), std::string::npos) << text;
  EXPECT_EQ(text.find("a 1"), std::string::npos) << text;
  EXPECT_EQ(text.find("Each line"), std::string::npos) << text;
  EXPECT_EQ(LicenseBoxText(notices, "kof", TUiLanguage::kEnglish).find("b 2"), std::string::npos);
}

// Without notices built in, the box still gives the license and where the texts are.
TEST(LicenseNotice, WithoutNoticesGivesTheLicenseAlone) {
  const std::string text = LicenseBoxText("", "roRezodu.exe", TUiLanguage::kEnglish);
  EXPECT_NE(text.find("version 2"), std::string::npos);
  EXPECT_NE(text.find("LICENSE"), std::string::npos);
  EXPECT_EQ(text.find("contains these libraries"), std::string::npos);
}
