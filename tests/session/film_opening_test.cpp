// Each door reads the films it is meant to. What a refused file, a stopped reading and a
// warning tell is checked through the film session (film_session_test.cpp).
#include "session/film_opening.h"

#include <gtest/gtest.h>

#include <tuple>

#include "film/film_load_fixture.h"

using filmwriter::Packing;

class FilmOpening : public FilmLoad {
protected:
  TFilmReading Read(const std::filesystem::path& path, TFilmDoor door) {
    const std::unique_ptr<TkoFileStream> file = OpenFilmFile(path, door);
    if (!file) {
      ADD_FAILURE() << "cannot open " << path;
      return {};
    }
    return ReadFilm(*file, door, list, temp, kDefaultInvalidVersionFormat);
  }
};

TEST_F(FilmOpening, EachDoorFindsTheFilmsItsFilesHold) {
  using enum TFilmDoor;
  const filmwriter::Bytes film = filmwriter::BuildFilm({Small(Packing::MsZip, "One"), Small(Packing::Lzma, "Two")});
  const std::filesystem::path plain = Write(film, "plain.kof");
  const std::filesystem::path trailed = Write(filmwriter::WithTrailer(film), "trailed.kof");
  const std::filesystem::path executable =
      Write(filmwriter::AppendedFilm(filmwriter::Bytes(3000, 0x4D), "", film), "film.exe");
  filmwriter::Bytes player(3000, 0x4D);
  player.insert(player.end(), 8, 0);
  const std::filesystem::path bare = Write(player, "player.exe");

  const std::tuple<std::filesystem::path, TFilmDoor, int32_t> cases[] = {
      {plain, kStartup, 0},   {plain, kChosen, 2},   {plain, kPage, 2},
      {trailed, kStartup, 2}, {trailed, kChosen, 2}, {trailed, kPage, 2},
      {executable, kStartup, 2}, {executable, kChosen, 0}, {executable, kPage, 2},
      {bare, kStartup, 0},    {bare, kChosen, 0},    {bare, kPage, 0},
  };
  for (const auto& [path, door, segments] : cases) {
    const TFilmReading reading = Read(path, door);
    const std::string place = path.filename().string() + " door " + std::to_string(static_cast<int>(door));
    EXPECT_EQ(list.Count(), segments) << place;
    EXPECT_EQ(reading.HasSegments, segments > 0) << place;
    EXPECT_TRUE(reading.Error.empty()) << place;
    EXPECT_TRUE(reading.Loaded || segments == 0) << place;
  }
  // Each reading replaced the film before it: no segment and no file of it is left.
  Read(plain, kChosen);
  EXPECT_EQ(list.Count(), 2);
  ClearAndExpectNothingLeft();
}
