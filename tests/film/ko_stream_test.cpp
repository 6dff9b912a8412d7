#include "film/ko_stream.h"

#include <gtest/gtest.h>

#include "writer/film_bytes.h"
#include "support/temp_dir.h"
#include "support/error_text.h"

namespace {
std::vector<uint8_t> Iota(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
  return bytes;
}
}  // namespace

TEST(MemoryStream, ReadsAndPositionsStayInsideTheData) {
  TkoMemoryStream s;
  uint8_t byte = 0;
  EXPECT_EQ(s.SetPosition(0), 0);
  EXPECT_EQ(s.Read(&byte, 1), 0);
  const auto data = Iota(4097);  // one past the first growth
  EXPECT_EQ(s.Write(data.data(), 4096), 4096);
  EXPECT_EQ(s.Write(data.data() + 4096, 1), 1);
  EXPECT_EQ(s.GetSize(), 4097);
  EXPECT_EQ(s.SetPosition(4096), 4096);
  EXPECT_EQ(s.SetPosition(4097), 4096) << "the size is past the data: the position stays";
  EXPECT_EQ(s.SetPosition(-1), 4096);
  EXPECT_EQ(s.Read(&byte, 5), 1);
  EXPECT_EQ(byte, data[4096]);
  EXPECT_EQ(s.Read(&byte, 5) + s.Read(&byte, -1), 0);
  s.SetPosition(4094);
  std::vector<uint8_t> back(4097);
  EXPECT_EQ(ErrorOf([&] { s.ReadBuffer(back.data(), 4); }), "Cannot read buffer");
  // A buffer shrunk below the size keeps reads inside it.
  s.SetCapacity(10);
  s.SetPosition(0);
  EXPECT_EQ(s.Read(back.data(), 100), 10);
  // A negative capacity is refused; the stream still writes inside its buffer.
  EXPECT_THROW(s.SetCapacity(-5), EkoError);
  s.SetPosition(0);
  EXPECT_EQ(s.Write(data.data(), 3), 3);
  EXPECT_EQ(s.GetSize(), 10);
}

TEST(FileStream, OpensReadsWritesCopiesAndReportsShortReadsWithTheFileName) {
  TempDir dir;
  const auto path = dir / "f";
  EXPECT_EQ(ErrorOf([&] { TkoFileStream s(path, kModeReadExclusive); }), "Cannot open or create file.");
  EXPECT_FALSE(std::filesystem::exists(path));
  filmwriter::WriteBytesToFile(path, Iota(50));
  EXPECT_NO_THROW(TkoFileStream(path, kModeReadShared));
  EXPECT_EQ(ErrorOf([&] { TkoFileStream s(path, 0x50); }), "Cannot open or create file.") << "no sharing 0x50";
  EXPECT_EQ(TkoFileStream(path, kModeCreate).GetSize(), 0) << "create empties an existing file";

  const auto data = Iota(150000);
  {
    TkoFileStream source(dir / "src", kModeCreate), target(dir / "dst", kModeCreate);
    EXPECT_EQ(source.Write(data.data(), 150000), 150000);
    EXPECT_EQ(source.GetPosition(), 150000);
    source.SetPosition(1234);
    EXPECT_EQ(target.CopyFrom(source, 100000), 100000);
  }
  TkoFileStream s(dir / "dst", kModeReadExclusive);
  EXPECT_EQ(s.SetPosition(99900), 99900);
  EXPECT_EQ(s.GetSize(), 100000);
  EXPECT_EQ(s.GetPosition(), 99900) << "GetSize keeps the position";
  std::vector<uint8_t> out(300);
  EXPECT_EQ(s.Read(out.data(), 300), 100);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 100), std::vector<uint8_t>(&data[101134], &data[101234]));
  EXPECT_EQ(s.Write(out.data(), 10), 0) << "a read-only stream writes nothing";
  s.SetPosition(99990);
  EXPECT_EQ(ErrorOf([&] { s.ReadBuffer(out.data(), 20); }), "Cannot read file " + PathText(dir / "dst"));
}
