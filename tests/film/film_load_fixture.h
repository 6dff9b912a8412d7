#pragma once
// A player's temporary folder, segment list and loader for one test, and films written
// to disk and loaded the ways the player opens them.
#include <gtest/gtest.h>

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

  std::filesystem::path Write(const filmwriter::Bytes& bytes, const std::string& name = "фильм.kof") {  // not ASCII
    filmwriter::WriteBytesToFile(root / name, bytes);
    return root / name;
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
  size_t TempFileCount() const {
    return size_t(std::distance(std::filesystem::directory_iterator(temp), std::filesystem::directory_iterator()));
  }
  // Empties the list and checks that nothing is left in the temporary folder.
  void ClearAndExpectNothingLeft() {
    list.Clear();
    EXPECT_EQ(TempFileCount(), 0u);
  }

  // A small segment: two 6 × 4 pictures, one cursor, an MP3 sound block.
  static filmwriter::SegmentSpec Small(filmwriter::Packing packing, const std::string& name = "Segment") {
    filmwriter::SegmentSpec spec;
    spec.data.name = name;
    spec.data.pictures = {filmwriter::Picture::Filled(6, 4, 0x405060), filmwriter::Picture::Filled(6, 4, 0x405060)};
    spec.data.pictures[1].At(5, 3) = 0x010203;
    spec.packing = packing;
    spec.sound = {'I', 'D', '3', 4, 0, 0, 1, 2, 3};
    return spec;
  }
};
