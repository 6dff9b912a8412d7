#include "app/bar_preview_win.h"

#include <algorithm>

#include "app/panel_layout.h"
#include "app/player_win.h"
#include "app/resume_tracker.h"
#include "platform/wide_text_win.h"
#include "playback/seek_target.h"

namespace {
// The depth of the playing engine's pictures (its DIB section), whose kept pictures the
// preview can use.
constexpr int32_t kPlayingPictureDepth = 32;

TBarPreview& Preview(TPlayer& player) {
  if (!player.Preview) player.Preview = std::make_unique<TBarPreview>();
  return *player.Preview;
}

// The note's place: centred on the mouse, its bottom just above the panel's top edge,
// inside the window.
void PlaceNote(TPlayer& player, TBarPreview& preview) {
  if (player.Panel == nullptr || !preview.Note) return;
  RECT panel{}, client{};
  GetWindowRect(player.Panel, &panel);
  MapWindowPoints(nullptr, player.MainWindow, reinterpret_cast<POINT*>(&panel), 2);
  GetClientRect(player.MainWindow, &client);
  const TkoSize size = preview.Note->Size();
  const int32_t x = std::clamp(preview.CentreX - size.Width / 2, 0, std::max(0, int32_t(client.right) - size.Width));
  preview.Note->ShowAt(x, panel.top - size.Height - player.Scale.Px(2));
}

void MakeWorker(TPlayer& player, TBarPreview& preview) {
  if (!preview.Worker) {
    HWND window = player.MainWindow;
    preview.Worker = std::make_unique<TPreviewWorker>([window] { PostMessageW(window, WM_PREVIEWREADY, 0, 0); });
  }
  if (!preview.Worker->HasDecoder())
    preview.Worker->SetDecoder(std::make_unique<TPreviewDecoder>(*player.Segments, kPlayingPictureDepth));
  if (!preview.Note) preview.Note = std::make_unique<TNoteWindow>(player.MainWindow, player.Scale, kStripColour);
}
}  // namespace

void ShowBarPreview(TPlayer& player, int32_t segment, int32_t frame, double seconds, int32_t centreX) {
  const TSegmentInfo* info = player.Segments ? player.Segments->Get(segment) : nullptr;
  if (player.MainWindow == nullptr || !IsSeekable(info)) return HideBarPreview(player);
  TBarPreview& preview = Preview(player);
  MakeWorker(player, preview);
  preview.CentreX = centreX;
  if (segment != preview.Segment || frame != preview.Frame) {
    preview.Segment = segment;
    preview.Frame = frame;
    preview.Worker->Request({segment, frame, player.Scale.Px(kPreviewMaxWidth), player.Frames.SeekIndex().Knowledge(*info)});
  }
  preview.Note->SetText(Utf8ToWide(AnsiToUtf8(info->Name) + "\n" + ClockText(seconds)));
  if (preview.Note->Visible()) PlaceNote(player, preview);
}

void HideBarPreview(TPlayer& player) {
  if (!player.Preview) return;
  TBarPreview& preview = *player.Preview;
  preview.Segment = -1;
  if (preview.Worker) preview.Worker->Request({});
  if (preview.Note) preview.Note->Hide();
}

void ShowReadyPreview(TPlayer& player) {
  if (!player.Preview || !player.Preview->Worker) return;
  TBarPreview& preview = *player.Preview;
  TPreviewPicture picture;
  if (!preview.Worker->TakePicture(picture) || preview.Segment < 0 || picture.Segment != preview.Segment) return;
  preview.Note->SetPicture(picture.Picture);
  PlaceNote(player, preview);
}

void ReleaseBarPreview(TPlayer& player) {
  if (!player.Preview) return;
  HideBarPreview(player);
  if (player.Preview->Worker) player.Preview->Worker->SetDecoder(nullptr);
}
