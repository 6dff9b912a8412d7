#pragma once
// The texts the user sees: built-in values (UTF-8 here, shown through the wide API) in
// Russian, the default, or English, as the user chooses, that a language table carried
// by the player's own image may replace. Two groups with different rules:
// - message texts are set at start-up and replaced only by a non-empty table value;
// - menu and tooltip texts are replaced, when a table exists, by the table's value for
//   their key. A missing key gives the empty text under the Russian set (the menu items
//   keep their resource text then, because an empty text is never set on a menu item)
//   and the English text under the English set.
// A table is 8-bit text in the system ANSI code page; the caller supplies the
// conversion to UTF-8 (the Windows side uses the system code page).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "session/menu_items.h"

enum class TMessageText : uint8_t {
  kError,
  kLoading,
  kInvalidVersionFormat,  // one %d: the segment's index entry, from 1
  kWarning,
  kSegmentCountFmt,       // one %d: the number of segments
  kWrongFile,             // one %s
  kWrongDisplaySettings,  // one %d: the colour depth
  kCannotOpenFileFmt,     // one %s: the path
  kCannotCreateTempFile,
  kVideoDecompressorError,
  kSegmentListCaption,  // key "Segments"
  kCannotSavePictureFmt,  // one %s: the path
  // Resuming films (a block of its own).
  kResumeOfferFmt,  // one %s: the time of the place, "00:12:34"
  // What a screen reader hears of the panel's bar and volume (see accessible_texts.h).
  kBarValueFmt,     // four %s: position, total, segment, segment count
  kVolumeValueFmt,  // one %s: the percentage
  // The note after playback jumped over an idle stretch.
  kIdleSkippedFmt,  // one %s: the time left out, "00:00:12"
  // Exporting a video: the export box, the progress box and the notes after it.
  kExportCaption,
  kExportFormat,
  kExportLosslessMkv,
  kExportRange,
  kExportWholeFilm,
  kExportThisSegment,
  kExportFromHere,
  kExportSize,
  kExportFilmSize,
  kExportHalfSize,
  kExportWidth,
  kExportSave,
  kCancel,
  kExportProgressFmt,  // one %s: "42%"
  kExportTimeLeftFmt,  // one %s: the time left, "0:12"
  kExportSavedFmt,     // one %s: the file's name
  kExportShowInFolder,
  kExportFailedFmt,    // one %s: kof-export's message
  kExportUnavailable,
  // A video saved while kof-export warned (a segment skipped or cut short); its
  // warnings follow, one a line.
  kExportSavedWarningFmt,   // one %s: the file's name
  kExportSavedWarningsFmt,  // one %s: the file's name
  // Find on screen: the list's lines and what is said under the field.
  kSearchPrompt,
  kSearchHitFmt,             // three %s: the time "1:02.5", the segment, the line of text
  kSearchFoundOneFmt,        // one %s: "1", the single hit
  kSearchFoundFmt,           // one %s: the number of hits, any but 1
  kSearchNothingFound,
  kSearchNoIndexFmt,         // two %s: the index's file name, the film's
  kSearchDamagedIndexFmt,    // one %s: the index reader's message
  kSearchOtherFilm,
  kSearchCutFmt,             // one %s: the number of hits found before the search stopped
  kSearchResults,            // the list of hits' name for screen readers
  // What a screen reader names the segment list's close button, which shows "X".
  kSegmentListClose,
};
// Every message text; the last one above closes the list.
constexpr size_t kMessageTextCount = static_cast<size_t>(TMessageText::kSegmentListClose) + 1;

enum class TMenuText : uint8_t {
  kFile,
  kActions,
  kView,
  kHelp,  // also the help box's caption
  kLoad,
  kProperties,
  kExit,
  kPlay,
  kPause,
  kStop,
  kSegments,
  kPrev,
  kNext,
  kShowPanel,
  kFullScreen,
  kAbout,
  kSpeed,
  kSound,
  kProgress,
  // The seek commands and Save picture (menu items only), in menu order.
  kSeekBack,
  kSeekForward,
  kPreviousFrame,
  kNextFrame,
  kSegmentStart,
  kSegmentEnd,
  kSavePicture,
  // Resuming films (a block of its own): the Actions item.
  kResume,
  // The zoom choices (menu items only), in menu order.
  kZoomScreenScale,
  kZoomOriginalPixels,
  kZoomFitWindow,
  // View's item that turns skipping idle stretches on and off (menu only).
  kSkipIdle,
  // File's item that exports the film as a video (and the context menu's).
  kExportVideo,
  // Actions' item that opens the search of the text on screen.
  kFindOnScreen,
};
constexpr size_t kMenuTextCount = 33;

// The built-in set the texts start from.
enum class TUiLanguage : uint8_t { kRussian, kEnglish };

// A text's key in the language table and its built-in values.
struct TTextEntry {
  const char* Key;
  const char* BuiltIn;  // Russian
  const char* English;
  const char* In(TUiLanguage language) const { return language == TUiLanguage::kEnglish ? English : BuiltIn; }
};
// Indexed by TMessageText and TMenuText, in the order the table is applied.
extern const TTextEntry kMessageTexts[kMessageTextCount];
extern const TTextEntry kMenuTexts[kMenuTextCount];

// Texts no key reaches.
extern const char kSetMenuTextErrorText[];
extern const char kSetMenuTextErrorCaption[];

// ANSI bytes of a language table to UTF-8.
using TAnsiToUtf8 = std::function<std::string(const std::string&)>;

// A menu item text to set with SetMenuText.
struct TMenuItemText {
  TMenuId Menu;
  int32_t Position;
  std::string Text;
  bool operator==(const TMenuItemText&) const = default;
};

// How a menu text is followed: as under a film's table, or as the resource writes the
// built-in texts ("Ctrl+O", "..." behind the items that open a box).
enum class TMenuSuffixes { kTable, kBuiltIn };

class TUiTexts {
public:
  // Every text at its built-in value in language.
  explicit TUiTexts(TUiLanguage language = TUiLanguage::kRussian);

  TUiLanguage Language() const { return FLanguage; }
  const std::string& Message(TMessageText text) const { return FMessages[static_cast<size_t>(text)]; }
  const std::string& Menu(TMenuText text) const { return FMenus[static_cast<size_t>(text)]; }

  // Start-up: replaces each message text by its key's value in languageBlock (the raw
  // table; empty means there is none) when that value is not empty after conversion.
  void OverlayMessageTexts(const std::string& languageBlock, const TAnsiToUtf8& toUtf8);

  // Window creation, after the built-in menu texts: with a table, replaces every menu
  // and tooltip text by its key's value (when missing: "" under Russian, the English
  // text under English) and returns the texts for the
  // menu bar titles, the drop-down items (with their shortcut suffix "\b...") and the
  // context menu items, in the order they are set. Without a table: changes nothing
  // and returns nothing, so the menus keep the resource's texts.
  std::vector<TMenuItemText> OverlayMenuTexts(const std::string& languageBlock, const TAnsiToUtf8& toUtf8);

  // Every text item of the menu bar, its drop-downs and the context menu from the menu
  // texts as they are now, with the help and close items' texts given.
  std::vector<TMenuItemText> MenuItemTexts(TMenuSuffixes suffixes, const std::string& contextHelp,
                                           const std::string& close) const;

  // The message text used as a printf format with one number or one text. A table value
  // whose conversions do not fit (see IsSafeFormat) is not used: the built-in value is
  // formatted instead. A text of the other kind is returned unformatted.
  std::string Format(TMessageText text, int32_t value) const;
  std::string Format(TMessageText text, const std::string& value) const;

private:
  TUiLanguage FLanguage;
  std::string FMessages[kMessageTextCount];
  std::string FMenus[kMenuTextCount];
};

// The help box's body: two lines, an empty one, the maker's web address and "\r".
std::string HelpText(TUiLanguage language = TUiLanguage::kRussian);

