#pragma once
// The web player: the Windows player's engine, loader and texts behind a page. It opens
// a film from a path (the browser's file, read in slices through the worker's file
// system), unpacks it into the in-memory temporary folder, plays it through the
// playback engine with the page's timer, canvas and Web Audio (TWebPage), and tells
// the page what its controls show. The page's controls call the functions below; each
// catches what the core throws and shows it, so the page stays usable.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "session/film_session.h"
#include "session/resume_tracker.h"
#include "session/screen_search.h"
#include "session/ui_texts.h"
#include "controls/progress_model.h"
#include "film/segment_list.h"
#include "playback/activity_model.h"
#include "playback/frame_source.h"
#include "playback/playback_engine.h"
#include "playback/preview_decoder.h"
#include "web/picture_rgba.h"
#include "web/web_events.h"
#include "web/web_page.h"
#include "web/web_presenter.h"
#include "web/web_sound.h"

class TWebPlayer : private TSessionView {
public:
  // tempFolder must exist; toUtf8 converts the film's 8-bit texts (names, language
  // table). screen is the screen's size in device pixels: a segment exactly that
  // large switches full screen on, as in the player.
  TWebPlayer(TWebPage& page, TAnsiToUtf8 toUtf8, std::filesystem::path tempFolder, TScreenSize screen);
  ~TWebPlayer();
  TWebPlayer(const TWebPlayer&) = delete;
  TWebPlayer& operator=(const TWebPlayer&) = delete;

  // Closes the film open, then opens the one at path (name is how texts call it): a
  // film executable or a film with a trailer through its trailer, else a plain film
  // from byte 0. A film executable's language table replaces the page's texts, by the
  // player's rules; any other film brings back the built-in texts. Sends "loading",
  // then "film" and the load's warnings, and plays the first segment. Returns false,
  // after a message and "loading" without a text, when the file cannot be read or
  // holds no film.
  bool Open(const std::filesystem::path& path, const std::string& name);
  // Stops and frees the film: every file unpacked from it is deleted.
  void Close();
  // The page could not read the file at all (a download that failed): "loading"
  // without a text, and the player's "cannot open" message for name, with the
  // browser's reason on a line of its own.
  void ReportUnreadableFilm(const std::string& name, const std::string& reason);
  // The built-in texts under the film's table: Russian (the default) or English. Sends
  // "texts" with every text as it now is.
  void SetLanguage(TUiLanguage language);
  // A transport or seek command (110 .. 115, 140 .. 145; see command_ids.h), or 102
  // the film's properties and 130 help, shown as messages.
  void Command(int32_t id);
  // The speed control's position, 0 .. 8.
  void SetSpeed(int32_t position);
  // The segment list: plays segment index from its start.
  void PlaySegment(int32_t index);
  // The progress bar, x pixels from the left of a bar width pixels wide: a press plays
  // the segment of that part, dragging shows the frame under x (the play state stays).
  // A drag ends with ReleaseBar; while it lasts, no idle stretch is skipped.
  void PressBar(int32_t x, int32_t width);
  void ScrubBar(int32_t x, int32_t width);
  void ReleaseBar() { FScrubbing = false; }
  // The focused bar's keys: the frame seconds after (before, when negative) the one
  // shown, across segments and clamped to the film's first and last frame, so that an
  // infinite step reaches an end. The play state stays (from stopped the film pauses there).
  void StepBar(double seconds);

  // From the page: a timer event, a display frame, the sound's start or failure, the
  // picture area's size, full screen switched by the user.
  void Tick(uint32_t token);
  void DisplayFrame();
  void SoundStarted(uint32_t request, double positionMs, double atMs);
  void SoundFailed();
  void SetViewport(int32_t width, int32_t height);
  void SetFullScreen(bool on);
  // The page's zoom choice (0 screen scale, 1 original pixels, 2 fit window; another
  // number counts as 0) and its device pixel ratio.
  void SetZoom(int32_t zoom, double pixelRatio);

  // --- The bar's preview (web_preview.cpp) ----------------------------------------
  // The mouse over the progress bar at x of width pixels (x < 0: it left); previews
  // at most maxWidth pixels wide.
  void PreviewAt(int32_t x, int32_t width, int32_t maxWidth);
  // Works on the preview between ticks, at least one step and at most budgetMs by the
  // page's clock. Returns true when a picture is ready (PreviewPixels, PreviewInfo).
  bool PreviewWork(double budgetMs);
  bool PreviewBusy() const { return FPreview && FPreview->Busy(); }
  const TRgbaPicture& PreviewPixels() const { return FPreviewPixels; }
  // {"width","height","exact","name","time","segment","frame"} of the picture ready: its
  // segment's name and its frame's time on the bar (the picture may be the nearest one
  // at hand, not yet the frame under the mouse).
  std::string PreviewInfo() const;

  // --- Resuming (web_resume.cpp) -----------------------------------------------------
  // The page keeps the places; it hears {"event":"resume","action":"remember"|"forget",
  // "segment","frame"} as the film plays (at most once a second, also without display
  // frames), at once when playback pauses, stops or the film closes, and when a paused
  // place changes.
  // The page asks for the place now (it is being hidden).
  void TellResumePlace();
  // The page found a place of the film open: {"event":"offer","text","segment",
  // "frame"} follows when it can be shown.
  void OfferPlace(int32_t segment, int32_t frame);
  // The offer taken (its key or a click): to the place offered, once.
  void Resume();

  // --- Skipping idle stretches (web_idle.cpp) ----------------------------------------
  // The idle stretches of segment index of the film open, as the activity found them;
  // forgotten with the film.
  void SetIdleStretches(int32_t index, std::vector<TIdleStretch> idle);
  // While on, playback that reaches an idle stretch goes on kIdleKeptMilliseconds before
  // its end through the seek path, and the page hears {"event":"skipped","seconds"}.
  // Pause, steps, seeks and scrubbing stay as they are.
  void SetSkipIdle(bool on);
  const TSegmentList& Segments() const { return FFilm.Segments(); }

  // --- Find on screen (web_search.h) -----------------------------------------------
  // Pauses on the frame of segment (from 0) that shows words which came at seconds,
  // as the Windows player does for a hit. Returns false when it cannot be shown.
  bool ShowTextHit(int32_t segment, double seconds);
  // The segment (from 0) and time shown, where F3 looks for the next hit from.
  TShownPlace ShownPlace() const;

  const TPlaybackEngine& Engine() const { return *FEngine; }
  const TkoFrameSource& Frames() const { return FFrames; }
  const TWebPresenter& Presenter() const { return FPresenter; }
  const TUiTexts& Texts() const { return FTexts; }
  bool HasFilm() const { return FFilm.IsOpen(); }

private:
  class TShell;
  template <typename Action> void Guarded(Action action);
  void ShowMessage(TMessageText caption, const std::string& text, const char* kind);
  bool LoadFilm(const std::filesystem::path& path, const std::string& name);
  // What the film session tells the page.
  void FilmClosing() override;
  void FilmLoading() override;
  void FilmOpened(const TOpenedFilm& film) override;
  void ShowBox(const TSessionBox& box) override;
  void DescribeFilm(bool languageTable);
  // The texts from the language chosen and the film's table.
  void MakeTexts();
  TPanelState PanelState() const;
  void ForgetPreview();
  double BarSeconds(int32_t segment, int32_t frame) const;
  void StartResume();
  // After a tick that went on from showing frame shown of segment.
  void SkipIdle(int32_t segment, int32_t shown);
  // now: even within a second of the last place told while playing.
  void SendResumeDecision(bool now);

  TWebPage& FPage;
  TAnsiToUtf8 FToUtf8;
  std::filesystem::path FTempFolder;
  TUiLanguage FLanguage = TUiLanguage::kRussian;
  std::string FLanguageBlock;  // the film's table; "" when it has none
  TUiTexts FTexts;
  std::string FFilmName;
  TPlayerEvents FEvents;
  std::unique_ptr<TShell> FShell;
  TkoFrameSource FFrames;
  TWebPresenter FPresenter;
  TWebSoundDevice FSound;
  std::unique_ptr<TFrameTimer> FTimer;
  std::unique_ptr<TPlaybackEngine> FEngine;
  TFilmSession FFilm{*FEngine, *this, FTexts, FTempFolder};
  TProgressModel FBar;
  std::vector<int32_t> FBarSegments;
  TPanelState FShownPanel;
  bool FPanelSent = false;
  bool FPanelDirty = false;
  bool FFirstPicturePending = false;

  std::unique_ptr<TPreviewDecoder> FPreview;  // made when the mouse first comes over the bar
  TPreviewRequest FPreviewAsked;
  TRgbaPicture FPreviewPixels;
  TPreviewPicture FPreviewShown;  // what FPreviewPixels shows (its Picture stays empty)

  std::map<int32_t, std::vector<TIdleStretch>> FIdle;
  bool FSkipIdle = false;
  bool FScrubbing = false;

  TResumeTracker FResume;
  std::optional<TFilmFrame> FOffered;
  TResumeDecision FResumeSent;
  double FResumeSentMs = 0;
};
