// Damaged films: nothing is read outside the file, a damaged segment is reported and
// the rest of the film loads, and the temporary folder empties with the list.
#include <gtest/gtest.h>

#include "film/film_load_fixture.h"
#include "film/ko_error.h"

using filmwriter::Bytes;
using filmwriter::Packing;

TEST_F(FilmLoad, AFilmCutAtEveryByteOfItsIndexAndHeadersLoadsWhatIsWhole) {
  const filmwriter::BuiltFilm film =
      filmwriter::BuildFilmDetailed({Small(Packing::Stored, "A"), Small(Packing::MsZip, "B")});
  const size_t firstWhole = film.segments[0].headerOffset + filmwriter::kSegmentHeaderSize +
                            film.segments[0].packedBlock.size();
  const size_t firstHeaderEnd = film.segments[0].headerOffset + filmwriter::kSegmentHeaderSize;
  const size_t secondHeaderEnd = film.segments[1].headerOffset + filmwriter::kSegmentHeaderSize;
  for (size_t cut = 0; cut <= secondHeaderEnd + 8; ++cut) {
    // Every byte of the index and headers, and a few inside the first packed block.
    if (cut > film.segments[0].headerOffset + 60 && cut + 3 < film.segments[1].headerOffset && cut % 97 != 0)
      continue;
    SCOPED_TRACE(cut);
    EXPECT_EQ(LoadFromStart(Bytes(film.bytes.begin(), film.bytes.begin() + long(cut))), cut >= 4);
    EXPECT_EQ(list.Count(), (cut >= firstHeaderEnd) + (cut >= secondHeaderEnd)) << "a segment per whole header";
    const int playable = (list.Get(0) && list.Get(0)->Playable()) + (list.Get(1) && list.Get(1)->Playable());
    EXPECT_EQ(playable, cut >= firstWhole ? 1 : 0);
    EXPECT_EQ(loader.Damage().empty(), cut < 4);
    ClearAndExpectNothingLeft();
  }
}

TEST_F(FilmLoad, OffsetsAndLengthsOutsideTheFileAreReportedAndSkipped) {
  std::vector<filmwriter::SegmentSpec> specs;
  auto add = [&](auto change) {
    filmwriter::SegmentSpec s = Small(Packing::Stored, "Bad" + std::to_string(specs.size() + 1));
    change(s);
    specs.push_back(s);
  };
  add([](auto& s) { s.headerOffset = 0xFFFFFFF0u; });        // wraps a 32-bit position
  add([](auto& s) { s.headerOffset = 0x7FFFFFFFu; });
  add([](auto& s) { s.header.packedOffset = -100000; });     // before the file
  add([](auto& s) { s.header.packedOffset = 0x7FFFFFF0; });  // offset + size wraps
  add([](auto& s) { s.header.packedSize = 0x7FFFFFFF; });
  add([](auto& s) { s.header.packedSize = -5; });
  add([](auto& s) { s.header.soundOffset = 0x7FFFFFFF; });
  add([](auto& s) { s.header.soundSize = 0x7FFFFFFF; });
  add([](auto& s) { s.header.soundOffset = -54; });  // negative but inside: the header itself
  specs.push_back(Small(Packing::MsZip, "Good"));
  ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm(specs)));

  ASSERT_EQ(list.Count(), 8) << "segments whose header lies outside the file are not added";
  // A bad packed block leaves the segment unplayable, a bad sound block only the sound.
  for (int i = 0; i < 8; ++i) EXPECT_EQ(list.Get(i)->Playable(), i >= 4) << i;
  for (int i = 4; i < 6; ++i) EXPECT_TRUE(list.Get(i)->SoundFilePath.empty()) << i;
  EXPECT_EQ(filmwriter::ReadBytesFromFile(list.Get(6)->SoundFilePath).size(), 9u);
  EXPECT_EQ(list.Get(7)->Name, "Good");
  ASSERT_EQ(loader.Damage().size(), 8u);
  EXPECT_EQ(loader.Damage()[0], "Index entry 1: its header lies outside the file");
  EXPECT_EQ(loader.Damage()[7].rfind("Segment 6: its sound block", 0), 0u) << loader.Damage()[7];
  ClearAndExpectNothingLeft();
}

TEST_F(FilmLoad, AHugeSegmentCountReadsOnlyTheIndexTheFileHolds) {
  filmwriter::FilmOptions options;
  options.segmentCount = 0x7FFFFFFF;
  ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({Small(Packing::Stored, "Only")}, options)));
  ASSERT_TRUE(list.Count() >= 1 && list.Get(0)->Playable());
  EXPECT_EQ(loader.Damage().at(0).rfind("Film: the index announces 2147483647 segments", 0), 0u);
  ClearAndExpectNothingLeft();
  // Three segments announced, two whole index entries and five bytes of a header held.
  options.segmentCount = 3;
  const Bytes film = filmwriter::BuildFilm({Small(Packing::Stored), Small(Packing::Stored)}, options);
  ASSERT_TRUE(LoadFromStart(Bytes(film.begin(), film.begin() + 4 + 2 * 6 + 5)));
  EXPECT_EQ(loader.Damage(), (std::vector<std::string>{
                                 "Film: the index announces 3 segments, the file holds 2 index entries",
                                 "Index entry 1: its header lies outside the file",
                                 "Index entry 2: its header lies outside the file"}));

  // A trailer that claims more than the file holds finds no film.
  EXPECT_FALSE(LoadAppended(filmwriter::WithTrailer(filmwriter::BuildFilm({Small(Packing::Stored)}), 0x7FFFFFF0)));
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(FilmLoad, DamagedPackedBlocksAndDataFilesLeaveOnlyTheirSegmentWithoutData) {
  filmwriter::SegmentSpec good = Small(Packing::Lzma, "Good");
  good.data.cursorRecords.clear();  // else the bound allows for cursor records of 8 MiB
  filmwriter::SegmentSpec cut = good, tooBig = good, shortened = good;
  filmwriter::DataFile data = filmwriter::BuildDataFile(good.data);
  const Bytes packed = filmwriter::BuildLzmaAlone(data.bytes, filmwriter::LzmaSize::Unknown);
  cut.packedBlock = Bytes(packed.begin(), packed.end() - 7);
  tooBig.packedBlock = filmwriter::BuildLzmaAlone(Bytes(data.bytes.size() + 2'000'000, 0));
  data.bytes.resize(data.bytes.size() - 3);  // the cursor track is cut
  shortened.prebuiltData = data;
  filmwriter::SegmentSpec cabinet = shortened;
  cabinet.packing = Packing::MsZip;
  ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({cut, tooBig, shortened, cabinet, good})));
  const std::string track = "the cursor track (12 bytes) runs past the end of the data file";
  const std::vector<std::string> problems = {"the LZMA stream is cut short",
                                             "the LZMA stream announces more than the segment header allows",
                                             "damaged data file: " + track, "damaged data file: " + track};
  ASSERT_EQ(list.Count(), 5);
  for (size_t i = 0; i < problems.size(); ++i) {
    EXPECT_EQ(list.Get(int32_t(i))->FrameStream, nullptr) << i;
    EXPECT_EQ(list.Get(int32_t(i))->Problem, problems[i]);
  }
  EXPECT_EQ(loader.Damage(), (std::vector<std::string>{"Segment 1: " + problems[0], "Segment 2: " + problems[1],
                                                        "Segment 3: " + track, "Segment 4: " + track}));
  EXPECT_TRUE(list.Get(4)->Playable());
  ClearAndExpectNothingLeft();
}

TEST_F(FilmLoad, CabinetMembersStayInsideTheFolderAndNeverReplaceEachOther) {
  filmwriter::SegmentSpec a = Small(Packing::Stored, "A");
  a.memberName = "koS_same.dat";
  a.otherMembers = {{"readme.txt", {'h', 'i'}}, {"sub\\x.bin", {1}}};
  filmwriter::SegmentSpec b = Small(Packing::MsZip, "B");
  b.memberName = "koS_same.dat";
  filmwriter::SegmentSpec escape = Small(Packing::Stored, "Escape");
  escape.memberName = "..\\koS_escape.dat";
  filmwriter::SegmentSpec notCab = Small(Packing::Stored, "NotCab");
  notCab.packedBlock = Bytes(200, 'x');
  ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({a, b, escape, notCab})));

  ASSERT_EQ(list.Count(), 4);
  EXPECT_TRUE(list.Get(0)->Playable());
  EXPECT_TRUE(list.Get(1)->Playable());
  EXPECT_NE(list.Get(0)->DataFilePath, list.Get(1)->DataFilePath);
  EXPECT_EQ(list.Get(0)->Name, "A") << "the first segment's data file is not written over";
  EXPECT_EQ(list.Get(1)->Name, "B");
  EXPECT_FALSE(list.Get(2)->Playable());
  EXPECT_FALSE(std::filesystem::exists(root / "koS_escape.dat"));
  EXPECT_EQ(list.Get(3)->Problem, "its packed block is not a cabinet");
  // Data files and sound files only: the other members went with the extraction folder.
  EXPECT_EQ(TempFileCount(), 2u + 4u);
  ClearAndExpectNothingLeft();
}
