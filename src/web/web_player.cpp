#include "web/web_player.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "session/command_ids.h"
#include "session/film_properties.h"
#include "session/fixed_texts.h"
#include "session/playback_boxes.h"
#include "session/transport_commands.h"
#include "session/panel_texts.h"
#include "film/film_loader.h"
#include "film/ko_error.h"
#include "playback/seek_target.h"

namespace {
// The texts the page shows, under their keys.
std::vector<TPageText> MenuTexts(const TUiTexts& texts) {
  std::vector<TPageText> page;
  for (size_t i = 0; i < kMenuTextCount; ++i) page.push_back({kMenuTexts[i].Key, texts.Menu(static_cast<TMenuText>(i))});
  return page;
}

std::vector<TPageText> MessageTexts(const TUiTexts& texts) {
  std::vector<TPageText> page;
  for (size_t i = 0; i < kMessageTextCount; ++i)
    page.push_back({kMessageTexts[i].Key, texts.Message(static_cast<TMessageText>(i))});
  return page;
}

// One-shot events through the page's timers; the page never refuses one.
class TWebTimer : public TFrameTimer {
public:
  explicit TWebTimer(TWebPage& page) : FPage(page) {}
  bool Arm(uint32_t delayMs, uint32_t, uint32_t token) override {
    FPage.ArmTimer(delayMs, token);
    return true;
  }

private:
  TWebPage& FPage;
};

std::vector<TSegmentTiming> Timings(const TSegmentList& segments) {
  std::vector<TSegmentTiming> timings;
  for (int32_t i = 0; i < segments.Count(); ++i) {
    const TSegmentInfo* segment = segments.Get(i);
    timings.push_back(segment != nullptr ? TSegmentTiming{segment->FrameCount, segment->FramesPerSecond}
                                         : TSegmentTiming{});
  }
  return timings;
}
}  // namespace

// What the engine and the frame source tell the shell: the panel is redrawn at the next
// display frame, boxes become messages in the page.
class TWebPlayer::TShell : public TPlaybackShell, public TFrameSourceHost {
public:
  TShell(TWebPlayer& player, TScreenSize screen) : FPlayer(player), FScreen(screen) {}

  void PostNextCommand() override { NextPosted = true; }
  void ShowError(const std::string& text) override { FPlayer.ShowBox(PlaybackFailedBox(FPlayer.FTexts, text)); }
  void ReportSkippedSegment(int32_t, const std::string& reason) override {
    FPlayer.ShowBox(SkippedSegmentBox(FPlayer.FTexts, reason));
  }
  // Called at every change of the play state.
  void UpdateMenuStates() override {
    FPlayer.FResume.PlayStateIs(FPlayer.FEngine->State(), static_cast<int64_t>(FPlayer.FPage.NowMs()));
    FPlayer.SendResumeDecision(true);
    PanelChanged();
  }
  void RedrawPanel() override { PanelChanged(); }
  void RefreshSegmentLine() override { PanelChanged(); }
  void RefreshTimeText() override { PanelChanged(); }
  void SelectSegmentLine(int32_t) override { PanelChanged(); }
  void MoveButtonFocus(TPlayState) override {}
  void AcceptDroppedFiles(bool) override {}
  bool IsFullScreen() const override { return FullScreen; }
  void ToggleFullScreen() override {
    FullScreen = !FullScreen;
    FPlayer.FPage.Send(FullScreenEvent(FullScreen));
  }
  void SavePlacement() override {}
  TScreenSize ScreenSize() const override { return FScreen; }
  void InvalidateMainWindow() override { PanelChanged(); }
  void DestroyMainWindow() override {}

  void UnsupportedDepth(int32_t depth) override { FPlayer.ShowBox(UnsupportedDepthBox(FPlayer.FTexts, depth)); }
  void DamagedRecord(const std::string& text) override { FPlayer.ShowBox(DamagedRecordBox(FPlayer.FTexts, text)); }

  bool NextPosted = false;
  bool FullScreen = false;

private:
  void PanelChanged() {
    FPlayer.FPanelDirty = true;
    FPlayer.FPage.RequestDisplayFrame();
  }

  TWebPlayer& FPlayer;
  TScreenSize FScreen;
};

TWebPlayer::TWebPlayer(TWebPage& page, TAnsiToUtf8 toUtf8, std::filesystem::path tempFolder, TScreenSize screen)
    : FPage(page),
      FToUtf8(std::move(toUtf8)),
      FTempFolder(std::move(tempFolder)),
      FShell(std::make_unique<TShell>(*this, screen)),
      FFrames(FShell.get()),
      FPresenter(page, FFrames),
      FSound(page),
      FTimer(std::make_unique<TWebTimer>(page)),
      FEngine(std::make_unique<TPlaybackEngine>(
          TPlaybackServices{*FTimer, FSound, FFrames, FPresenter, *FShell, FEvents})) {
  FPage.Send(CommandsEvent());
  FEvents.Listen([this](const TPlayerNotice& notice) {
    if (notice.Event == TPlayerEvent::kStop) FResume.Stopped({FEngine->CurrentSegment(), FEngine->ShownFrame()});
  });
}

TWebPlayer::~TWebPlayer() {
  FEngine->StopForShutdown();
  FEngine->SetSegmentList(nullptr);
  FFilm.Segments().Clear();
}

// Every call from the page runs here: a failure the core reports is shown, as the
// player's window procedure shows it, and the Next command a tick posted runs after it.
template <typename Action>
void TWebPlayer::Guarded(Action action) {
  try {
    action();
    while (FShell->NextPosted) {
      FShell->NextPosted = false;
      FEngine->Next();
    }
  } catch (const std::exception& error) {
    FShell->NextPosted = false;
    ShowMessage(TMessageText::kError, error.what(), "error");
  }
}

void TWebPlayer::ShowMessage(TMessageText caption, const std::string& text, const char* kind) {
  FPage.Send(MessageEvent(FTexts.Message(caption), text, kind));
}

bool TWebPlayer::Open(const std::filesystem::path& path, const std::string& name) {
  bool opened = false;
  Guarded([&] { opened = LoadFilm(path, name); });
  if (opened) Guarded([&] { FEngine->Play(); });
  if (!opened) FPage.Send(LoadingEvent({}));
  return opened;
}

void TWebPlayer::ReportUnreadableFilm(const std::string& name, const std::string& reason) {
  FPage.Send(LoadingEvent({}));
  ShowMessage(TMessageText::kError, FTexts.Format(TMessageText::kCannotOpenFileFmt, name) + "\n" + reason, "error");
}

void TWebPlayer::Close() {
  Guarded([&] {
    FEngine->Stop();
    FFilm.Close();
  });
}

void TWebPlayer::FilmClosing() {
  SendResumeDecision(true);
  ForgetPreview();
  FPresenter.Forget();
  FIdle.clear();
  FPage.Send(R"({"event":"closed"})");
}

void TWebPlayer::FilmLoading() { FPage.Send(LoadingEvent(FTexts.Message(TMessageText::kLoading))); }

void TWebPlayer::FilmOpened(const TOpenedFilm& film) {
  FFirstPicturePending = true;
  StartResume();
  DescribeFilm(!FLanguageBlock.empty());
  for (const TSessionBox& box : film.Report) ShowBox(box);
}

void TWebPlayer::ShowBox(const TSessionBox& box) {
  FPage.Send(MessageEvent(box.Caption, box.Text, box.Kind == TSessionBox::TKind::kError ? "error" : "warning"));
}

bool TWebPlayer::LoadFilm(const std::filesystem::path& path, const std::string& name) {
  Close();
  FFilmName = name;
  FLanguageBlock.clear();
  try {
    FLanguageBlock = ReadLanguageBlock(path);
  } catch (const EkoError&) {
  }
  MakeTexts();
  return FFilm.Open(path, TFilmDoor::kPage, name);
}

void TWebPlayer::DescribeFilm(bool languageTable) {
  TFilmDescription film;
  film.Name = FFilmName;
  film.LanguageTable = languageTable;
  for (int32_t i = 0; i < FFilm.Segments().Count(); ++i) {
    const TSegmentInfo* segment = FFilm.Segments().Get(i);
    if (segment == nullptr) continue;
    film.Segments.push_back({FToUtf8(segment->Name), segment->Width, segment->Height, segment->BitsPerPixel,
                             segment->FramesPerSecond, segment->FrameCount, !segment->SoundFilePath.empty(),
                             segment->Playable()});
  }
  const TProgressSegments bar = ProgressSegments(Timings(FFilm.Segments()));
  FBar = TProgressModel();
  FBarSegments = bar.SegmentIndexes;
  for (size_t i = 0; i < bar.Lengths.size(); ++i) {
    FBar.AddSegment(bar.Lengths[i]);
    film.Bar.push_back({bar.Lengths[i], bar.SegmentIndexes[i]});
  }
  film.MenuTexts = MenuTexts(FTexts);
  film.MessageTexts = MessageTexts(FTexts);
  film.MenuNames = MenuTexts(TUiTexts(FLanguage));
  FPage.Send(FilmEvent(film));
  FPanelSent = false;
  FPanelDirty = true;
  FPage.RequestDisplayFrame();
}

void TWebPlayer::MakeTexts() {
  FTexts = TUiTexts(FLanguage);
  FTexts.OverlayMessageTexts(FLanguageBlock, FToUtf8);
  FTexts.OverlayMenuTexts(FLanguageBlock, FToUtf8);
}

void TWebPlayer::SetLanguage(TUiLanguage language) {
  Guarded([&] {
    FLanguage = language;
    MakeTexts();
    FPage.Send(TextsEvent(MenuTexts(FTexts), MessageTexts(FTexts), MenuTexts(TUiTexts(FLanguage))));
  });
}

void TWebPlayer::Command(int32_t id) {
  Guarded([&] {
    if (id == CM_PROPERTIES) {
      const auto text = FilmPropertiesText(FFilmName, FFilm.Segments(), FTexts, FToUtf8);
      if (text) FPage.Send(MessageEvent(FixedTexts(FTexts.Language()).PropertiesCaption, *text, "info"));
    } else if (id == CM_HELP) {
      FPage.Send(MessageEvent(FTexts.Menu(TMenuText::kHelp), HelpText(FTexts.Language()), "info"));
    } else {
      RunTransportCommand(*FEngine, id);
    }
  });
}

void TWebPlayer::SetSpeed(int32_t position) {
  Guarded([&] { FEngine->SpeedChanged(position); });
}

void TWebPlayer::PlaySegment(int32_t index) {
  Guarded([&] {
    if (FFilm.IsOpen()) FEngine->StartSegment(index);
  });
}

void TWebPlayer::PressBar(int32_t x, int32_t width) {
  FScrubbing = false;
  Guarded([&] {
    const int32_t part = FBar.SegmentAtPixel(x, width);
    if (FFilm.IsOpen() && part >= 0 && part < int32_t(FBarSegments.size()))
      FEngine->StartSegment(FBarSegments[size_t(part)]);
  });
}

void TWebPlayer::ScrubBar(int32_t x, int32_t width) {
  FScrubbing = true;
  Guarded([&] {
    const TProgressModel::TSegmentTime at = FBar.SegmentAtTime(FBar.TimeAtPixel(x, width));
    if (!FFilm.IsOpen() || at.Segment < 0 || at.Segment >= int32_t(FBarSegments.size())) return;
    const int32_t index = FBarSegments[size_t(at.Segment)];
    if (const TSegmentInfo* segment = FFilm.Segments().Get(index))
      FEngine->SeekTo(index, FrameAtSeconds(*segment, at.Seconds));
  });
}

void TWebPlayer::StepBar(double seconds) {
  Guarded([&] {
    if (FFilm.IsOpen() && !std::isnan(seconds)) FEngine->SeekBySeconds(seconds);
  });
}

void TWebPlayer::TellResumePlace() {
  Guarded([&] { SendResumeDecision(true); });
}

// The offer is taken once.
void TWebPlayer::Resume() {
  Guarded([&] {
    if (!FOffered || !FFilm.IsOpen()) return;
    const TFilmFrame place = *std::exchange(FOffered, std::nullopt);
    FEngine->SeekTo(place.Segment, place.Frame);
  });
}

bool TWebPlayer::ShowTextHit(int32_t segment, double seconds) {
  bool shown = false;
  Guarded([&] {
    const TSegmentInfo* info = FFilm.Segments().Get(segment);
    if (!FFilm.IsOpen() || !IsSeekable(info)) return;
    if (FEngine->State() == psPlaying) FEngine->Pause();
    shown = FEngine->SeekTo(segment, HitFrame(seconds, info->FramesPerSecond, info->FrameCount));
  });
  return shown;
}

TShownPlace TWebPlayer::ShownPlace() const {
  if (!FFilm.IsOpen()) return {};
  const TSegmentInfo* info = FFilm.Segments().Get(FEngine->CurrentSegment());
  const int32_t rate = info != nullptr && info->FramesPerSecond > 0 ? info->FramesPerSecond : 1;
  return {FEngine->CurrentSegment(), double(std::max(FEngine->ShownFrame(), 0)) / rate};
}

void TWebPlayer::Tick(uint32_t token) {
  Guarded([&] {
    const int32_t segment = FEngine->CurrentSegment(), shown = FEngine->ShownFrame();
    FEngine->Tick(token);
    SkipIdle(segment, shown);
    SendResumeDecision(false);
  });
}

void TWebPlayer::DisplayFrame() {
  Guarded([&] {
    if (FPresenter.Flush() && FFirstPicturePending && FEngine->ShownFrame() >= 0) {
      FFirstPicturePending = false;
      FPage.Send(FirstPictureEvent());
    }
    SendResumeDecision(false);
    if (!FPanelDirty) return;
    FPanelDirty = false;
    const TPanelState state = PanelState();
    if (FPanelSent && state == FShownPanel) return;
    FShownPanel = state;
    FPanelSent = true;
    FPage.Send(StateEvent(state));
  });
}

TPanelState TWebPlayer::PanelState() const {
  TPanelState state;
  state.PlayState = FEngine->State();
  state.Segment = FEngine->CurrentSegment();
  state.Frame = FEngine->CurrentFrame();
  state.Shown = FEngine->ShownFrame();
  state.Speed = FEngine->SpeedPosition();
  state.SpeedLabel = SpeedLabel(state.Speed, ".");
  if (!FFilm.IsOpen()) return state;
  const TSegmentInfo* current = FEngine->CurrentSegmentInfo();
  const TTimeLine line = ComputeTimeLine(Timings(FFilm.Segments()), state.Segment, state.Frame,
                                         current != nullptr ? current->FramesPerSecond : 0, state.Speed, {});
  state.Position = line.CurrentSeconds;
  state.Total = line.TotalSeconds;
  state.TimeText = line.Text;
  // As the time line writes them.
  constexpr double kDay = 24 * 60 * 60;
  state.PositionText = FormatClockTime(static_cast<double>(line.CurrentSeconds) * (1 / kDay), ":");
  state.TotalText = FormatClockTime(line.TotalSeconds * (1 / kDay), ":");
  if (current != nullptr) {
    state.InfoText = FormatInfoText(current->Width, current->Height, current->BitsPerPixel, current->FramesPerSecond);
    state.Title = FToUtf8(current->Name);
  }
  return state;
}

void TWebPlayer::SoundStarted(uint32_t request, double positionMs, double atMs) {
  FSound.Started(request, positionMs, atMs);
}

void TWebPlayer::SoundFailed() { FSound.Failed(); }

void TWebPlayer::SetViewport(int32_t width, int32_t height) {
  Guarded([&] { FPresenter.SetViewport(width, height); });
}

void TWebPlayer::SetFullScreen(bool on) { FShell->FullScreen = on; }

void TWebPlayer::SetZoom(int32_t zoom, double pixelRatio) {
  const TPictureZoom chosen = zoom == 1 ? TPictureZoom::kOriginalPixels
                              : zoom == 2 ? TPictureZoom::kFitWindow
                                          : TPictureZoom::kScreenScale;
  Guarded([&] { FPresenter.SetZoom(chosen, TScreenScale::FromRatio(pixelRatio)); });
}
