#include "controls/control_bounds.h"

#include <gtest/gtest.h>

TEST(ControlBounds, MoveAndSizeWordsAreUnsigned16Bit) {
  const int64_t atMinusOne = (int64_t{0xFFFE} << 16) | 0xFFFF;  // x = -1, y = -2
  EXPECT_EQ(UnsignedLowWord(atMinusOne), 65535);
  EXPECT_EQ(UnsignedHighWord(atMinusOne), 65534);
  EXPECT_EQ(SignedLowWord(atMinusOne), -1);
  const int64_t withHighBits = (int64_t{7} << 32) | (int64_t{40} << 16) | 120;
  EXPECT_EQ(UnsignedLowWord(withHighBits), 120);
  EXPECT_EQ(UnsignedHighWord(withHighBits), 40);
  EXPECT_EQ(SignedLowWord(0x8000), -32768);
}

TEST(ControlBounds, SizingRectanglesCountBothEdges) {
  EXPECT_EQ(BoundsFromSizingRect({10, 20, 79, 39}), (TkoBox{10, 20, 70, 20}));
  EXPECT_EQ(BoundsFromSizingRect({5, 5, 5, 5}), (TkoBox{5, 5, 1, 1}));
}
