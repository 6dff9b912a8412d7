#pragma once
// Reading and writing the settings file (settings_store.h) so that nothing saved in it
// is lost by a write: a file that cannot be read now is not written now, a damaged one
// is moved aside before a new one is written, one of a later version is left alone, and
// every write puts the changes over what the file holds at that moment. The platform
// gives the file operations (settings_file_win.h); a writer holds its lock from the
// read to the rename, so that two players take turns.
#include <cstdint>
#include <string>

#include "session/settings_store.h"

// The settings file's operations, as the platform does them.
class TSettingsFileAccess {
public:
  enum class TRead : uint8_t { kRead, kMissing, kBusy };
  virtual ~TSettingsFileAccess() = default;
  // At most the file's first TSettingsStore::kMaxFileBytes + 1 bytes. kBusy when it
  // exists but cannot be read now (another program holds it).
  virtual TRead Read(std::string& text) = 0;
  // Renames the file to its damaged name, over an earlier damaged copy; false when it
  // cannot.
  virtual bool MoveAside() = 0;
  // Replaces the file with text, whole; false when it cannot, the file then as it was.
  virtual bool Replace(const std::string& text) = 0;
};

enum class TSettingsRead : uint8_t { kRead, kMissing, kBusy, kDamaged, kLaterVersion };
// Reads the file into store, which is left empty unless kRead.
TSettingsRead ReadSettings(TSettingsFileAccess& file, TSettingsStore& store);

enum class TSettingsWrite : uint8_t {
  kWritten,     // the file holds the changes over what it held before
  kSuperseded,  // the file was written, but not with every change: newer values or
                // places it held won over some (or a change could not be taken at all)
  kDeferred,    // nothing changed: the file could not be read, moved aside or replaced now
  kLeftAlone,   // a later version's file: it is not written
};
// Writes changes over what the file holds now: a missing file is made, a damaged one
// moved aside first, one of an earlier version written as this version.
TSettingsWrite WriteSettingsChanges(TSettingsFileAccess& file, const TSettingsChanges& changes);
