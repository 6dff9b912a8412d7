#include "film/cab_member_name.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using Parts = std::vector<std::string>;

TEST(CabMemberName, PlainAndFolderNamesSplitIntoTheirParts) {
  EXPECT_EQ(SplitMemberName("koS_20090406171336123.dat", false), Parts{"koS_20090406171336123.dat"});
  EXPECT_EQ(SplitMemberName("a/b\\c.txt", false), (Parts{"a", "b", "c.txt"}));
  // Near misses of device names and dot names are ordinary names.
  for (const char* name : {"CONSOLE.txt", "COM10", "COM0", "LPT0.txt", ".hidden", "a b.txt", "a~!@#$%^&()_+=,;'[]{}"})
    EXPECT_EQ(SplitMemberName(name, false), Parts{name});
  EXPECT_EQ(SplitMemberName("\xD0\xBF\xD1\x80\xD0\xB8.txt", true), Parts{"\xD0\xBF\xD1\x80\xD0\xB8.txt"});
  // Without the UTF-8 flag high bytes are just 8-bit characters.
  EXPECT_EQ(SplitMemberName("\xC0\xAF.txt", false), Parts{"\xC0\xAF.txt"});

  const std::string longest(kMaxMemberNameBytes, 'n');
  EXPECT_TRUE(SplitMemberName(longest, false));
  EXPECT_FALSE(SplitMemberName(longest + "n", false));
}

TEST(CabMemberName, NamesThatCouldLeaveTheFolderOrMisbehaveAreRejected) {
  for (const std::string name :
       {"", "/etc/passwd", "\\\\server\\share\\x", "\\\\?\\C:\\x", "C:x", "C:\\x", "a\\..\\..\\x", "..", "x\\..",
        ".", "a/./b", "a//b", "x/", "name.", "name ", "a\x01" "b", "a\x7f", "a<b", "a\"b", "a|b", "a*b", "CON",
        "con.txt", "Nul.tar.gz", "lpt9.dat", "AUX .txt", "a\\PRN\\b", "conin$", "COM\xC2\xB9", "a?b", "a>b", "a:b",
        "a\x1F"})
    EXPECT_FALSE(SplitMemberName(name, false)) << "name: " << name;
  // Overlong slash and dot-dot, a surrogate, past U+10FFFF and a cut sequence are not UTF-8.
  for (const std::string name : {"a\xC0\xAF" "b", "\xE0\x80\xAE\xE0\x80\xAE/x", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                 "cut\xD0"})
    EXPECT_FALSE(SplitMemberName(name, true)) << "name: " << name;
  // Each the first or last of its length, around the surrogates (U+D7FF, U+E000).
  EXPECT_TRUE(IsStrictUtf8("\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"
                           "\xED\x9F\xBF\xEE\x80\x80"));
  for (const char* bad : {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xF5\x80\x80\x80", "\xE2\x28\xA1",
                          "\xED\xBF\xBF"})
    EXPECT_FALSE(IsStrictUtf8(bad)) << bad;

  // The next cabinet of a set must lie beside the current one.
  EXPECT_TRUE(IsPlainMemberFileName("Split-2.CAB", false));
  for (const char* name : {"sub\\Split-2.CAB", "..\\Split-2.CAB", "C:\\Split-2.CAB", ""})
    EXPECT_FALSE(IsPlainMemberFileName(name, false)) << name;
}

TEST(CabMemberName, TargetsLieInsideTheDestination) {
  TempDir temp;
  const std::filesystem::path destination = temp / "dest";
  EXPECT_TRUE(LiesInsideFolder(destination / "", destination / "a" / "b"));
  EXPECT_FALSE(LiesInsideFolder(destination, destination));
  EXPECT_FALSE(LiesInsideFolder(destination, temp / "destination"));  // shared prefix, other folder
  EXPECT_FALSE(LiesInsideFolder(destination, destination / ".." / "x"));

  EXPECT_EQ(MemberTargetPath(destination, "a\\b.dat", false), destination / "a" / "b.dat");
  EXPECT_EQ(MemberTargetPath(destination, "caf\xC3\xA9.txt", true), destination / std::filesystem::path(u8"café.txt"));
  EXPECT_FALSE(MemberTargetPath(destination, "a\\..\\..\\b.dat", false));
}

}  // namespace
