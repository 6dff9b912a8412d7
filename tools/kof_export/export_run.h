#pragma once
// The two ways kof export writes a plan: as video with sound (MP4, WebM, MKV) or as GIF.
// Both write through a temporary file that becomes OUT only when complete, and tell
// on standard error what they skip (damaged segments, sound that cannot be played).
#include <string>

#include "kof_export/export_pictures.h"
#include "kof_export/export_plan.h"

class TSegmentList;

// Throws EkoError when the file cannot be written or an encoder fails.
void ExportVideo(TSegmentList& segments, const ExportPlan& plan, const ExportOptions& options);
void ExportGif(TSegmentList& segments, const ExportPlan& plan, const ExportOptions& options);

// Exports options.Film() to options.out, the video recording the film (video_source.h);
// what goes wrong is said on standard error. Returns the exit code: 0, 1 when the film
// cannot be exported or the file written (in a batch also when another film's video
// took OUT meanwhile), or 128 + the signal that interrupted it.
int ExportFilm(const ExportOptions& options);

// Tells what went wrong with a segment, if anything.
void ReportSegment(const PlannedSegment& segment, const SegmentOutcome& outcome);
// How long the plan's pictures play, in seconds.
double PlanSeconds(const ExportPlan& plan);
