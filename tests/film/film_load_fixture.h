#pragma once
// A player's temporary folder, segment list and loader for one test, and films written
// to disk and loaded the ways the player opens them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "film/film_loader.h"
#include "film/temp_files.h"
#include "writer/film_writer.h"
#include "support/temp_dir.h"

class FilmLoad : public ::testing::Test {
protected:
  TempDir root;
  std::filesystem::path temp = CreatePlayerTempFolder(root.path());
  TSegmentList list;
  TFilmLoader loader{list, temp};

  std::filesystem::path Write(const filmwriter::Bytes& bytes, const std::string& name = "film.kof") {
    const auto path = root / name;
    filmwriter::WriteBytesToFile(path, bytes);
    return path;
  }
  // Opened the way the Open dialog does: read exclusively, the film from byte 0.
  bool LoadFromStart(const filmwriter::Bytes& bytes) {
    TkoFileStream film(Write(bytes), kModeReadExclusive);
    return loader.LoadFilm(&film);
  }
  // Opened the way the command line does: through the trailer.
  bool LoadAppended(const filmwriter::Bytes& bytes) {
    TkoFileStream film(Write(bytes), kModeReadShared);
    return loader.LoadAppendedFilm(&film);
  }

  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Empties the list and checks that nothing is left in the temporary folder.
  void ClearAndExpectNothingLeft() {
    list.Clear();
    EXPECT_EQ(TempFiles(), std::vector<std::string>{});
  }

  // A small segment: two 6 × 4 pictures, one cursor, an MP3 sound block.
  static filmwriter::SegmentSpec Small(filmwriter::Packing packing, const std::string& name = "Segment") {
    filmwriter::SegmentSpec spec;
    spec.data.name = name;
    filmwriter::Picture second = filmwriter::Picture::Filled(6, 4, 0x405060);
    second.At(5, 3) = 0x010203;
    spec.data.pictures = {filmwriter::Picture::Filled(6, 4, 0x405060), second};
    spec.packing = packing;
    spec.sound = {'I', 'D', '3', 4, 0, 0, 1, 2, 3};
    return spec;
  }

  // Reads the segment's first frame record and compares it with the writer's.
  static void ExpectFirstFrame(TSegmentInfo& segment, const filmwriter::SegmentSpec& spec) {
    ASSERT_NE(segment.FrameStream, nullptr);
    std::vector<uint8_t> frame(FrameBufferSize(segment.Width, segment.Height));
    segment.FrameStream->SetPosition(segment.FirstFrameOffset);
    const TLoadFrameResult result = LoadFrame(&segment, frame);
    ASSERT_TRUE(result.Ok) << result.Message;
    const filmwriter::Bytes expected = filmwriter::FrameRecords(spec.data.pictures)[0];
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), frame.begin()));
  }
};
