#include "session/about_box.h"

#include <algorithm>

#include "session/access_keys.h"
#include "session/fixed_texts.h"

namespace {
// The design's places at 96 DPI.
constexpr TkoPoint kVersionAt{185, 21};
constexpr int32_t kAuthorTop = 50, kNoticeTop = 80, kNoticeHeight = 60, kLineY = 150;
constexpr int32_t kCloseX = 368, kCloseY = 160, kCloseHeight = 26;
constexpr int32_t kTitleShadow = 2;
// Room around the Close button's text when the design's button is too small for it.
constexpr int32_t kCloseTextRoomX = 16, kCloseTextRoomY = 8;

TkoRect At(int32_t x, int32_t y, TkoSize size) { return {x, y, x + size.Width, y + size.Height}; }
}  // namespace

std::vector<std::string> AboutBoxButtons(TUiLanguage language) {
  const TFixedTexts& texts = FixedTexts(language);
  return WithAccessKeys({texts.AboutCloseButton, texts.AboutLicensesButton});
}

TAboutLayout AboutLayout(TkoSize client, const TScreenScale& scale, const TAboutMeasures& measures) {
  const int32_t w = client.Width;
  TAboutLayout layout;
  const int32_t m = layout.Margin = w / 64;
  const int32_t t = layout.TextColumn = std::max(w / 8, m + measures.Icon.Width + m);
  layout.Icon = {m, m};
  layout.TitleShadow = scale.Px(kTitleShadow);
  layout.Title = At(t, m, {measures.Title.Width + layout.TitleShadow, measures.Title.Height + layout.TitleShadow});
  // The version beside the title, the author line and the notice below both, each
  // pushed on by what lies before it; the line and the button follow the notice.
  layout.Version = At(std::max(scale.Px(kVersionAt.X), layout.Title.Right), scale.Px(kVersionAt.Y), measures.Version);
  const int32_t authorTop = std::max(
      {scale.Px(kAuthorTop), layout.Title.Bottom, layout.Version.Bottom, m + measures.Icon.Height});
  layout.Author = At(t, authorTop, measures.Author);
  const int32_t noticeTop = std::max(scale.Px(kNoticeTop) + authorTop - scale.Px(kAuthorTop), layout.Author.Bottom);
  layout.Notice = At(t, noticeTop, measures.Notice);
  const int32_t designNoticeBottom = scale.Px(kNoticeTop) + scale.Px(kNoticeHeight);
  const int32_t push = std::max(
      0, std::max(noticeTop + scale.Px(kNoticeHeight), layout.Notice.Bottom) - designNoticeBottom);
  layout.LineWidth = scale.Px(1);
  const int32_t lineY = scale.Px(kLineY) + push;
  const int32_t buttonHeight = std::max(
      scale.Px(kCloseHeight), std::max(measures.Close.Height, measures.Licenses.Height) + scale.Px(kCloseTextRoomY));
  const TkoSize close{std::max(w / 6, measures.Close.Width + scale.Px(kCloseTextRoomX)), buttonHeight};
  const TkoSize licenses{std::max(w / 6, measures.Licenses.Width + scale.Px(kCloseTextRoomX)), buttonHeight};
  const int32_t closeY = scale.Px(kCloseY) + push;
  const int32_t buttonsWidth = licenses.Width + m + close.Width;
  // The box: as wide as the widest part and as high as the buttons, with the margin.
  layout.Client = {
      std::max({w, layout.Version.Right + m, layout.Author.Right + m, layout.Notice.Right + m, t + buttonsWidth + m}),
      std::max(client.Height, closeY + close.Height + m)};
  const int32_t closeX = std::max(t + licenses.Width + m,
                                  std::min(scale.Px(kCloseX), layout.Client.Width - m - close.Width));
  layout.Close = At(closeX, closeY, close);
  layout.Licenses = At(closeX - m - licenses.Width, closeY, licenses);
  layout.LineFrom = {m, lineY};
  layout.LineTo = {layout.Client.Width - m, lineY};
  return layout;
}
