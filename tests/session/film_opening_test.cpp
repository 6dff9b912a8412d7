// Each door reads the films it is meant to, and a reading tells the players all they show.
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

TEST_F(FilmOpening, ARefusedFileAStoppedReadingAndAWarningAreAllTold) {
  EXPECT_EQ(OpenFilmFile(root / "missing.kof", TFilmDoor::kChosen), nullptr);

  filmwriter::SegmentSpec later = Small(Packing::Stored);
  later.version = 2;
  const TFilmReading warned =
      Read(Write(filmwriter::BuildFilm({Small(Packing::Stored), later}), "later.kof"), TFilmDoor::kChosen);
  EXPECT_EQ(warned.Warning, "Сегмент 2 имеет более позднюю версию, чем проигрыватель");
  EXPECT_TRUE(warned.HasSegments);
  ClearAndExpectNothingLeft();  // the segment's files are open until then

  // With no temporary folder the reading stops at the first segment's files; the segment
  // read stays, so there is something to show and the error to tell.
  const std::filesystem::path two =
      Write(filmwriter::BuildFilm({Small(Packing::Stored), Small(Packing::Stored)}), "two.kof");
  std::filesystem::remove_all(temp);
  const TFilmReading stopped = Read(two, TFilmDoor::kChosen);
  EXPECT_EQ(stopped.Error, "Cannot open or create file.");
  EXPECT_FALSE(stopped.Loaded);
  EXPECT_TRUE(stopped.HasSegments);
  EXPECT_EQ(list.Count(), 1);
  list.Clear();
}
