// The names kof export compares and writes: names as a case-insensitive file system sees
// them, the move of a complete video to its name, and GIF's comment blocks, where a GIF
// records its film.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include "film/ko_error.h"
#include "kof_export/gif_comment.h"
#include "kof_export/interruption.h"
#include "kof_export/output_claim.h"
#include "kof_export/output_names.h"
#include "kof_export/text_index_file.h"
#include "support/temp_dir.h"
#include "writer/film_writer.h"

namespace fs = std::filesystem;
using filmwriter::Bytes;

TEST(OutputNames, NamesThatDifferOnlyInCaseFoldToOne) {
  const std::pair<const char*, const char*> same[] = {
      {"Lesson.MP4", "lesson.mp4"},
      {"\xD0\xA3\xD1\x80\xD0\xBE\xD0\xBA.gif", "\xD1\x83\xD1\x80\xD0\xBE\xD0\xBA.gif"},  // Урок, урок
      {"\xC3\x89t\xC3\xA9.webm", "\xC3\xA9t\xC3\xA9.webm"},                              // Été, été
      {"\xFF\xC3(.mkv", "\xFF\xC3(.mkv"},  // bytes that are not UTF-8 stay as they are
  };
  for (const auto& [a, b] : same) EXPECT_EQ(FoldedName(a), FoldedName(b)) << a;
  EXPECT_EQ(FoldedName("\xD0\xA3"), "\xD1\x83") << "a Cyrillic capital becomes its small letter";
  EXPECT_NE(FoldedName("lesson1.mp4"), FoldedName("lesson2.mp4"));
  EXPECT_NE(FoldedName("\xC3\x89"), FoldedName("E")) << "an accent is kept";
}

TEST(OutputNames, AnOutputsNameIsHeldByItselfAndItsCaseVariantsOnly) {
  TempDir dir;
  for (const char* name : {"Lesson.mp4", "LESSON.mp4", "lesson.mp4.kof-export-host-12", "lesson.webm", "lessons.mp4"})
    filmwriter::WriteBytesToFile(dir / name, Bytes(1, 'x'));
  std::vector<fs::path> found = OutputsNamedLike(dir / "lesson.mp4");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<fs::path>{dir / "LESSON.mp4", dir / "Lesson.mp4"}));
  EXPECT_TRUE(OutputsNamedLike(dir / "other.mp4").empty());
  EXPECT_TRUE(OutputsNamedLike(dir / "missing" / "lesson.mp4").empty());
}

// A stop that came before the complete video is moved to OUT cancels the export: OUT
// stays as it was, whether the move would replace it or take a free name. The text index
// likewise: a stop before its move leaves the old index and no temporary file.
TEST(OutputClaim, AStopBeforeTheMoveLeavesOutAndTheIndexAsTheyWere) {
  TempDir dir;
  for (const Publishing publishing : {Publishing::Replace, Publishing::KeepOthers}) {
    const bool replacing = publishing == Publishing::Replace;
    SCOPED_TRACE(replacing ? "over the old video" : "to a free name");
    const fs::path out = dir / (replacing ? "old.mp4" : "free.mp4"), temporary = dir / "complete.tmp";
    if (replacing) filmwriter::WriteBytesToFile(out, Bytes(3, 'o'));
    filmwriter::WriteBytesToFile(temporary, Bytes(5, 'n'));
    NoteInterruption(SIGTERM);
    EXPECT_THROW(PublishVideo(temporary, out, "sha256:0", publishing), ExportInterrupted);
    NoteInterruption(0);
    EXPECT_EQ(fs::exists(out) ? filmwriter::ReadBytesFromFile(out) : Bytes(), replacing ? Bytes(3, 'o') : Bytes());
    EXPECT_EQ(PublishVideo(temporary, out, "sha256:0", publishing), Published::Written) << "without a stop";
    EXPECT_EQ(filmwriter::ReadBytesFromFile(out), Bytes(5, 'n'));
  }

  TempDir indexDir;
  const fs::path out = indexDir / "lesson.kof.words.json";
  filmwriter::WriteBytesToFile(out, Bytes(3, 'o'));
  TTextIndex index;
  index.Film = "lesson.kof";
  NoteInterruption(SIGTERM);
  EXPECT_THROW(WriteTextIndex(index, out), ExportInterrupted);
  NoteInterruption(0);
  EXPECT_EQ(filmwriter::ReadBytesFromFile(out), Bytes(3, 'o'));
  EXPECT_EQ(std::distance(fs::directory_iterator(indexDir.path()), fs::directory_iterator()), 1);
  WriteTextIndex(index, out);
  EXPECT_TRUE(ReadTextIndexFile(out) == index) << "without a stop";
}

namespace {
// A GIF89a of one 1 x 1 picture with a global table of two colours, and a comment
// block before the picture when one is given.
Bytes SmallGif(const std::string& comment = "") {
  std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 19);
  if (!comment.empty()) {
    gif.append("\x21\xFE").push_back(char(comment.size()));
    gif.append(comment).push_back('\0');
  }
  gif.append("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3B", 16);
  return Bytes(gif.begin(), gif.end());
}
}  // namespace

TEST(GifComment, ACommentAddedBeforeTheTrailerIsReadBackAfterThoseBeforeIt) {
  TempDir dir;
  const fs::path gif = dir / "a.gif";
  filmwriter::WriteBytesToFile(gif, SmallGif("made by hand"));
  const std::string longText(600, 'k');  // three sub-blocks of at most 255 bytes
  AppendGifComment(gif, longText);
  EXPECT_EQ(GifComments(gif), (std::vector<std::string>{"made by hand", longText}));
  const Bytes written = filmwriter::ReadBytesFromFile(gif);
  EXPECT_EQ(written.size(), SmallGif("made by hand").size() + 2 + 3 + 600 + 1);
  EXPECT_EQ(written.back(), 0x3B) << "still ends with the trailer";

  filmwriter::WriteBytesToFile(dir / "b.gif", SmallGif());
  EXPECT_TRUE(GifComments(dir / "b.gif").empty());
  Bytes cut = SmallGif("cut");
  cut.resize(cut.size() - 5);  // inside the picture's data
  filmwriter::WriteBytesToFile(dir / "cut.gif", cut);
  EXPECT_EQ(GifComments(dir / "cut.gif"), std::vector<std::string>{"cut"}) << "those before the damage";
  EXPECT_THROW(AppendGifComment(dir / "cut.gif", "x"), EkoError) << "no trailer: not a whole GIF";
  filmwriter::WriteBytesToFile(dir / "not.gif", Bytes(20, 'x'));
  EXPECT_TRUE(GifComments(dir / "not.gif").empty());
}
