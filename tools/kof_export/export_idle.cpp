#include "kof_export/export_idle.h"

#include <cstdio>

#include "film/segment_list.h"
#include "kof_export/interruption.h"
#include "kof_export/segment_activity.h"

void CutIdleStretches(ExportPlan &plan, const TSegmentList &segments, int32_t idleMs) {
  TActivitySettings settings;
  settings.IdleMilliseconds = idleMs;
  for (PlannedSegment &planned : plan.segments) {
    ThrowIfInterrupted();
    const int32_t index = planned.number - 1;
    const TSegmentInfo *segment = segments.Get(index);
    if (segment == nullptr)
      continue;
    const SegmentActivityResult measured = MeasureSegmentActivity(*segment, index, settings);
    if (!measured.problem.empty())
      std::fprintf(stderr, "kof: segment %d: idle stretches: %s\n", planned.number, measured.problem.c_str());
    planned.cuts = IdleCuts(measured.activity.Idle, planned.rate, planned.first, planned.end);
  }
}
