#pragma once
// A temporary folder and a segment list for one kof run; both are cleaned up when it
// ends, so kof leaves nothing behind. The folder carries this process's mark meanwhile,
// so that a later run removes it should this one be killed (platform/export_leftovers.h).
#include <cstdio>
#include <filesystem>
#include <string>

#include "film/segment_list.h"
#include "film/temp_files.h"
#include "kof_common/film_report.h"
#include "platform/export_leftovers.h"
#include "kof_common/utf8_path.h"

struct KofSession {
  // Unpacks into folder, made before by the caller, who removes it (a batch removes its
  // workers' folders when it reaps them: were the worker to remove it first, another
  // program could take the freed name in between and lose its folder to the batch), or
  // into a new temporary folder of its own.
  explicit KofSession(const std::filesystem::path& folder = {})
      : tempFolder(folder.empty() ? CreatePlayerTempFolder() : folder), ownsFolder(folder.empty()) {
    MarkUnpackFolder(tempFolder);
  }
  ~KofSession() {
    segments.Clear();
    UnmarkUnpackFolder(tempFolder);
    if (ownsFolder) RemovePlayerTempFolder(tempFolder);
  }
  KofSession(const KofSession&) = delete;
  KofSession& operator=(const KofSession&) = delete;

  // Loads the film's segments (its name in UTF-8); false, after saying so on standard error, when the file
  // holds no film.
  bool Load(const std::string& film) {
    if (InspectFilm(PathOfUtf8(film), segments, tempFolder)) return true;
    std::fprintf(stderr, "kof: %s: not a film\n", film.c_str());
    return false;
  }

  std::filesystem::path tempFolder;
  bool ownsFolder;
  TSegmentList segments;
};
