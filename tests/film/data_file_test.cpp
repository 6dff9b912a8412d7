#include "film/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "playback/ko_cursor.h"
#include "writer/data_file_writer.h"
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

namespace {
// A data file holding only the given bytes, read into a 2 × 2 frame buffer (28 bytes)
// that has guard bytes behind it.
struct LoneRecords {
  TempDir dir;
  TSegmentInfo segment;
  std::vector<uint8_t> storage = std::vector<uint8_t>(FrameBufferSize(2, 2) + 16, 0xCC);
  std::span<uint8_t> frame{storage.data(), FrameBufferSize(2, 2)};

  explicit LoneRecords(const Bytes& bytes) {
    const auto path = dir / "frames.dat";
    filmwriter::WriteBytesToFile(path, bytes);
    segment.FrameStream = std::make_unique<TkoFileStream>(path, kModeReadExclusive);
  }
  TLoadFrameResult Next() { return LoadFrame(&segment, frame); }
  int32_t Position() const { return segment.FrameStream->GetPosition(); }
  bool GuardIntact() const {
    return std::all_of(storage.begin() + long(frame.size()), storage.end(), [](uint8_t b) { return b == 0xCC; });
  }
  bool Holds(const Bytes& record) const { return std::equal(record.begin(), record.end(), frame.begin()); }
};
}  // namespace

TEST(LoadFrame, RecordsThatCannotBeReadStopTheReading) {
  const std::vector<std::pair<Bytes, std::string>> cases = {
      {filmwriter::RawFrameRecord(0, 0, {}), "LoadFrame: Size = 0"},
      {filmwriter::RawFrameRecord(-8, 0, {}), "LoadFrame: Size = 0"},
      {Bytes{}, "LoadFrame: Size = 0"},
      {filmwriter::RawFrameRecord(4, 0, {}), "LoadFrame: damaged frame record (size 4)"},
      {filmwriter::RawFrameRecord(28, 4, Bytes(10, 0)), "LoadFrame: BytesRead <> size"},
      {Bytes{13, 0}, "LoadFrame: BytesRead <> size"},
      // Too large for the buffer and cut by the file's end: nothing to step over to.
      {filmwriter::RawFrameRecord(40, 6, Bytes(25, 0)), "LoadFrame: BytesRead <> size"},
      {filmwriter::RawFrameRecord(0x7FFFFFFF, 0, Bytes(8, 0)), "LoadFrame: BytesRead <> size"},
  };
  for (const auto& [record, message] : cases) {
    LoneRecords file(record);
    const TLoadFrameResult result = file.Next();
    EXPECT_FALSE(result.Ok) << message;
    EXPECT_EQ(result.Message, message);
    EXPECT_TRUE(file.GuardIntact()) << message;
  }

  std::vector<uint8_t> frame(64);
  TSegmentInfo noStream;
  EXPECT_EQ(LoadFrame(&noStream, {}).Message, "LoadFrame: Frame = nil");
  const TLoadFrameResult silent = LoadFrame(nullptr, frame);
  EXPECT_FALSE(silent.Ok);
  EXPECT_EQ(silent.Message, "");
  EXPECT_EQ(LoadFrame(&noStream, frame).Message, "LoadFrame: no frame stream");
}

TEST(LoadFrame, DamagedRecordsThatCanBeSteppedOverLetTheReadingGoOn) {
  const Bytes intact = filmwriter::FrameRecord({{0x123456, 4}});
  const Bytes fullBuffer = filmwriter::RawFrameRecord(28, 4, Bytes(20, 0x11));  // exactly fits
  const Bytes oversized = filmwriter::RawFrameRecord(29, 4, Bytes(21, 0x22));   // one byte too many
  const Bytes runCountTooHigh = filmwriter::RawFrameRecord(13, 2, Bytes(5, 0x33));
  const Bytes runCountNegative = filmwriter::RawFrameRecord(18, -1, Bytes(10, 0x44));
  Bytes film;
  for (const Bytes* record : {&intact, &oversized, &fullBuffer, &runCountTooHigh, &oversized, &runCountNegative,
                              &intact})
    film.insert(film.end(), record->begin(), record->end());
  LoneRecords file(film);

  TLoadFrameResult result = file.Next();
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Damage, TFrameRecordDamage::kNone);
  EXPECT_TRUE(file.Holds(intact));

  result = file.Next();
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Damage, TFrameRecordDamage::kTooLarge);
  EXPECT_EQ(result.Message, "Damaged frame record: its 29 bytes do not fit the frame buffer of 28; it was skipped.");
  EXPECT_TRUE(file.Holds(intact)) << "nothing of a skipped record is read";
  EXPECT_EQ(file.Position(), int32_t(intact.size() + oversized.size()));

  result = file.Next();
  EXPECT_TRUE(result.Ok && result.Damage == TFrameRecordDamage::kNone) << result.Message;
  EXPECT_TRUE(file.Holds(fullBuffer));

  for (const Bytes* damaged : {&runCountTooHigh, &oversized, &runCountNegative}) {
    result = file.Next();
    ASSERT_TRUE(result.Ok) << result.Message;
    if (damaged == &oversized) {
      EXPECT_EQ(result.Damage, TFrameRecordDamage::kTooLarge);
      EXPECT_TRUE(file.Holds(runCountTooHigh)) << "the record before stays";
      continue;
    }
    EXPECT_EQ(result.Damage, TFrameRecordDamage::kRunCount);
    EXPECT_NE(result.Message.find("does not match its run count"), std::string::npos) << result.Message;
    EXPECT_TRUE(file.Holds(*damaged)) << "read as it is, to be laid as far as its runs go";
  }

  result = file.Next();
  EXPECT_TRUE(result.Ok && result.Damage == TFrameRecordDamage::kNone) << result.Message;
  EXPECT_TRUE(file.Holds(intact));
  EXPECT_EQ(file.Next().Message, "LoadFrame: Size = 0") << "the end of the file";
  EXPECT_TRUE(file.GuardIntact());
}

TEST(LoadFrame, BufferSizeIsOneRunPerPixelAndNeverWraps) {
  EXPECT_EQ(FrameBufferSize(770, 695), 8u + 5u * 770 * 695);
  EXPECT_EQ(FrameBufferSize(0, 10), 0u);
  EXPECT_EQ(FrameBufferSize(10, -1), 0u);
  EXPECT_EQ(FrameBufferSize(65536, 65536), 0u) << "more than a 32-bit record size can describe";
  EXPECT_EQ(FrameBufferSize(20725, 20725), 0u);
  EXPECT_EQ(FrameBufferSize(20724, 20724), 8u + 5u * 20724 * 20724) << "the largest square that fits";
}
