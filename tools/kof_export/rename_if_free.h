#pragma once
// Moving a file to a name only while no file has that name, in one step where the file
// system can: two writers that both found a name free cannot both take it.
#include <filesystem>

enum class Move { Done, Taken, Unsupported };

// Done, Taken (a file has the name; nothing moved) or Unsupported (the file system
// cannot tell; the caller decides). Throws std::system_error for other failures.
Move RenameIfFree(const std::filesystem::path& from, const std::filesystem::path& to);
