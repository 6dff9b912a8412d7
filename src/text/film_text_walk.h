#pragma once
// Walks a film's pictures for its text index, one picture at a time, so that a caller
// whose reader answers later (the page's) can walk it as well as one that reads at once
// (kof). Every segment's pictures are shown without the pointer; the areas that change
// are followed until they settle (text/screen_settle.h); each picture tells which areas
// are due for reading in it, and what the reader finds there becomes entries
// (text/word_tracker.h). At a segment's end the areas still waiting are due in its last
// picture.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "film/segment_list.h"
#include "playback/ko_picture.h"
#include "text/text_index.h"
#include "text/word_tracker.h"

class THeadlessPlayer;

class TFilmTextWalk {
public:
  // Told why a segment has no words or ended early, with its number (from 1).
  using ProblemHandler = std::function<void(int32_t segment, const std::string& problem)>;

  // segments must outlive the walk; they may be loaded after it is made.
  TFilmTextWalk(TSegmentList& segments, ProblemHandler onProblem);
  ~TFilmTextWalk();
  TFilmTextWalk(const TFilmTextWalk&) = delete;
  TFilmTextWalk& operator=(const TFilmTextWalk&) = delete;

  // Moves to the next picture; false once the whole film is walked. Due() then tells the
  // areas to read in Picture(), each to be answered with Read before the next Step.
  bool Step();
  const std::vector<TTextBox>& Due() const { return FDue; }
  TkoPictureView Picture();
  void Read(const TTextBox& area, const std::vector<TReadWord>& words);
  // How long the picture of this step plays, in seconds; 0 when the step walked no new
  // picture (a segment's end, its waiting areas due).
  double NewPictureSeconds() const { return FNewPictureSeconds; }

  // The film time walked so far and in all, in seconds, for progress.
  double SecondsWalked() const { return FSecondsBefore + FSegmentSeconds; }
  double TotalSeconds() const;

  // Each segment's size, and the words of the segments walked, in the order they came.
  std::vector<TIndexedSegment> Segments() const;
  std::vector<TIndexedWord> TakeWords() { return std::move(FWords); }

private:
  class SegmentWalk;
  bool StartNextSegment();
  bool StepSegment();
  void EndSegment();

  TSegmentList& FSegments;
  ProblemHandler FOnProblem;
  int32_t FNext = 0;  // the segment started next
  std::unique_ptr<THeadlessPlayer> FPlayer;
  std::unique_ptr<SegmentWalk> FWalk;
  bool FStarted = false, FPlaying = false;  // FPlayer started, and plays on
  bool FRemainingDue = false;               // the segment's waiting areas were handed out
  double FNewPictureSeconds = 0;
  std::vector<TTextBox> FDue;
  std::vector<TIndexedWord> FWords;
  double FSecondsBefore = 0, FSegmentSeconds = 0;
};
