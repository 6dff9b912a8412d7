// The system's MP3 decoder (ACM) measuring a segment's sound: a silent stream decodes to
// silent windows for its whole length, behind a tag too; what is no MP3 or cannot be read
// has no levels.
#include "platform/acm_sound_levels_win.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "support/temp_dir.h"
#include "writer/mp3_silence.h"

namespace {
void Write(const std::filesystem::path& path, const filmwriter::Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
}  // namespace

TEST(AcmSoundLevels, ASilentStreamIsSilentThroughout) {
  TempDir dir;
  filmwriter::Bytes tagged{'I', 'D', '3', 4, 0, 0, 0, 0, 0, 5, 1, 2, 3, 4, 5};
  const filmwriter::Bytes silence = filmwriter::SilentMp3(2400);  // 100 frames of 24 ms
  tagged.insert(tagged.end(), silence.begin(), silence.end());
  for (const auto& [name, bytes] : {std::pair{"plain.mp3", silence}, std::pair{"tagged.mp3", tagged}}) {
    SCOPED_TRACE(name);
    Write(dir / name, bytes);
    const std::optional<TSoundLevels> levels = DecodeMp3Levels(dir / name);
    ASSERT_TRUE(levels) << "the system decodes MP3";
    // 2.4 s, a window starting every 25 ms; the decoder may hold back or add up to a
    // frame of 24 ms.
    EXPECT_EQ(levels->StepMilliseconds, 25);
    EXPECT_GE(levels->Db.size(), 95u);
    EXPECT_LE(levels->Db.size(), 97u);
    for (const float db : levels->Db) EXPECT_LT(db, -90.0f);
  }
}

TEST(AcmSoundLevels, WhatIsNoMp3HasNoLevels) {
  TempDir dir;
  Write(dir / "noise.mp3", filmwriter::Bytes(4000, 0x5A));
  Write(dir / "empty.mp3", {});
  EXPECT_FALSE(DecodeMp3Levels(dir / "noise.mp3"));
  EXPECT_FALSE(DecodeMp3Levels(dir / "empty.mp3"));
  EXPECT_FALSE(DecodeMp3Levels(dir / "missing.mp3"));
}
