// What the bottom panel draws, and when: background, information strip, title, volume
// label and progress bar. Everything is drawn through the panel's own device context
// whenever a routine runs, not only in WM_PAINT; the panel clips its children, so
// nothing covers the controls.
#include "app/player_win.h"
#include "platform/wide_text_win.h"
#include "app/bottom_panel_state_win.h"
#include "app/bottom_panel_win.h"

namespace {
constexpr char kRateZeroReason[] = "FPS = 0";

RECT ToRect(const TkoRect& rect) { return {rect.Left, rect.Top, rect.Right, rect.Bottom}; }

void DrawTextIn(HDC dc, const std::string& text, RECT rect, UINT format) {
  const std::wstring wide = Utf8ToWide(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

// Writes text right-aligned in rect (clipped to it) with the font selected in dc, each
// character placed at the advance that font measures. Under Wine, Tahoma Bold at 13
// pixels draws its characters further apart than it measures them, so a text placed
// by its measured width alone runs past the rectangle and loses its last digit.
void DrawRightAligned(HDC dc, const std::string& text, const RECT& rect) {
  const std::wstring wide = Utf8ToWide(text);
  const int count = static_cast<int>(wide.size());
  std::vector<int> ends(wide.size());
  SIZE size{};
  if (count == 0 || !GetTextExtentExPointW(dc, wide.c_str(), count, 0, nullptr, ends.data(), &size)) return;
  std::vector<int> advances(ends.size());
  for (size_t i = 0; i < ends.size(); ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
  ExtTextOutW(dc, rect.right - size.cx, rect.top, ETO_CLIPPED, &rect, wide.c_str(), static_cast<UINT>(count),
              advances.data());
}

// A white area with a text in the strip colour (the palette's), as the title and the
// volume are drawn.
void DrawWhiteLabel(TBottomPanelState& panel, const TkoRect& area, const std::string& text) {
  TWindowDC dc(panel.Window);
  if (dc.Get() == nullptr) return;
  const RECT rect = ToRect(area);
  FillRect(dc.Get(), &rect, panel.BackgroundBrush.Get());
  const TSelection font(dc.Get(), panel.PanelFont.Get());
  SetBkColor(dc.Get(), panel.Palette.Background);
  SetTextColor(dc.Get(), panel.Palette.LabelText);
  DrawTextIn(dc.Get(), text, rect, 0);
}

void PaintBackground(TBottomPanelState& panel) {
  TWindowDC dc(panel.Window);
  if (dc.Get() == nullptr) return;
  const TSelection brush(dc.Get(), panel.BackgroundBrush.Get());
  const TSelection pen(dc.Get(), panel.LinePen.Get());
  Rectangle(dc.Get(), 0, 0, panel.Client.right, panel.Client.bottom);
}

void ShowPlayOrPause(const TBottomPanelState& panel, TPlayState state) {
  const bool playing = state == psPlaying;
  if (HWND pause = ButtonOf(panel, CM_PAUSE)) ShowWindow(pause, playing ? SW_SHOW : SW_HIDE);
  if (HWND play = ButtonOf(panel, CM_PLAY)) ShowWindow(play, playing ? SW_HIDE : SW_SHOW);
}

std::vector<TSegmentTiming> SegmentTimings(const TSegmentList* segments) {
  std::vector<TSegmentTiming> timings;
  for (int32_t i = 0; segments != nullptr && i < segments->Count(); ++i) {
    const TSegmentInfo* segment = segments->Get(i);
    timings.push_back(segment != nullptr ? TSegmentTiming{segment->FrameCount, segment->FramesPerSecond}
                                         : TSegmentTiming{});
  }
  return timings;
}

// A segment without a rate has no length: it is left out of the times, and the user
// is told once (the engine tells when it skips one, and both use the same mark).
void ReportRateZeroSegments(TWinPlayer& player, const std::vector<int32_t>& indexes) {
  for (const int32_t index : indexes) {
    TSegmentInfo* segment = player.Film.Segments().Get(index);
    if (segment == nullptr || segment->SkipReported) continue;
    segment->SkipReported = true;
    player.PlaybackShell.ReportSkippedSegment(index, kRateZeroReason);
  }
}
}  // namespace

void DrawInfoStrip(TBottomPanelState& panel) {
  TWindowDC dc(panel.Window);
  if (dc.Get() == nullptr) return;
  const HDC hdc = dc.Get();
  const int32_t w = panel.Client.right;
  const TStripCorners& strip = panel.Geometry.Strip;
  BeginPath(hdc);
  MoveToEx(hdc, strip.SlantTopX, 0, nullptr);
  LineTo(hdc, w, 0);
  LineTo(hdc, w, strip.Bottom);
  LineTo(hdc, strip.SlantBottomX, strip.Bottom);
  LineTo(hdc, strip.SlantTopX, 0);
  EndPath(hdc);
  {
    const TSelection brush(hdc, panel.StripBrush.Get());
    FillPath(hdc);
  }
  const TSelection pen(hdc, panel.LinePen.Get());
  MoveToEx(hdc, strip.SlantTopX, 0, nullptr);
  LineTo(hdc, strip.SlantBottomX, strip.Bottom);
  LineTo(hdc, w, strip.Bottom);

  const TSelection font(hdc, panel.PanelFont.Get());
  SetBkMode(hdc, OPAQUE);
  SetBkColor(hdc, panel.Palette.Strip);
  SetTextColor(hdc, panel.Palette.StripText);
  const std::wstring info = Utf8ToWide(panel.InfoText);
  TextOutW(hdc, panel.Geometry.InfoText.X, panel.Geometry.InfoText.Y, info.c_str(), static_cast<int>(info.size()));
  DrawRightAligned(hdc, panel.TimeText, ToRect(panel.Geometry.TimeTextRect(w)));
}

void DrawTitleArea(TBottomPanelState& panel) {
  DrawWhiteLabel(panel, panel.Geometry.TitleRect(panel.Client.right, panel.Client.bottom), panel.TitleText);
}

void RefreshVolume(TBottomPanelState& panel) {
  if (!panel.VolumeSlider) return;
  const double percent = panel.Player.Sound.GetVolumePercent();
  panel.VolumeSlider->SetPosition(VolumeLabelValue(percent));
  DrawWhiteLabel(panel, panel.Geometry.VolumeLabelRect(panel.Client.right, panel.Client.bottom),
                 VolumeLabel(percent));
}

void RefreshProgress(TBottomPanelState& panel) {
  if (!panel.ProgressBar) return;
  const TWinPlayer& player = panel.Player;
  TProgressSegments parts;
  if (player.Film.Segments().Count() > 0) parts = ProgressSegments(SegmentTimings(&player.Film.Segments()));
  panel.ProgressBar->SetSegments(parts.Lengths);
  const bool sameSegments = parts.SegmentIndexes == panel.BarSegments;
  panel.BarSegments = std::move(parts.SegmentIndexes);
  if (!sameSegments || panel.StripVersion != player.Activity.Version) {
    panel.StripVersion = player.Activity.Version;
    panel.ProgressBar->SetActivity(ActivityStrip(player, panel.BarSegments));
  }
  if (!panel.BarSegments.empty()) panel.ProgressBar->SetPosition(panel.CurrentSeconds);
}

void TBottomPanel::Redraw() {
  if (!FState) return;
  TBottomPanelState& panel = *FState;
  PaintBackground(panel);
  DrawInfoStrip(panel);
  RefreshVolume(panel);
  RefreshProgress(panel);
  ShowPlayOrPause(panel, FPlayer.Engine.State());
}

void TBottomPanel::RefreshSegmentLine() {
  if (!FState) return;
  TBottomPanelState& panel = *FState;
  const TWinPlayer& player = FPlayer;
  const TSegmentInfo* segment = player.Film.Segments().Get(player.Engine.CurrentSegment());
  if (segment != nullptr) {
    panel.CurrentSegmentRecord = {segment->Width, segment->Height, segment->BitsPerPixel, segment->FramesPerSecond};
    panel.TitleText = AnsiToUtf8(segment->Name);
    panel.InfoText = FormatInfoText(segment->Width, segment->Height, segment->BitsPerPixel, segment->FramesPerSecond);
  } else {
    panel.InfoText.clear();
    panel.TimeText.clear();
  }
  DrawTitleArea(panel);
  DrawInfoStrip(panel);
  RefreshTimeText();
}

void TBottomPanel::RefreshActivityStrip() {
  if (FState) RefreshProgress(*FState);
}

void TBottomPanel::RefreshTimeText() {
  if (!FState || !IsWindowVisible(FState->Window)) return;
  TBottomPanelState& panel = *FState;
  TWinPlayer& player = FPlayer;
  const int32_t speed = panel.SpeedSlider ? panel.SpeedSlider->GetPosition() : player.Engine.SpeedPosition();
  const TTimeLine line = ComputeTimeLine(SegmentTimings(&player.Film.Segments()), player.Engine.CurrentSegment(),
                                         player.Engine.CurrentFrame(), panel.CurrentSegmentRecord.FramesPerSecond,
                                         speed, panel.Separators);
  if (player.Film.IsOpen()) ReportRateZeroSegments(player, line.RateZeroSegments);
  panel.CurrentSeconds = line.CurrentSeconds;
  // Runs after every tick; the strip is drawn again only when its time line changes
  // (everything that paints over it draws it anew itself).
  if (line.Text != panel.TimeText) {
    panel.TimeText = line.Text;
    DrawInfoStrip(panel);
  }
  RefreshProgress(panel);
}
