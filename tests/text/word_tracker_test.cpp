// The settle and merge rules, as scenes: what each frame changes and what the reader
// finds when an area is due, against the entries the index ends with.
#include "text/word_tracker.h"

#include <gtest/gtest.h>

#include <map>

namespace {
constexpr double kFrame = 0.1;

// A scene: per frame, what changed; per reading (by frame), the words on screen there.
struct Scene {
  const char* name;
  std::map<int, std::vector<TTextBox>> changes;  // frame -> boxes
  // The words the screen shows from a frame on (the reader sees what the screen shows).
  std::map<int, std::vector<TReadWord>> screen;
  int frames;
  std::vector<TIndexedWord> expected;  // text, segment 1, box, from, to (confidence 90)
};

TReadWord Word(const std::string& text, TTextBox box) { return {text, 90, box}; }
TIndexedWord Entry(const std::string& text, TTextBox box, double from, double to, std::vector<TWordMove> moves = {}) {
  return {text, 90, 1, box, from, to, moves};
}

// What the screen shows at a frame: the latest state at or before it.
std::vector<TReadWord> ShownAt(const Scene& scene, int frame) {
  auto it = scene.screen.upper_bound(frame);
  return it == scene.screen.begin() ? std::vector<TReadWord>{} : std::prev(it)->second;
}

std::vector<TIndexedWord> Play(const Scene& scene) {
  TScreenSettle settle;
  TWordTracker tracker(1);
  for (int frame = 0; frame < scene.frames; ++frame) {
    const double t = frame * kFrame;
    if (const auto found = scene.changes.find(frame); found != scene.changes.end())
      for (const TTextBox& box : found->second) {
        settle.Changed(box, t);
        tracker.Changed(box, t);
      }
    for (const TTextBox& area : settle.Due(t)) {
      std::vector<TReadWord> seen;
      for (const TReadWord& w : ShownAt(scene, frame))  // the reader keeps a margin around the area
        if (w.Box.Intersects(area.Expanded(4, 4))) seen.push_back(w);
      tracker.Read(area, seen, t, settle);
    }
  }
  return tracker.Finish(scene.frames * kFrame);
}

// A word typed letter by letter: each frame draws one more letter of "Settings" at
// x = 10 + 6 * i; then the screen rests.
Scene TypedWord() {
  Scene s{"a word typed letter by letter is one entry from the frame it was complete", {}, {}, 40, {}};
  const std::string word = "Settings";
  for (int i = 0; i < int(word.size()); ++i) {
    s.changes[5 + i] = {{10 + 6 * i, 20, 16 + 6 * i, 30}};
    s.screen[5 + i] = {Word(word.substr(0, size_t(i) + 1), {10, 20, 16 + 6 * i, 30})};
  }
  s.expected = {Entry("Settings", {10, 20, 58, 30}, 1.2, 4.0)};
  return s;
}

// A menu opens at frame 5, closes at 15, opens again at 25 and closes at 32.
Scene MenuTwice() {
  Scene s{"a menu opened twice is two entries, each ending when the menu closed", {}, {}, 40, {}};
  const TTextBox menu{100, 10, 200, 60}, item{110, 20, 150, 30};
  for (const int frame : {5, 15, 25, 32}) s.changes[frame] = {menu};
  s.screen = {{5, {Word("Open", item)}}, {15, {}}, {25, {Word("Open", item)}}, {32, {}}};
  s.expected = {Entry("Open", item, 0.5, 1.5), Entry("Open", item, 2.5, 3.2)};
  return s;
}

// A caret blinks beside a word every half second: the word stays one entry, dated by
// its own pixels, not by the caret's.
Scene BlinkingCaret() {
  Scene s{"a caret blinking beside a word leaves it one entry", {}, {}, 60, {}};
  const TTextBox word{10, 20, 50, 30};
  s.changes[2] = {word};
  s.screen[2] = {Word("File", word)};
  for (int frame = 10; frame < 60; frame += 5) s.changes[frame] = {{52, 18, 54, 32}};
  s.expected = {Entry("File", word, 0.2, 6.0)};
  return s;
}

// A letter appears beside a word; the area read holds the word too, and the reader
// makes another word of its unchanged pixels, less sure of it: nothing changes.
Scene UnsureReader() {
  Scene s{"a word whose pixels did not change stays whatever a less sure reading makes of them", {}, {}, 50, {}};
  const TTextBox word{10, 20, 50, 30}, beside{52, 20, 70, 30};
  s.changes[2] = {word};
  s.screen[2] = {Word("Print", word)};
  s.changes[20] = {beside};
  s.screen[20] = {Word("Prlnt", word), Word("Now", beside)};
  s.screen[20][0].Confidence = 40;
  s.expected = {Entry("Print", word, 0.2, 5.0), Entry("Now", beside, 2.0, 5.0)};
  return s;
}

// A spinner turns beside a label every frame, so their area never settles: it is read
// after five seconds, and the label dated by its own pixels.
Scene NeverSettles() {
  Scene s{"an area that never settles is read every five seconds", {}, {}, 120, {}};
  const TTextBox label{240, 5, 295, 15}, spinner{300, 5, 310, 15};
  for (int frame = 0; frame < 120; ++frame) s.changes[frame] = {spinner};
  s.changes[3].push_back(label);
  s.screen[3] = {Word("Copying", label)};
  s.expected = {Entry("Copying", label, 0.3, 12.0)};
  return s;
}

// A list of five rows scrolls a row every two seconds: each word is one entry that moves
// up, the top one goes at each scroll and a new one comes at the bottom. A word of the
// same text as one that went, shown elsewhere alone, is a word of its own.
Scene ScrolledList() {
  Scene s{"words scrolled together are their entries, moved", {}, {}, 60, {}};
  const auto row = [](int k) { return TTextBox{10, 10 + 12 * k, 60, 20 + 12 * k}; };
  const TTextBox list{10, 10, 60, 70};
  const std::vector<std::string> words = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf"};
  for (const int first : {0, 1, 2}) {
    const int frame = 5 + 20 * first;
    s.changes[frame] = {list};
    for (int k = 0; k < 5; ++k) s.screen[frame].push_back(Word(words[size_t(first + k)], row(k)));
  }
  s.changes[50] = {{200, 10, 250, 20}};
  s.screen[50] = s.screen[45];
  s.screen[50].push_back(Word("alpha", {200, 10, 250, 20}));
  s.expected = {Entry("alpha", row(0), 0.5, 2.5),
                Entry("bravo", row(1), 0.5, 4.5, {{2.5, row(0)}}),
                Entry("charlie", row(2), 0.5, 6.0, {{2.5, row(1)}, {4.5, row(0)}}),
                Entry("delta", row(3), 0.5, 6.0, {{2.5, row(2)}, {4.5, row(1)}}),
                Entry("echo", row(4), 0.5, 6.0, {{2.5, row(3)}, {4.5, row(2)}}),
                Entry("foxtrot", row(4), 2.5, 6.0, {{4.5, row(3)}}),
                Entry("golf", row(4), 4.5, 6.0),
                Entry("alpha", {200, 10, 250, 20}, 5.0, 6.0)};
  return s;
}

// A label erased in one place and drawn in another, alone: one word proves no move, so it
// is a new entry there.
Scene MovedAlone() {
  Scene s{"a word that moved alone is a new entry", {}, {}, 40, {}};
  const TTextBox before{10, 10, 50, 20}, after{10, 40, 50, 50};
  s.changes[5] = {before};
  s.screen[5] = {Word("Save", before)};
  s.changes[20] = {before.Union(after)};
  s.screen[20] = {Word("Save", after)};
  s.expected = {Entry("Save", before, 0.5, 2.0), Entry("Save", after, 2.0, 4.0)};
  return s;
}

TEST(WordTracker, Scenes) {
  for (const Scene& scene :
       {TypedWord(), MenuTwice(), BlinkingCaret(), UnsureReader(), NeverSettles(), ScrolledList(), MovedAlone()}) {
    SCOPED_TRACE(scene.name);
    const std::vector<TIndexedWord> got = Play(scene);
    ASSERT_EQ(got.size(), scene.expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].Text, scene.expected[i].Text);
      EXPECT_EQ(got[i].Box, scene.expected[i].Box);
      EXPECT_NEAR(got[i].From, scene.expected[i].From, 1e-9) << got[i].Text;
      EXPECT_NEAR(got[i].To, scene.expected[i].To, 1e-9) << got[i].Text;
      EXPECT_EQ(got[i].Moves, scene.expected[i].Moves) << got[i].Text;
    }
  }
}

TEST(ScreenSettle, AreasAreDueWhenSettledOrAfterFiveSecondsOfChange) {
  struct Case {
    const char* name;
    std::vector<std::pair<double, TTextBox>> changes;
    double at;
    std::vector<TTextBox> due;
  };
  const TTextBox a{0, 0, 10, 10}, nearA{15, 0, 25, 10}, far{100, 100, 110, 110};
  std::vector<Case> cases = {
      {"not yet settled", {{0.0, a}}, 0.4, {}},
      {"settled after half a second", {{0.0, a}}, 0.5, {a}},
      {"half a second between frame times", {{2 / 10.0, a}}, 7 / 10.0, {a}},  // 0.7 - 0.2 < 0.5 in doubles
      {"a change nearby joins the area", {{0.0, a}, {0.3, nearA}}, 0.8, {a.Union(nearA)}},
      {"a change far off is an area of its own", {{0.0, a}, {0.3, far}}, 0.5, {a}},
      {"a change near an area that settled is an area of its own", {{0.0, a}, {0.6, nearA}}, 1.0, {a}},
      {"read after five seconds of change", {}, 5.0, {a}},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.name);
    if (c.changes.empty())  // a change every 0.3 s
      for (int k = 0; k <= 16; ++k) c.changes.push_back({k * 0.3, a});
    TScreenSettle settle;
    std::vector<TTextBox> due;
    for (const auto& [t, box] : c.changes) {
      settle.Changed(box, t);
      for (const TTextBox& d : settle.Due(t)) due.push_back(d);
    }
    for (const TTextBox& d : settle.Due(c.at)) due.push_back(d);
    EXPECT_EQ(due, c.due);
  }
}

TEST(ScreenSettle, WordsAreDatedByTheLastChangeToTheirOwnPixels) {
  TScreenSettle settle;
  settle.Changed({0, 0, 100, 20}, 1.0);  // the line appears
  settle.Changed({40, 0, 50, 20}, 2.0);  // a letter typed in its middle
  settle.Changed({90, 0, 92, 20}, 3.0);  // the caret at its end
  EXPECT_EQ(settle.SettledSince({0, 0, 30, 20}, 3.5), 1.0);
  EXPECT_EQ(settle.SettledSince({35, 0, 60, 20}, 3.5), 2.0);
  EXPECT_EQ(settle.SettledSince({35, 0, 60, 20}, 1.5), 1.0);  // as it was then
}
}  // namespace
