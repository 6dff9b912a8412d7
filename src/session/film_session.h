#pragma once
// The film a player has open, and the one way to open and close it, whatever
// door the film comes in by: the command line, File > Open, a dropped file or
// the page. The session reads the film into its segment list, hands the list to
// the engine and tells its view each step; a file that cannot be read is
// refused with the reason.
#include <filesystem>
#include <string>

#include "film/segment_list.h"
#include "playback/playback_engine.h"
#include "session/film_opening.h"
#include "session/session_view.h"
#include "session/ui_texts.h"

class TFilmSession {
public:
  // texts and tempFolder are the player's own and are read at each Open: the
  // language can change, and the folder is made after the player.
  TFilmSession(TPlaybackEngine& engine, TSessionView& view, const TUiTexts& texts,
               const std::filesystem::path& tempFolder);
  ~TFilmSession();
  TFilmSession(const TFilmSession&) = delete;
  TFilmSession& operator=(const TFilmSession&) = delete;

  // Closes the film open and reads the one at path; name is how messages call
  // the file. Returns false, after a box, when the file cannot be opened (the
  // film open stays) or when the door refuses a file with nothing to play
  // (nothing is open then).
  bool Open(const std::filesystem::path& path, TFilmDoor door, const std::string& name);
  // The film goes: the view is told, the engine lets go of the segments and
  // every file unpacked from them is deleted.
  void Close();

  // A film was opened and not closed since (it may have no segment, by its
  // door's rule).
  bool IsOpen() const { return FOpen; }
  const std::filesystem::path& Path() const { return FPath; }
  TSegmentList& Segments() { return FSegments; }
  const TSegmentList& Segments() const { return FSegments; }

private:
  // The engine lets go of the segments and their files are deleted.
  void Forget();
  std::vector<TSessionBox> Report(const TFilmReading& reading, TFilmDoor door, const std::string& name) const;

  TPlaybackEngine& FEngine;
  TSessionView& FView;
  const TUiTexts& FTexts;
  const std::filesystem::path& FTempFolder;
  TSegmentList FSegments;
  std::filesystem::path FPath;
  bool FOpen = false;
};
