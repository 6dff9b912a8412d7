// A segment whose packed block cannot be used leaves only that segment without data:
// it is reported once, its files are gone, and every other segment loads and plays.
// Natively the cabinets go through libmspack, under Wine through cabinet.dll.
#include <gtest/gtest.h>

#include <functional>

#include "film/film_load_fixture.h"

using filmwriter::Packing;
using filmwriter::SegmentSpec;

namespace {
filmwriter::Bytes PackedBlockOf(const SegmentSpec& spec) {
  return filmwriter::BuildFilmDetailed({spec}).segments[0].packedBlock;
}
}  // namespace

TEST_F(FilmLoad, ADamagedCabinetLeavesOnlyItsOwnSegmentWithoutData) {
  using filmwriter::CabDamage;
  const std::pair<const char*, std::function<void(SegmentSpec&)>> cases[] = {
      {"member list beyond the end",
       [](SegmentSpec& s) { s.packedBlock = DamageCabinet(PackedBlockOf(s), CabDamage::FileTableBeyondEnd); }},
      {"member entry cut short",
       [](SegmentSpec& s) { s.packedBlock = DamageCabinet(PackedBlockOf(s), CabDamage::CutEntry); }},
      {"data block beyond the end",
       [](SegmentSpec& s) { s.packedBlock = DamageCabinet(PackedBlockOf(s), CabDamage::DataBlockBeyondEnd); }},
      {"member name of 800 bytes", [](SegmentSpec& s) { s.memberName = std::string(796, 'n') + ".dat"; }},
  };
  for (const auto& [what, damage] : cases) {
    SCOPED_TRACE(what);
    SegmentSpec bad = Small(Packing::MsZip, "Bad");
    damage(bad);
    ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({bad, Small(Packing::Stored, "Good")})));

    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0)->FrameStream, nullptr);
    EXPECT_FALSE(list.Get(0)->Problem.empty());
    EXPECT_EQ(list.Get(1)->Name, "Good");
    std::vector<uint8_t> frame(FrameBufferSize(6, 4));
    EXPECT_TRUE(list.Get(1)->Playable() && LoadFrame(list.Get(1), frame).Ok);
    ASSERT_EQ(loader.Damage().size(), 1u);
    EXPECT_EQ(loader.Damage()[0].rfind("Segment 1: ", 0), 0u) << loader.Damage()[0];
    // Only what the segments own is left: the good data file and both sound files.
    EXPECT_EQ(TempFileCount(), 3u);
    ClearAndExpectNothingLeft();
  }
}

// A cabinet may mark its members read-only; they are still deleted with the list, the
// data file and the other members alike.
TEST_F(FilmLoad, ReadOnlyCabinetMembersAreDeletedWithTheList) {
  SegmentSpec spec = Small(Packing::MsZip, "ReadOnly");
  spec.memberAttributes = 0x21;
  spec.otherMembers = {{"readme.txt", {'h', 'i'}, filmwriter::kDefaultCabDate, filmwriter::kDefaultCabTime, 0x21}};
  ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({spec, Small(Packing::Lzx, "Second")})));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.Get(0)->Playable());
  EXPECT_TRUE(list.Get(1)->Playable());
  EXPECT_TRUE(loader.Damage().empty());
  ClearAndExpectNothingLeft();
  EXPECT_TRUE(RemovePlayerTempFolder(temp));
}

// The last four bytes of any file may look like a trailer; only one that leads to an
// index inside the film it measures finds a film.
TEST_F(FilmLoad, ATrailerWhoseIndexDoesNotFitItsFilmFindsNoFilm) {
  filmwriter::Bytes film = filmwriter::BuildFilm({Small(Packing::Stored, "One")});
  const size_t length = film.size();
  const uint32_t count = uint32_t(length / 6 + 1);  // N entries need 4 + 6 N > length bytes
  for (int i = 0; i < 4; ++i) film[size_t(i)] = uint8_t(count >> (8 * i));
  filmwriter::Bytes file(100, 'M');
  filmwriter::PutBytes(file, film);
  filmwriter::PutU32(file, uint32_t(length));
  EXPECT_FALSE(LoadAppended(file));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(loader.WarningText().empty());
  EXPECT_TRUE(loader.Damage().empty());
}
