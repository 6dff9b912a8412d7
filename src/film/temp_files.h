#pragma once
// The player's temporary folder ("koP_" and a number of at least four digits in the
// system temporary folder) and the time-stamped file names made inside it.
#include <filesystem>
#include <string>

// Prefix of every temporary file the player makes.
inline constexpr const char* kTempFilePrefix = "koS_";

// The system temporary folder, without a final separator. Throws EkoError when the system names none.
std::filesystem::path SystemTempFolder();

// Creates the run's temporary folder inside parent (the system temporary folder when
// parent is empty): "koP_0000", or the first number after it whose name is free.
// Returns the created folder. Throws EkoError("Cannot create the temporary folder
// <path>") when it cannot be created, so start-up can say so.
std::filesystem::path CreatePlayerTempFolder(const std::filesystem::path& parent = {});

// Removes the folder when it exists and is empty; returns whether it is gone. A folder
// that still holds files stays, without a message.
bool RemovePlayerTempFolder(const std::filesystem::path& folder);

// Deletes a temporary file, or a folder with everything in it. Read-only members
// (a cabinet may mark its members so) are made writable first, since Windows refuses
// to delete them otherwise. Returns whether nothing is left at path; failures are not
// thrown.
bool RemoveTempPath(const std::filesystem::path& path);

// Owns a temporary file or folder: removes it (RemoveTempPath) when it goes out of
// scope, also when an exception passes, unless it has been released. Movable, not
// copyable.
class TTempPath {
public:
  TTempPath() = default;
  explicit TTempPath(std::filesystem::path path) : FPath(std::move(path)) {}
  ~TTempPath() { Reset(); }
  TTempPath(TTempPath&& other) noexcept : FPath(other.Release()) {}
  TTempPath& operator=(TTempPath&& other) noexcept;
  TTempPath(const TTempPath&) = delete;
  TTempPath& operator=(const TTempPath&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  bool Empty() const { return FPath.empty(); }
  // Gives up ownership and returns the path; the object is then empty.
  std::filesystem::path Release();
  // Removes what is owned now; the object is then empty.
  void Reset();

private:
  std::filesystem::path FPath;
};

// The local time as "YYYYMMDDhhnnsszzz" (17 digits, milliseconds last).
std::string TempTimeStamp();

// folder / (prefix + TempTimeStamp() + "." + extension), with a fresh time stamp for
// as long as a file of that name exists. An empty folder means the system temporary
// folder. The file itself is not created, so two calls within one millisecond give
// the same name unless the first file has been made in between.
std::filesystem::path MakeTempFileName(const std::string& extension, const std::filesystem::path& folder,
                                       const std::string& prefix = kTempFilePrefix);
