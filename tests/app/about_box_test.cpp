#include "app/about_box.h"

#include <gtest/gtest.h>

#include <utility>

// The dialog's client area is about 450 x 195 pixels at the usual 96 dpi; everything
// the box places must stay inside it, and the notice above the separator line.
TEST(AboutBox, LayoutStaysInsideTheDialog) {
  for (const auto& [w, h] : {std::pair{450, 195}, std::pair{500, 240}}) {
    const TAboutLayout layout = AboutLayout(w, h);
    EXPECT_LE(layout.Button.X + layout.Button.Width, w) << w;
    EXPECT_LE(layout.Button.Y + layout.Button.Height, h) << h;
    EXPECT_LE(layout.Link.Y + layout.Link.Height, h) << h;
    EXPECT_LT(layout.Notice.Right, w) << w;
    EXPECT_LT(layout.LineTo.X, w) << w;
    EXPECT_LT(layout.Notice.Bottom, layout.LineFrom.Y) << "the notice ends above the separator";
  }
}
