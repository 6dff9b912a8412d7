// What the export takes from the film, as kof export plans it: the drawable segments of
// the range, each from its first picture in the range to its end; pictures follow at the
// segment's rate; smaller segments are letterboxed, centred, into the largest one's
// size. A video's sizes are made even for the codecs' 4:2:0 pictures (and smaller
// segments centred on even pixels, where a colour edge stays one for 4:2:0 chroma); a
// GIF keeps the film's sizes.
"use strict";

// segments: the export worker's description (web_export.h); choice: format ("webm",
// "mp4" or "gif"), range "film", "segment" (choice.segment) or "rest" (choice.segment
// from choice.frame), and size "film", "half" or "width" (choice.width). Throws when
// nothing lies in the range. The plan's skipped lists the segments of the range left out,
// in kof export's words ("segment 2: its frame rate is 0; skipped").
function exportPlan(segments, choice) {
  const parts = [], skipped = [];
  segments.forEach((segment, index) => {
    if (choice.range !== "film" && index !== choice.segment) return;
    if (!segment.drawable) {
      skipped.push(`segment ${index + 1}: ${segment.skipped}; skipped`);
      return;
    }
    const first = choice.range === "rest" ? Math.min(segment.pictures, Math.max(0, choice.frame) * segment.samples) : 0;
    if (segment.pictures > first) parts.push({ ...segment, index, first, end: segment.pictures });
  });
  if (parts.length === 0) throw new Error("no picture lies in the range");
  const even = choice.format !== "gif";
  const contentWidth = Math.max(...parts.map((p) => p.width)), contentHeight = Math.max(...parts.map((p) => p.height));
  const wanted = { film: contentWidth, half: Math.floor(contentWidth / 2), width: Math.floor(choice.width) || 0 }[choice.size];
  const scaled = wanted > 0 && wanted < contentWidth;
  const evenUp = (size) => (even ? size + (size & 1) : size);
  const plan = { parts, skipped, scaled, even, contentWidth, contentHeight,
    canvasWidth: scaled ? contentWidth : evenUp(contentWidth), canvasHeight: scaled ? contentHeight : evenUp(contentHeight) };
  plan.outWidth = plan.canvasWidth;
  plan.outHeight = plan.canvasHeight;
  if (scaled) {
    plan.outWidth = even ? Math.max(2, wanted & ~1) : wanted;
    const height = (contentHeight * plan.outWidth) / contentWidth;
    plan.outHeight = even ? Math.max(2, 2 * Math.floor(height / 2 + 0.5)) : Math.max(1, Math.floor(height + 0.5));
  }
  return plan;
}

// Where a part's pictures lie on the plan's canvas: centred, on even pixels for a video.
function placeOf(plan, part) {
  const centred = (room) => (plan.even ? 2 * Math.floor(room / 4) : Math.floor(room / 2));
  return { left: centred(plan.canvasWidth - part.width), top: centred(plan.canvasHeight - part.height) };
}
