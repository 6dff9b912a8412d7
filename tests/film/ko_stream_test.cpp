#include "film/ko_stream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <cstring>
#include <functional>

#include "film/ko_error.h"
#include "support/temp_dir.h"

namespace {
std::vector<uint8_t> Iota(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
  return bytes;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EkoError& e) {
    return e.what();
  }
  return "(nothing thrown)";
}
}  // namespace

TEST(MemoryStream, PositionIsTakenOnlyInsideTheData) {
  TkoMemoryStream s;
  uint8_t byte = 0;
  s.SetPosition(0);
  EXPECT_EQ(s.GetPosition(), 0);
  EXPECT_EQ(s.Read(&byte, 1), 0);

  const auto data = Iota(10);
  s.Write(data.data(), 10);
  EXPECT_EQ(s.SetPosition(10), 10) << "position 10 = size is ignored, position stays at the end";
  EXPECT_EQ(s.SetPosition(9), 9);
  EXPECT_EQ(s.SetPosition(-1), 9);
  EXPECT_EQ(s.Read(&byte, 5), 1);
  EXPECT_EQ(byte, data[9]);
}

TEST(MemoryStream, GrowsByTheMarginPastTheCapacity) {
  TkoMemoryStream s;
  const auto data = Iota(4097);
  EXPECT_EQ(s.Write(data.data(), 4096), 4096);
  EXPECT_EQ(s.Capacity(), 4096);
  EXPECT_EQ(s.Write(data.data() + 4096, 1), 1);
  EXPECT_EQ(s.Capacity(), 4097 + 4096);
  EXPECT_EQ(s.GetSize(), 4097);
  EXPECT_EQ(s.Write(data.data(), 0), 0);
  EXPECT_EQ(s.Write(data.data(), -3), 0);

  s.SetPosition(0);
  std::vector<uint8_t> back(4097);
  s.ReadBuffer(back.data(), 4097);
  EXPECT_EQ(back, data);
}

TEST(MemoryStream, ShortReadsAndReadBuffer) {
  TkoMemoryStream s;
  const auto data = Iota(6);
  s.Write(data.data(), 6);
  s.SetPosition(2);
  std::vector<uint8_t> out(10);
  EXPECT_EQ(s.Read(out.data(), 10), 4);
  EXPECT_EQ(s.Read(out.data(), 10), 0);
  EXPECT_EQ(s.Read(out.data(), -1), 0);
  s.ReadBuffer(out.data(), 0);
  s.SetPosition(3);
  EXPECT_EQ(MessageOf([&] { s.ReadBuffer(out.data(), 4); }), "Cannot read buffer");
}

TEST(MemoryStream, ShrinkingTheCapacityKeepsReadsInsideTheBuffer) {
  TkoMemoryStream s;
  const auto data = Iota(100);
  s.Write(data.data(), 100);
  s.SetCapacity(10);
  s.SetPosition(0);
  std::vector<uint8_t> out(100);
  EXPECT_EQ(s.Read(out.data(), 100), 10);
}

TEST(CopyFrom, ZeroCopiesTheWholeSourceFromItsStart) {
  TkoMemoryStream source, target;
  const auto data = Iota(100000);
  source.Write(data.data(), int32_t(data.size()));
  source.SetPosition(5000);
  EXPECT_EQ(target.CopyFrom(source, 0), 100000);
  EXPECT_EQ(target.GetSize(), 100000);
  EXPECT_EQ(std::memcmp(target.Data(), data.data(), data.size()), 0);
}

TEST(CopyFrom, CopiesFromThePositionAndKeepsWhatWasWrittenOnAShortSource) {
  TkoMemoryStream source, target;
  const auto data = Iota(70000);
  source.Write(data.data(), int32_t(data.size()));
  source.SetPosition(1000);
  EXPECT_EQ(target.CopyFrom(source, 500), 500);
  EXPECT_EQ(std::memcmp(target.Data(), data.data() + 1000, 500), 0);

  // 68500 bytes remain; the first 61440-byte chunk lands, the second cannot be read.
  EXPECT_EQ(MessageOf([&] { target.CopyFrom(source, 69000); }), "Cannot read buffer");
  EXPECT_EQ(target.GetSize(), 500 + TkoStream::kCopyBufferLimit);
}

TEST(FileStream, OpenModes) {
  TempDir dir;
  const auto missing = dir / "missing.bin";
  EXPECT_EQ(MessageOf([&] { TkoFileStream s(missing, kModeReadExclusive); }), "Cannot open or create file.");
  EXPECT_FALSE(std::filesystem::exists(missing));

  { TkoFileStream created(missing, kModeCreate); EXPECT_EQ(created.GetSize(), 0); }
  EXPECT_TRUE(std::filesystem::exists(missing));
  EXPECT_NO_THROW(TkoFileStream(missing, kModeReadShared));
  EXPECT_NO_THROW(TkoFileStream(missing, 0x42));  // read and write, others may read and write

  EXPECT_EQ(MessageOf([&] { TkoFileStream s(missing, 0x03); }), "Cannot open or create file.") << "access 3";
  EXPECT_EQ(MessageOf([&] { TkoFileStream s(missing, 0x50); }), "Cannot open or create file.") << "sharing 0x50";
}

TEST(FileStream, CreateEmptiesAnExistingFile) {
  TempDir dir;
  WriteFile(dir / "f", Iota(50));
  TkoFileStream s(dir / "f", kModeCreate);
  EXPECT_EQ(s.GetSize(), 0);
}

TEST(FileStream, ReadsWritesAndReportsShortReadsWithTheFileName) {
  TempDir dir;
  const auto path = dir / "data.bin";
  const auto data = Iota(300);
  {
    TkoFileStream s(path, kModeCreate);
    EXPECT_EQ(s.Write(data.data(), 300), 300);
    EXPECT_EQ(s.GetPosition(), 300);
  }
  TkoFileStream s(path, kModeReadExclusive);
  EXPECT_EQ(s.GetSize(), 300);
  EXPECT_EQ(s.SetPosition(100), 100);
  EXPECT_EQ(s.GetSize(), 300);
  EXPECT_EQ(s.GetPosition(), 100) << "GetSize keeps the position";
  std::vector<uint8_t> out(300);
  EXPECT_EQ(s.Read(out.data(), 300), 200);
  EXPECT_EQ(std::memcmp(out.data(), data.data() + 100, 200), 0);
  EXPECT_EQ(s.Read(out.data(), 10), 0);
  EXPECT_NO_THROW(s.ReadBuffer(out.data(), 0));
  EXPECT_EQ(s.Write(out.data(), 10), 0) << "a read-only stream writes nothing";
  EXPECT_EQ(s.SetPosition(-5), -1);

  s.SetPosition(290);
  EXPECT_EQ(MessageOf([&] { s.ReadBuffer(out.data(), 20); }), "Cannot read file " + PathText(path));
}

TEST(FileStream, CopyFromAFileIntoAnother) {
  TempDir dir;
  const auto data = Iota(150000);
  WriteFile(dir / "src", data);
  TkoFileStream source(dir / "src", kModeReadShared);
  {
    TkoFileStream target(dir / "dst", kModeCreate);
    source.SetPosition(1234);
    EXPECT_EQ(target.CopyFrom(source, 100000), 100000);
  }
  TkoFileStream copy(dir / "dst", kModeReadExclusive);
  std::vector<uint8_t> out(100000);
  copy.ReadBuffer(out.data(), 100000);
  EXPECT_EQ(std::memcmp(out.data(), data.data() + 1234, out.size()), 0);
}
