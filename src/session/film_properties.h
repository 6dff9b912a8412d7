#pragma once
// The shell's rules about a film's file: the film properties text (F8), the window
// title after a film is opened, and which dropped files are films.
#include <optional>
#include <string>
#include <string_view>

#include "session/ui_texts.h"
#include "film/segment_list.h"

// The properties box text (UTF-8), or nothing when the film has no segment (there is no
// box then). programPath is the player's own file path in UTF-8, shown as the first
// line; then the "SegmentCountFmt" text formatted with the segment count; then one line
// per segment: "[W x H x B bit / F fps  Sound: S]:  NAME\r" with S "mp3" for an MP3
// sound file and " - " otherwise, and the name (ANSI bytes of the film) converted with
// toUtf8. A freed slot in the list gives no line.
std::optional<std::string> FilmPropertiesText(const std::string& programPath, const TSegmentList& segments,
                                              const TUiTexts& texts, const TAnsiToUtf8& toUtf8);

// The title after a film was opened: "roRezodu" when filmPath names the player's own
// file (the same once A to Z are lowered in both; every other character compares
// exactly), else "roRezodu - [filmPath]" with the path as given.
std::wstring WindowTitleForFilm(std::wstring_view filmPath, std::wstring_view programPath);

// The title the main window starts with.
inline constexpr wchar_t kMainWindowTitle[] = L"roRezodu";

// True when the file's extension (from the last "." after the last "\", "/" or ":") is
// ".kof" once A to Z are lowered: a dropped file that is opened and played.
bool IsFilmFileName(std::wstring_view path);
