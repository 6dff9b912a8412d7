// The functions web/player_worker.js calls: one player per worker, made by rz_start.
// Films are files of the worker's file system (WORKERFS reads the browser's File in
// slices); what the loader unpacks goes to the in-memory temporary folder.
#include <emscripten.h>

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
TBrowserPage page;
std::unique_ptr<TWebPlayer> player;
std::string benchResult;
std::string previewInfo;
TWebActivity activity;
std::string activityText;
// The export worker's film: its own module, so one of the two per worker is used.
std::unique_ptr<TWebExport> exporter;
std::filesystem::path exportFolder;
std::string exportText;
TWebSearch search;
std::string searchText;
// The index worker's film: its own module too.
std::unique_ptr<TWebTextIndex> indexer;
std::filesystem::path indexFolder;
std::string indexText;

void CloseIndex() {
  indexer.reset();
  if (!indexFolder.empty()) RemovePlayerTempFolder(indexFolder);
  indexFolder.clear();
}

std::string ErrorJson(const std::exception& error) {
  return TJsonWriter().BeginObject().Key("error").String(error.what()).EndObject().Text();
}

void CloseExport() {
  exporter.reset();
  if (!exportFolder.empty()) RemovePlayerTempFolder(exportFolder);
  exportFolder.clear();
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
}  // namespace

extern "C" {
// Makes the player; screen is the screen's size in device pixels. Returns 0, or -1
// when the temporary folder cannot be made.
EMSCRIPTEN_KEEPALIVE int rz_start(int32_t screenWidth, int32_t screenHeight) {
  try {
    player = std::make_unique<TWebPlayer>(page, AnsiToUtf8, CreatePlayerTempFolder(),
                                          TScreenSize{screenWidth, screenHeight});
    return 0;
  } catch (const std::exception& error) {
    page.Send(MessageEvent("Error", error.what(), "error"));
    return -1;
  }
}

// Opens the film, and the text index the worker put beside it (FILM.words.json), if any.
EMSCRIPTEN_KEEPALIVE int rz_open(const char* path, const char* name) {
  const bool opened = player->Open(path, name);
  search.Open(path);
  return opened ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void rz_close() { player->Close(); }
EMSCRIPTEN_KEEPALIVE void rz_open_failed(const char* name, const char* reason) {
  player->ReportUnreadableFilm(name, reason);
}
EMSCRIPTEN_KEEPALIVE void rz_command(int32_t id) { player->Command(id); }
// "ru" or "en": the built-in texts under the film's table; any other code is ignored.
EMSCRIPTEN_KEEPALIVE void rz_language(const char* code) {
  if (const std::optional<TUiLanguage> language = ParseUiLanguage(code)) player->SetLanguage(*language);
}
EMSCRIPTEN_KEEPALIVE void rz_speed(int32_t position) { player->SetSpeed(position); }
EMSCRIPTEN_KEEPALIVE void rz_play_segment(int32_t index) { player->PlaySegment(index); }
EMSCRIPTEN_KEEPALIVE void rz_press_bar(int32_t x, int32_t width) { player->PressBar(x, width); }
EMSCRIPTEN_KEEPALIVE void rz_scrub_bar(int32_t x, int32_t width) { player->ScrubBar(x, width); }
EMSCRIPTEN_KEEPALIVE void rz_step_bar(double seconds) { player->StepBar(seconds); }
EMSCRIPTEN_KEEPALIVE void rz_tick(uint32_t token) { player->Tick(token); }
EMSCRIPTEN_KEEPALIVE void rz_display_frame() { player->DisplayFrame(); }
EMSCRIPTEN_KEEPALIVE void rz_sound_started(uint32_t request, double positionMs, double atMs) {
  player->SoundStarted(request, positionMs, atMs);
}
EMSCRIPTEN_KEEPALIVE void rz_sound_failed() { player->SoundFailed(); }
EMSCRIPTEN_KEEPALIVE void rz_viewport(int32_t width, int32_t height) { player->SetViewport(width, height); }
EMSCRIPTEN_KEEPALIVE void rz_fullscreen(int32_t on) { player->SetFullScreen(on != 0); }
EMSCRIPTEN_KEEPALIVE void rz_zoom(int32_t zoom, double pixelRatio) { player->SetZoom(zoom, pixelRatio); }

// The bar's preview: the mouse at x of a bar width wide (x < 0: it left); work between
// ticks for at most budget ms, 1 when a picture is ready; its pixels (RGBA) and
// PreviewInfo's JSON, valid until the next call.
EMSCRIPTEN_KEEPALIVE void rz_preview_at(int32_t x, int32_t width, int32_t maxWidth) {
  player->PreviewAt(x, width, maxWidth);
}
EMSCRIPTEN_KEEPALIVE int rz_preview_work(double budgetMs) { return player->PreviewWork(budgetMs) ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int rz_preview_busy() { return player->PreviewBusy() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE const uint8_t* rz_preview_pixels() { return player->PreviewPixels().Data(); }
EMSCRIPTEN_KEEPALIVE const char* rz_preview_info() {
  previewInfo = player->PreviewInfo();
  return previewInfo.c_str();
}
// Resuming: the page found a place of the film open; the user takes the offer; the
// page asks for the place now.
EMSCRIPTEN_KEEPALIVE void rz_offer(int32_t segment, int32_t frame) { player->OfferPlace(segment, frame); }
EMSCRIPTEN_KEEPALIVE void rz_resume() { player->Resume(); }
EMSCRIPTEN_KEEPALIVE void rz_resume_place() { player->TellResumePlace(); }

// The activity of the film open, a segment at a time (web_activity.h): Begin's JSON,
// the sound's samples, then Finish's JSON, which also hands the idle stretches to the
// player. The texts stay valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_activity_begin(int32_t index) {
  activityText = activity.Begin(player->Segments(), index);
  return activityText.c_str();
}
EMSCRIPTEN_KEEPALIVE void rz_activity_sound(int32_t rate, int32_t channels) { activity.BeginSound(rate, channels); }
EMSCRIPTEN_KEEPALIVE void rz_activity_samples(const float* samples, int32_t frames) {
  activity.AddSound(samples, frames);
}
EMSCRIPTEN_KEEPALIVE const char* rz_activity_finish() {
  try {
    activityText = activity.Finish();
    if (!activityText.empty()) player->SetIdleStretches(activity.Segment(), activity.Idle());
  } catch (const std::exception&) {
    activityText.clear();  // out of memory: the segment shows no strip
  }
  return activityText.c_str();
}
// Skipping idle stretches on (1) or off.
EMSCRIPTEN_KEEPALIVE void rz_skip_idle(int32_t on) { player->SetSkipIdle(on != 0); }

// The benchmark: a JSON object with frames, seconds, fps and loadSeconds, or with
// error. The text stays valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_bench(const char* path, int32_t repeat) {
  try {
    benchResult = RunBench(path, repeat < 1 ? 1 : repeat);
  } catch (const std::exception& error) {
    benchResult = ErrorJson(error);
  }
  return benchResult.c_str();
}

// The export: opens the film at path and returns SegmentsJson's array, or a JSON
// object with error. Valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_export_open(const char* path) {
  CloseExport();
  try {
    exportFolder = CreatePlayerTempFolder();
    exporter = std::make_unique<TWebExport>(path, exportFolder);
    exportText = exporter->SegmentsJson();
  } catch (const std::exception& error) {
    CloseExport();
    exportText = ErrorJson(error);
  }
  return exportText.c_str();
}
// Starts on the pictures [first, end) of segment index; 1, or 0 when it cannot.
EMSCRIPTEN_KEEPALIVE int rz_export_begin(int32_t index, int32_t first, int32_t end) {
  return exporter && exporter->Begin(index, first, end) ? 1 : 0;
}
// The next picture's RGBA pixels (the segment's size), or 0 after the last.
EMSCRIPTEN_KEEPALIVE const uint8_t* rz_export_next() {
  const TRgbaPicture* picture = exporter ? exporter->Next() : nullptr;
  return picture != nullptr ? picture->Data() : nullptr;
}
// Why the segment ended early, or "".
EMSCRIPTEN_KEEPALIVE const char* rz_export_failure() {
  exportText = exporter ? exporter->Failure() : "";
  return exportText.c_str();
}
EMSCRIPTEN_KEEPALIVE void rz_export_close() { CloseExport(); }

// Find on screen (web_search.h): the hits of query; a hit chosen from the list, or the
// next (forward = 1) or previous one from the place shown, which the player pauses
// on. The JSON texts stay valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* rz_search_find(const char* query) {
  searchText = search.Find(query, player->Texts());
  return searchText.c_str();
}
// An index for the film open now, at path in the worker's file system (one the page made,
// or one that came with the film): 1 when it was made of that film and is searched now.
EMSCRIPTEN_KEEPALIVE int rz_search_use(const char* path) {
  search.UseIndex(path);
  return search.HasIndex() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE const char* rz_search_choose(int32_t hit) {
  searchText = search.Choose(hit < 0 ? SIZE_MAX : size_t(hit));
  if (const TTextHit* chosen = search.Chosen()) player->ShowTextHit(chosen->Segment - 1, chosen->Time);
  return searchText.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* rz_search_step(int32_t forward) {
  searchText = search.Step(forward != 0, player->ShownPlace());
  if (const TTextHit* chosen = search.Chosen()) player->ShowTextHit(chosen->Segment - 1, chosen->Time);
  return searchText.c_str();
}

// Making the text index (web_text_index.h): opens the film at path, reading it in
// languages ("eng+rus"); then each area to read, its pixels, and the words of each pass.
// The JSON texts stay valid until the next call; each is {"error"} when it fails.
EMSCRIPTEN_KEEPALIVE const char* rz_index_open(const char* path, const char* languages) {
  CloseIndex();
  try {
    indexFolder = CreatePlayerTempFolder();
    indexer = std::make_unique<TWebTextIndex>(path, indexFolder, languages);
    indexText = "{}";
  } catch (const std::exception& error) {
    CloseIndex();
    indexText = ErrorJson(error);
  }
  return indexText.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* rz_index_next() {
  try {
    indexText = indexer ? indexer->NextArea() : R"({"error":"no film"})";
  } catch (const std::exception& error) {
    indexText = ErrorJson(error);
  }
  return indexText.c_str();
}
EMSCRIPTEN_KEEPALIVE const uint8_t* rz_index_pixels() { return indexer ? indexer->Pixels() : nullptr; }
EMSCRIPTEN_KEEPALIVE const char* rz_index_read(const char* words) {
  try {
    indexText = indexer ? indexer->PassRead(words) : R"({"error":"no film"})";
  } catch (const std::exception& error) {
    indexText = ErrorJson(error);
  }
  return indexText.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* rz_index_document() {
  indexText = indexer ? indexer->Document() : "";
  return indexText.c_str();
}
EMSCRIPTEN_KEEPALIVE void rz_index_close() { CloseIndex(); }
}
