#include "session/film_properties.h"

#include "session/ascii_case.h"
#include "film/ko_error.h"

namespace {
std::string SegmentLine(const TSegmentInfo& segment, const TAnsiToUtf8& toUtf8) {
  const char* sound = GetSoundType(segment.SoundFilePath) == kSoundMp3 ? "mp3" : " - ";
  const std::string name = segment.Name.empty() ? segment.Name : toUtf8(segment.Name);
  return FormatText("[%d x %d x %d bit / %d fps  Sound: %s]:  %s\r", segment.Width, segment.Height,
                    segment.BitsPerPixel, segment.FramesPerSecond, sound, name.c_str());
}
}  // namespace

std::optional<std::string> FilmPropertiesText(const std::string& programPath, const TSegmentList& segments,
                                              const TUiTexts& texts, const TAnsiToUtf8& toUtf8) {
  if (segments.Count() == 0) return std::nullopt;
  std::string text = programPath + "\r\r" + texts.Format(TMessageText::kSegmentCountFmt, segments.Count()) + "\r\r";
  for (int32_t i = 0; i < segments.Count(); ++i)
    if (const TSegmentInfo* segment = segments.Get(i)) text += SegmentLine(*segment, toUtf8);
  return text;
}

std::wstring WindowTitleForFilm(std::wstring_view filmPath, std::wstring_view programPath) {
  if (SameIgnoringAsciiCase(filmPath, programPath)) return kMainWindowTitle;
  return std::wstring(kMainWindowTitle) + L" - [" + std::wstring(filmPath) + L"]";
}

bool IsFilmFileName(std::wstring_view path) {
  const size_t dot = path.find_last_of(L".\\/:");
  // A delimiter found last leaves no extension, and never matches.
  return dot != std::wstring_view::npos && SameIgnoringAsciiCase(path.substr(dot), std::wstring_view(L".kof"));
}
