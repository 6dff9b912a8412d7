#pragma once
// The file and memory callbacks handed to FDICreate, and the state of the extraction
// they serve. FDI gives file names as narrow strings: ours are UTF-8, and names FDI
// builds from a cabinet (the next cabinet of a set) are looked up in the session's
// name table first.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "film/cab_intf_win.h"

// The last system error a file callback met; set to 0 at every notification.
extern int32_t LastCabError;

// A member file being written.
struct TCabTarget {
  std::filesystem::path path;
  uint64_t written = 0;
  bool open = true;
  bool failed = false;  // a write failed or passed the size limit
};

// What the callbacks need to know while one reader runs FDICopy (one at a time).
struct TCabSession {
  uint64_t limit = UINT64_MAX;
  std::map<INT_PTR, TCabTarget> targets;
  std::map<std::string, std::filesystem::path> names;  // narrow name FDI opens -> real path
};

// Makes session the one the callbacks report to (nullptr: none).
void SetCabSession(TCabSession* session);

// The narrow text a path is handed to FDI as (UTF-8).
std::string FdiPathText(const std::filesystem::path& path);

// Opens a file with FDI's open flags (_O_RDONLY, _O_CREAT, ...). Returns the handle,
// or -1 with LastCabError set to the system error.
INT_PTR OpenCabFile(const std::filesystem::path& path, int openFlags);

FNALLOC(CabAlloc);
FNFREE(CabFree);
FNOPEN(CabOpen);
FNREAD(CabRead);
FNWRITE(CabWrite);
FNCLOSE(CabClose);
FNSEEK(CabSeek);
