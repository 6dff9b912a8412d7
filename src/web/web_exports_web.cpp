// The functions web/player_worker.js calls: one player per worker, made by rz_start.
// Films are files of the worker's file system (WORKERFS reads the browser's File in
// slices); what the loader unpacks goes to the in-memory temporary folder.
#include <emscripten.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "session/ui_language.h"
#include "film/film_loader.h"
#include "film/json_writer.h"
#include "film/ko_error.h"
#include "film/temp_files.h"
#include "playback/headless_player.h"
#include "web/web_activity.h"
#include "web/web_bridge_web.h"
#include "web/web_export.h"
#include "web/web_film_file.h"
#include "web/web_player.h"
#include "web/web_search.h"
#include "web/web_text_index.h"

namespace {
// A job with a temporary folder of its own (an export, the making of a text index): the
// folder is made with the job and goes with it.
template <typename TJob>
class TFolderJob {
public:
  using TMake = std::function<std::unique_ptr<TJob>(const std::filesystem::path& folder)>;
  TFolderJob() = default;
  TFolderJob(const TFolderJob&) = delete;
  TFolderJob& operator=(const TFolderJob&) = delete;
  ~TFolderJob() { Close(); }

  // Ends the job before, if any; when the new one cannot be made nothing of it is left,
  // and the error goes on to the caller.
  void Open(const TMake& make) {
    Close();
    FFolder = CreatePlayerTempFolder();
    try {
      FJob = make(FFolder);
    } catch (...) {
      Close();
      throw;
    }
  }
  void Close() {
    FJob.reset();
    if (!FFolder.empty()) RemovePlayerTempFolder(FFolder);
    FFolder.clear();
  }
  TJob* operator->() const { return FJob.get(); }
  explicit operator bool() const { return FJob != nullptr; }

private:
  std::unique_ptr<TJob> FJob;
  std::filesystem::path FFolder;
};

// What one worker holds. Each worker (the player's, an export's, the index's) runs a
// module of its own, and uses the part it needs.
struct TWorker {
  TBrowserPage Page;
  std::unique_ptr<TWebPlayer> Player;
  TWebActivity Activity;
  TWebSearch Search;
  TFolderJob<TWebExport> Export;
  TFolderJob<TWebTextIndex> Index;
  // The last text handed back; JavaScript reads each at once, before its next call.
  std::string Reply;
};
TWorker worker;

const char* Reply(std::string text) {
  worker.Reply = std::move(text);
  return worker.Reply.c_str();
}

std::string ErrorJson(const std::exception& error) {
  return TJsonWriter().BeginObject().Key("error").String(error.what()).EndObject().Text();
}

// The answer of a call whose failure JavaScript is told as {"error": ...}.
const char* JsonReply(const std::function<std::string()>& answer) {
  try {
    return Reply(answer());
  } catch (const std::exception& error) {
    return Reply(ErrorJson(error));
  }
}

// Decodes every frame of every playable segment as kof bench does, repeat times.
std::string RunBench(const std::filesystem::path& path, int32_t repeat) {
  const std::filesystem::path folder = CreatePlayerTempFolder();
  TSegmentList segments;
  const double loadStart = emscripten_get_now();
  LoadFilmFile(segments, path, folder);
  const double loadEnd = emscripten_get_now();
  int64_t frames = 0;
  {
    THeadlessPlayer bench(segments);
    const auto count = [&frames](int32_t, const TkoPictureView&) { return ++frames, true; };
    for (int32_t round = 0; round < repeat; ++round)
      for (int32_t i = 0; i < segments.Count(); ++i) {
        const TSegmentInfo* segment = segments.Get(i);
        if (segment != nullptr && segment->Playable() && IsDrawableDepth(segment->BitsPerPixel))
          bench.PlaySegment(i, count);
      }
  }
  const double seconds = (emscripten_get_now() - loadEnd) / 1000.0;
  segments.Clear();
  RemovePlayerTempFolder(folder);
  TJsonWriter json;
  json.BeginObject().Key("frames").Number(frames).Key("seconds").Real(seconds);
  json.Key("fps").Real(seconds > 0 ? double(frames) / seconds : 0).Key("loadSeconds").Real((loadEnd - loadStart) / 1000);
  return json.EndObject().Text();
}

// A hit chosen in the list or stepped to: the player pauses on it.
const char* ShowChosenHit(std::string answer) {
  if (const TTextHit* chosen = worker.Search.Chosen()) worker.Player->ShowTextHit(chosen->Segment - 1, chosen->Time);
  return Reply(std::move(answer));
}
}  // namespace

extern "C" {
// Makes the player; screen is the screen's size in device pixels. Returns 0, or -1
// when the temporary folder cannot be made.
EMSCRIPTEN_KEEPALIVE int rz_start(int32_t screenWidth, int32_t screenHeight) {
  try {
    worker.Player = std::make_unique<TWebPlayer>(worker.Page, AnsiToUtf8, CreatePlayerTempFolder(),
                                                 TScreenSize{screenWidth, screenHeight});
    return 0;
  } catch (const std::exception& error) {
    worker.Page.Send(MessageEvent("Error", error.what(), "error"));
    return -1;
  }
}

// Opens the film, and the text index the worker put beside it (FILM.words.json), if any.
EMSCRIPTEN_KEEPALIVE int rz_open(const char* path, const char* name) {
  const bool opened = worker.Player->Open(path, name);
  worker.Search.Open(path);
  return opened ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void rz_close() { worker.Player->Close(); }
EMSCRIPTEN_KEEPALIVE void rz_open_failed(const char* name, const char* reason) {
  worker.Player->ReportUnreadableFilm(name, reason);
}
EMSCRIPTEN_KEEPALIVE void rz_command(int32_t id) { worker.Player->Command(id); }
// "ru" or "en": the built-in texts under the film's table; any other code is ignored.
EMSCRIPTEN_KEEPALIVE void rz_language(const char* code) {
  if (const std::optional<TUiLanguage> language = ParseUiLanguage(code)) worker.Player->SetLanguage(*language);
}
EMSCRIPTEN_KEEPALIVE void rz_speed(int32_t position) { worker.Player->SetSpeed(position); }
EMSCRIPTEN_KEEPALIVE void rz_play_segment(int32_t index) { worker.Player->PlaySegment(index); }
EMSCRIPTEN_KEEPALIVE void rz_press_bar(int32_t x, int32_t width) { worker.Player->PressBar(x, width); }
EMSCRIPTEN_KEEPALIVE void rz_scrub_bar(int32_t x, int32_t width) { worker.Player->ScrubBar(x, width); }
EMSCRIPTEN_KEEPALIVE void rz_release_bar() { worker.Player->ReleaseBar(); }
EMSCRIPTEN_KEEPALIVE void rz_step_bar(double seconds) { worker.Player->StepBar(seconds); }
EMSCRIPTEN_KEEPALIVE void rz_tick(uint32_t token) { worker.Player->Tick(token); }
EMSCRIPTEN_KEEPALIVE void rz_display_frame() { worker.Player->DisplayFrame(); }
EMSCRIPTEN_KEEPALIVE void rz_sound_started(uint32_t request, double positionMs, double atMs) {
  worker.Player->SoundStarted(request, positionMs, atMs);
}
EMSCRIPTEN_KEEPALIVE void rz_sound_failed() { worker.Player->SoundFailed(); }
EMSCRIPTEN_KEEPALIVE void rz_viewport(int32_t width, int32_t height) { worker.Player->SetViewport(width, height); }
EMSCRIPTEN_KEEPALIVE void rz_fullscreen(int32_t on) { worker.Player->SetFullScreen(on != 0); }
EMSCRIPTEN_KEEPALIVE void rz_zoom(int32_t zoom, double pixelRatio) { worker.Player->SetZoom(zoom, pixelRatio); }

// The bar's preview: the mouse at x of a bar width wide (x < 0: it left); work between
// ticks for at most budget ms, 1 when a picture is ready; its pixels (RGBA) and
// PreviewInfo's JSON, valid until the next call.
EMSCRIPTEN_KEEPALIVE void rz_preview_at(int32_t x, int32_t width, int32_t maxWidth) {
  worker.Player->PreviewAt(x, width, maxWidth);
}
EMSCRIPTEN_KEEPALIVE int rz_preview_work(double budgetMs) { return worker.Player->PreviewWork(budgetMs) ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int rz_preview_busy() { return worker.Player->PreviewBusy() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE const uint8_t* rz_preview_pixels() { return worker.Player->PreviewPixels().Data(); }
EMSCRIPTEN_KEEPALIVE const char* rz_preview_info() { return Reply(worker.Player->PreviewInfo()); }
// Resuming: the page found a place of the film open; the user takes the offer; the
// page asks for the place now.
EMSCRIPTEN_KEEPALIVE void rz_offer(int32_t segment, int32_t frame) { worker.Player->OfferPlace(segment, frame); }
EMSCRIPTEN_KEEPALIVE void rz_resume() { worker.Player->Resume(); }
EMSCRIPTEN_KEEPALIVE void rz_resume_place() { worker.Player->TellResumePlace(); }

// The activity of the film open, a segment at a time (web_activity.h): Begin's JSON,
// the sound's samples, then Finish's JSON, which also hands the idle stretches to the
// player. The texts stay valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_activity_begin(int32_t index) {
  return Reply(worker.Activity.Begin(worker.Player->Segments(), index));
}
EMSCRIPTEN_KEEPALIVE void rz_activity_sound(int32_t rate, int32_t channels) { worker.Activity.BeginSound(rate, channels); }
EMSCRIPTEN_KEEPALIVE void rz_activity_samples(const float* samples, int32_t frames) {
  worker.Activity.AddSound(samples, frames);
}
EMSCRIPTEN_KEEPALIVE const char* rz_activity_finish() {
  try {
    const char* finished = Reply(worker.Activity.Finish());
    if (*finished != 0) worker.Player->SetIdleStretches(worker.Activity.Segment(), worker.Activity.Idle());
    return finished;
  } catch (const std::exception&) {
    return Reply("");  // out of memory: the segment shows no strip
  }
}
// Skipping idle stretches on (1) or off.
EMSCRIPTEN_KEEPALIVE void rz_skip_idle(int32_t on) { worker.Player->SetSkipIdle(on != 0); }

// The benchmark: a JSON object with frames, seconds, fps and loadSeconds, or with
// error. The text stays valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_bench(const char* path, int32_t repeat) {
  return JsonReply([&] { return RunBench(path, repeat < 1 ? 1 : repeat); });
}

// The export: opens the film at path and returns SegmentsJson's array, or a JSON
// object with error. Valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_export_open(const char* path) {
  return JsonReply([path] {
    worker.Export.Open([path](const auto& folder) { return std::make_unique<TWebExport>(path, folder); });
    return worker.Export->SegmentsJson();
  });
}
// Starts on the pictures [first, end) of segment index; 1, or 0 when it cannot.
EMSCRIPTEN_KEEPALIVE int rz_export_begin(int32_t index, int32_t first, int32_t end) {
  return worker.Export && worker.Export->Begin(index, first, end) ? 1 : 0;
}
// The next picture's RGBA pixels (the segment's size), or 0 after the last.
EMSCRIPTEN_KEEPALIVE const uint8_t* rz_export_next() {
  const TRgbaPicture* picture = worker.Export ? worker.Export->Next() : nullptr;
  return picture != nullptr ? picture->Data() : nullptr;
}
// Why the segment ended early, or "".
EMSCRIPTEN_KEEPALIVE const char* rz_export_failure() { return Reply(worker.Export ? worker.Export->Failure() : ""); }
EMSCRIPTEN_KEEPALIVE void rz_export_close() { worker.Export.Close(); }

// Find on screen (web_search.h): the hits of query; a hit chosen from the list, or the
// next (forward = 1) or previous one from the place shown, which the player pauses
// on. The JSON texts stay valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_search_find(const char* query) {
  return Reply(worker.Search.Find(query, worker.Player->Texts()));
}
// An index for the film open now, at path in the worker's file system (one the page made,
// or one that came with the film): 1 when it was made of that film and is searched now.
EMSCRIPTEN_KEEPALIVE int rz_search_use(const char* path) {
  worker.Search.UseIndex(path);
  return worker.Search.HasIndex() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE const char* rz_search_choose(int32_t hit) {
  return ShowChosenHit(worker.Search.Choose(hit < 0 ? SIZE_MAX : size_t(hit)));
}
EMSCRIPTEN_KEEPALIVE const char* rz_search_step(int32_t forward) {
  return ShowChosenHit(worker.Search.Step(forward != 0, worker.Player->ShownPlace()));
}

// Making the text index (web_text_index.h): opens the film at path, reading it in
// languages ("eng+rus"); then each area to read, its pixels, and the words of each pass.
// The JSON texts stay valid until the next call; each is {"error"} when it fails.
EMSCRIPTEN_KEEPALIVE const char* rz_index_open(const char* path, const char* languages) {
  return JsonReply([path, languages] {
    worker.Index.Open([&](const auto& folder) { return std::make_unique<TWebTextIndex>(path, folder, languages); });
    return std::string("{}");
  });
}
EMSCRIPTEN_KEEPALIVE const char* rz_index_next() {
  return JsonReply([] { return worker.Index ? worker.Index->NextArea() : R"({"error":"no film"})"; });
}
EMSCRIPTEN_KEEPALIVE const uint8_t* rz_index_pixels() { return worker.Index ? worker.Index->Pixels() : nullptr; }
EMSCRIPTEN_KEEPALIVE const char* rz_index_read(const char* words) {
  return JsonReply([words] { return worker.Index ? worker.Index->PassRead(words) : R"({"error":"no film"})"; });
}
EMSCRIPTEN_KEEPALIVE const char* rz_index_document() { return Reply(worker.Index ? worker.Index->Document() : ""); }
EMSCRIPTEN_KEEPALIVE void rz_index_close() { worker.Index.Close(); }
}
