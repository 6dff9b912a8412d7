#include "film/data_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "playback/ko_cursor.h"
#include "support/data_file_writer.h"
#include "support/temp_dir.h"

using filmwriter::Bytes;
using filmwriter::Picture;

namespace {
filmwriter::DataFileSpec ThreePictures() {
  filmwriter::DataFileSpec spec;
  spec.name = "Первый";
  Picture a = Picture::Filled(7, 3, 0x102030);
  Picture b = a;
  b.At(2, 1) = 0xFFFFFF;
  spec.pictures = {a, b, Picture::Filled(7, 3, 0)};
  spec.cursorRecords = {filmwriter::DefaultCursorRecord(), filmwriter::EmptyCursorRecord()};
  spec.samplesPerFrame = 3;
  spec.extra = {0xE1, 0xE2, 0xE3};
  return spec;
}

TDataFileSizes SizesOf(const filmwriter::DataFile& data) {
  return {data.cursorCount, data.frameDataSize, data.cursorTrackSize, data.extraSize};
}

struct Walked {
  TempDir dir;
  std::filesystem::path path = dir / "koS_20090406171337750.dat";
  TSegmentInfo segment;
  std::string problem;

  Walked(const Bytes& bytes, const TDataFileSizes& sizes) {
    filmwriter::WriteBytesToFile(path, bytes);
    problem = WalkDataFile(std::make_unique<TkoFileStream>(path, kModeReadExclusive), path, sizes, segment);
  }
  bool FileLeft() const { return std::filesystem::exists(path); }
};

Bytes Contents(TkoMemoryStream& stream) {
  Bytes bytes(size_t(stream.GetSize()));
  stream.SetPosition(0);
  stream.Read(bytes.data(), stream.GetSize());
  return bytes;
}
}  // namespace

TEST(DataFileWalk, FillsTheSegmentAndReadsEveryFrameRecordInOrder) {
  const filmwriter::DataFile data = filmwriter::BuildDataFile(ThreePictures());
  Walked w(data.bytes, SizesOf(data));
  ASSERT_EQ(w.problem, "");
  EXPECT_EQ(w.segment.Name, "Первый");
  ASSERT_EQ(w.segment.Cursors.Count(), 2);
  EXPECT_EQ(w.segment.Cursors.Item(0)->Width(), 32);
  EXPECT_TRUE(w.segment.Cursors.Item(1)->IsEmpty());
  EXPECT_EQ(w.segment.FirstFrameOffset, data.firstFrameOffset);
  EXPECT_EQ(w.segment.CursorTrack.GetSize(), 3 * 3 * 6);
  EXPECT_EQ(w.segment.CursorTrack.GetPosition(), 0);
  EXPECT_EQ(Contents(w.segment.Extra), (Bytes{0xE1, 0xE2, 0xE3}));
  ASSERT_NE(w.segment.FrameStream, nullptr);
  EXPECT_EQ(w.segment.DataFilePath, w.path);

  const auto expected = filmwriter::FrameRecords(ThreePictures().pictures);
  std::vector<uint8_t> frame(FrameBufferSize(7, 3));
  for (const Bytes& record : expected) {
    const TLoadFrameResult result = LoadFrame(&w.segment, frame);
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_TRUE(std::equal(record.begin(), record.end(), frame.begin()));
  }
  // Behind the last record lies the cursor track, whose first sample (0, 0, 0) reads
  // as a size of 0.
  EXPECT_EQ(LoadFrame(&w.segment, frame).Message, "LoadFrame: Size = 0");
}

TEST(DataFileWalk, NameBlocksOfImpossibleLengthAreDamage) {
  filmwriter::DataFileSpec spec = ThreePictures();
  spec.nameBlock = Bytes{0};  // length byte 0: an empty name
  {
    const auto data = filmwriter::BuildDataFile(spec);
    Walked w(data.bytes, SizesOf(data));
    EXPECT_EQ(w.problem, "");
    EXPECT_EQ(w.segment.Name, "");
  }
  spec.nameBlock = Bytes{200, 'a', 'b'};  // the length byte claims more than the block
  {
    const auto data = filmwriter::BuildDataFile(spec);
    Walked w(data.bytes, SizesOf(data));
    EXPECT_EQ(w.problem, "");
    EXPECT_EQ(w.segment.Name, "ab");
  }
  for (int32_t length : {0, -5, 257, 1 << 30}) {
    spec.nameBlock = Bytes(300, 'x');
    spec.nameLength = length;
    const auto data = filmwriter::BuildDataFile(spec);
    Walked w(data.bytes, SizesOf(data));
    EXPECT_NE(w.problem, "") << length;
    EXPECT_EQ(w.segment.FrameStream, nullptr);
    EXPECT_EQ(w.segment.Problem, "damaged data file: " + w.problem);
    EXPECT_FALSE(w.FileLeft()) << "a damaged data file is deleted";
  }
}

TEST(DataFileWalk, AFileShorterThanItsHeaderSaysIsDamaged) {
  const filmwriter::DataFile data = filmwriter::BuildDataFile(ThreePictures());
  // Cut inside every block: name, cursors, frames, track, extra.
  for (size_t cut : {size_t(2), size_t(6), size_t(40), size_t(data.firstFrameOffset + 3),
                     size_t(data.firstFrameOffset + data.frameDataSize + 5), data.bytes.size() - 1}) {
    Walked w(Bytes(data.bytes.begin(), data.bytes.begin() + long(cut)), SizesOf(data));
    EXPECT_NE(w.problem, "") << "cut at " << cut;
    EXPECT_EQ(w.segment.FrameStream, nullptr);
    EXPECT_TRUE(w.segment.DataFilePath.empty());
    EXPECT_EQ(w.segment.Cursors.Count(), 0);
    EXPECT_EQ(w.segment.CursorTrack.GetSize(), 0);
    EXPECT_FALSE(w.FileLeft());
  }
  // A header announcing far more cursors than the file can hold is refused at once.
  TDataFileSizes sizes = SizesOf(data);
  sizes.CursorCount = 0x7FFFFFFF;
  Walked many(data.bytes, sizes);
  EXPECT_NE(many.problem.find("cursor records"), std::string::npos) << many.problem;
  // Sizes near the 32-bit limit do not wrap around.
  sizes = SizesOf(data);
  sizes.FrameDataSize = 0x7FFFFFFF;
  EXPECT_NE(Walked(data.bytes, sizes).problem, "");
}

TEST(DataFileWalk, WithoutFrameDataTheFileIsDroppedButNotDamaged) {
  filmwriter::DataFileSpec spec = ThreePictures();
  spec.pictures.clear();
  spec.cursorTrack = std::vector<filmwriter::CursorSample>{};
  const auto data = filmwriter::BuildDataFile(spec);
  ASSERT_EQ(data.frameDataSize, 0);
  Walked w(data.bytes, SizesOf(data));
  EXPECT_EQ(w.problem, "");
  EXPECT_EQ(w.segment.Problem, "");
  EXPECT_EQ(w.segment.FrameStream, nullptr);
  EXPECT_TRUE(w.segment.DataFilePath.empty());
  EXPECT_FALSE(w.FileLeft());
  EXPECT_EQ(w.segment.Name, "Первый");
}

TEST(LoadFrame, RefusesDamagedRecordsWithoutOverrunningTheBuffer) {
  const Bytes body5(5, 0);  // one run
  const std::vector<std::pair<Bytes, std::string>> cases = {
      {filmwriter::RawFrameRecord(0, 0, {}), "LoadFrame: Size = 0"},
      {filmwriter::RawFrameRecord(-8, 0, {}), "LoadFrame: Size = 0"},
      {filmwriter::RawFrameRecord(4, 0, {}), "LoadFrame: damaged frame record (size 4)"},
      {filmwriter::RawFrameRecord(13, 2, body5), "LoadFrame: damaged frame record (size 13)"},
      {filmwriter::RawFrameRecord(13, -1, body5), "LoadFrame: damaged frame record (size 13)"},
      // 8 + 5 × 2 × 2 = 28 bytes is the buffer; one byte more does not fit.
      {filmwriter::RawFrameRecord(29, 0, Bytes(21, 0)), "LoadFrame: damaged frame record (size 29)"},
      {filmwriter::RawFrameRecord(28, 4, Bytes(10, 0)), "LoadFrame: BytesRead <> size"},
      {Bytes{13, 0}, "LoadFrame: BytesRead <> size"},
  };
  for (const auto& [record, message] : cases) {
    TempDir dir;
    const auto path = dir / "frames.dat";
    filmwriter::WriteBytesToFile(path, record);
    TSegmentInfo segment;
    segment.FrameStream = std::make_unique<TkoFileStream>(path, kModeReadExclusive);
    std::vector<uint8_t> storage(FrameBufferSize(2, 2) + 16, 0xCC);
    const std::span<uint8_t> frame(storage.data(), FrameBufferSize(2, 2));
    const TLoadFrameResult result = LoadFrame(&segment, frame);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, message);
    for (size_t i = frame.size(); i < storage.size(); ++i) ASSERT_EQ(storage[i], 0xCC) << message;
  }

  std::vector<uint8_t> frame(64);
  TSegmentInfo noStream;
  EXPECT_EQ(LoadFrame(&noStream, {}).Message, "LoadFrame: Frame = nil");
  const TLoadFrameResult silent = LoadFrame(nullptr, frame);
  EXPECT_FALSE(silent.Ok);
  EXPECT_EQ(silent.Message, "");
  EXPECT_EQ(LoadFrame(&noStream, frame).Message, "LoadFrame: no frame stream");
}

TEST(LoadFrame, BufferSizeIsOneRunPerPixelAndNeverWraps) {
  EXPECT_EQ(FrameBufferSize(770, 695), 8u + 5u * 770 * 695);
  EXPECT_EQ(FrameBufferSize(0, 10), 0u);
  EXPECT_EQ(FrameBufferSize(10, -1), 0u);
  EXPECT_EQ(FrameBufferSize(65536, 65536), 0u) << "more than a 32-bit record size can describe";
  EXPECT_EQ(FrameBufferSize(20725, 20725), 0u);
  EXPECT_EQ(FrameBufferSize(20724, 20724), 8u + 5u * 20724 * 20724) << "the largest square that fits";
}
