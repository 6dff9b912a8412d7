#pragma once
// The operating system's file handles, as the file stream needs them. One
// implementation per platform: file_handle_win.cpp (CreateFileW) and
// file_handle_posix.cpp (POSIX descriptors).
#include <cstdint>
#include <filesystem>

using FileHandle = intptr_t;
constexpr FileHandle kInvalidFileHandle = -1;

enum class FileAccess { Read, Write, ReadWrite };
enum class FileShare { None, Read, Write, ReadWrite };
enum class FileCreation { OpenExisting, CreateAlways };

// Returns kInvalidFileHandle when the file cannot be opened or created.
FileHandle OpenFileHandle(const std::filesystem::path& path, FileAccess access, FileShare share,
                          FileCreation creation);
void CloseFileHandle(FileHandle handle);
// Both return the count moved, or -1 when the system call fails.
int64_t ReadFileHandle(FileHandle handle, void* buffer, int64_t count);
int64_t WriteFileHandle(FileHandle handle, const void* buffer, int64_t count);
enum class SeekOrigin { Begin, Current, End };
// Returns the new position, or -1 on failure.
int64_t SeekFileHandle(FileHandle handle, int64_t distance, SeekOrigin origin);
