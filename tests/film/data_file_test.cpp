#include "film/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "film/ko_cursor.h"
#include "film/ko_error.h"
#include "writer/data_file_writer.h"
#include "support/temp_dir.h"

using filmwriter::Bytes;
using filmwriter::Picture;

namespace {
filmwriter::DataFileSpec ThreePictures() {
  filmwriter::DataFileSpec spec;
  spec.name = "Первый";
  Picture a = Picture::Filled(7, 3, 0x102030), b = a;
  b.At(2, 1) = 0xFFFFFF;
  spec.pictures = {a, b, Picture::Filled(7, 3, 0)};
  spec.cursorRecords = {filmwriter::DefaultCursorRecord(), filmwriter::EmptyCursorRecord()};
  spec.samplesPerFrame = 3;
  spec.extra = {0xE1, 0xE2, 0xE3};
  return spec;
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
  Walked(const filmwriter::DataFile& data)
      : Walked(data.bytes, {data.cursorCount, data.frameDataSize, data.cursorTrackSize, data.extraSize}) {}
};
}  // namespace

TEST(DataFileWalk, AnIntactFileFillsTheSegmentAndItsNameBlockGivesWhatItsLengthByteAllows) {
  filmwriter::DataFileSpec spec = ThreePictures();
  Walked w(filmwriter::BuildDataFile(spec));
  ASSERT_EQ(w.problem, "");
  EXPECT_EQ(w.segment.Name, "Первый");
  ASSERT_EQ(w.segment.Cursors.Count(), 2);
  EXPECT_TRUE(w.segment.Cursors.Item(1)->IsEmpty());
  EXPECT_EQ(std::pair(w.segment.CursorTrack.GetSize(), w.segment.CursorTrack.GetPosition()), std::pair(3 * 3 * 6, 0));
  Bytes extra(5);
  EXPECT_EQ(w.segment.Extra.Read(extra.data(), 5), 3);
  EXPECT_EQ(Bytes(extra.begin(), extra.begin() + 3), spec.extra);
  EXPECT_EQ(w.segment.DataFilePath, w.path);
  std::vector<uint8_t> frame(FrameBufferSize(7, 3));
  const Bytes first = filmwriter::FrameRecords(spec.pictures)[0];
  ASSERT_TRUE(LoadFrame(&w.segment, frame).Ok) << "the stream stands at the first frame record";
  EXPECT_TRUE(std::equal(first.begin(), first.end(), frame.begin()));

  Bytes longest(256, 'n');
  longest[0] = 255;
  // The length byte 0: an empty name; one claiming more than the block: the block.
  const std::pair<Bytes, std::string> cases[] = {{{0}, ""}, {{200, 'a', 'b'}, "ab"}, {longest, std::string(255, 'n')}};
  for (const auto& [block, name] : cases) {
    spec.nameBlock = block;
    Walked named(filmwriter::BuildDataFile(spec));
    EXPECT_EQ(named.problem, "");
    EXPECT_EQ(named.segment.Name, name);
  }
  // Frame records up to the very end of the file, without track or extra block.
  spec.cursorTrack = std::vector<filmwriter::CursorSample>{};
  spec.extra.clear();
  EXPECT_EQ(Walked(filmwriter::BuildDataFile(spec)).problem, "");
  // Without frame data the file is dropped, but it is not damaged.
  spec.pictures.clear();
  Walked none(filmwriter::BuildDataFile(spec));
  EXPECT_EQ(none.problem + none.segment.Problem, "");
  EXPECT_EQ(none.segment.Name, std::string(255, 'n'));
  EXPECT_TRUE(none.segment.FrameStream == nullptr && none.segment.DataFilePath.empty());
  EXPECT_FALSE(std::filesystem::exists(none.path));
}

TEST(DataFileWalk, DamageIsDescribedAndLeavesOnlyTheName) {
  const filmwriter::DataFile data = filmwriter::BuildDataFile(ThreePictures());
  const size_t frames = size_t(data.firstFrameOffset), track = frames + size_t(data.frameDataSize);
  const TDataFileSizes s{data.cursorCount, data.frameDataSize, data.cursorTrackSize, data.extraSize};
  struct Case {
    size_t cut;
    TDataFileSizes sizes;
    std::string problem;
  };
  const Case cases[] = {
      {2, s, "the data file ends inside its name length"},
      {6, s, "the data file ends inside its name block"},
      {40, s, "the data file is too short for its 2 cursor records"},
      {frames - 10, s, "cursor record 2 is damaged (Cursor record: the data ends inside it)"},
      {frames + 3, s, FormatText("the frame records (%d bytes) run past the end of the data file", s.FrameDataSize)},
      {track + 5, s, "the cursor track (54 bytes) runs past the end of the data file"},
      {data.bytes.size() - 1, s, "the extra block (3 bytes) runs past the end of the data file"},
      {data.bytes.size(), {0x7FFFFFFF, s.FrameDataSize, s.CursorTrackSize, s.ExtraSize},
       "the data file is too short for its 2147483647 cursor records"},
      {data.bytes.size(), {s.CursorCount, 0x7FFFFFFF, s.CursorTrackSize, s.ExtraSize},
       "the frame records (2147483647 bytes) run past the end of the data file"},
  };
  for (const Case& c : cases) {
    Walked w(Bytes(data.bytes.begin(), data.bytes.begin() + long(c.cut)), c.sizes);
    EXPECT_EQ(w.problem, c.problem) << "cut at " << c.cut;
    EXPECT_EQ(w.segment.Problem, "damaged data file: " + c.problem);
    EXPECT_EQ(w.segment.Name, c.cut > 17 ? "Первый" : "");
    EXPECT_EQ(w.segment.FrameStream, nullptr);
    EXPECT_TRUE(w.segment.DataFilePath.empty());
    EXPECT_EQ(w.segment.Cursors.Count() + w.segment.CursorTrack.GetSize() + w.segment.Extra.GetSize(), 0);
    EXPECT_FALSE(std::filesystem::exists(w.path)) << "a damaged data file is deleted";
  }
  filmwriter::DataFileSpec spec = ThreePictures();
  spec.nameBlock = Bytes(300, 'x');
  for (int32_t length : {0, -5, 257, 1 << 30}) {
    spec.nameLength = length;
    EXPECT_EQ(Walked(filmwriter::BuildDataFile(spec)).problem,
              FormatText("the name block length %d is outside 1..256", length));
  }
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
  EXPECT_EQ(std::pair(silent.Ok, silent.Message), std::pair(false, std::string()));
  EXPECT_EQ(LoadFrame(&noStream, frame).Message, "LoadFrame: no frame stream");
}

TEST(LoadFrame, DamagedRecordsThatCanBeSteppedOverLetTheReadingGoOn) {
  const Bytes intact = filmwriter::FrameRecord({{0x123456, 4}});
  const Bytes fullBuffer = filmwriter::RawFrameRecord(28, 4, Bytes(20, 0x11));  // exactly fits
  const Bytes oversized = filmwriter::RawFrameRecord(29, 4, Bytes(21, 0x22));   // one byte too many
  const Bytes runCountTooHigh = filmwriter::RawFrameRecord(13, 2, Bytes(5, 0x33));
  const Bytes runCountNegative = filmwriter::RawFrameRecord(18, -1, Bytes(10, 0x44));
  const std::string skipped = "Damaged frame record: its 29 bytes do not fit the frame buffer of 28; it was skipped.";
  // Each record, the damage it gives, and what the buffer holds afterwards: nothing of
  // a skipped record is read; a record whose size disagrees with its run count is read
  // as it is, to be laid as far as its runs go.
  struct Step {
    const Bytes* record;
    TFrameRecordDamage damage;
    const Bytes* holds;
    std::string message;
  };
  const Step steps[] = {
      {&intact, TFrameRecordDamage::kNone, &intact, ""},
      {&oversized, TFrameRecordDamage::kTooLarge, &intact, skipped},
      {&fullBuffer, TFrameRecordDamage::kNone, &fullBuffer, ""},
      {&runCountTooHigh, TFrameRecordDamage::kRunCount, &runCountTooHigh,
       "Damaged frame record: its size (13 bytes) does not match its run count (2)."},
      {&oversized, TFrameRecordDamage::kTooLarge, &runCountTooHigh, skipped},
      {&runCountNegative, TFrameRecordDamage::kRunCount, &runCountNegative,
       "Damaged frame record: its size (18 bytes) does not match its run count (-1)."},
      {&intact, TFrameRecordDamage::kNone, &intact, ""},
  };
  Bytes film;
  for (const Step& step : steps) film.insert(film.end(), step.record->begin(), step.record->end());
  LoneRecords file(film);
  for (const Step& step : steps) {
    const TLoadFrameResult result = file.Next();
    EXPECT_TRUE(result.Ok && result.Damage == step.damage && result.Message == step.message) << result.Message;
    EXPECT_TRUE(file.Holds(*step.holds)) << step.message;
  }
  EXPECT_EQ(file.Next().Message, "LoadFrame: Size = 0") << "the end of the file";
  EXPECT_TRUE(file.GuardIntact());
}

TEST(LoadFrame, BufferSizeIsOneRunPerPixelAndNeverWraps) {
  EXPECT_EQ(FrameBufferSize(770, 695), 8u + 5u * 770 * 695);
  EXPECT_EQ(FrameBufferSize(20724, 20724), 8u + 5u * 20724 * 20724) << "the largest square that fits";
  // Sides that are not positive, or more pixels than a 32-bit record size describes.
  for (const auto& [width, height] : {std::pair{0, 10}, {10, -1}, {20725, 20725}, {429496728, 1}, {65536, 65536}})
    EXPECT_EQ(FrameBufferSize(width, height), 0u) << width << " x " << height;
}
