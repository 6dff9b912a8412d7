#include "film/film_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "film/film_load_fixture.h"
#include "support/error_text.h"

using filmwriter::Packing;

TEST_F(FilmLoad, EveryPackingGivesAPlayableSegmentAndLeavesOnlyItsFiles) {
  for (Packing packing : {Packing::Stored, Packing::MsZip, Packing::Lzx, Packing::Lzma, Packing::LzmaUnknownSize}) {
    SCOPED_TRACE(static_cast<int>(packing));
    filmwriter::SegmentSpec first = Small(packing, "Первый");
    first.data.samplesPerFrame = 3;
    first.data.extra = {7, 7};
    // No cursor records, and a track longer than the name block's slack: the size
    // bound of the data file must count the track.
    first.data.cursorRecords.clear();
    first.data.cursorTrack = std::vector<filmwriter::CursorSample>(60);
    ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({first, Small(Packing::Stored, "Second")})));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_TRUE(loader.Damage().empty()) << loader.Damage()[0];
    EXPECT_EQ(loader.WarningText(), "");

    TSegmentInfo& s = *list.Get(0);
    // Width, height, depth, rate, frames, samples per frame, cursors, track and extra sizes.
    EXPECT_EQ((std::vector<int64_t>{s.Width, s.Height, s.BitsPerPixel, s.FramesPerSecond, s.FrameCount, s.Flags & 0xFF,
                                    s.Cursors.Count(), s.CursorTrack.GetSize(), s.Extra.GetSize()}),
              (std::vector<int64_t>{6, 4, 32, 10, 2, 1, 0, 60 * 6, 2}));
    EXPECT_EQ(s.Name, "Первый");
    EXPECT_TRUE(s.Playable());
    EXPECT_EQ(filmwriter::ReadBytesFromFile(s.SoundFilePath), first.sound);
    EXPECT_EQ(s.DataFilePath.parent_path(), temp);
    EXPECT_EQ(TempFileCount(), 4u) << "two data files and two sound files: no packed copy, no extraction folder";
    ClearAndExpectNothingLeft();
  }
}

TEST_F(FilmLoad, UnknownPackingOtherSoundKindsAndNoRateGiveNoFilesOrNothingToPlay) {
  filmwriter::SegmentSpec unknown = Small(Packing::Stored, "Unknown"), wave = Small(Packing::MsZip, "Wave"),
                          midi = Small(Packing::Lzma, "Midi"), silent = Small(Packing::Stored, "Silent"),
                          slow = Small(Packing::Stored, "Slow"), half = Small(Packing::Stored, "Half");
  unknown.flags = 0x1000;
  wave.soundKind = filmwriter::kSoundWave;
  midi.soundKind = filmwriter::kSoundMidi;
  silent.sound.clear();
  slow.framesPerSecond = 0.4f;
  half.framesPerSecond = 13.5f;
  ASSERT_TRUE(LoadFromStart(filmwriter::BuildFilm({unknown, wave, midi, silent, slow, half})));
  ASSERT_EQ(list.Count(), 6);
  const TSegmentInfo& u = *list.Get(0);
  EXPECT_EQ(u.FrameStream, nullptr);
  EXPECT_EQ(u.Width, 6) << "the header values stay";
  EXPECT_EQ(u.Problem, "its packing 0x1000 is not known");
  EXPECT_EQ(GetSoundType(u.SoundFilePath), kSoundMp3) << "the sound block does not depend on the packing";
  EXPECT_EQ(loader.Damage(), std::vector<std::string>{"Segment 1: its packing 0x1000 is not known"});
  for (int i = 1; i < 4; ++i) EXPECT_TRUE(list.Get(i)->Playable() && list.Get(i)->SoundFilePath.empty()) << i;
  EXPECT_EQ(list.Get(4)->FramesPerSecond, 0);
  EXPECT_FALSE(list.Get(4)->Playable()) << "a segment without a rate is marked unplayable";
  EXPECT_NE(list.Get(4)->FrameStream, nullptr);
  EXPECT_EQ(list.Get(5)->FramesPerSecond, 14);
  ClearAndExpectNothingLeft();
}

TEST(SegmentHeader, RatesAreRoundedHalvesToEvenIntoAByte) {
  const std::pair<float, uint8_t> cases[] = {{12.5f, 12}, {13.5f, 14}, {0.4f, 0}, {300.0f, 44},  // its low 8 bits
                                             {std::numeric_limits<float>::quiet_NaN(), 0},
                                             {std::numeric_limits<float>::infinity(), 0}};
  for (const auto& [rate, rounded] : cases) EXPECT_EQ(RoundFramesPerSecond(rate), rounded) << rate;
}

TEST_F(FilmLoad, LaterVersionsAreSkippedWithOneJoinedWarning) {
  std::vector<filmwriter::SegmentSpec> specs;
  for (int i = 1; i <= 7; ++i) {
    filmwriter::SegmentSpec s = Small(Packing::Stored, std::string(1, 'S').append(std::to_string(i)));
    s.version = i == 3 ? 2 : i == 5 ? 1 : i == 6 ? 0xFF : 0;  // 0xFF compares unsigned: later too
    if (i == 2) s.indexKind = 2;
    specs.push_back(s);
  }
  const filmwriter::Bytes film = filmwriter::BuildFilm(specs);
  const std::string builtIn = FormatText(kDefaultInvalidVersionFormat, 3) + FormatText(kDefaultInvalidVersionFormat, 6);
  // A table text that would read a string, or more numbers than are passed, is not used.
  for (const auto& [format, warning] : {std::pair<std::string, std::string>{"", builtIn}, {"v%d;", "v3;v6;"},
                                        {"%s is newer", builtIn}, {"%d%d", builtIn}}) {
    if (!format.empty()) loader.SetInvalidVersionFormat(format);
    ASSERT_TRUE(LoadFromStart(film));
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.Get(i)->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"S1", "S4", "S5", "S7"}));
    EXPECT_EQ(loader.WarningText(), warning) << format;
    ClearAndExpectNothingLeft();
  }
}

TEST_F(FilmLoad, AFilmIsFoundFromByteZeroThroughItsTrailerAndBehindAPlayer) {
  const filmwriter::Bytes film = filmwriter::BuildFilm({Small(Packing::MsZip, "One")});
  const filmwriter::Bytes withTrailer = filmwriter::WithTrailer(film);
  ASSERT_TRUE(LoadFromStart(withTrailer));
  ASSERT_TRUE(LoadAppended(withTrailer));
  EXPECT_EQ(list.Count(), 2) << "LoadFilm only appends";
  ClearAndExpectNothingLeft();

  const filmwriter::Bytes player(3000, 0x4D);
  const std::string language = "[Language]\r\nError=Fehler\r\n";
  const filmwriter::Bytes executable = filmwriter::AppendedFilm(player, language, film);
  ASSERT_TRUE(LoadAppended(executable));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_TRUE(list.Get(0)->Playable());
  EXPECT_EQ(ReadLanguageBlock(Write(executable, "player.exe")), language);
  ClearAndExpectNothingLeft();

  // A plain player: its last eight bytes are zero. Only a language block: X = 0 puts
  // its length right before the trailer.
  filmwriter::Bytes plain = player;
  plain.insert(plain.end(), 8, 0);
  EXPECT_FALSE(LoadAppended(plain));
  EXPECT_EQ(ReadLanguageBlock(Write(plain, "plain.exe")), "");
  const filmwriter::Bytes onlyLanguage = filmwriter::AppendedFilm(player, language, {});
  EXPECT_EQ(ReadLanguageBlock(Write(onlyLanguage, "lang.exe")), language);
  EXPECT_FALSE(LoadAppended(onlyLanguage));
  // The last four bytes of any file may look like a trailer; only one that leads to an
  // index inside the film it measures finds a film.
  filmwriter::Bytes unfit = film;
  const uint32_t count = uint32_t(film.size() / 6 + 1);  // N entries need 4 + 6 N > length bytes
  for (int i = 0; i < 4; ++i) unfit[size_t(i)] = uint8_t(count >> (8 * i));
  filmwriter::Bytes file(100, 'M');
  filmwriter::PutBytes(file, unfit);
  filmwriter::PutU32(file, uint32_t(film.size()));
  EXPECT_FALSE(LoadAppended(file));
  EXPECT_TRUE(loader.WarningText().empty());
  EXPECT_TRUE(loader.Damage().empty());
  // No segment count, or no segment entry: nothing is loaded.
  filmwriter::FilmOptions none;
  none.segmentCount = -3;
  EXPECT_FALSE(LoadFromStart(filmwriter::BuildFilm({Small(Packing::Stored)}, none)));
  EXPECT_FALSE(LoadFromStart({}));
  filmwriter::SegmentSpec other = Small(Packing::Stored);
  other.indexKind = 2;
  EXPECT_TRUE(LoadFromStart(filmwriter::BuildFilm({other, other})));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(TempFileCount(), 0u);
}

// A cabinet may mark its members read-only; they are still deleted with the list, the
// data file and the other members alike.
TEST_F(FilmLoad, ReadOnlyCabinetMembersAreDeletedWithTheList) {
  filmwriter::SegmentSpec spec = Small(Packing::MsZip, "ReadOnly");
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

TEST_F(FilmLoad, ATemporaryFileThatCannotBeMadeStopsTheLoadAndKeepsTheSegments) {
  const filmwriter::Bytes film = filmwriter::BuildFilm({Small(Packing::Stored), Small(Packing::Stored)});
  std::filesystem::remove(temp);
  EXPECT_EQ(ErrorOf([&] { LoadFromStart(film); }), "Cannot open or create file.") << "the packed copy cannot be made";
  EXPECT_EQ(list.Count(), 1);
  list.Clear();

  // Without a folder at all (start-up could not make one) the same, and nothing is
  // written anywhere instead: not in the system's temporary folder, not in the working one.
  auto systemTempFiles = [] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(SystemTempFolder())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(kTempFilePrefix, 0) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = systemTempFiles();
  const TempDir work;
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(work.path());
  TFilmLoader noFolder(list, {});
  TkoFileStream stream(Write(film), kModeReadExclusive);
  EXPECT_EQ(ErrorOf([&] { noFolder.LoadFilm(&stream); }), "Cannot open or create file.");
  EXPECT_EQ(list.Count(), 1);
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
  EXPECT_EQ(systemTempFiles(), before);
  std::filesystem::current_path(working);
  list.Clear();
}
