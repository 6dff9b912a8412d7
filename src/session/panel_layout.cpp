#include "session/panel_layout.h"
#include "controls/slider_model.h"

TPanelGeometry::TPanelGeometry(const TScreenScale& scale)
    : Scale(scale),
      Height(scale.Px(kBottomPanelHeight)),
      ProgressBar(scale.Box(kProgressBarBox)),
      SpeedSlider(scale.Box(kSpeedSliderBox)),
      VolumeSlider(scale.Box(kVolumeSliderBox)),
      Strip{scale.Px(kStrip.SlantTopX), scale.Px(kStrip.SlantBottomX), scale.Px(kStrip.Bottom)},
      InfoText(scale.Point({kInfoTextX, kInfoTextY})),
      FontHeight(scale.Px(kPanelFontHeight)),
      LineWidth(scale.Px(kPanelLineWidth)),
      ButtonPicture(scale.Px(kButtonPictureSize)),
      ThumbSize(scale.Px(TSliderModel::kThumbSize)),
      ThumbPicture(ThumbSize - 2 * LineWidth),
      BarMargin(scale.Px(kProgressBarMargin)) {
  for (int32_t i = 0; i < kPanelButtonCount; ++i) Buttons[static_cast<size_t>(i)] = scale.Box(kPanelButtons[i].Box);
}

TkoRect TPanelGeometry::TimeTextRect(int32_t w) const {
  return {w - Scale.Px(171), Scale.Px(1), w - Scale.Px(2), Scale.Px(20)};
}

TkoRect TPanelGeometry::TitleRect(int32_t w, int32_t h) const {
  return {Scale.Px(498), h - Scale.Px(19), w - Scale.Px(2), h - Scale.Px(3)};
}

TkoRect TPanelGeometry::VolumeLabelRect(int32_t w, int32_t h) const {
  return {Scale.Px(548), h - Scale.Px(19), w - Scale.Px(2), h - Scale.Px(3)};
}
