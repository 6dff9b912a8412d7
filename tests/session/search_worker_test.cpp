// Find on screen on its own thread: the answers the window takes are of the film opened
// last and of the query typed last.
#include "session/search_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "film/film_identity.h"
#include "support/temp_dir.h"

namespace {
// A film whose index holds `word` `count` times, one a second of segment 1.
std::filesystem::path FilmWithIndex(const std::filesystem::path& film, const std::string& word, int count) {
  std::ofstream(film, std::ios::binary) << "the bytes of " << film.filename().string();
  TTextIndex index;
  index.Film = film.filename().string();
  index.FilmIdentity = FilmIdentity(film);
  index.Segments = {{800, 600}};
  for (int i = 0; i < count; ++i) index.Words.push_back({word, 90, 1, {10, 10, 60, 20}, double(i), double(i + 1)});
  std::ofstream(TextIndexBeside(film), std::ios::binary) << TextIndexDocument(index);
  return film;
}

// Takes the worker's answers as it says they wait, until one satisfies `wanted`.
class AnswerTaker {
  std::mutex FLock;
  std::condition_variable FWake;
  bool FReady = false;

public:
  std::vector<TSearchAnswer> Taken;
  TSearchWorker Worker{[this] { Ready(); }};  // last: it ends first

  template <typename TWanted>
  std::optional<TSearchAnswer> Until(TWanted wanted) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::unique_lock lock(FLock);
    while (FWake.wait_until(lock, end, [this] { return FReady; })) {
      FReady = false;
      lock.unlock();
      std::optional<TSearchAnswer> answer = Worker.Take();
      lock.lock();
      if (!answer) continue;
      Taken.push_back(*answer);
      if (wanted(*answer)) return answer;
    }
    return std::nullopt;
  }

private:
  void Ready() {
    const std::lock_guard lock(FLock);
    FReady = true;
    FWake.notify_one();
  }
};
}  // namespace

TEST(SearchWorker, AnswersTheQueryTypedLastInTheFilmOpenedLast) {
  TempDir folder;
  // Large indexes, each read long enough for what comes next to happen meanwhile.
  const auto large = FilmWithIndex(folder / "large.kof", "Settings", 15000);
  const auto other = FilmWithIndex(folder / "other.kof", "Open", 15000);
  AnswerTaker taker;
  taker.Worker.Find("set");
  taker.Worker.Open(large);
  taker.Worker.Find("settings");
  const auto first = taker.Until([](const TSearchAnswer& a) { return a.Query == "settings"; });
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Problem, TIndexProblem::kNone);
  EXPECT_GT(first->Hits.size(), 0u);

  taker.Taken.clear();
  taker.Worker.Open(large);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the large index is being read
  taker.Worker.Open(other);
  taker.Worker.Find("open");
  const auto second = taker.Until([](const TSearchAnswer& a) { return a.Query == "open"; });
  ASSERT_TRUE(second);
  EXPECT_GT(second->Hits.size(), 0u);
  for (const TSearchAnswer& answer : taker.Taken) EXPECT_EQ(answer.Film, other) << "an answer of the film before";
}

TEST(SearchWorker, SaysWhenTheFilmHasNoIndex) {
  TempDir folder;
  AnswerTaker taker;
  taker.Worker.Find("open");
  taker.Worker.Open(folder / "bare.kof");
  const auto answer = taker.Until([](const TSearchAnswer&) { return true; });
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->Problem, TIndexProblem::kMissing);
  EXPECT_EQ(answer->Status(TUiTexts(TUiLanguage::kEnglish)).rfind("There is no text index beside the film", 0), 0u);
}
