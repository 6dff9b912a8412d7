#include "app/resume_win.h"

#include <utility>

#include "session/command_ids.h"
#include "app/commands_win.h"
#include "session/panel_layout.h"
#include "app/player_win.h"
#include "platform/wide_text_win.h"

namespace {
int64_t NowMs() { return static_cast<int64_t>(GetTickCount64()); }

// Full path, size and last-write time; an empty path when the file cannot be asked.
TFilmIdentity IdentityOf(const std::filesystem::path& path) {
  wchar_t full[32768];
  const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (length == 0 || length >= std::size(full) || !GetFileAttributesExW(full, GetFileExInfoStandard, &data))
    return {};
  const auto join = [](DWORD high, DWORD low) { return static_cast<int64_t>((uint64_t{high} << 32) | low); };
  return {WideToUtf8(std::wstring(full, length)), join(data.nFileSizeHigh, data.nFileSizeLow),
          join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

TFilmFrame ShownPlace(const TWinPlayer& player) {
  return {player.Engine.CurrentSegment(), player.Engine.ShownFrame()};
}

}  // namespace

int32_t BottomAboveThePanel(const TWinPlayer& player) {
  RECT client{};
  GetClientRect(player.MainWindow, &client);
  int32_t bottom = client.bottom;
  if (HWND panelWindow = player.Panel.Window(); panelWindow != nullptr && IsWindowVisible(panelWindow)) {
    RECT panel{};
    GetWindowRect(panelWindow, &panel);
    MapWindowPoints(nullptr, player.MainWindow, reinterpret_cast<POINT*>(&panel), 2);
    bottom = panel.top;
  }
  return bottom - player.Scale.Px(8);
}

void ShowNoteAboveThePanel(TWinPlayer& player, TNoteWindow& note) {
  note.ShowAt(player.Scale.Px(8), BottomAboveThePanel(player) - note.Size().Height);
}

namespace {

std::wstring OfferText(const TWinPlayer& player, TFilmFrame place) {
  const std::string time = ClockText(PlaceSeconds(player.Film.Segments(), place));
  return Utf8ToWide(player.Texts.Format(TMessageText::kResumeOfferFmt, time));
}

void ShowOffer(TWinPlayer& player, TFilmFrame place) {
  TResumeState& resume = player.Resume;
  if (!resume.Note) {
    resume.Note = std::make_unique<TNoteWindow>(player.MainWindow, player.Scale, kStripColour);
    HWND window = player.MainWindow;
    resume.Note->OnClick = [window] { PostMessageW(window, WM_COMMAND, CM_RESUME, 0); };
  }
  resume.Note->SetText(OfferText(player, place));
  ShowNoteAboveThePanel(player, *resume.Note);
  resume.Note->Announce();
  resume.Note->HideAfter(static_cast<uint32_t>(kResumeOfferMs));
}
}  // namespace

void FilmOpenedForResume(TWinPlayer& player, const std::filesystem::path& path, bool offer) {
  TResumeState& resume = player.Resume;
  resume.Tracker.Reset(NowMs());
  resume.Tracker.PlayStateIs(player.Engine.State(), NowMs());
  resume.Film = IdentityOf(path);
  resume.Place.reset();
  if (resume.Note) resume.Note->Hide();
  player.Settings.WritePending();  // a change that had to wait: its next chance
  if (offer && !resume.Film.Path.empty() && player.Film.IsOpen())
    resume.Place = player.Settings.Read().ResumePlace(resume.Film);
  if (resume.Place && !IsResumablePlace(player.Film.Segments(), *resume.Place)) resume.Place.reset();
  player.State.ResumeOffered = resume.Place.has_value();
  if (resume.Place) ShowOffer(player, *resume.Place);
  UpdateMenuStates(player);
}

void RememberFilmPlace(TWinPlayer& player) {
  TResumeState& resume = player.Resume;
  if (resume.Film.Path.empty() || !player.Film.IsOpen()) return;
  const TResumeDecision decision =
      resume.Tracker.Decide(player.Engine.State(), ShownPlace(player), player.Film.Segments(), NowMs());
  const TFilmIdentity film = std::exchange(resume.Film, TFilmIdentity{});
  if (decision.Action == TResumeAction::kRemember)
    player.Settings.RememberPlace(film, decision.Place);
  else if (decision.Action == TResumeAction::kForget)
    player.Settings.ForgetPlace(film);
}

void NoteResumePlayState(TWinPlayer& player) { player.Resume.Tracker.PlayStateIs(player.Engine.State(), NowMs()); }

void NoteResumeStop(TWinPlayer& player) { player.Resume.Tracker.Stopped(ShownPlace(player)); }

void ResumeFilm(TWinPlayer& player) {
  const std::optional<TFilmFrame> place = player.Resume.Place;
  if (!place || !player.Film.IsOpen()) return;
  if (player.Resume.Note) player.Resume.Note->Hide();
  player.Engine.SeekTo(place->Segment, place->Frame);
}

void RetextResumeOffer(TWinPlayer& player) {
  TResumeState& resume = player.Resume;
  if (!resume.Note || !resume.Note->Visible() || !resume.Place || !player.Film.IsOpen()) return;
  resume.Note->SetText(OfferText(player, *resume.Place));
  ShowNoteAboveThePanel(player, *resume.Note);
}

void PlaceResumeOffer(TWinPlayer& player) {
  if (player.Resume.Note && player.Resume.Note->Visible()) ShowNoteAboveThePanel(player, *player.Resume.Note);
}
