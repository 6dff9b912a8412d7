// What the export takes from the film, as kof export plans it: the drawable segments of
// the range, each from its first picture in the range to its end; pictures follow at the
// segment's rate; smaller segments are letterboxed, centred, into the largest one's
// size, made even for the codecs' 4:2:0 pictures, unless scaled down to a width.
"use strict";

// segments: the export worker's description (web_export.h); choice: range "film",
// "segment" (choice.segment) or "rest" (choice.segment from choice.frame), and size
// "film", "half" or "width" (choice.width). Throws when nothing lies in the range.
function exportPlan(segments, choice) {
  const parts = [];
  segments.forEach((segment, index) => {
    if (!segment.drawable || (choice.range !== "film" && index !== choice.segment)) return;
    const first = choice.range === "rest" ? Math.min(segment.pictures, Math.max(0, choice.frame) * segment.samples) : 0;
    if (segment.pictures > first) parts.push({ ...segment, index, first, end: segment.pictures });
  });
  if (parts.length === 0) throw new Error("no picture lies in the range");
  const contentWidth = Math.max(...parts.map((p) => p.width)), contentHeight = Math.max(...parts.map((p) => p.height));
  const wanted = { film: contentWidth, half: Math.floor(contentWidth / 2), width: Math.floor(choice.width) || 0 }[choice.size];
  const scaled = wanted > 0 && wanted < contentWidth;
  const evenUp = (size) => size + (size & 1);
  const plan = { parts, scaled, contentWidth, contentHeight,
    canvasWidth: scaled ? contentWidth : evenUp(contentWidth), canvasHeight: scaled ? contentHeight : evenUp(contentHeight) };
  plan.outWidth = scaled ? Math.max(2, wanted & ~1) : plan.canvasWidth;
  plan.outHeight = scaled ? Math.max(2, 2 * Math.floor((contentHeight * plan.outWidth) / contentWidth / 2 + 0.5))
    : plan.canvasHeight;
  return plan;
}
