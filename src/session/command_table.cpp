#include "session/command_table.h"

#include <algorithm>

namespace {
bool HasSegment(const TCommandContext& c) { return c.SegmentCount.value_or(0) >= 1; }

// Load only while stopped, when the start-up file held no film.
std::optional<bool> WhileStoppedWithoutAStartupFilm(const TCommandContext& c) {
  return c.PlayState == psStopped && c.Shell.NoStartupFilm;
}
// Properties and the transport need a segment; without a segment list they are left alone.
std::optional<bool> WithASegmentOfAList(const TCommandContext& c) {
  if (!c.SegmentCount) return std::nullopt;
  return HasSegment(c);
}
// Seeking, exporting and finding need a segment; without a list they are grayed.
std::optional<bool> WithASegment(const TCommandContext& c) { return HasSegment(c); }
std::optional<bool> WithAPausedSegment(const TCommandContext& c) {
  return HasSegment(c) && c.PlayState == psPaused;
}
std::optional<bool> WithAPictureShown(const TCommandContext& c) {
  return HasSegment(c) && c.PlayState != psStopped;
}
std::optional<bool> WithAPlaceToGoBackTo(const TCommandContext& c) {
  return HasSegment(c) && c.Shell.ResumeOffered;
}
std::optional<bool> WithExportBeside(const TCommandContext& c) {
  return HasSegment(c) && c.Shell.ExportAvailable;
}

std::optional<bool> WhilePlaying(const TCommandContext& c) { return c.PlayState == psPlaying; }
std::optional<bool> WhilePaused(const TCommandContext& c) { return c.PlayState == psPaused; }
std::optional<bool> WhileStopped(const TCommandContext& c) { return c.PlayState == psStopped; }
std::optional<bool> WithThePanel(const TCommandContext& c) { return c.Shell.ShowPanel; }
std::optional<bool> InFullScreen(const TCommandContext& c) { return c.Shell.FullScreen; }
std::optional<bool> WhileSkippingIdle(const TCommandContext& c) { return c.Shell.IdleSkipSeconds > 0; }
template <TPictureZoom Zoom>
std::optional<bool> AtZoom(const TCommandContext& c) {
  return c.Shell.Zoom == Zoom;
}

constexpr TKeyChord Plain(uint16_t key) { return {key}; }
constexpr TKeyChord Ctrl(uint16_t key) { return {key, true}; }
constexpr TKeyChord Alt(uint16_t key) { return {key, false, true}; }
constexpr TKeyChord Shift(uint16_t key) { return {key, false, false, true}; }

using enum TMenuId;
using T = TMenuText;
// The positions before the seek items are the ones film language tables address; every
// later item stands behind them so that those keep their places.
const TCommand kCommands[] = {
    {.Id = CM_LOAD, .Name = "load", .Text = T::kLoad, .Key = Ctrl('O'), .Bar = {{kFile, 0}}, .Context = 0,
     .Enabled = WhileStoppedWithoutAStartupFilm, .Dots = TBoxDots::kNotInTheRussianBar, .SpacedUnderATable = true},
    {.Id = CM_PROPERTIES, .Name = "properties", .Text = T::kProperties, .Key = Plain(KeyF(8)), .Bar = {{kFile, 1}},
     .Enabled = WithASegmentOfAList, .Dots = TBoxDots::kEverywhere},
    {.Id = CM_EXPORT_VIDEO, .Name = "exportVideo", .Text = T::kExportVideo, .Key = Ctrl('E'), .Bar = {{kFile, 2}},
     .Context = 31, .Enabled = WithExportBeside, .Dots = TBoxDots::kEverywhere},
    {.Id = CM_EXIT, .Name = "exit", .Text = T::kExit, .Key = Alt(KeyF(4)), .Bar = {{kFile, 4}}, .Context = 16,
     .SystemKey = true},

    {.Id = CM_PLAY, .Name = "play", .Text = T::kPlay, .Key = Plain(KeyF(9)), .Bar = {{kActions, 0}}, .Context = 2,
     .Enabled = WithASegmentOfAList, .Checked = WhilePlaying},
    {.Id = CM_PAUSE, .Name = "pause", .Text = T::kPause, .Key = Plain(KeyF(10)), .Bar = {{kActions, 1}}, .Context = 3,
     .Enabled = WithASegmentOfAList, .Checked = WhilePaused},
    {.Id = CM_STOP, .Name = "stop", .Text = T::kStop, .Key = Plain(KeyF(11)), .Bar = {{kActions, 2}}, .Context = 4,
     .Enabled = WithASegmentOfAList, .Checked = WhileStopped},
    // Checked by the segment list's toggle alone.
    {.Id = CM_SEGMENTS, .Name = "segments", .Text = T::kSegments, .Key = Plain(KeyF(6)), .Bar = {{kActions, 4}},
     .Context = 6},
    {.Id = CM_PREVIOUS, .Name = "prev", .Text = T::kPrev, .Key = Plain(KeyF(4)), .Bar = {{kActions, 5}}, .Context = 7,
     .Enabled = WithASegmentOfAList},
    {.Id = CM_NEXT, .Name = "next", .Text = T::kNext, .Key = Plain(KeyF(5)), .Bar = {{kActions, 6}}, .Context = 8,
     .Enabled = WithASegmentOfAList},
    // Seeking: keys no focused control uses. The list box takes the arrows, Home, End and
    // characters, and the dialog handling of the message loop moves the focus with the
    // arrows whatever the modifiers; Alt makes them system keys neither sees, and Ctrl
    // with a comma or a period types no character.
    {.Id = CM_SEEK_BACK, .Name = "seekBack", .Text = T::kSeekBack, .Key = Alt(kKeyLeft), .Bar = {{kActions, 8}},
     .Context = 18, .Enabled = WithASegment},
    {.Id = CM_SEEK_FORWARD, .Name = "seekForward", .Text = T::kSeekForward, .Key = Alt(kKeyRight),
     .Bar = {{kActions, 9}}, .Context = 19, .Enabled = WithASegment},
    {.Id = CM_PREVIOUS_FRAME, .Name = "frameBack", .Text = T::kPreviousFrame, .Key = Ctrl(kKeyComma),
     .Bar = {{kActions, 10}}, .Context = 20, .Enabled = WithAPausedSegment},
    {.Id = CM_NEXT_FRAME, .Name = "frameForward", .Text = T::kNextFrame, .Key = Ctrl(kKeyPeriod),
     .Bar = {{kActions, 11}}, .Context = 21, .Enabled = WithAPausedSegment},
    {.Id = CM_SEGMENT_START, .Name = "segmentStart", .Text = T::kSegmentStart, .Key = Alt(kKeyHome),
     .Bar = {{kActions, 12}}, .Context = 22, .Enabled = WithASegment},
    {.Id = CM_SEGMENT_END, .Name = "segmentEnd", .Text = T::kSegmentEnd, .Key = Alt(kKeyEnd), .Bar = {{kActions, 13}},
     .Context = 23, .Enabled = WithASegment},
    {.Id = CM_SAVE_PICTURE, .Name = "savePicture", .Text = T::kSavePicture, .Key = Ctrl('S'), .Bar = {{kActions, 15}},
     .Context = 25, .Enabled = WithAPictureShown, .Dots = TBoxDots::kEverywhere},
    // Ctrl with a letter types no character the list takes.
    {.Id = CM_RESUME, .Name = "resume", .Text = T::kResume, .Key = Ctrl('R'), .Bar = {{kActions, 17}},
     .Enabled = WithAPlaceToGoBackTo},
    // Without an index, Find on screen says how to make one.
    {.Id = CM_FIND_ON_SCREEN, .Name = "findOnScreen", .Text = T::kFindOnScreen, .Key = Ctrl('F'),
     .Bar = {{kActions, 19}}, .Enabled = WithASegment, .Dots = TBoxDots::kEverywhere},

    {.Id = CM_CONTROL_PANEL, .Name = "controlPanel", .Text = T::kShowPanel, .Key = Plain(KeyF(7)), .Bar = {{kView, 0}},
     .Context = 10, .Checked = WithThePanel},
    {.Id = CM_FULL_SCREEN, .Name = "fullScreen", .Text = T::kFullScreen, .Key = Alt(kKeyEnter), .Bar = {{kView, 1}},
     .Context = 11, .Checked = InFullScreen, .SpacedUnderATable = true},
    // Ctrl with a digit types no character and moves no focus.
    {.Id = CM_ZOOM_SCREEN_SCALE, .Name = "zoomScreenScale", .Text = T::kZoomScreenScale, .Key = Ctrl('0'),
     .Bar = {{kView, 3}}, .Context = 27, .Checked = AtZoom<TPictureZoom::kScreenScale>},
    {.Id = CM_ZOOM_ORIGINAL_PIXELS, .Name = "zoomOriginalPixels", .Text = T::kZoomOriginalPixels, .Key = Ctrl('1'),
     .Bar = {{kView, 4}}, .Context = 28, .Checked = AtZoom<TPictureZoom::kOriginalPixels>},
    {.Id = CM_ZOOM_FIT_WINDOW, .Name = "zoomFitWindow", .Text = T::kZoomFitWindow, .Key = Ctrl('2'),
     .Bar = {{kView, 5}}, .Context = 29, .Checked = AtZoom<TPictureZoom::kFitWindow>},
    {.Id = CM_SKIP_IDLE, .Name = "skipIdle", .Text = T::kSkipIdle, .Key = Ctrl('I'), .Bar = {{kView, 7}},
     .Checked = WhileSkippingIdle},

    {.Id = CM_HELP, .Name = "help", .Text = T::kHelp, .Key = Plain(KeyF(1)), .Bar = {{kHelp, 0}}, .Context = 13},
    {.Id = CM_ABOUT, .Name = "about", .Text = T::kAbout, .Bar = {{kHelp, 2}}, .Context = 14,
     .Dots = TBoxDots::kEverywhere},

    // Keys without an item: the saved video's folder while its note shows, and the next
    // and previous hit of Find on screen (keys the search field types nothing for).
    {.Id = CM_SHOW_SAVED_VIDEO, .Name = "showSavedVideo", .Key = {'E', true, false, true}},
    {.Id = CM_FIND_NEXT, .Name = "findNext", .Key = Plain(KeyF(3))},
    {.Id = CM_FIND_PREVIOUS, .Name = "findPrevious", .Key = Shift(KeyF(3))},
};

std::string KeyName(uint16_t key, TKeyNames names) {
  const bool aria = names == TKeyNames::kAria;
  switch (key) {
    case kKeyEnter: return "Enter";
    case kKeyEnd: return "End";
    case kKeyHome: return "Home";
    case kKeyLeft: return aria ? "ArrowLeft" : "Left";
    case kKeyRight: return aria ? "ArrowRight" : "Right";
    case kKeyComma: return ",";
    case kKeyPeriod: return ".";
    default: break;
  }
  if (key >= KeyF(1) && key <= KeyF(24)) return std::string(1, 'F').append(std::to_string(key - KeyF(1) + 1));
  return std::string(1, static_cast<char>(key));
}
}  // namespace

std::string ShortcutText(TKeyChord chord, TKeyNames names) {
  std::string text;
  if (chord.Key == 0) return text;
  if (chord.Control) text += names == TKeyNames::kAria ? "Control+" : "Ctrl+";
  if (chord.Alt) text += "Alt+";
  if (chord.Shift) text += "Shift+";
  return text.append(KeyName(chord.Key, names));
}

std::span<const TCommand> Commands() { return kCommands; }

const TCommand* FindCommand(int32_t id) {
  const auto row =
      std::find_if(std::begin(kCommands), std::end(kCommands), [id](const TCommand& c) { return c.Id == id; });
  return row == std::end(kCommands) ? nullptr : &*row;
}
