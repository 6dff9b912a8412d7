#include "text/screen_settle.h"

#include <algorithm>

TScreenSettle::TScreenSettle(TSettleRules rules) : FRules(rules) {}

// Joins the area with every waiting one near it, and those with theirs, as the union grows.
void TScreenSettle::Merge(Area area) {
  for (bool joined = true; joined;) {
    joined = false;
    for (auto other = FAreas.begin(); other != FAreas.end(); ++other) {
      if (!other->Box.Expanded(FRules.Nearby, FRules.Nearby).Intersects(area.Box)) continue;
      area = {area.Box.Union(other->Box), std::min(area.FirstUnread, other->FirstUnread),
              std::max(area.LastChange, other->LastChange)};
      FAreas.erase(other);
      joined = true;
      break;
    }
  }
  FAreas.push_back(area);
}

void TScreenSettle::Changed(const TTextBox& box, double seconds) {
  if (box.Empty()) return;
  Merge({box, seconds, seconds});
  FHistory.push_back({box, seconds});
  const double keep = 2 * (FRules.LongestUnread + FRules.SettleSeconds);
  while (FHistory.size() > 1 && FHistory.front().Seconds < seconds - keep) FHistory.pop_front();
}

std::vector<TTextBox> TScreenSettle::Due(double seconds) {
  std::vector<TTextBox> due;
  for (auto area = FAreas.begin(); area != FAreas.end();) {
    if (seconds - area->LastChange >= FRules.SettleSeconds) {
      due.push_back(area->Box);
      area = FAreas.erase(area);
      continue;
    }
    if (seconds - area->FirstUnread >= FRules.LongestUnread) {
      due.push_back(area->Box);
      area->FirstUnread = seconds;
    }
    ++area;
  }
  return due;
}

std::vector<TTextBox> TScreenSettle::Remaining() {
  std::vector<TTextBox> left;
  for (const Area& area : FAreas) left.push_back(area.Box);
  FAreas.clear();
  return left;
}

double TScreenSettle::SettledSince(const TTextBox& box, double seconds) const {
  for (auto change = FHistory.rbegin(); change != FHistory.rend(); ++change)
    if (change->Seconds <= seconds && change->Box.Intersects(box)) return change->Seconds;
  return FHistory.empty() ? 0 : FHistory.front().Seconds;
}
