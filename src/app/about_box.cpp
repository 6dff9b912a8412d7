#include "app/about_box.h"

TAboutLayout AboutLayout(int32_t width, int32_t height) {
  TAboutLayout layout;
  layout.Margin = width / 64;
  layout.TextColumn = width / 8;
  const int32_t m = layout.Margin;
  const int32_t t = layout.TextColumn;
  layout.Icon = {m, m};
  layout.Title = {t, m};
  layout.Version = {185, 21};
  layout.Author = MakeRect(t, 50, width / 2, height / 2);
  layout.Notice = MakeRect(t, 80, 5 * width / 6, 60);
  layout.LineFrom = {m, 150};
  layout.LineTo = {width - m, 150};
  layout.Button = {368, 160, width / 6, 26};
  layout.Link = {t, 165, 3 * width / 4, 16};
  return layout;
}
