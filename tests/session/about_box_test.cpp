#include "session/about_box.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {
// What the texts measure at 96 DPI in the fonts the box asks for (Times New Roman Bold
// 32, the system font, Tahoma 14, the dialog font); the dialog's client area is about
// 450 x 195 pixels there.
const TAboutMeasures kMeasuresAt96{{32, 32}, {121, 32}, {115, 16}, {170, 17}, {262, 51}, {42, 13}, {48, 13}};
constexpr TkoSize kClientAt96{450, 195};

TkoSize Scaled(TkoSize size, double factor) {
  return {static_cast<int32_t>(std::lround(size.Width * factor)),
          static_cast<int32_t>(std::lround(size.Height * factor))};
}

TAboutMeasures Scaled(const TAboutMeasures& m, double factor) {
  return {Scaled(m.Icon, factor),   Scaled(m.Title, factor),  Scaled(m.Version, factor),
          Scaled(m.Author, factor), Scaled(m.Notice, factor), Scaled(m.Close, factor),
          Scaled(m.Licenses, factor)};
}

bool Overlap(const TkoRect& a, const TkoRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Inside(const TkoRect& r, TkoSize client) {
  return r.Left >= 0 && r.Top >= 0 && r.Right <= client.Width && r.Bottom <= client.Height;
}

std::string Text(const TkoRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom);
}
}  // namespace

// At 96 DPI, with texts that fit their places, everything lies where it always did.
TEST(AboutBox, AtTheDesignScaleEverythingKeepsItsPlace) {
  const TAboutLayout layout = AboutLayout(kClientAt96, TScreenScale(), kMeasuresAt96);
  EXPECT_EQ(std::pair(layout.Margin, layout.TextColumn), std::pair(7, 56));
  EXPECT_EQ(layout.Icon, (TkoPoint{7, 7}));
  EXPECT_EQ(layout.Title, (TkoRect{56, 7, 56 + 121 + 2, 7 + 32 + 2}));
  EXPECT_EQ(layout.Version, (TkoRect{185, 21, 300, 37}));
  EXPECT_EQ(layout.Author, (TkoRect{56, 50, 226, 67}));
  EXPECT_EQ(layout.Notice, (TkoRect{56, 80, 318, 131}));
  EXPECT_EQ(std::pair(layout.LineFrom, layout.LineTo), std::pair(TkoPoint{7, 150}, TkoPoint{443, 150}));
  EXPECT_EQ(layout.LineWidth, 1);
  EXPECT_EQ(layout.Close, (TkoRect{368, 160, 368 + 75, 186}));
  EXPECT_EQ(layout.Licenses, (TkoRect{368 - 7 - 75, 160, 368 - 7, 186}));
  EXPECT_EQ(layout.Client, kClientAt96);
}

// A title face wider than the design's (the substitute for Times New Roman under Wine)
// moves the version beside it instead of under it; nothing else moves.
TEST(AboutBox, AWiderTitleMovesTheVersionBesideIt) {
  TAboutMeasures wide = kMeasuresAt96;
  wide.Title = {143, 37};
  const TAboutLayout layout = AboutLayout(kClientAt96, TScreenScale(), wide);
  EXPECT_EQ(layout.Version, (TkoRect{56 + 145, 21, 56 + 145 + 115, 37}));
  EXPECT_EQ(layout.Author.Top, 50);
  EXPECT_EQ(layout.Close, (TkoRect{368, 160, 443, 186}));
}

// A button text longer than the design's buttons (a translation) widens its button; the
// two buttons stay a margin apart, Close at the right, and the box grows to hold them.
TEST(AboutBox, ALongButtonTextWidensItsButtonAndTheBox) {
  TAboutMeasures measures = kMeasuresAt96;
  measures.Licenses = {360, 13};
  const TAboutLayout layout = AboutLayout(kClientAt96, TScreenScale(), measures);
  EXPECT_EQ(layout.Licenses, (TkoRect{56, 160, 56 + 376, 186}));
  EXPECT_EQ(layout.Close, (TkoRect{56 + 376 + 7, 160, 56 + 376 + 7 + 75, 186}));
  EXPECT_EQ(layout.Client.Width, layout.Close.Right + 7);
}

// At 125 to 300 %, with texts as large as the scale makes them (or a fifth wider and
// taller, as substituted faces are), in a dialog the system scaled exactly or less
// (Wine gives 675 x 300 at both 150 and 200 %): no two parts overlap, every part lies
// inside the box, which grows when it must, and the line runs between the notice and
// the button. At 200 % the old layout put the version over the title, the author line
// over both, cut the notice's last line and the Close button off the box.
TEST(AboutBox, AtEveryScaleNothingOverlapsAndNothingIsCutOff) {
  for (const int32_t dpi : {120, 144, 168, 192, 288}) {
    const TScreenScale scale(dpi);
    for (const double faces : {1.0, 1.2}) {
      for (const TkoSize client : {scale.Size(kClientAt96), TkoSize{675, 300}}) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI, faces x" + std::to_string(faces) + ", dialog " +
                     std::to_string(client.Width) + " x " + std::to_string(client.Height));
        const TAboutLayout layout = AboutLayout(client, scale, Scaled(kMeasuresAt96, scale.Factor() * faces));
        const TkoRect icon{layout.Icon.X, layout.Icon.Y, layout.Icon.X + scale.Px(32), layout.Icon.Y + scale.Px(32)};
        const std::vector<TkoRect> parts = {icon,          layout.Title,  layout.Version, layout.Author,
                                            layout.Notice, layout.Close,  layout.Licenses};
        EXPECT_GE(layout.Client.Width, client.Width);
        EXPECT_GE(layout.Client.Height, client.Height);
        for (size_t i = 0; i < parts.size(); ++i) {
          EXPECT_TRUE(Inside(parts[i], layout.Client)) << Text(parts[i]);
          for (size_t j = i + 1; j < parts.size(); ++j)
            EXPECT_FALSE(Overlap(parts[i], parts[j])) << Text(parts[i]) << " and " << Text(parts[j]);
        }
        EXPECT_LT(layout.Notice.Bottom, layout.LineFrom.Y);
        EXPECT_LT(layout.LineFrom.Y + layout.LineWidth, layout.Close.Top);
        EXPECT_EQ(layout.Licenses.Top, layout.Close.Top);
        EXPECT_EQ(layout.Licenses.Bottom, layout.Close.Bottom);
        EXPECT_EQ(layout.LineTo.X, layout.Client.Width - layout.Margin);
        EXPECT_EQ(layout.LineWidth, scale.Px(1));
      }
    }
  }
}
