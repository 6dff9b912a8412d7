// A film's identity: the same for copies of one film, different for another version of
// it, found behind a player as in a plain file.
#include "film/film_identity.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "writer/film_writer.h"

namespace {
filmwriter::SegmentSpec Segment(int width, int height, int frames) {
  filmwriter::SegmentSpec spec;
  spec.data.name = "Segment";
  for (int k = 0; k < frames; ++k) spec.data.pictures.push_back(filmwriter::Picture::Filled(width, height, 0x405060));
  spec.sound = {'I', 'D', '3', 4, 0, 0, 1, 2, 3};
  return spec;
}

std::string IdentityOf(const TempDir& folder, const std::string& name, const filmwriter::Bytes& bytes) {
  filmwriter::WriteBytesToFile(folder / name, bytes);
  return FilmIdentity(folder / name);
}
}  // namespace

// What a film executable holds of its player does not count: the film is read from where
// its trailer says it starts.
TEST(FilmIdentity, CopiesAgreeWhateverPlayerCarriesThemAndOtherVersionsDiffer) {
  TempDir folder;
  const filmwriter::Bytes film = filmwriter::WithTrailer(filmwriter::BuildFilm({Segment(6, 4, 2)}));
  const std::string identity = IdentityOf(folder, "a.kof", film);
  EXPECT_EQ(identity.size(), 16u);
  EXPECT_EQ(identity.find_first_not_of("0123456789abcdef"), std::string::npos) << identity;
  EXPECT_EQ(IdentityOf(folder, "copy.kof", film), identity);
  filmwriter::Bytes older(300, 'P'), newer(300, 'Q');
  older.insert(older.end(), film.begin(), film.end());
  newer.insert(newer.end(), film.begin(), film.end());
  EXPECT_EQ(IdentityOf(folder, "older.exe", older), IdentityOf(folder, "newer.exe", newer));
  // The same size, another header: 4 x 6 pictures instead of 6 x 4.
  const filmwriter::Bytes turned = filmwriter::WithTrailer(filmwriter::BuildFilm({Segment(4, 6, 2)}));
  ASSERT_EQ(turned.size(), film.size());
  EXPECT_NE(IdentityOf(folder, "turned.kof", turned), identity);
  EXPECT_NE(IdentityOf(folder, "longer.kof", filmwriter::WithTrailer(filmwriter::BuildFilm({Segment(6, 4, 3)}))),
            identity);
  EXPECT_EQ(FilmIdentity(folder / "none.kof"), "");
}
