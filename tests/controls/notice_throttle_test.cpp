#include "controls/notice_throttle.h"

#include <gtest/gtest.h>

TEST(NoticeThrottle, OneNoticeAPeriodAndTheUsersOwnRestartIt) {
  TNoticeThrottle throttle(1000);
  EXPECT_TRUE(throttle.Allow(5000)) << "the first notice goes out";
  EXPECT_FALSE(throttle.Allow(5001));
  EXPECT_FALSE(throttle.Allow(5999));
  EXPECT_TRUE(throttle.Allow(6000));
  EXPECT_FALSE(throttle.Allow(6500));
  throttle.Sent(6800);  // the user moved the value
  EXPECT_FALSE(throttle.Allow(7500)) << "a period after the user's notice, not the last allowed one";
  EXPECT_TRUE(throttle.Allow(7800));
  EXPECT_TRUE(throttle.Allow(100)) << "a clock that went back does not silence it for good";
  TNoticeThrottle fresh(1000);
  EXPECT_TRUE(fresh.Allow(0)) << "the first notice goes out at time zero too";
  EXPECT_FALSE(fresh.Allow(999));
}
