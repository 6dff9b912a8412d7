// Where one picture differs from the next: exact boxes, one per group of changes.
#include <gtest/gtest.h>

#include "text/changed_areas.h"

namespace {
// Sets the pixels of each box to a colour of its own in after.
void Paint(TkoPicture& picture, const std::vector<TTextBox>& boxes) {
  const TkoPictureView view = picture.View();
  for (const TTextBox& box : boxes)
    for (int32_t y = box.Top; y < box.Bottom; ++y)
      for (int32_t x = box.Left; x < box.Right; ++x) view.At(x, y)[1] = 0xC0;
}

TEST(ChangedAreas, GroupsOfChangesAndTheirExactBoxes) {
  struct Case {
    const char* name;
    std::vector<TTextBox> painted, expected;
  };
  const Case cases[] = {
      {"nothing changed", {}, {}},
      {"one pixel", {{37, 5, 38, 6}}, {{37, 5, 38, 6}}},
      {"a letter across tiles", {{14, 14, 19, 30}}, {{14, 14, 19, 30}}},
      {"a clock in a corner and a letter far off are two", {{190, 90, 200, 100}, {20, 20, 26, 30}},
       {{20, 20, 26, 30}, {190, 90, 200, 100}}},
      {"changes in neighbouring tiles are one", {{10, 10, 12, 12}, {20, 20, 22, 22}}, {{10, 10, 22, 22}}},
      {"the right and bottom edges", {{195, 95, 200, 100}}, {{195, 95, 200, 100}}},
  };
  for (const int32_t depth : {24, 32})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", depth " + std::to_string(depth));
      TkoPicture before(200, 100, depth), after(200, 100, depth);
      Paint(after, c.painted);
      EXPECT_EQ(ChangedAreas(before.View(), after.View()), c.expected);
    }
}
}  // namespace
