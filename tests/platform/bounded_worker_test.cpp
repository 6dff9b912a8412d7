// The bounded worker: jobs run in order on a thread of their own; a job that does not
// return in time is left on its thread while the next job gets a new one; and neither
// that job nor the worker's end waits for the other.
#include "platform/bounded_worker.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

using namespace std::chrono_literals;

TEST(BoundedWorker, RunsJobsInOrderOnAThreadOfItsOwn) {
  TBoundedWorker worker;
  std::vector<int> order;
  std::thread::id ran;
  for (int k = 0; k < 3; ++k)
    ASSERT_TRUE(worker.Run([&order, &ran, k] { order.push_back(k), ran = std::this_thread::get_id(); }, 10s));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_NE(ran, std::this_thread::get_id());
  EXPECT_EQ(worker.GivenUp(), 0);
}

TEST(BoundedWorker, AJobThatDoesNotReturnIsLeftRunningWhileTheNextJobAndTheWorkersEndGoOn) {
  auto release = std::make_shared<std::promise<void>>();
  auto stuckFinished = std::make_shared<std::promise<std::thread::id>>();
  std::future<std::thread::id> stuckThread = stuckFinished->get_future();
  std::thread::id next;
  {
    TBoundedWorker worker;
    std::shared_future<void> released = release->get_future().share();
    EXPECT_FALSE(worker.Run(
        [released, stuckFinished] {
          released.wait();
          stuckFinished->set_value(std::this_thread::get_id());
        },
        50ms));
    EXPECT_EQ(worker.GivenUp(), 1);
    ASSERT_TRUE(worker.Run([&next] { next = std::this_thread::get_id(); }, 10s))
        << "the next job runs while the first is still held";
  }
  // The worker is gone; the given-up job still runs, and returns when let go.
  ASSERT_EQ(stuckThread.wait_for(0s), std::future_status::timeout);
  release->set_value();
  ASSERT_EQ(stuckThread.wait_for(10s), std::future_status::ready);
  EXPECT_NE(stuckThread.get(), next);
}
