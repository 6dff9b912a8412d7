// One Open for every door: what the session tells its view, in order, and what
// stays of the film before when a file is refused.
#include "session/film_session.h"

#include <gtest/gtest.h>

#include "film/film_load_fixture.h"
#include "support/clock_fakes.h"

using filmwriter::Packing;

namespace {
// Writes down what a view is told, one line an event.
class RecordingView : public TSessionView {
public:
  void FilmClosing() override { Log.push_back("closing"); }
  void FilmLoading() override { Log.push_back("loading"); }
  void FilmOpened(const TOpenedFilm& film) override {
    Log.push_back("opened " + film.Path.filename().string() + " " +
                  std::to_string(film.Reading.HasSegments ? Segments->Count() : 0));
    for (const TSessionBox& box : film.Report) ShowBox(box);
  }
  void ShowBox(const TSessionBox& box) override {
    Log.push_back((box.Kind == TSessionBox::TKind::kError ? "error " : "warning ") + box.Caption + ": " + box.Text);
  }
  std::vector<std::string> Take() { return std::exchange(Log, {}); }

  const TSegmentList* Segments = nullptr;
  std::vector<std::string> Log;
};
}  // namespace

class FilmSession : public FilmLoad {
protected:
  ClockRig rig;
  TUiTexts texts{TUiLanguage::kEnglish};
  RecordingView view;
  TFilmSession session{*rig.Engine, view, texts, temp};

  void SetUp() override { view.Segments = &session.Segments(); }
  std::filesystem::path Film(const std::string& name, int segments) {
    std::vector<filmwriter::SegmentSpec> specs(static_cast<size_t>(segments), Small(Packing::Stored));
    return Write(filmwriter::BuildFilm(specs), name);
  }
};

TEST_F(FilmSession, EachOpenClosesTheFilmBeforeAndARefusedFileLeavesItPlaying) {
  const std::filesystem::path one = Film("one.kof", 2);
  const std::filesystem::path two = Film("two.kof", 1);

  EXPECT_TRUE(session.Open(one, TFilmDoor::kChosen, "one"));
  EXPECT_EQ(view.Take(), (std::vector<std::string>{"loading", "opened one.kof 2"}));
  EXPECT_EQ(rig.Engine->CurrentSegmentInfo(), session.Segments().Get(0));
  const size_t filesOfOne = TempFileCount();

  // A file that cannot be opened is told and changes nothing.
  EXPECT_FALSE(session.Open(root / "missing.kof", TFilmDoor::kChosen, "missing.kof"));
  EXPECT_EQ(view.Take(), (std::vector<std::string>{"error Error: Cannot open file missing.kof"}));
  EXPECT_EQ(session.Path(), one);
  EXPECT_EQ(session.Segments().Count(), 2);
  EXPECT_EQ(TempFileCount(), filesOfOne);

  EXPECT_TRUE(session.Open(two, TFilmDoor::kChosen, "two"));
  EXPECT_EQ(view.Take(), (std::vector<std::string>{"closing", "loading", "opened two.kof 1"}));
  EXPECT_LT(TempFileCount(), filesOfOne);  // the first film's files went with it

  session.Close();
  EXPECT_EQ(view.Take(), (std::vector<std::string>{"closing"}));
  EXPECT_FALSE(session.IsOpen());
  EXPECT_EQ(rig.Engine->CurrentSegmentInfo(), nullptr);
  EXPECT_EQ(TempFileCount(), 0u);
  session.Close();  // nothing open: nothing told
  EXPECT_TRUE(view.Take().empty());
}

TEST_F(FilmSession, AFileWithNothingToPlayIsToldByEveryDoorButTheStartUp) {
  // Zeros, as a download that never came: no trailer, an index of no entries.
  const std::filesystem::path blank = Write(filmwriter::Bytes(3000, 0), "blank.kof");
  const std::string notAFilm = "error Error: Invalid file format: blank.kof";
  struct Case {
    TFilmDoor door;
    bool kept;
    std::vector<std::string> told;
  };
  const Case cases[] = {
      // As a player without a film, it waits for one.
      {TFilmDoor::kStartup, true, {"loading", "opened blank.kof 0"}},
      // A chosen file stays open, as an empty film, with the reason.
      {TFilmDoor::kChosen, true, {"loading", "opened blank.kof 0", notAFilm}},
      // The page keeps nothing that cannot play.
      {TFilmDoor::kPage, false, {"loading", notAFilm}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.door));
    session.Close();
    view.Take();
    EXPECT_EQ(session.Open(blank, c.door, "blank.kof"), c.kept);
    EXPECT_EQ(view.Take(), c.told);
    EXPECT_EQ(session.IsOpen(), c.kept);
  }

  // A reading that stopped part way plays what it read and tells its error.
  const std::filesystem::path film = Film("stopped.kof", 2);
  session.Close();
  std::filesystem::remove_all(temp);
  EXPECT_TRUE(session.Open(film, TFilmDoor::kPage, "stopped.kof"));
  EXPECT_EQ(view.Take(),
            (std::vector<std::string>{"loading", "opened stopped.kof 1", "error Error: Cannot open or create file."}));
  session.Close();
}

TEST_F(FilmSession, AWarningIsToldAfterTheFilmIsShownInTheTextsLanguage) {
  filmwriter::SegmentSpec later = Small(Packing::Stored);
  later.version = 2;
  texts = TUiTexts(TUiLanguage::kRussian);
  EXPECT_TRUE(session.Open(Write(filmwriter::BuildFilm({Small(Packing::Stored), later}), "later.kof"),
                           TFilmDoor::kChosen, "later"));
  EXPECT_EQ(view.Take(), (std::vector<std::string>{"loading", "opened later.kof 1",
                                                   "warning Внимание: Сегмент 2 имеет более позднюю версию, "
                                                   "чем проигрыватель"}));
}
