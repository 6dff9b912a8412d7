#include "text/screen_settle.h"

#include <algorithm>

namespace {
// Times are frame numbers divided by the rate, so that half a second between two frames
// can come out a hair short of 0.5.
constexpr double kSameTime = 1e-9;
}  // namespace

TScreenSettle::TScreenSettle(TSettleRules rules) : FRules(rules) {}

// Joins the change with every area that changed near it lately.
void TScreenSettle::Merge(Area area) {
  const double since = area.LastChange - FRules.SettleSeconds;
  for (auto other = FAreas.begin(); other != FAreas.end();) {
    std::erase_if(other->Lately, [&](const Change& c) { return c.Seconds <= since; });
    const bool near = std::any_of(other->Lately.begin(), other->Lately.end(), [&](const Change& c) {
      return c.Box.Expanded(FRules.Nearby, FRules.Nearby).Intersects(area.Box);
    });
    if (!near) {
      ++other;
      continue;
    }
    area.Box = area.Box.Union(other->Box);
    area.FirstUnread = std::min(area.FirstUnread, other->FirstUnread);
    area.Lately.insert(area.Lately.end(), other->Lately.begin(), other->Lately.end());
    other = FAreas.erase(other);
  }
  FAreas.push_back(std::move(area));
}

void TScreenSettle::Changed(const TTextBox& box, double seconds) {
  if (box.Empty()) return;
  Merge({box, seconds, seconds, {{box, seconds}}});
  FHistory.push_back({box, seconds});
  const double keep = 2 * (FRules.LongestUnread + FRules.SettleSeconds);
  while (FHistory.size() > 1 && FHistory.front().Seconds < seconds - keep) FHistory.pop_front();
}

std::vector<TTextBox> TScreenSettle::Due(double seconds) {
  std::vector<TTextBox> due;
  for (auto area = FAreas.begin(); area != FAreas.end();) {
    if (seconds - area->LastChange + kSameTime >= FRules.SettleSeconds) {
      due.push_back(area->Box);
      area = FAreas.erase(area);
      continue;
    }
    if (seconds - area->FirstUnread + kSameTime >= FRules.LongestUnread) {
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
