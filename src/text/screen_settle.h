#pragma once
// When the areas of a segment's screen are read for text. Each frame tells what it
// changed; a change that touches or lies near what an area changed lately joins that
// area (a letter typed joins the line being typed; a menu that opens beside it, or
// inside the screen that was shown whole a moment ago, makes an area of its own). An
// area that has stayed unchanged for a while has settled (the text is typed, the menu
// is open) and is due for reading; one that never settles is read at least every so
// often. The
// changes of the last few seconds are kept, so that a word read later is dated by the
// last change to its own pixels, not by when its area was read.
#include <deque>
#include <vector>

#include "text/text_box.h"

struct TSettleRules {
  double SettleSeconds = 0.5;  // unchanged this long: settled
  double LongestUnread = 5.0;  // an area that keeps changing is read this often
  int32_t Nearby = 12;         // changes this close (pixels) make one area
};

class TScreenSettle {
public:
  explicit TScreenSettle(TSettleRules rules = {});

  // The picture shown at `seconds` differs from the one before inside box.
  void Changed(const TTextBox& box, double seconds);
  // The areas due for reading in the picture shown at `seconds`, each given once until
  // it changes again; an area read because it kept changing stays waiting to settle.
  std::vector<TTextBox> Due(double seconds);
  // Every area still waiting, at the segment's end.
  std::vector<TTextBox> Remaining();
  // When the pixels of box last changed at or before `seconds`: the time of the first
  // picture that showed them as they are. Changes older than the kept history count
  // as the oldest kept one.
  double SettledSince(const TTextBox& box, double seconds) const;

private:
  struct Change {
    TTextBox Box;
    double Seconds;
  };
  struct Area {
    TTextBox Box;
    double FirstUnread, LastChange;
    std::vector<Change> Lately;  // its changes of the last SettleSeconds
  };
  void Merge(Area area);

  TSettleRules FRules;
  std::vector<Area> FAreas;
  std::deque<Change> FHistory;
};
