#include "session/film_properties.h"

#include <gtest/gtest.h>

namespace {
TSegmentInfo& AddSegment(TSegmentList& list, int32_t width, int32_t height, uint8_t bits, uint8_t fps,
                         const char* sound, const std::string& name) {
  TSegmentInfo& segment = *list.Add();
  segment.Width = width;
  segment.Height = height;
  segment.BitsPerPixel = bits;
  segment.FramesPerSecond = fps;
  segment.SoundFilePath = sound;
  segment.Name = name;
  return segment;
}
}  // namespace

TEST(FilmProperties, HeaderAndOneLinePerSegment) {
  TSegmentList list;
  const TUiTexts texts;
  const TAnsiToUtf8 toUtf8 = [](const std::string& s) { return "<" + s + ">"; };
  EXPECT_EQ(FilmPropertiesText("C:\\player.exe", list, texts, toUtf8), std::nullopt);

  AddSegment(list, 800, 600, 32, 10, "/no-such-dir/koS_1.MP3", "Intro %s");
  AddSegment(list, 640, 480, 24, 5, "", "");
  AddSegment(list, 1, 2, 16, 0, "/no-such-dir/koS_2.wav", "x");
  EXPECT_EQ(FilmPropertiesText("C:\\player.exe", list, texts, toUtf8),
            "C:\\player.exe\r\rКоличество сегментов: 3\r\r"
            "[800 x 600 x 32 bit / 10 fps  Sound: mp3]:  <Intro %s>\r"
            "[640 x 480 x 24 bit / 5 fps  Sound:  - ]:  \r"
            "[1 x 2 x 16 bit / 0 fps  Sound:  - ]:  <x>\r");
}

TEST(FilmProperties, TitleNamesAFilmOtherThanThePlayerItself) {
  const std::wstring player = L"C:\\Фильмы\\Player.exe";
  EXPECT_EQ(WindowTitleForFilm(L"c:\\Фильмы\\PLAYER.EXE", player), L"roRezodu");
  // Only A to Z fold: other letters compare exactly, and the path is shown as given.
  EXPECT_EQ(WindowTitleForFilm(L"C:\\фильмы\\Player.exe", player), L"roRezodu - [C:\\фильмы\\Player.exe]");
  EXPECT_EQ(WindowTitleForFilm(L"D:\\Demo.KOF", player), L"roRezodu - [D:\\Demo.KOF]");
}

TEST(FilmProperties, DroppedFilesAreFilmsByTheirExtension) {
  const std::pair<std::wstring, bool> cases[] = {
      {L"C:\\a\\film.kof", true},  {L"FILM.KOF", true},          {L"x.Kof", true},
      {L".kof", true},             {L"C:.kof", true},            {L"film.kof.txt", false},
      {L"film.kofx", false},       {L"C:\\d.kof\\film", false},  {L"C:/d.kof/film", false},
      {L"kof", false},             {L"film.ķof", false},         {L"", false},
  };
  for (const auto& [path, film] : cases) EXPECT_EQ(IsFilmFileName(path), film) << path.size();
}
