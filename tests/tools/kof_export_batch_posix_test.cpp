// kof export over many films as a user runs it: what is written and reported, and whose
// video an output name holds, within one batch and between runs into one folder.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <set>
#include <thread>

#include "kof_export/gif_comment.h"
#include "platform/export_leftovers.h"
#include "support/decoded_video.h"
#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"
#include "writer/film_writer.h"

using namespace filmwriter;
namespace fs = std::filesystem;

namespace {
constexpr int kNarrow = 6, kWide = 10;  // films of other widths are other films

KofRun ExportRun(const std::string& arguments) { return Kof("export " + arguments, "", true); }

// A film of pictures, each of the width and 4 rows high, in two colours by turns.
void WriteFilm(const fs::path& path, int width, int pictures = 2) {
  fs::create_directories(path.parent_path());
  SegmentSpec spec;
  for (int k = 0; k < pictures; ++k) spec.data.pictures.push_back(Picture::Filled(width, 4, 0x102030 << (k % 2)));
  WriteBytesToFile(path, BuildFilm({spec}));
}

int WidthOf(const fs::path& video) { return DecodeVideo(video).width; }

size_t FilesIn(const fs::path& folder) { return size_t(std::distance(fs::directory_iterator(folder), {})); }

bool Has(const KofRun& run, const std::string& text) { return run.out.find(text) != std::string::npos; }
}  // namespace

// A batch goes on past films it cannot export; names held by other videos are the tests' below.
TEST(KofExport, ABatchWritesTheGoodFilmsAndReportsTheDamagedOnes) {
  TempDir dir;
  const Bytes film = BuildFilm({SmallSegment("a")});
  for (const char* name : {"one.kof", "two.kof"}) WriteBytesToFile(dir / name, film);
  for (const char* name : {"damaged.kof", "broken.kof"})
    WriteBytesToFile(dir / name, Bytes(film.begin(), film.begin() + std::ptrdiff_t(film.size() / 2)));
  const fs::path out = dir / "out";

  const KofRun run = ExportRun(Quoted(dir / "one.kof") + " " + Quoted(dir / "damaged.kof") + " " +
                               Quoted(dir / "two.kof") + " " + Quoted(dir / "broken.kof") + " --out-dir " +
                               Quoted(out) + " --format mp4 -j 2");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run, "kof: 2 of 4 films exported; failed: " + (dir / "damaged.kof").string() + ", " +
                           (dir / "broken.kof").string()))
      << run.out;
  for (const char* name : {"one.mp4", "two.mp4"}) EXPECT_EQ(DecodeVideo(out / name).pictures.size(), 2u) << name;
  EXPECT_EQ(FilesIn(out), 2u) << "nothing of the damaged films";
}

// One kof export per film into one folder, as docs/kof.md's xargs and job runner recipes
// run it: lib/a/01.kof and lib/b/01.kof both map to 01.EXT, Lesson.kof and lesson.kof
// to one name on a case-insensitive file system. What tells a film's own video from
// another's: the film's SHA-256, as sha256sum prints it, in the file's comment tag; in a
// GIF, which has no tags, in a comment block.
TEST(KofExport, ARunSkipsItsFilmsOwnVideoAndRefusesANameAnotherFilmsVideoHolds) {
  TempDir dir;
  WriteFilm(dir / "a" / "01.kof", kNarrow);
  WriteFilm(dir / "b" / "01.kof", kWide);
  WriteFilm(dir / "a" / "Lesson.kof", kNarrow);
  WriteFilm(dir / "b" / "lesson.kof", kWide);
  const std::string sha256 = RunProgram("sha256sum", Quoted(dir / "a" / "01.kof")).out.substr(0, 64);
  ASSERT_EQ(sha256.find_first_not_of("0123456789abcdef"), std::string::npos) << sha256;
  for (const std::string format : {"mp4", "webm", "gif", "mkv"}) {
    SCOPED_TRACE(format);
    const fs::path out = dir / format, video = out / ("01." + format);
    const auto run = [&](const fs::path& film, const std::string& more = "") {
      return ExportRun(Quoted(film) + " --out-dir " + Quoted(out) + " --format " + format + more);
    };
    ASSERT_EQ(run(dir / "a" / "01.kof").exitCode, 0);
    const Bytes first = ReadBytesFromFile(video);
    const DecodedVideo decoded = DecodeVideo(video);
    EXPECT_EQ(decoded.pictures.size(), 2u);
    EXPECT_EQ(format == "gif" ? GifComments(video).at(0) : decoded.comment, "kof export source sha256:" + sha256);

    const KofRun other = run(dir / "b" / "01.kof");
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(Has(other, "kof: " + (dir / "b" / "01.kof").string() + ": " + video.string() +
                               " holds no video of this film"))
        << other.out;
    const KofRun again = run(dir / "a" / "01.kof");
    EXPECT_EQ(again.exitCode, 0) << again.out;
    EXPECT_TRUE(Has(again, "0 of 1 films exported, 1 skipped")) << again.out;
    EXPECT_EQ(ReadBytesFromFile(video), first) << "the film's own video stays as it was";

    EXPECT_EQ(run(dir / "b" / "01.kof", " --force").exitCode, 0);
    EXPECT_EQ(WidthOf(video), kWide);
    EXPECT_EQ(run(dir / "a" / "01.kof").exitCode, 1) << "the other film's video holds the name now";

    ASSERT_EQ(run(dir / "a" / "Lesson.kof").exitCode, 0);
    const KofRun lower = run(dir / "b" / "lesson.kof");
    EXPECT_EQ(lower.exitCode, 1);
    EXPECT_TRUE(Has(lower, (out / ("Lesson." + format)).string() + " holds no video of this film")) << lower.out;
    EXPECT_EQ(FilesIn(out), 2u) << "01 and Lesson, nothing else";
  }
}

// Within one batch the names are known before anything is written; between two runs at
// once, the one that finishes second finds the name taken.
TEST(KofExport, OneOutputNameGetsOneFilmWithinABatchAndBetweenRunsAtOnce) {
  TempDir dir;
  WriteFilm(dir / "a" / "Lesson.kof", kNarrow);
  WriteFilm(dir / "b" / "lesson.kof", kWide);
  const fs::path batchOut = dir / "batch";
  const KofRun batch = ExportRun(Quoted(dir / "a" / "Lesson.kof") + " " + Quoted(dir / "b" / "lesson.kof") +
                                 " --out-dir " + Quoted(batchOut) + " --format mp4");
  EXPECT_EQ(batch.exitCode, 1);
  EXPECT_TRUE(Has(batch, "kof: " + (dir / "b" / "lesson.kof").string() + ": " + (batchOut / "lesson.mp4").string() +
                             " is the name of " + (dir / "a" / "Lesson.kof").string() + "'s output"))
      << batch.out;
  EXPECT_EQ(FilesIn(batchOut), 1u);
  EXPECT_EQ(WidthOf(batchOut / "Lesson.mp4"), kNarrow);

  // Long enough for both runs to find the name free, so the check on completion decides.
  WriteFilm(dir / "a" / "01.kof", kNarrow, 3000);
  WriteFilm(dir / "b" / "01.kof", kWide, 3000);
  const fs::path out = dir / "together";
  const auto start = [&](const char* folder) {
    return std::async(std::launch::async, [&, folder] {
      return ExportRun(Quoted(dir / folder / "01.kof") + " --out-dir " + Quoted(out) + " --format mp4");
    });
  };
  auto a = start("a"), b = start("b");
  const KofRun ranA = a.get(), ranB = b.get();
  EXPECT_EQ(ranA.exitCode + ranB.exitCode, 1) << ranA.out << ranB.out;
  ASSERT_EQ(FilesIn(out), 1u) << "one video, no temporary file";
  EXPECT_EQ(WidthOf(out / "01.mp4"), ranA.exitCode == 0 ? kNarrow : kWide) << "the film that succeeded";
}

// A temporary video whose writer is gone (kof killed with SIGKILL, a machine that
// stopped) is removed by the next run into its folder; one a running process may still
// be writing stays, as does one named after another machine, whose processes cannot be
// seen from here.
TEST(KofExport, TheNextRunRemovesTemporaryVideosOfProcessesThatAreGone) {
  TempDir dir;
  WriteFilm(dir / "a.kof", kNarrow);
  const fs::path out = dir / "out";
  fs::create_directories(out);
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const auto temporary = [&](pid_t pid, bool otherMachine = false) {
    std::string name = TemporaryOutput(out / "x.mp4", pid).filename().string();
    if (otherMachine) name[5] = name[5] == '0' ? '1' : '0';  // .kof-MMMMMMMM-PID.tmp
    WriteBytesToFile(out / name, Bytes(10, 'x'));
    return out / name;
  };
  const fs::path running = temporary(getpid());
  const fs::path elsewhere = temporary(gone, true);
  for (const std::string& destination :
       {" --out-dir " + Quoted(out) + " --format mp4", " -o " + Quoted(out / "a.gif")}) {
    SCOPED_TRACE(destination);
    const fs::path abandoned = temporary(gone);
    ASSERT_EQ(ExportRun(Quoted(dir / "a.kof") + destination).exitCode, 0);
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(elsewhere));
  }
}

// An output name as long as the file system allows: the temporary file beside it has a
// short name of its own.
TEST(KofExportAndPack, WriteAnOutputWhoseNameIsNearlyAsLongAsTheFileSystemAllows) {
  TempDir dir;
  WriteFilm(dir / "a.kof", kNarrow);
  WriteBytesToFile(dir / "player.exe", Bytes(100, 'P'));
  const std::string name(241, 'n');  // 245 bytes with the extension; NAME_MAX is 255
  const KofRun exported = ExportRun(Quoted(dir / "a.kof") + " -o " + Quoted(dir / (name + ".mp4")));
  EXPECT_EQ(exported.exitCode, 0) << exported.out;
  EXPECT_EQ(WidthOf(dir / (name + ".mp4")), kNarrow);
  const KofRun packed = Kof("pack " + Quoted(dir / "a.kof") + " --player " + Quoted(dir / "player.exe") + " -o " +
                                Quoted(dir / (name + ".exe")),
                            "", true);
  EXPECT_EQ(packed.exitCode, 0) << packed.out;
  EXPECT_EQ(ReadBytesFromFile(dir / (name + ".exe")),
            AppendedFilm(Bytes(100, 'P'), "", ReadBytesFromFile(dir / "a.kof")));
}

// The batch makes each worker's unpack folder and removes it when it reaps the worker.
// Nothing else may remove it first: another program could take the freed name in
// between (here a squatter that takes every koP_ name as soon as it is free again) and
// would lose its folder and everything in it to the batch's clean-up.
TEST(KofExport, ABatchRemovesOnlyTheTemporaryFoldersItMade) {
  TempDir dir;
  const fs::path temp = dir / "tmp";
  fs::create_directories(temp);
  std::string films;
  for (char i = '0'; i < '6'; ++i) {
    const fs::path film = dir / (std::string(1, i) + ".kof");
    WriteFilm(film, kNarrow, 3);
    films += Quoted(film) + " ";
  }
  std::atomic<bool> stop = false;
  std::set<std::string> seen, squatted;
  std::thread squatter([&] {
    while (!stop) {
      for (int n = 0; n < 8; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "koP_%04d", n);
        std::error_code error;
        if (fs::exists(temp / name, error)) {
          seen.insert(name);
        } else if (seen.count(name) && !squatted.count(name) && fs::create_directory(temp / name, error)) {
          WriteBytesToFile(temp / name / "mine.txt", Bytes(3, 'x'));
          squatted.insert(name);
        }
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  const KofRun run = Kof("export " + films + "--out-dir " + Quoted(dir / "out") + " --format gif -j 2",
                         "TMPDIR=" + Quoted(temp), true);
  stop = true;
  squatter.join();
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_FALSE(seen.empty()) << "the batch made no folder";
  for (const std::string& name : squatted) EXPECT_TRUE(fs::exists(temp / name / "mine.txt")) << name;
  for (const auto& entry : fs::directory_iterator(temp))
    EXPECT_TRUE(squatted.count(entry.path().filename().string())) << "left behind: " << entry.path();
}
