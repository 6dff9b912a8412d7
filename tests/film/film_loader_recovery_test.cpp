// Cabinets and trailers that are odd but not damaged.
#include <gtest/gtest.h>

#include "film/film_load_fixture.h"

using filmwriter::Packing;
using filmwriter::SegmentSpec;

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
