#include "film/ko_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "film/ko_error.h"

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

int32_t TkoStream::CopyFrom(TkoStream& source, int32_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  std::vector<uint8_t> buffer(static_cast<size_t>(std::clamp(count, 0, kCopyBufferLimit)));
  for (int32_t remaining = count; remaining > 0;) {
    const int32_t chunk = std::min(static_cast<int32_t>(buffer.size()), remaining);
    source.ReadBuffer(buffer.data(), chunk);
    Write(buffer.data(), chunk);
    remaining -= chunk;
  }
  return count;
}

// --- TkoFileStream ------------------------------------------------------------------

namespace {
struct OpenRequest {
  bool valid;
  FileAccess access;
  FileShare share;
  FileCreation creation;
};

OpenRequest DecodeMode(uint16_t mode) {
  if (mode == kModeCreate) return {true, FileAccess::ReadWrite, FileShare::None, FileCreation::CreateAlways};
  const int access = mode & 0x3;
  const int sharing = mode & 0xF0;
  if (access > 2 || sharing > 0x40) return {false, FileAccess::Read, FileShare::None, FileCreation::OpenExisting};
  static constexpr FileAccess kAccess[] = {FileAccess::Read, FileAccess::Write, FileAccess::ReadWrite};
  static constexpr FileShare kShare[] = {FileShare::None, FileShare::None, FileShare::Read, FileShare::Write,
                                         FileShare::ReadWrite};
  return {true, kAccess[access], kShare[sharing >> 4], FileCreation::OpenExisting};
}

int32_t ClampCount(int64_t moved) {
  return moved <= 0 ? 0 : static_cast<int32_t>(std::min<int64_t>(moved, std::numeric_limits<int32_t>::max()));
}
}  // namespace

TkoFileStream::TkoFileStream(const std::filesystem::path& fileName, uint16_t mode)
    : FHandle(kInvalidFileHandle), FFileName(fileName) {
  const OpenRequest request = DecodeMode(mode);
  if (request.valid) FHandle = OpenFileHandle(fileName, request.access, request.share, request.creation);
  if (FHandle == kInvalidFileHandle) throw EkoError("Cannot open or create file.");
}

TkoFileStream::~TkoFileStream() { CloseFileHandle(FHandle); }

int64_t TkoFileStream::KnownPosition() {
  if (FPosition < 0) FPosition = SeekFileHandle(FHandle, 0, SeekOrigin::Current);
  return FPosition;
}

int32_t TkoFileStream::GetPosition() { return static_cast<int32_t>(KnownPosition()); }

int32_t TkoFileStream::SetPosition(int32_t position) {
  if (position < 0) return -1;
  FPosition = SeekFileHandle(FHandle, position, SeekOrigin::Begin);
  return static_cast<int32_t>(FPosition);
}

int32_t TkoFileStream::GetSize() {
  const int64_t saved = KnownPosition();
  const int64_t size = SeekFileHandle(FHandle, 0, SeekOrigin::End);
  FPosition = saved < 0 ? -1 : SeekFileHandle(FHandle, saved, SeekOrigin::Begin);
  return size < 0 ? 0 : static_cast<int32_t>(std::min<int64_t>(size, std::numeric_limits<int32_t>::max()));
}

int32_t TkoFileStream::Read(void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const int64_t moved = ReadFileHandle(FHandle, buffer, count);
  Moved(moved);
  return ClampCount(moved);
}

int32_t TkoFileStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const int64_t moved = WriteFileHandle(FHandle, buffer, count);
  Moved(moved);
  return ClampCount(moved);
}

void TkoFileStream::Moved(int64_t moved) {
  if (moved < 0)
    FPosition = -1;
  else if (FPosition >= 0)
    FPosition += moved;
}

void TkoFileStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count)
    throw EkoError(FormatText("Cannot read file %s", PathText(FFileName).c_str()));
}

// --- TkoMemoryStream ----------------------------------------------------------------

TkoMemoryStream::TkoMemoryStream() : FBuffer(kGrowth) {}

int32_t TkoMemoryStream::SetPosition(int32_t position) {
  if (position >= 0 && position < FSize) FPosition = position;
  return FPosition;
}

int32_t TkoMemoryStream::Read(void* buffer, int32_t count) {
  if (count < 0 || FSize == 0) return 0;
  const int32_t k = std::max(0, std::min(count, FSize - FPosition));
  if (k > 0) std::memcpy(buffer, FBuffer.data() + FPosition, static_cast<size_t>(k));
  FPosition += k;
  return k;
}

int32_t TkoMemoryStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const int64_t end = int64_t{FPosition} + count;
  if (end + kGrowth > std::numeric_limits<int32_t>::max()) return 0;
  if (end > Capacity()) SetCapacity(static_cast<int32_t>(end) + kGrowth);
  if (end > FSize) FSize = static_cast<int32_t>(end);
  std::memcpy(FBuffer.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = static_cast<int32_t>(end);
  return count;
}

void TkoMemoryStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EkoError("Cannot read buffer");
}

void TkoMemoryStream::SetCapacity(int32_t capacity) {
  if (capacity < 0) throw EkoError(FormatText("Cannot set a buffer capacity of %d", capacity));
  FBuffer.resize(static_cast<size_t>(capacity));
  // A shrunken buffer must not leave the size or the position beyond it.
  FSize = std::min(FSize, capacity);
  FPosition = std::min(FPosition, FSize);
}
