#include "app/bar_preview_win.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "session/panel_layout.h"
#include "app/player_win.h"
#include "platform/wide_text_win.h"
#include "playback/seek_target.h"

namespace {
// The depth of the playing engine's pictures (its DIB section), whose kept pictures the
// preview can use.
constexpr int32_t kPlayingPictureDepth = 32;

TBarPreview& Preview(TWinPlayer& player) {
  if (!player.Preview) player.Preview = std::make_unique<TBarPreview>();
  return *player.Preview;
}

// The note's place: centred on the mouse, its bottom just above the panel's top edge,
// inside the window.
void PlaceNote(TWinPlayer& player, TBarPreview& preview) {
  const HWND panelWindow = player.Panel.Window();
  if (panelWindow == nullptr || !preview.Note) return;
  RECT panel{}, client{};
  GetWindowRect(panelWindow, &panel);
  MapWindowPoints(nullptr, player.MainWindow, reinterpret_cast<POINT*>(&panel), 2);
  GetClientRect(player.MainWindow, &client);
  const TkoSize size = preview.Note->Size();
  const int32_t x = std::clamp(preview.CentreX - size.Width / 2, 0, std::max(0, int32_t(client.right) - size.Width));
  preview.Note->ShowAt(x, panel.top - size.Height - player.Scale.Px(2));
}

void MakeWorker(TWinPlayer& player, TBarPreview& preview) {
  if (!preview.Worker) {
    HWND window = player.MainWindow;
    preview.Worker = std::make_unique<TPreviewWorker>([window] { PostMessageW(window, WM_PREVIEWREADY, 0, 0); });
  }
  if (!preview.Worker->HasDecoder()) {
    preview.Worker->SetDecoder(std::make_unique<TPreviewDecoder>(player.Film.Segments(), kPlayingPictureDepth));
    preview.Shown = std::make_unique<TBarPreviewNote>(player.Film.Segments(), AnsiToUtf8);
  }
  if (!preview.Note) preview.Note = std::make_unique<TNoteWindow>(player.MainWindow, player.Scale, kStripColour);
}
}  // namespace

void ShowBarPreview(TWinPlayer& player, int32_t segment, int32_t frame, int32_t centreX) {
  const TSegmentInfo* info = player.Film.Segments().Get(segment);
  if (player.MainWindow == nullptr || !IsSeekable(info)) return HideBarPreview(player);
  TBarPreview& preview = Preview(player);
  MakeWorker(player, preview);
  preview.CentreX = centreX;
  if (std::optional<TPreviewRequest> request = preview.Shown->Hover(segment, frame, player.Scale.Px(kPreviewMaxWidth))) {
    request->Knowledge = player.Frames.SeekIndex().Knowledge(*info);
    preview.Worker->Request(std::move(*request));
  }
  if (preview.Note->Visible()) PlaceNote(player, preview);
}

void HideBarPreview(TWinPlayer& player) {
  if (!player.Preview) return;
  TBarPreview& preview = *player.Preview;
  if (preview.Shown) preview.Shown->Leave();
  if (preview.Worker) preview.Worker->Request({});
  if (preview.Note) preview.Note->Hide();
}

void ShowReadyPreview(TWinPlayer& player) {
  if (!player.Preview || !player.Preview->Worker || !player.Preview->Shown) return;
  TBarPreview& preview = *player.Preview;
  TPreviewPicture picture;
  if (!preview.Worker->TakePicture(picture) || !preview.Shown->Take(picture)) return;
  preview.Note->SetPicture(picture.Picture);
  preview.Note->SetText(Utf8ToWide(preview.Shown->Text()));
  PlaceNote(player, preview);
}

void ReleaseBarPreview(TWinPlayer& player) {
  if (!player.Preview) return;
  HideBarPreview(player);
  if (player.Preview->Worker) player.Preview->Worker->SetDecoder(nullptr);
  player.Preview->Shown.reset();
}
