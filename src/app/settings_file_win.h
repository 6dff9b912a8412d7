#pragma once
// The settings file on Windows: %APPDATA%\roRezodu\settings.txt (settings_store.h), with
// settings.lock beside it, which a writer locks from its read to its rename, and
// settings.damaged.txt, the last damaged file moved aside. A player keeps what it
// changed until that is written: at once when the file can be read and replaced, else
// at its next change, the next film opened, and at the latest when the player ends. A
// later version's file is left alone: what this player changed then lives for its run.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "session/settings_file.h"

// <roaming application data>\roRezodu\settings.txt, the folder made when missing; empty
// when there is no such folder.
std::filesystem::path SettingsFilePath();

class TSettingsFile {
public:
  // How long a write or a read waits for another program to let go of the file (or a
  // writer of the lock): a sync client or a virus scanner holds it for a moment.
  static constexpr DWORD kPatienceMs = 300;
  // The player's last chance, when it ends.
  static constexpr DWORD kExitPatienceMs = 3000;

  // The user's file (SettingsFilePath), found when first needed.
  TSettingsFile() = default;
  explicit TSettingsFile(std::filesystem::path path) : FPath(std::move(path)) {}

  // What the file holds, with this player's unwritten changes over it; only those when
  // the file cannot be read now, is damaged or is a later version's.
  TSettingsStore Read();
  // Each keeps the change, taken now, and writes everything unwritten.
  void RememberPlace(const TFilmIdentity& film, TFilmFrame place);
  void ForgetPlace(const TFilmIdentity& film);
  void SetValue(const std::string& key, const std::string& value);
  // Writes what is unwritten, waiting at most patienceMs for others to let go. Returns
  // true when nothing is left to write: every change is in the file, or a newer one
  // there (another player's, taken later) won over it and it is given up.
  bool WritePending(DWORD patienceMs = kPatienceMs);

private:
  const std::filesystem::path& Path();

  std::optional<std::filesystem::path> FPath;
  TSettingsChanges FPending;
};
