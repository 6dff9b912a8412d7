#include "film/cab_member_name.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using Parts = std::vector<std::string>;

TEST(CabMemberName, PlainAndFolderNamesSplitIntoTheirParts) {
  EXPECT_EQ(SplitMemberName("koS_20090406171336123.dat", false), Parts{"koS_20090406171336123.dat"});
  EXPECT_EQ(SplitMemberName("a\\b.dat", false), (Parts{"a", "b.dat"}));
  EXPECT_EQ(SplitMemberName("a/b\\c.txt", false), (Parts{"a", "b", "c.txt"}));
  EXPECT_EQ(SplitMemberName("CONSOLE.txt", false), Parts{"CONSOLE.txt"});
  EXPECT_EQ(SplitMemberName("COM10", false), Parts{"COM10"});
  EXPECT_EQ(SplitMemberName(".hidden", false), Parts{".hidden"});
  EXPECT_EQ(SplitMemberName("\xD0\xBF\xD1\x80\xD0\xB8.txt", true), Parts{"\xD0\xBF\xD1\x80\xD0\xB8.txt"});
  // Without the UTF-8 flag high bytes are just 8-bit characters.
  EXPECT_EQ(SplitMemberName("\xC0\xAF.txt", false), Parts{"\xC0\xAF.txt"});
}

TEST(CabMemberName, NamesThatCouldLeaveTheFolderOrMisbehaveAreRejected) {
  const std::vector<std::string> rejected = {
      "", "/etc/passwd", "\\x", "\\\\server\\share\\x", "\\\\?\\C:\\x", "//?/C:/x", "C:x", "C:\\x", "a\\..\\..\\x",
      "..", ".", "a/./b", "a//b", "a\\", "x/", "...", "name.", "name ", "a\x01" "b", "a\x7f", "tab\tname",
      "a:b", "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "CON", "con.txt", "Nul.tar.gz", "COM1", "lpt9.dat",
      "AUX .txt", "a\\PRN\\b", "conin$", "COM\xC2\xB9", "x\\..", "..\\x"};
  for (const std::string& name : rejected) EXPECT_FALSE(SplitMemberName(name, false)) << "name: " << name;
  // Overlong slash, overlong dot-dot and a surrogate are not UTF-8.
  for (const std::string& name : {std::string("a\xC0\xAF" "b"), std::string("\xE0\x80\xAE\xE0\x80\xAE/x"),
                                  std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80"),
                                  std::string("cut\xD0")})
    EXPECT_FALSE(SplitMemberName(name, true)) << "name: " << name;
}

TEST(CabMemberName, LengthLimitIsExact) {
  const std::string longest(kMaxMemberNameBytes, 'n');
  EXPECT_TRUE(SplitMemberName(longest, false));
  EXPECT_FALSE(SplitMemberName(longest + "n", false));
  std::string folders;
  while (folders.size() + 3 <= kMaxMemberNameBytes) folders += "d\\";
  EXPECT_TRUE(SplitMemberName(folders + "f", false));
}

TEST(CabMemberName, StrictUtf8) {
  EXPECT_TRUE(IsStrictUtf8(""));
  EXPECT_TRUE(IsStrictUtf8("plain"));
  EXPECT_TRUE(IsStrictUtf8("\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"));
  EXPECT_FALSE(IsStrictUtf8("\x80"));
  EXPECT_FALSE(IsStrictUtf8("\xC1\xBF"));
  EXPECT_FALSE(IsStrictUtf8("\xE0\x9F\xBF"));
  EXPECT_FALSE(IsStrictUtf8("\xF0\x8F\xBF\xBF"));
  EXPECT_FALSE(IsStrictUtf8("\xF5\x80\x80\x80"));
  EXPECT_FALSE(IsStrictUtf8("\xE2\x82"));
  EXPECT_FALSE(IsStrictUtf8("\xE2\x28\xA1"));
}

TEST(CabMemberName, NextCabinetMustBeAPlainNameBesideTheCurrentOne) {
  EXPECT_TRUE(IsPlainMemberFileName("Split-2.CAB", false));
  EXPECT_FALSE(IsPlainMemberFileName("sub\\Split-2.CAB", false));
  EXPECT_FALSE(IsPlainMemberFileName("..\\Split-2.CAB", false));
  EXPECT_FALSE(IsPlainMemberFileName("C:\\Split-2.CAB", false));
  EXPECT_FALSE(IsPlainMemberFileName("", false));
}

TEST(CabMemberName, TargetsLieInsideTheDestination) {
  TempDir temp;
  const std::filesystem::path destination = temp / "dest";
  EXPECT_TRUE(LiesInsideFolder(destination, destination / "x"));
  EXPECT_TRUE(LiesInsideFolder(destination / "", destination / "a" / "b"));
  EXPECT_FALSE(LiesInsideFolder(destination, destination));
  EXPECT_FALSE(LiesInsideFolder(destination, temp / "destination"));  // shared prefix, other folder
  EXPECT_FALSE(LiesInsideFolder(destination, destination / ".." / "x"));
  EXPECT_FALSE(LiesInsideFolder(destination, temp.path()));

  EXPECT_EQ(MemberTargetPath(destination, "a\\b.dat", false), destination / "a" / "b.dat");
  EXPECT_EQ(MemberTargetPath(destination, "caf\xC3\xA9.txt", true), destination / std::filesystem::path(u8"café.txt"));
  EXPECT_FALSE(MemberTargetPath(destination, "a\\..\\..\\b.dat", false));
  EXPECT_FALSE(MemberTargetPath(destination, "/tmp/b.dat", false));
}

}  // namespace
