#include "app/screen_search_win.h"

#include <iterator>
#include <string>
#include <vector>

#include "session/accessible_texts.h"
#include "app/player_win.h"
#include "app/resume_win.h"
#include "controls/control_palette_win.h"
#include "platform/wide_text_win.h"

namespace {
// The word's outline shows for two seconds.
constexpr UINT kOutlineMs = 2000;
constexpr UINT_PTR kOutlineTimer = 1;

// The menu bar's titles as it shows them (a film's table may have set them).
std::vector<std::string> BarTitles(const TWinPlayer& player) {
  std::vector<std::string> titles;
  const HMENU bar = player.Menus.Bar();
  const int count = bar != nullptr ? GetMenuItemCount(bar) : 0;
  for (int i = 0; i < count; ++i) {
    wchar_t title[256] = L"";
    GetMenuStringW(bar, static_cast<UINT>(i), title, static_cast<int>(std::size(title)), MF_BYPOSITION);
    titles.push_back(WideToUtf8(title));
  }
  return titles;
}

void ShowResults(TWinPlayer& player) {
  TScreenSearchState& state = player.ScreenSearch;
  if (!state.Bar) return;
  state.Bar->SetLabel(Utf8ToWide(SearchFieldLabel(player.Texts, BarTitles(player))));
  state.Bar->SetListName(Utf8ToWide(player.Texts.Message(TMessageText::kSearchResults)));
  std::vector<std::wstring> lines;
  for (const TTextHit& hit : state.Answer.Hits) lines.push_back(Utf8ToWide(HitListLine(hit, player.Texts)));
  state.Bar->SetLines(lines);
  state.Bar->Select(state.Answer.Chosen);
  state.Bar->SetStatus(Utf8ToWide(state.Answer.Status(player.Texts)));
}

void CALLBACK OutlineTimeUp(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  if (TWinPlayer* player = PlayerOf(window)) player->Presenter.ClearOutline();
}

// Pauses on the hit's frame with the word outlined.
void GoToHit(TWinPlayer& player, size_t index) {
  TScreenSearchState& state = player.ScreenSearch;
  if (!player.Film.IsOpen() || index >= state.Answer.Hits.size()) return;
  const TTextHit hit = state.Answer.Hits[index];  // a copy: each answer taken replaces the hits
  const int32_t segment = hit.Segment - 1;
  const TSegmentInfo* info = segment < player.Film.Segments().Count() ? player.Film.Segments().Get(segment) : nullptr;
  if (info == nullptr) return;
  state.Answer.Choose(index);
  if (state.Bar) state.Bar->Select(index);
  if (player.Engine.State() == psPlaying) player.Engine.Pause();
  player.Presenter.SetOutline(segment, {hit.Box.Left, hit.Box.Top, hit.Box.Width(), hit.Box.Height()},
                            CurrentControlPalette().Outline);
  if (!player.Engine.SeekTo(segment, HitFrame(hit.Time, info->FramesPerSecond, info->FrameCount))) {
    player.Presenter.ClearOutline();
    return;
  }
  player.Presenter.PresentWholeFrame();
  if (state.Bar) SetTimer(state.Bar->Handle(), kOutlineTimer, kOutlineMs, OutlineTimeUp);
}

// The field shows the prompt until the index's answer comes.
void ReadIndex(TWinPlayer& player) {
  TScreenSearchState& state = player.ScreenSearch;
  state.Answer = TSearchAnswer{};
  state.Answer.Film = player.Film.Path();
  state.Answer.Problem = TIndexProblem::kNone;
  state.Worker->Open(player.Film.Path());
  state.IndexRead = true;
  ShowResults(player);
}

void MakeBar(TWinPlayer& player) {
  TScreenSearchState& state = player.ScreenSearch;
  state.Bar = std::make_unique<TSearchBar>(player.MainWindow, player.Scale);
  state.Worker = std::make_unique<TSearchWorker>(
      [window = player.MainWindow] { PostMessageW(window, WM_SEARCHANSWER, 0, 0); });
  state.Bar->OnQuery = [&player](const std::wstring& query) { player.ScreenSearch.Worker->Find(WideToUtf8(query)); };
  state.Bar->OnChoose = [&player](size_t hit) { GoToHit(player, hit); };
  state.Bar->OnClose = [&player] {
    player.ScreenSearch.Bar->Hide();
    SetFocus(player.MainWindow);
  };
}
}  // namespace

void OpenScreenSearch(TWinPlayer& player) {
  TScreenSearchState& state = player.ScreenSearch;
  if (player.Film.Segments().Count() == 0 || player.MainWindow == nullptr) return;
  if (!state.Bar) MakeBar(player);
  if (!state.IndexRead) ReadIndex(player);
  PlaceScreenSearch(player);
  if (!state.Bar->Visible()) {
    const TkoSize size = state.Bar->Size();
    state.Bar->ShowAt(player.Scale.Px(8), BottomAboveThePanel(player) - size.Height);
  }
  state.Bar->Focus();
}

void StepScreenSearch(TWinPlayer& player, bool forward) {
  TScreenSearchState& state = player.ScreenSearch;
  if (!player.Film.IsOpen()) return;
  const TSegmentInfo* info = player.Engine.CurrentSegmentInfo();
  const int32_t rate = info == nullptr ? 1 : std::max<int32_t>(info->FramesPerSecond, 1);
  const TShownPlace shown{player.Engine.CurrentSegment(), double(std::max(player.Engine.ShownFrame(), 0)) / rate};
  if (const auto hit = StepHit(state.Answer.Hits, state.Answer.Chosen, forward, shown)) GoToHit(player, *hit);
}

void TakeSearchAnswer(TWinPlayer& player) {
  TScreenSearchState& state = player.ScreenSearch;
  if (!state.Worker) return;
  std::optional<TSearchAnswer> answer = state.Worker->Take();
  if (!answer || answer->Film != player.Film.Path()) return;  // asked for before another film opened
  state.Answer = std::move(*answer);
  ShowResults(player);
}

void FilmOpenedForSearch(TWinPlayer& player) {
  TScreenSearchState& state = player.ScreenSearch;
  state.IndexRead = false;
  state.Answer = TSearchAnswer{};  // F3 finds nothing of the film before
  player.Presenter.ClearOutline();
  if (state.Bar && state.Bar->Visible()) ReadIndex(player);
}

void RetextScreenSearch(TWinPlayer& player) {
  if (!player.ScreenSearch.Bar) return;
  ShowResults(player);
}

void PlaceScreenSearch(TWinPlayer& player) {
  TSearchBar* bar = player.ScreenSearch.Bar.get();
  if (bar == nullptr || !bar->Visible()) return;
  SetWindowPos(bar->Handle(), HWND_TOP, player.Scale.Px(8), BottomAboveThePanel(player) - bar->Size().Height, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
}

void ScaleScreenSearch(TWinPlayer& player) {
  TSearchBar* bar = player.ScreenSearch.Bar.get();
  if (bar == nullptr) return;
  bar->SetScale(player.Scale);
  if (!bar->Visible()) return;
  const TkoSize size = bar->Size();
  SetWindowPos(bar->Handle(), HWND_TOP, 0, 0, size.Width, size.Height, SWP_NOMOVE | SWP_NOACTIVATE);
  PlaceScreenSearch(player);
}
