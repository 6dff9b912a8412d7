#pragma once
// A temporary folder and a segment list for one kof run; both are cleaned up when it
// ends, so kof leaves nothing behind.
#include <filesystem>

#include "film/segment_list.h"
#include "film/temp_files.h"

struct KofSession {
  KofSession() : tempFolder(CreatePlayerTempFolder()) {}
  ~KofSession() {
    segments.Clear();
    RemovePlayerTempFolder(tempFolder);
  }
  KofSession(const KofSession&) = delete;
  KofSession& operator=(const KofSession&) = delete;

  std::filesystem::path tempFolder;
  TSegmentList segments;
};
