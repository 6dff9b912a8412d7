// The settings text: what it reads (an earlier version's too), what it keeps that it does
// not understand, the places' limits, newer values and places winning over older ones,
// and the size it writes.
#include "session/settings_store.h"

#include <gtest/gtest.h>

namespace {
using enum TSettingsText;

const TFilmIdentity kFilm{"C:\\Уроки\\урок 1.kof", 123456, 133000000000000000};

std::string Header() { return std::string(TSettingsStore::kFirstLine) + "\n"; }
const std::string kVersion1 = "roRezodu settings 1\n";
// A place line of kFilm's identity for path, taken at savedMs.
std::string PlaceLine(int64_t savedMs, int frame, const std::string& path = kFilm.Path) {
  return "place=" + std::to_string(savedMs) + " 123456 133000000000000000 2 " + std::to_string(frame) + " " + path +
         "\n";
}
TFilmIdentity Film(const std::string& path) { return {path, kFilm.Size, kFilm.WriteTime}; }
}  // namespace

TEST(SettingsStore, ReadsWhatItCanAndTellsDamagedAndLaterFiles) {
  struct Case {
    std::string Text;
    TSettingsText Kind;
    size_t ResumeCount;
    std::string Language;
  };
  const std::string entry = PlaceLine(5, 40);
  const std::string bom = "\xEF\xBB\xBF";
  const Case cases[] = {
      {"", kSettings, 0, ""},
      {bom, kSettings, 0, ""},
      {Header(), kSettings, 0, ""},
      {Header() + entry + "language=7 en\n", kSettings, 1, "en"},
      // Notepad's byte-order mark, and its line breaks.
      {bom + "roRezodu settings 2\r\n" + entry.substr(0, entry.size() - 1) + "\r\nlanguage=7 en\r\n", kSettings, 1,
       "en"},
      // Version 1: values without their time (a number is part of the value); still
      // earlier builds' places without theirs.
      {bom + "roRezodu settings 1\r\n" + entry + "language=en\r\n", kSettings, 1, "en"},
      {kVersion1 + "language=7 en\n", kSettings, 0, "7 en"},
      {Header() + "resume=123456 133000000000000000 2 40 C:\\Уроки\\урок 1.kof\n", kSettings, 1, ""},
      // This version's value without a time is not understood.
      {Header() + "language=en\n", kSettings, 0, ""},
      // A later version is not read; anything else is damaged.
      {"roRezodu settings 3\n" + entry, kLaterVersion, 0, ""},
      {bom + "roRezodu settings 17\r\nlanguage=7 en\r\n", kLaterVersion, 0, ""},
      {"roRezodu settings 99999999999999999999\n", kLaterVersion, 0, ""},
      {"roRezodu settings 0\n" + entry, kDamaged, 0, ""},
      {"roRezodu settings 02\n" + entry, kDamaged, 0, ""},
      {"roRezodu settings 2 beta\n" + entry, kDamaged, 0, ""},
      {"roRezodu settings\n" + entry, kDamaged, 0, ""},
      {"\x89PNG\r\n\x1a\n" + entry, kDamaged, 0, ""},
      {std::string(4096, '\0'), kDamaged, 0, ""},  // a new name holding zeros after a power cut
      {bom + bom + Header(), kDamaged, 0, ""},
      // Damaged lines: numbers missing or not numbers, no path, negative places, no "=".
      {Header() + "place=1 2 3 4 C:\\a.kof\nplace=x 1 2 3 4 C:\\b.kof\nplace=1 2 3 4 5\nplace=1 2 3 -1 4 C:\\c.kof\n"
                  "resume=1 2 3 C:\\d.kof\ngarbage\n=x\nlanguage=x en\nlanguage=7 en\n",
       kSettings, 0, "en"},
      // A path or a key is there once, with its latest place or value (the first of a tie).
      {Header() + entry + PlaceLine(4, 41) + "language=7 en\nlanguage=7 de\n", kSettings, 1, "en"},
      {Header() + PlaceLine(4, 41) + entry + "language=7 en\nlanguage=8 de\nlanguage=6 fr\n", kSettings, 1, "de"},
      {kVersion1 + "language=en\nlanguage=de\n", kSettings, 0, "en"},
      // Over the reader's limit: the whole lines within it.
      {Header() + "language=7 en\n" + entry + std::string(TSettingsStore::kMaxFileBytes, 'x'), kSettings, 1, "en"},
      {"roRezodu settings 1" + std::string(TSettingsStore::kMaxFileBytes, ' ') + "\n", kDamaged, 0, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TSettingsStore store;
    EXPECT_EQ(store.Parse(cases[i].Text), cases[i].Kind) << "case " << i;
    EXPECT_EQ(store.ResumeCount(), cases[i].ResumeCount) << "case " << i;
    EXPECT_EQ(store.Value("language"), cases[i].Language) << "case " << i;
    if (cases[i].ResumeCount == 1) {
      EXPECT_EQ(store.ResumePlace(kFilm), (TFilmFrame{2, 40})) << "case " << i;
    }
  }
}

TEST(SettingsStore, KeepsTheLinesItDoesNotUnderstandAndWritesThemBack) {
  const std::string other = "garbage\n=x\nplace=x 1 2 3 4 C:\\b.kof\nresume=1 2 3 C:\\d.kof\n";
  TSettingsStore store;
  ASSERT_EQ(store.Parse("\xEF\xBB\xBF" + Header() + "volume=3 80\n" + PlaceLine(5, 40) + other + "\nlanguage=4 ru\n"),
            kSettings);
  store.SetValue("language", "en", 5);
  EXPECT_EQ(store.Text(), Header() + "volume=3 80\nlanguage=5 en\n" + other + PlaceLine(5, 40));
  TSettingsStore again;
  ASSERT_EQ(again.Parse(store.Text()), kSettings);
  EXPECT_EQ(again.Text(), store.Text()) << "a second round changes nothing";
}

TEST(SettingsStore, AFilmIsKnownByPathSizeAndWriteTimeAndItsTextComesBack) {
  TSettingsStore store;
  store.SetValue("language", "en", 9);
  EXPECT_FALSE(store.SetValue("bad=key", "x", 1));
  EXPECT_FALSE(store.SetValue("place", "1 2 3 4 5 C:\\x.kof", 1));
  EXPECT_FALSE(store.SetValue("resume", "1 2 3 4 C:\\x.kof", 1));
  EXPECT_FALSE(store.SetValue("language", "a\nb", 10));
  store.RememberPlace(kFilm, {2, 40}, 1);
  store.RememberPlace({"/films/two words.kof", 5, -7}, {0, 0}, 2);
  TSettingsStore again;
  ASSERT_EQ(again.Parse(store.Text()), kSettings);
  EXPECT_EQ(again.Text(), store.Text());
  EXPECT_EQ(again.Text(), Header() + "language=9 en\nplace=2 5 -7 0 0 /films/two words.kof\n" + PlaceLine(1, 40));
  EXPECT_EQ(again.ResumeCount(), 2u);
  const std::pair<TFilmIdentity, std::optional<TFilmFrame>> lookups[] = {
      {kFilm, TFilmFrame{2, 40}},
      {{kFilm.Path, kFilm.Size + 1, kFilm.WriteTime}, std::nullopt},
      {{kFilm.Path, kFilm.Size, kFilm.WriteTime + 1}, std::nullopt},
      {{"c:\\уроки\\урок 1.kof", kFilm.Size, kFilm.WriteTime}, std::nullopt},
      {{"/films/two words.kof", 5, -7}, TFilmFrame{0, 0}},
  };
  for (const auto& [film, place] : lookups) EXPECT_EQ(again.ResumePlace(film), place) << film.Path;
  // The same path with another size is the film changed: its old place goes.
  again.RememberPlace({kFilm.Path, 1, 1}, {1, 1}, 3);
  EXPECT_EQ(again.ResumeCount(), 2u);
  EXPECT_EQ(again.ResumePlace(kFilm), std::nullopt);
  again.ForgetPlace({kFilm.Path, 1, 1}, 4);
  EXPECT_EQ(again.ResumeCount(), 1u);
  // Nothing that would break a line or a place that is none.
  again.RememberPlace({"C:\\a\nb.kof", 1, 1}, {0, 0}, 5);
  again.RememberPlace({"C:\\c.kof", 1, 1}, {0, -1}, 5);
  again.RememberPlace({"", 1, 1}, {0, 0}, 5);
  EXPECT_EQ(again.ResumeCount(), 1u);
}

TEST(SettingsStore, HoldsTheLatest200FilmsTheOldestGoing) {
  TSettingsStore store;
  const auto film = [](int i) { return TFilmIdentity{"film" + std::to_string(i) + ".kof", i, i}; };
  for (int i = 0; i < 205; ++i) store.RememberPlace(film(i), {0, i}, 1000 + i);
  EXPECT_EQ(store.ResumeCount(), TSettingsStore::kMaxResumeFilms);
  EXPECT_EQ(store.ResumePlace(film(4)), std::nullopt);
  EXPECT_EQ(store.ResumePlace(film(5)), (TFilmFrame{0, 5}));
  // Remembered again, film 5 is the latest: the next newcomer pushes out film 6.
  store.RememberPlace(film(5), {0, 50}, 2000);
  store.RememberPlace(film(300), {0, 300}, 2001);
  EXPECT_EQ(store.ResumePlace(film(5)), (TFilmFrame{0, 50}));
  EXPECT_EQ(store.ResumePlace(film(6)), std::nullopt);
  // A place older than all 200 does not come in.
  store.RememberPlace(film(400), {0, 400}, 1);
  EXPECT_EQ(store.ResumePlace(film(400)), std::nullopt);
  // A file with more lines than that (written by hand) keeps the latest, not the first.
  std::string text = Header();
  for (int i = 0; i < 210; ++i)
    text += "place=" + std::to_string(i % 2 ? i : 1000 + i) + " 1 1 0 " + std::to_string(i) + " f" + std::to_string(i) +
            "\n";
  ASSERT_EQ(store.Parse(text), kSettings);
  EXPECT_EQ(store.ResumeCount(), TSettingsStore::kMaxResumeFilms);
  // The odd lines are older: f1, f3 ... f19 go.
  EXPECT_EQ(store.ResumePlace({"f0", 1, 1}), (TFilmFrame{0, 0}));
  EXPECT_EQ(store.ResumePlace({"f208", 1, 1}), (TFilmFrame{0, 208}));
  EXPECT_EQ(store.ResumePlace({"f19", 1, 1}), std::nullopt);
  EXPECT_EQ(store.ResumePlace({"f21", 1, 1}), (TFilmFrame{0, 21}));
}

TEST(SettingsStore, ChangesGoOverTheFileTheNewerPlaceOfAFilmWinning) {
  struct Case {
    std::string Disk;      // places after the header
    int64_t ChangeMs;      // the change to the film "A", taken then
    int32_t ChangeFrame;   // -1: forgotten
    std::string Expected;  // the places written
    bool Taken;            // the change is in the store
  };
  const auto a = [](int64_t ms, int frame) { return PlaceLine(ms, frame, "A"); };
  const auto b = [](int64_t ms, int frame) { return PlaceLine(ms, frame, "B"); };
  const Case cases[] = {
      {"", 200, 2, a(200, 2), true},
      {a(100, 1), 200, 2, a(200, 2), true},
      {a(300, 1), 200, 2, a(300, 1), false},  // another player's later place stays
      {a(300, 2), 200, 2, a(300, 2), true},   // the same place, taken later
      {a(200, 1), 200, 2, a(200, 2), true},   // at the same moment the writer's
      {a(100, 1), 200, -1, "", true},
      {a(300, 1), 200, -1, a(300, 1), false},
      {b(100, 7), 200, 2, a(200, 2) + b(100, 7), true},
      {b(300, 7), 200, 2, b(300, 7) + a(200, 2), true},
      {b(300, 7) + a(100, 1), 200, -1, b(300, 7), true},
      {"resume=123456 133000000000000000 2 1 A\n", 1, 2, a(1, 2), true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TSettingsStore store;
    ASSERT_EQ(store.Parse(Header() + "language=0 ru\nvolume=0 80\n" + cases[i].Disk), kSettings) << "case " << i;
    TSettingsChanges changes;
    EXPECT_TRUE(changes.Empty());
    changes.SetValue("language", "de", 1);  // replaced by the next
    changes.SetValue("language", "en", 1);
    if (cases[i].ChangeFrame >= 0)
      changes.RememberPlace(Film("A"), {2, cases[i].ChangeFrame}, cases[i].ChangeMs);
    else
      changes.ForgetPlace(Film("A"), cases[i].ChangeMs);
    EXPECT_FALSE(changes.Empty());
    EXPECT_EQ(changes.ApplyTo(store), cases[i].Taken) << "case " << i;
    EXPECT_EQ(store.Text(), Header() + "language=1 en\nvolume=0 80\n" + cases[i].Expected) << "case " << i;
  }
  // Of one player's changes to a film the last counts; cleared, there are none.
  TSettingsChanges changes;
  changes.RememberPlace(Film("A"), {2, 5}, 10);
  changes.ForgetPlace(Film("A"), 11);
  changes.RememberPlace(Film("A"), {2, 6}, 12);
  TSettingsStore store;
  EXPECT_TRUE(changes.ApplyTo(store));
  EXPECT_EQ(store.Text(), Header() + a(12, 6));
  changes.Clear();
  EXPECT_TRUE(changes.Empty());
}

TEST(SettingsStore, TheValueChosenLastWinsWhoeverWritesLast) {
  struct Case {
    std::string Disk;
    int64_t ChangeMs;      // the change to English, taken then
    std::string Expected;  // the value line written
    bool Taken;
  };
  const Case cases[] = {
      {Header(), 200, "language=200 en\n", true},
      {Header() + "language=100 ru\n", 200, "language=200 en\n", true},
      {Header() + "language=300 ru\n", 200, "language=300 ru\n", false},  // chosen later by another player
      {Header() + "language=300 en\n", 200, "language=300 en\n", true},   // the same choice, later
      {Header() + "language=200 ru\n", 200, "language=200 en\n", true},   // at the same moment the writer's
      {kVersion1 + "language=ru\n", 0, "language=0 en\n", true},          // untimed: older than any
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TSettingsStore store;
    ASSERT_EQ(store.Parse(cases[i].Disk), kSettings) << "case " << i;
    TSettingsChanges changes;
    changes.SetValue("language", "en", cases[i].ChangeMs);
    EXPECT_EQ(changes.ApplyTo(store), cases[i].Taken) << "case " << i;
    EXPECT_EQ(store.Text(), Header() + cases[i].Expected) << "case " << i;
  }
}

TEST(SettingsStore, WritesNoMoreThanTheReaderTakesTheOldestPlacesGoingFirst) {
  TSettingsStore store;
  store.SetValue("language", "en", 1);
  // 200 paths near Windows' longest (32,767 characters; up to 3 bytes each in UTF-8).
  const auto path = [](int i) { return "C:\\" + std::to_string(i) + std::string(30000, 'x'); };
  for (int i = 0; i < 200; ++i) store.RememberPlace(Film(path(i)), {0, i}, i);
  const std::string text = store.Text();
  EXPECT_LE(text.size(), TSettingsStore::kMaxFileBytes);
  EXPECT_GT(text.size(), TSettingsStore::kMaxFileBytes - 30100) << "no more left out than needed";
  TSettingsStore read;
  ASSERT_EQ(read.Parse(text), kSettings);
  EXPECT_EQ(read.Value("language"), "en");
  EXPECT_EQ(read.ResumePlace(Film(path(199))), (TFilmFrame{0, 199}));
  EXPECT_EQ(read.ResumePlace(Film(path(0))), std::nullopt);
  const size_t kept = read.ResumeCount();
  EXPECT_EQ(read.ResumePlace(Film(path(200 - static_cast<int>(kept)))), (TFilmFrame{0, 200 - static_cast<int>(kept)}));
  // Lines not understood are kept before places; one that no longer fits goes.
  const std::string other(TSettingsStore::kMaxFileBytes - Header().size() - 5, '#');  // 4 bytes to spare
  ASSERT_EQ(read.Parse(Header() + other + "\n"), kSettings);
  read.RememberPlace(kFilm, {2, 40}, 5);
  EXPECT_EQ(read.Text(), Header() + other + "\n") << "the place does not fit";
  read.SetValue("language", "en", 1);
  EXPECT_EQ(read.Text(), Header() + "language=1 en\n" + PlaceLine(5, 40)) << "the line not understood no longer fits";
}
