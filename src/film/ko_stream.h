#pragma once
// Byte streams the player is built on: the film, the data files, the temporary files
// (TkoFileStream) and the in-memory cursor track and extra block (TkoMemoryStream).
// Positions and sizes are 32-bit, as the film format's are.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "film/file_handle.h"

class TkoStream {
public:
  virtual ~TkoStream() = default;
  virtual int32_t GetPosition() = 0;
  // See each class for what an impossible position does.
  virtual int32_t SetPosition(int32_t position) = 0;
  virtual int32_t GetSize() = 0;
  // Return the count actually moved; 0 when nothing could be moved. Never throw.
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // Throws EkoError unless exactly count bytes were read (count 0 never throws).
  virtual void ReadBuffer(void* buffer, int32_t count) = 0;
  // Copies count bytes from source's position (count 0: the whole source from its
  // start) in chunks of at most 61440 bytes. Returns the count. A short source
  // throws its ReadBuffer error; bytes already written stay.
  int32_t CopyFrom(TkoStream& source, int32_t count);

  static constexpr int32_t kCopyBufferLimit = 0xF000;
};

// Open modes: 0xFFFF creates (or empties) the file for reading and writing, without
// sharing. Any other mode opens an existing file: bits 0-1 the access (0 read,
// 1 write, 2 read and write), bits 4-7 the sharing (0x00/0x10 none, 0x20 read,
// 0x30 write, 0x40 read and write).
constexpr uint16_t kModeReadExclusive = 0x0000;
constexpr uint16_t kModeReadShared = 0x0020;
constexpr uint16_t kModeCreate = 0xFFFF;

class TkoFileStream : public TkoStream {
public:
  // Throws EkoError("Cannot open or create file.") when the file cannot be opened or
  // created, or the mode is invalid.
  TkoFileStream(const std::filesystem::path& fileName, uint16_t mode);
  ~TkoFileStream() override;
  TkoFileStream(const TkoFileStream&) = delete;
  TkoFileStream& operator=(const TkoFileStream&) = delete;

  int32_t GetPosition() override;
  // Returns the resulting position, or -1 when the system refuses.
  int32_t SetPosition(int32_t position) override;
  int32_t GetSize() override;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  // Throws "Cannot read file <FileName>".
  void ReadBuffer(void* buffer, int32_t count) override;

  const std::filesystem::path& FileName() const { return FFileName; }

private:
  // The position, asked of the system only when a failure left it unknown.
  int64_t KnownPosition();
  // Moves the remembered position by what a read or write moved (-1: failed).
  void Moved(int64_t moved);

  FileHandle FHandle;
  std::filesystem::path FFileName;
  // The handle's position as the stream last moved it, so that asking for it costs no
  // system call (playback asks before and after every frame record); -1 when a failure
  // left it unknown. Nothing else moves the handle: it never leaves the stream.
  int64_t FPosition = 0;
};

class TkoMemoryStream : public TkoStream {
public:
  static constexpr int32_t kGrowth = 4096;

  TkoMemoryStream();
  int32_t GetPosition() override { return FPosition; }
  // Takes effect only for 0 <= position < size; returns the position then in force.
  int32_t SetPosition(int32_t position) override;
  int32_t GetSize() override { return FSize; }
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  // Throws "Cannot read buffer".
  void ReadBuffer(void* buffer, int32_t count) override;

  // Sets the buffer length; size and position stay within it. New bytes are zero.
  // Throws EkoError for a negative capacity, leaving the stream as it was.
  void SetCapacity(int32_t capacity);
  int32_t Capacity() const { return static_cast<int32_t>(FBuffer.size()); }
  const uint8_t* Data() const { return FBuffer.data(); }
  // GetSize for a stream held const.
  int32_t Size() const { return FSize; }

private:
  std::vector<uint8_t> FBuffer;
  int32_t FPosition = 0;
  int32_t FSize = 0;
};

// A UTF-8 rendering of a path, for message texts.
std::string PathText(const std::filesystem::path& path);
