#pragma once
// kof export --skip-idle: the planned segments' idle stretches, measured as kof
// activity measures them (segment_activity.h), become cuts in the plan.
#include <cstdint>

#include "kof_export/export_plan.h"

// Sets the cuts of every planned segment for stretches of at least idleMs; what
// could not be measured is reported on stderr and keeps its pictures (a segment
// whose sound cannot be decoded keeps all of them).
void CutIdleStretches(ExportPlan &plan, const TSegmentList &segments, int32_t idleMs);
