// Damaged films: nothing is read outside the file, a damaged segment is reported and
// the rest of the film loads, and the temporary folder empties with the list.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "film/film_load_fixture.h"
#include "film/ko_error.h"

using filmwriter::Bytes;
using filmwriter::Packing;
using filmwriter::SegmentSpec;

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

// Natively the cabinets go through libmspack, under Wine through cabinet.dll, whose
// texts differ: the problem is compared only where the loader finds the damage itself.
TEST_F(FilmLoad, ADamagedPackedBlockOrDataFileLeavesOnlyItsOwnSegmentWithoutData) {
  using filmwriter::CabDamage;
  const auto packedBlockOf = [](const SegmentSpec& s) {
    return filmwriter::BuildFilmDetailed({s}).segments[0].packedBlock;
  };
  const auto cabinet = [&](CabDamage damage) {
    return [=](SegmentSpec& s) { s.packedBlock = DamageCabinet(packedBlockOf(s), damage); };
  };
  const auto shortened = [](Packing packing) {  // the cursor track is cut
    return [=](SegmentSpec& s) {
      s.packing = packing;
      s.prebuiltData = filmwriter::BuildDataFile(s.data);
      s.prebuiltData->bytes.resize(s.prebuiltData->bytes.size() - 3);
    };
  };
  const std::string track = "the cursor track (12 bytes) runs past the end of the data file";
  // (What the LZMA stage finds wrong is its own test's; here the bound the header gives it.)
  const std::string largeLzma = "the LZMA stream announces more than the segment header allows";
  // What is damaged; the segment's problem and the loader's report ("" for any).
  const std::tuple<const char*, std::function<void(SegmentSpec&)>, std::string, std::string> cases[] = {
      {"LZMA too large", [](SegmentSpec& s) {
         s.packing = Packing::Lzma;
         s.packedBlock = filmwriter::BuildLzmaAlone(Bytes(filmwriter::BuildDataFile(s.data).bytes.size() + 2'000'000));
       }, largeLzma, largeLzma},
      {"data file cut, LZMA", shortened(Packing::Lzma), "damaged data file: " + track, track},
      {"data file cut, cabinet", shortened(Packing::MsZip), "damaged data file: " + track, track},
      {"member list beyond the end", cabinet(CabDamage::FileTableBeyondEnd), "", ""},
      {"member entry cut short", cabinet(CabDamage::CutEntry), "", ""},
      {"data block beyond the end", cabinet(CabDamage::DataBlockBeyondEnd), "", ""},
      {"member name of 800 bytes", [](SegmentSpec& s) { s.memberName = std::string(796, 'n') + ".dat"; }, "", ""},
  };
  for (const auto& [what, damage, problem, told] : cases) {
    SCOPED_TRACE(what);
    SegmentSpec bad = Small(Packing::MsZip, "Bad");
    bad.data.cursorRecords.clear();  // else the bound allows for cursor records of 8 MiB
    damage(bad);
    ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({bad, Small(Packing::Stored, "Good")})));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0)->FrameStream, nullptr);
    EXPECT_TRUE(problem.empty() ? !list.Get(0)->Problem.empty() : list.Get(0)->Problem == problem)
        << list.Get(0)->Problem;
    std::vector<uint8_t> frame(FrameBufferSize(6, 4));
    EXPECT_TRUE(list.Get(1)->Playable() && LoadFrame(list.Get(1), frame).Ok);
    ASSERT_EQ(loader.Damage().size(), 1u);
    EXPECT_EQ(loader.Damage()[0].rfind("Segment 1: " + told, 0), 0u) << loader.Damage()[0];
    EXPECT_TRUE(told.empty() || loader.Damage()[0] == "Segment 1: " + told) << loader.Damage()[0];
    // Only what the segments own is left: the good data file and both sound files.
    EXPECT_EQ(TempFileCount(), 3u);
    ClearAndExpectNothingLeft();
  }
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
