// The bottom panel's colours: the tools it paints with and its pictures, for the
// palette of the system's settings; anew when they change.
#include "app/bottom_panel_state_win.h"
#include "app/bottom_panel_win.h"
#include "controls/control_palette_win.h"
#include "controls/ko_common_win.h"
#include "controls/scaled_gdi_win.h"

// The sliders borrow the background brush and the track pen: they get the new ones
// before the old ones go.
void TBottomPanelState::MakeTools() {
  TGdiObject<HBRUSH> background(CreateSolidBrush(Palette.Background));
  TGdiObject<HPEN> track = CreateLinePen(Palette.Track, Geometry.LineWidth);
  for (TkoSlider* slider : {SpeedSlider.get(), VolumeSlider.get()}) {
    if (slider == nullptr) continue;
    slider->SetBackgroundBrush(background.Get());
    slider->SetTrackPen(track.Get());
  }
  BackgroundBrush = std::move(background);
  TrackPen = std::move(track);
  StripBrush = TGdiObject<HBRUSH>(CreateSolidBrush(Palette.Strip));
  LinePen = CreateLinePen(Palette.Lines, Geometry.LineWidth);
}

// A button keeps the picture it has when a new one cannot be made.
void TBottomPanelState::SetPictures() {
  const auto picture = [this](const wchar_t* name, int32_t size) {
    return PictureForPalette(LoadScaledPicture(name, size, Geometry.Scale), Palette);
  };
  for (size_t i = 0; i < Buttons.size(); ++i)
    if (TGdiObject<HBITMAP> made = SetButtonBitmap(Buttons[i], picture(kPanelButtons[i].Bitmap, Geometry.ButtonPicture)))
      ButtonBitmaps[i] = std::move(made);
  if (SpeedSlider) SpeedSlider->SetThumbBitmap(picture(kSpeedThumbBitmap, Geometry.ThumbPicture));
  if (VolumeSlider) VolumeSlider->SetThumbBitmap(picture(kVolumeThumbBitmap, Geometry.ThumbPicture));
}

void TBottomPanelState::ApplyPalette(const TControlPalette& palette) {
  Palette = palette;
  MakeTools();
  if (ProgressBar) ProgressBar->SetPalette(Palette);
  for (TkoSlider* slider : {SpeedSlider.get(), VolumeSlider.get()})
    if (slider != nullptr) slider->SetPalette(Palette);
  SetPictures();
  InvalidateRect(Window, nullptr, FALSE);
}

void TBottomPanel::Recolour() {
  if (FState) FState->ApplyPalette(CurrentControlPalette());
}
