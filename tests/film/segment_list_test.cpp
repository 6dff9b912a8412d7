#include "film/segment_list.h"

#include <gtest/gtest.h>

#include "film/ko_cursor.h"
#include "writer/film_bytes.h"
#include "support/temp_dir.h"

TEST(SegmentList, AnswersOnlyInsideTheListAndFreesRecordsWithTheirFiles) {
  TempDir dir;
  const auto data = dir / "koS_1.dat", sound = dir / "koS_2.mp3", bystander = dir / "other.dat";
  for (const auto& p : {data, sound, bystander}) filmwriter::WriteBytesToFile(p, {1, 2, 3});
  TSegmentList list;
  std::vector<TSegmentInfo*> added;
  for (int i = 0; i < 17; ++i) added.push_back(list.Add());  // past the first block of sixteen
  for (int i = -1; i <= 17; ++i) EXPECT_EQ(list.Get(i), i >= 0 && i < 17 ? added[size_t(i)] : nullptr) << i;

  added[0]->FrameStream = std::make_unique<TkoFileStream>(data, kModeReadExclusive);
  added[0]->DataFilePath = data;
  added[0]->SoundFilePath = sound;
  added[1]->SoundFilePath = dir / "never-made.mp3";  // a missing file is not an error
  for (int i = 0; i < 2; ++i) EXPECT_EQ(added[0]->Cursors.Add(std::make_unique<TkoCursor>()), i);
  for (int i = -1; i <= 2; ++i) EXPECT_EQ(added[0]->Cursors.Item(i) != nullptr, i == 0 || i == 1) << i;
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(std::filesystem::exists(data)) << "the open data file is closed, then deleted";
  EXPECT_FALSE(std::filesystem::exists(sound));
  EXPECT_TRUE(std::filesystem::exists(bystander));
}

TEST(SoundType, ComesFromTheLastComponentsExtensionIgnoringCase) {
  EXPECT_EQ(GetSoundType("C:/temp/koS_1.MP3"), kSoundMp3);
  EXPECT_EQ(GetSoundType(".mp3"), kSoundMp3) << "the extension starts at the last dot";
  EXPECT_EQ(GetSoundType("tune.MID"), kSoundMidi);
  for (const char* other : {"voice.wav", "song.mp3x", "folder.mp3/file", ""})
    EXPECT_EQ(GetSoundType(other), kSoundWave) << other;
}
