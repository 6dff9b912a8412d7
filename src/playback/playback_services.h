#pragma once
// What the playback engine asks of its surroundings, as small interfaces the engine
// owns. The Windows player implements them with the multimedia timer, MCI, GDI and
// its window procedures; tests implement them with recording fakes.
//
// Everything here is called on the UI thread, except where a comment says otherwise.
#include <cstdint>
#include <filesystem>
#include <string>

#include "playback/picture_layout.h"
#include "playback/play_state.h"

struct TSegmentInfo;

// One-shot timer events that pace the frames.
class TFrameTimer {
public:
  virtual ~TFrameTimer() = default;
  // Arms one event due after delayMs, at the given resolution, that carries token.
  // When it is due, the event must lead to exactly one call of
  // TPlaybackEngine::Tick(token) on the UI thread (on Windows the timer callback only
  // posts WM_FRAMESTEP with the token as wParam). Returns false when the platform
  // refuses the event. Events already armed stay armed; the engine tells its own
  // events from stale ones by the token.
  virtual bool Arm(uint32_t delayMs, uint32_t resolutionMs, uint32_t token) = 0;
};

// The sound player, one for the program (on Windows: TMediaPlayer over MCI).
class TSoundDevice {
public:
  static constexpr uint32_t kTimeFormatMilliseconds = 0;
  static constexpr uint32_t kTimeFormatSamples = 9;

  virtual ~TSoundDevice() = default;
  // The file the next Open opens; an empty path forgets the name.
  virtual void SetFileName(const std::filesystem::path& fileName) = 0;
  virtual bool HasFileName() const = 0;
  // Opens the named file, closing an open device first. Returns false when it cannot
  // be opened; the device has then shown its own message and keeps the name.
  virtual bool Open() = 0;
  virtual bool IsOpen() const = 0;
  virtual void Close() = 0;
  // Starts playing from the current position and returns at once.
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  // Position and length are in the time format set last.
  virtual void SetTimeFormat(uint32_t format) = 0;
  virtual void Seek(uint32_t position) = 0;
  virtual uint32_t Length() = 0;
  virtual uint32_t Position() = 0;
};

// The picture and the pointer: the frame buffer, the difference and frame bitmaps and
// the cursor overlay. Operations that read or decode records throw EkoError with
// the text to show; the engine then stops the film before showing it.
class TFrameSource {
public:
  virtual ~TFrameSource() = default;
  // Makes the bitmaps fit the segment (size, depth, cursor save-under). Returns false
  // when there is nothing to prepare.
  virtual bool PrepareDisplay(const TSegmentInfo& segment) = 0;
  // Fills the difference and frame bitmaps with black.
  virtual void ClearPictures() = 0;
  // Releases the frame buffer and allocates one for the segment's largest record.
  virtual void ResetFrameBuffer(const TSegmentInfo& segment) = 0;
  // Puts the pointer's old and new positions off the picture.
  virtual void ResetCursor() = 0;
  // Reads the segment's next frame record into the frame buffer. Throws EkoError.
  virtual void LoadFrame(TSegmentInfo& segment) = 0;
  // Expands the record in the frame buffer into the difference bitmap. Throws EkoError.
  virtual void UnpackFrame(const TSegmentInfo& segment) = 0;
  // Lays the difference bitmap on the frame bitmap by exclusive or.
  virtual void ApplyDifference(const TSegmentInfo& segment) = 0;
  // Pointer steps, in the order restore, read sample, save, draw, commit.
  virtual void RestoreCursor() = 0;
  virtual void ReadCursorSample(TSegmentInfo& segment) = 0;
  virtual void SaveCursorBackground() = 0;
  virtual void DrawCursor() = 0;
  // The pointer's new position becomes its old one.
  virtual void CommitCursor() = 0;
  // Lays the picture of frame (0 .. frame count - 1) of the segment last prepared,
  // without the pointer (take it out first), and leaves the frame stream at the record
  // after it. Throws EkoError when a record on the way cannot be read.
  virtual void SeekFrame(TSegmentInfo& segment, int32_t frame) = 0;
  // Another film: what was learnt about the segments' records for seeking goes.
  virtual void ForgetSeekIndex() = 0;
};

// Copies the picture into the main window.
class TFramePresenter {
public:
  virtual ~TFramePresenter() = default;
  // Places the picture in the window (may grow the window or scale the picture).
  virtual void LayOut() = 0;
  virtual void PresentWholeFrame() = 0;
  // Only the areas under the pointer's old and new positions.
  virtual void PresentCursorArea() = 0;
  // The size a frame of that size is shown at before it is fitted to the window (the
  // user's zoom on this screen); a segment whose frame is shown as large as the screen
  // goes full screen.
  virtual TkoSize ZoomedSize(TkoSize frame) const { return frame; }
};

struct TScreenSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

// The main window, its menus, the bottom panel and the segment list.
class TPlaybackShell {
public:
  virtual ~TPlaybackShell() = default;
  // Has Next() run once the current message has been handled (the Windows shell posts
  // its Next command to the main window).
  virtual void PostNextCommand() = 0;
  // Shows a playback failure text (caption "Error"), after the film has been stopped.
  // Called from inside a tick: a box waits until the tick is over.
  virtual void ShowError(const std::string& text) = 0;
  // Tells the user once that segment index is skipped; reason is "FPS = 0" or why
  // the segment has no frames.
  virtual void ReportSkippedSegment(int32_t index, const std::string& reason) = 0;
  virtual void UpdateMenuStates() = 0;
  virtual void RedrawPanel() = 0;
  virtual void RefreshSegmentLine() = 0;
  virtual void RefreshTimeText() = 0;
  virtual void SelectSegmentLine(int32_t index) = 0;
  // Moves the keyboard focus from Play to Pause (newState playing) or from Pause to
  // Play (newState paused) when the other button has it.
  virtual void MoveButtonFocus(TPlayState newState) = 0;
  virtual void AcceptDroppedFiles(bool accept) = 0;
  virtual bool IsFullScreen() const = 0;
  virtual void ToggleFullScreen() = 0;
  // Saves the main window's rectangle and the panel flag for leaving full screen.
  virtual void SavePlacement() = 0;
  virtual TScreenSize ScreenSize() const = 0;
  virtual void InvalidateMainWindow() = 0;
  // Destroys the main window, which ends the program.
  virtual void DestroyMainWindow() = 0;
};
