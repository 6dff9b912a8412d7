// The web player over a recording page: films opened the three ways they come, the
// picture the canvas gets, the load's messages, the progress bar, the panel's state and
// the sound device's answers.
#include "web/web_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "player_rig.h"
#include "writer/mp3_silence.h"

using namespace filmwriter;

namespace {
uint32_t RequestOf(const std::string& playEvent) {
  const size_t at = playEvent.find("\"request\":");
  return at == std::string::npos ? 0 : uint32_t(std::stoul(playEvent.substr(at + 10)));
}
}  // namespace

TEST(WebPlayer, FilmsOpenPlainWithTrailerAndAsExecutablesAndOnlyAnExecutableBringsItsTexts) {
  const Bytes film = BuildFilm({Moving("A", 8, 32, 5), Moving("B", 8, 24, 5)});
  const std::string table = "Play=Go\r\nerror=Failure\r\nLoading=\r\nSegments=Parts\r\n";
  const Bytes player = {'M', 'Z', 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0};
  const struct {
    const char* carrier;
    Bytes bytes;
    bool language;
  } cases[] = {{"plain", film, false}, {"trailer", WithTrailer(film), false},
               {"executable", AppendedFilm(player, table, film), true}};
  PlayerRig rig;
  // The page learns the commands and their keys from the player's table once, at the start.
  ASSERT_EQ(rig.page.Named("commands").size(), 1u);
  for (const char* command : {R"({"name":"load","id":101,"code":"KeyO","ctrl":true,"alt":false,"shift":false,)",
                              R"("shortcut":"Ctrl+O","aria":"Control+O"})", R"("shortcut":"Ctrl+,","aria":"Control+,"})",
                              R"("code":"ArrowLeft","ctrl":false,"alt":true,"shift":false,"shortcut":"Alt+Left")",
                              R"("aria":"Alt+ArrowLeft"})",
                              R"({"name":"findPrevious","id":158,"code":"F3","ctrl":false,"alt":false,"shift":true)"})
    EXPECT_TRUE(Has(rig.page.Named("commands")[0], command)) << command;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.carrier);
    rig.page.Events.clear();
    ASSERT_TRUE(rig.Open(c.bytes, std::string(c.carrier) + ".kof"));
    EXPECT_EQ(rig.player.Engine().State(), psPlaying);
    const std::vector<std::string> films = rig.page.Named("film");
    ASSERT_EQ(films.size(), 1u);
    EXPECT_TRUE(Has(films[0], R"("name":"A","width":8,"height":6,"bits":32,"rate":10,"frames":5)"));
    EXPECT_TRUE(Has(films[0], R"("name":"B","width":8,"height":6,"bits":24)"));
    // Menu texts: the table's value, empty when missing; messages: only non-empty values.
    for (const char* text : {R"("language":true)", R"("Play":"Go")", R"("Stop":"")", R"("Error":"Failure")",
                             R"("Segments":"Parts")"})
      EXPECT_EQ(Has(films[0], text), c.language) << text;
    EXPECT_TRUE(Has(films[0], R"("Loading":"Загрузка фильма ...")"));
    // The names of the controls are the built-in texts, whatever the table leaves empty.
    const size_t names = films[0].find(R"("names":{)");
    ASSERT_NE(names, std::string::npos);
    EXPECT_TRUE(Has(films[0].substr(names), R"("Stop":"Стоп")"));
    EXPECT_TRUE(Has(films[0].substr(names), R"("Play":"Воспроизведение")"));
  }
  rig.player.SetLanguage(TUiLanguage::kEnglish);
  const std::string texts = rig.page.Named("texts").back();
  const size_t names = texts.find(R"("names":{)");
  ASSERT_NE(names, std::string::npos);
  EXPECT_TRUE(Has(texts.substr(0, names), R"("Play":"Go")"));
  EXPECT_TRUE(Has(texts.substr(names), R"("Play":"Play")"));
}

TEST(WebPlayer, TheCanvasGetsTheEnginesPictureRedFirstOncePerDisplayFrame) {
  for (const uint8_t depth : {32, 24}) {
    SCOPED_TRACE(depth);
    PlayerRig rig;
    // Three pointer samples a frame, the pointer (32 x 32) moving right from (40, 1) by 5.
    SegmentSpec spec = Moving("A", 100, depth, 4, 3);
    spec.data.cursorTrack = std::vector<CursorSample>();
    for (uint16_t i = 0; i < 12; ++i) spec.data.cursorTrack->push_back({0, uint16_t(40 + 5 * i), 1});
    ASSERT_TRUE(rig.Open(WithTrailer(BuildFilm({spec}))));
    EXPECT_EQ(rig.page.Canvas, (TkoSize{100, 6}));
    const TkoPictureView& picture = rig.player.Frames().Picture();
    const TRgbaPicture& canvas = rig.player.Presenter().Canvas();
    // A whole frame, then ticks that only move the pointer: only the area under its old
    // and new places is put, and the canvas holds the engine's picture after each.
    const std::vector<TkoBox> puts[] = {{{0, 0, 100, 6}}, {{40, 1, 37, 5}}, {{45, 1, 37, 5}}};
    for (const std::vector<TkoBox>& expected : puts) {
      rig.Tick(1);
      rig.page.Puts.clear();
      rig.player.DisplayFrame();
      rig.player.DisplayFrame();  // nothing changed since
      EXPECT_EQ(rig.page.Puts, expected);
      for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 100; ++x) ASSERT_EQ(canvas.PixelAt(x, y), PixelColour(picture, x, y) << 8 | 0xFF);
    }
    EXPECT_EQ(rig.page.Named("firstpicture").size(), 1u);
  }
}

TEST(WebPlayer, BadFilmsShowTheLoadersMessagesAndLeaveNothingBehind) {
  PlayerRig rig;
  // The page's "Loading" goes when an open fails, as when a film opens.
  const auto loadingShown = [&] {
    const std::vector<std::string> loading = rig.page.Named("loading");
    return !loading.empty() && !Has(loading.back(), R"("text":"")");
  };
  EXPECT_FALSE(rig.player.Open(rig.root / "missing.kof", "missing.kof"));
  EXPECT_TRUE(Has(rig.page.Named("message").back(), "Не могу открыть файл missing.kof"));
  EXPECT_FALSE(loadingShown());
  // A file with no film (what is told of it and kept: FilmSession): its "Loading" goes.
  EXPECT_FALSE(rig.Open(Bytes(100, 0x41), "junk.kof"));  // an index of 0x41414141 entries, none in the file
  EXPECT_FALSE(loadingShown());
  rig.page.Send(LoadingEvent("Загрузка фильма ..."));  // the page showed it while the film downloaded
  rig.player.ReportUnreadableFilm("gone.kof", "404 Not Found");
  EXPECT_FALSE(loadingShown());

  SegmentSpec damaged = Moving("D", 8, 32, 3);
  damaged.packing = Packing::MsZip;
  damaged.packedBlock = DamageCabinet(BuildCabinet({{"a.dat", BuildDataFile(damaged.data).bytes}}),
                                      CabDamage::FileTableBeyondEnd);
  ASSERT_TRUE(rig.Open(WithTrailer(BuildFilm({Moving("A", 8, 32, 3), damaged})), "damaged.kof"));
  const std::string warning = rig.page.Named("message").back();
  EXPECT_TRUE(Has(warning, R"("caption":"Внимание")") && Has(warning, "Segment 2:")) << warning;
  rig.Tick(20);  // the damaged segment is reported when playback reaches it, and the film stops
  const std::string skipped = rig.page.Named("message").back();
  EXPECT_TRUE(Has(skipped, R"("caption":"Ошибка","text":"Неверный формат файла: )") && Has(skipped, R"("kind":"warning")"))
      << skipped;
  EXPECT_EQ(rig.player.Engine().State(), psStopped);
  EXPECT_FALSE(std::filesystem::is_empty(rig.temp));
  rig.player.Close();
  EXPECT_TRUE(std::filesystem::is_empty(rig.temp));
  EXPECT_FALSE(rig.player.HasFilm());
}

TEST(WebPlayer, TheBarPlaysThePressedSegmentScrubsAndItsKeysStepAcrossSegmentsToTheFilmsEnds) {
  PlayerRig rig;
  ASSERT_TRUE(rig.Open(WithTrailer(BuildFilm({Moving("A", 8, 32, 100), Moving("B", 8, 32, 900)}))));
  const int32_t width = 204;  // a drawing area of 200 pixels for 100 s
  rig.player.PressBar(2 + 150, width);
  EXPECT_EQ(rig.player.Engine().CurrentSegment(), 1);
  EXPECT_EQ(rig.player.Engine().State(), psPlaying);
  rig.player.Command(111);  // Pause
  rig.player.ScrubBar(2 + 10, width);
  EXPECT_EQ(rig.player.Engine().CurrentSegment(), 0);
  EXPECT_EQ(rig.player.Engine().ShownFrame(), 50);
  EXPECT_EQ(rig.player.Engine().State(), psPaused);
  rig.player.PressBar(2 + 201, width);  // past the end: nothing
  EXPECT_EQ(rig.player.Engine().CurrentSegment(), 0);
  const auto place = [&rig] {
    return std::pair{rig.player.Engine().CurrentSegment(), rig.player.Engine().ShownFrame()};
  };
  const double infinity = std::numeric_limits<double>::infinity();
  const struct {
    double seconds;
    std::pair<int32_t, int32_t> place;
  } steps[] = {{-infinity, {0, 0}}, {60, {1, 500}}, {-5, {1, 450}}, {infinity, {1, 899}}, {-60, {1, 299}},
               {std::nan(""), {1, 299}}, {-25, {1, 49}}, {-10, {0, 49}}, {-60, {0, 0}}};
  for (const auto& step : steps) {
    rig.player.StepBar(step.seconds);
    EXPECT_EQ(place(), step.place) << step.seconds;
  }
  EXPECT_EQ(rig.player.Engine().State(), psPaused);
}

TEST(WebPlayer, ThePanelStateIsSentOnlyWhenItChanges) {
  PlayerRig rig;
  ASSERT_TRUE(rig.Open(WithTrailer(BuildFilm({Moving("A", 8, 32, 100), Moving("B", 8, 32, 450)}))));
  rig.player.PlaySegment(1);
  rig.Tick(50);
  rig.player.DisplayFrame();
  const std::string state = rig.page.Named("state").back();
  EXPECT_TRUE(Has(state, R"("play":1,"segment":1,"frame":49)")) << state;
  EXPECT_TRUE(Has(state, R"("time":"x1.0    00:00:15 | 00:00:55")")) << state;
  EXPECT_TRUE(Has(state, R"("positionText":"00:00:15","totalText":"00:00:55")")) << state;
  const size_t sent = rig.page.Named("state").size();
  rig.player.DisplayFrame();
  rig.player.SetSpeed(8);
  rig.player.DisplayFrame();
  EXPECT_EQ(rig.page.Named("state").size(), sent + 1);
  EXPECT_TRUE(Has(rig.page.Named("state").back(), R"("speedLabel":"MAX","time":"MAX    00:00:15)"));
}

TEST(WebPlayer, OffersAPlaceBackOnceAndForgetsAFilmPlayedToItsEnd) {
  PlayerRig rig;
  ASSERT_TRUE(rig.Open(WithTrailer(BuildFilm({Moving("A", 8, 32, 150), Moving("B", 8, 32, 100)}))));
  // A place the page found is offered with its time, and taken.
  rig.player.OfferPlace(7, 0);
  rig.player.OfferPlace(1, 100);
  EXPECT_TRUE(rig.page.Named("offer").empty()) << "no such segment or frame";
  rig.player.OfferPlace(1, 42);
  ASSERT_EQ(rig.page.Named("offer").size(), 1u);
  EXPECT_TRUE(Has(rig.page.Named("offer")[0], R"("text":"Продолжить с 00:00:19 — Ctrl+R","segment":1,"frame":42)"));
  rig.player.Resume();
  EXPECT_EQ(rig.player.Engine().CurrentSegment(), 1);
  EXPECT_EQ(rig.player.Engine().ShownFrame(), 42);
  rig.player.Command(111);
  rig.player.Command(143);  // a frame forward: the offer was taken once and is gone
  rig.player.Resume();
  EXPECT_EQ(rig.player.Engine().ShownFrame(), 43);
  rig.player.Command(110);

  // Played to its end, the film is forgotten.
  rig.player.Command(145);  // the last segment's end, while playing: the film stops
  EXPECT_EQ(rig.player.Engine().State(), psStopped);
  rig.player.DisplayFrame();
  const std::string told = rig.page.Named("resume").back();
  EXPECT_TRUE(Has(told, R"("action":"forget","segment":1,"frame":99)")) << told;
}

// A hidden page gets no display frames and may be closed at any moment: the place goes
// out as the ticks run, at once when playback pauses or stops or the film closes, and when
// the page asks.
TEST(WebPlayer, ThePlaceIsToldAsTicksRunAtOnceWhenPlaybackPausesAndWhenThePageAsks) {
  PlayerRig rig;
  ASSERT_TRUE(rig.Open(WithTrailer(BuildFilm({Moving("A", 8, 32, 150), Moving("B", 8, 32, 100)}))));
  const auto last = [&] { return rig.page.Named("resume").empty() ? std::string() : rig.page.Named("resume").back(); };
  const auto place = [&](int32_t segment, int32_t frame) {
    return R"("action":"remember","segment":)" + std::to_string(segment) + R"(,"frame":)" + std::to_string(frame);
  };
  rig.Tick(100);  // 9.92 s played, no display frame
  EXPECT_EQ(last(), "") << "not before 10 s";
  rig.Tick(1);
  EXPECT_TRUE(Has(last(), place(0, 100))) << last();
  rig.Tick(9);
  EXPECT_TRUE(Has(last(), place(0, 100))) << "at most once a second while it plays";
  rig.Tick(1);
  EXPECT_TRUE(Has(last(), place(0, 110))) << last();
  rig.Tick(3);
  rig.player.TellResumePlace();
  EXPECT_TRUE(Has(last(), place(0, 113))) << last();
  rig.Tick(2);
  rig.player.Command(111);  // paused within the second: the exact frame
  EXPECT_TRUE(Has(last(), place(0, 115))) << last();
  rig.player.Command(143);  // paused, a frame forward: told with the next display frame
  rig.player.DisplayFrame();
  EXPECT_TRUE(Has(last(), place(0, 116))) << last();
  rig.player.Command(110);
  rig.Tick(4);
  const int32_t shown = rig.player.Engine().ShownFrame();
  ASSERT_GT(shown, 116);
  rig.player.Command(112);  // stopped: the frame shown last
  EXPECT_TRUE(Has(last(), place(0, shown))) << last();
  rig.player.Command(110);
  rig.Tick(3);
  const int32_t closedAt = rig.player.Engine().ShownFrame();
  rig.player.Close();
  EXPECT_TRUE(Has(last(), place(0, closedAt))) << last();
}

// The preview's worker finishes the exact picture late; meanwhile it shows the nearest
// picture at hand, and the note under a picture names that picture's segment and time.
TEST(WebPlayer, ThePreviewsNameAndTimeAreThoseOfThePictureShown) {
  PlayerRig rig;
  ASSERT_TRUE(rig.Open(WithTrailer(BuildFilm({Moving("A", 200, 32, 150), Moving("B", 200, 32, 100)}))));
  rig.player.Command(111);
  // 204 wide: 200 pixels for 25 s, 8 pixels a second.
  const auto previewAt = [&](int32_t seconds) { rig.player.PreviewAt(2 + 8 * seconds, 204, 192); };
  const auto shown = [&](double budgetMs) {
    const bool ready = rig.player.PreviewWork(budgetMs);
    return ready ? rig.player.PreviewInfo() : std::string();
  };
  const auto note = [](const char* segment, const char* frame, bool exact, const char* name, const char* time) {
    return std::string(R"("exact":)") + (exact ? "true" : "false") + R"(,"name":")" + name + R"(","time":")" + time +
           R"(","segment":)" + segment + R"(,"frame":)" + frame;
  };
  previewAt(20);  // frame 50 of B, halved to 100 x 3
  EXPECT_TRUE(rig.player.PreviewBusy());
  EXPECT_TRUE(Has(shown(1e9), note("1", "50", true, "B", "00:00:20"))) << rig.player.PreviewInfo();
  EXPECT_TRUE(Has(rig.player.PreviewInfo(), R"("width":100,"height":3,)")) << rig.player.PreviewInfo();
  previewAt(24);  // frame 90 of B, beyond the records read: frame 50 until it is made
  EXPECT_TRUE(Has(shown(0), note("1", "50", false, "B", "00:00:20"))) << rig.player.PreviewInfo();
  EXPECT_TRUE(Has(shown(1e9), note("1", "90", true, "B", "00:00:24"))) << rig.player.PreviewInfo();
  previewAt(3);  // frame 30 of A, not read by the preview: nothing at hand, nothing shown until made
  EXPECT_EQ(shown(0), "");
  EXPECT_TRUE(Has(shown(1e9), note("0", "30", true, "A", "00:00:03"))) << rig.player.PreviewInfo();
  rig.player.PreviewAt(-1, 204, 192);
  EXPECT_FALSE(rig.player.PreviewBusy());
}

TEST(WebSoundDevice, LengthComesFromTheFramesAndPositionFromThePagesReportsForTheSoundOpen) {
  TempDir root;
  RecordingPage page;
  TWebSoundDevice sound(page);
  WriteBytesToFile(root / "a.mp3", SilentMp3(3000));  // 125 frames of 1152 samples at 48 kHz
  WriteBytesToFile(root / "b.mp3", Bytes(500, 0x55));
  sound.SetFileName(root / "b.mp3");
  EXPECT_FALSE(sound.Open());
  EXPECT_TRUE(Has(page.Named("message").back(), "holds no MP3 stream"));

  sound.SetFileName(root / "a.mp3");
  ASSERT_TRUE(sound.Open());
  sound.SetTimeFormat(TSoundDevice::kTimeFormatSamples);
  EXPECT_EQ(sound.Length(), 144000u);
  sound.Seek(72000);
  sound.SetTimeFormat(TSoundDevice::kTimeFormatMilliseconds);
  EXPECT_EQ(sound.Length(), 3000u);
  EXPECT_EQ(sound.Position(), 1500u);
  sound.Play();
  EXPECT_TRUE(Has(page.Events.back(), R"("action":"play","offset":1500,"request":)"));
  page.Now += 300;
  const uint32_t request = RequestOf(page.Events.back());
  sound.Started(request + 1, 0, page.Now);  // another request's report: dropped
  EXPECT_EQ(sound.Position(), 1500u);  // not heard yet
  sound.Started(request, 1520, page.Now - 20);
  page.Now += 100;
  EXPECT_EQ(sound.Position(), 1640u);
  sound.Pause();
  page.Now += 1000;
  EXPECT_EQ(sound.Position(), 1640u);
  sound.Play();
  sound.Started(RequestOf(page.Events.back()), 1640, page.Now);
  page.Now += 5000;
  EXPECT_EQ(sound.Position(), 3000u);  // never beyond the end

  // The next segment's sound opened before the page answered: the late answer for the
  // sound before is dropped.
  sound.Pause();
  sound.Play();
  const uint32_t earlier = RequestOf(page.Events.back());
  ASSERT_TRUE(sound.Open());
  sound.Play();
  sound.Started(earlier, 700, page.Now);
  EXPECT_EQ(sound.Position(), 0u);
}
