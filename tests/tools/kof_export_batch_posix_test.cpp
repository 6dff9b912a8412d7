// kof export over many films as a user runs it: what is written and reported, and what
// a run finds in its folder.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "support/decoded_video.h"
#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"
#include "writer/film_writer.h"

using namespace filmwriter;
namespace fs = std::filesystem;

namespace {
KofRun ExportRun(const std::string& arguments) { return Kof("export " + arguments, "", true); }
}  // namespace

TEST(KofExport, ABatchWritesTheGoodFilmsReportsTheDamagedOneAndKeepsOutputsThatExist) {
  TempDir dir;
  const Bytes film = BuildFilm({SmallSegment("a")});
  for (const char* name : {"one.kof", "two.kof", "three.kof"}) WriteBytesToFile(dir / name, film);
  WriteBytesToFile(dir / "damaged.kof", Bytes(film.begin(), film.begin() + std::ptrdiff_t(film.size() / 2)));
  const fs::path out = dir / "out";
  fs::create_directories(out);
  WriteBytesToFile(out / "three.mp4", Bytes(10, 'x'));
  const std::string batch = " --out-dir " + Quoted(out) + " --format mp4";

  const KofRun run = ExportRun(Quoted(dir / "one.kof") + " " + Quoted(dir / "damaged.kof") + " " +
                            Quoted(dir / "two.kof") + " " + Quoted(dir / "three.kof") + batch + " -j 2");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("kof: 2 of 4 films exported, 1 skipped (their outputs exist); failed: " +
                         (dir / "damaged.kof").string()),
            std::string::npos)
      << run.out;
  for (const char* name : {"one.mp4", "two.mp4"}) EXPECT_EQ(DecodeVideo(out / name).pictures.size(), 2u) << name;
  EXPECT_EQ(ReadBytesFromFile(out / "three.mp4"), Bytes(10, 'x'));
  EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 3) << "nothing of the damaged film";

  EXPECT_EQ(ExportRun(Quoted(dir / "three.kof") + batch + " --force").exitCode, 0);
  EXPECT_EQ(DecodeVideo(out / "three.mp4").pictures.size(), 2u) << "overwritten";
}

// A temporary video whose writer is gone (kof killed with SIGKILL, a machine that
// stopped) is removed by the next run into its folder; one a running process may still
// be writing stays, as does one named after another machine, whose processes cannot be
// seen from here.
TEST(KofExport, TheNextRunRemovesTemporaryVideosOfProcessesThatAreGone) {
  TempDir dir;
  WriteBytesToFile(dir / "a.kof", BuildFilm({SmallSegment("a")}));
  const fs::path out = dir / "out";
  fs::create_directories(out);
  char host[HOST_NAME_MAX + 1] = {};
  ASSERT_EQ(gethostname(host, sizeof(host) - 1), 0);
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const auto temporary = [&](const char* name, const std::string& machine, pid_t pid) {
    const fs::path path = out / (std::string(name) + ".kof-export-" + machine + "-" + std::to_string(pid));
    WriteBytesToFile(path, Bytes(10, 'x'));
    return path;
  };
  const fs::path running = temporary("x.mp4", host, getpid());
  const fs::path elsewhere = temporary("y.mp4", "another-machine", gone);
  for (const std::string& destination :
       {" --out-dir " + Quoted(out) + " --format mp4", " -o " + Quoted(out / "a.gif")}) {
    SCOPED_TRACE(destination);
    const fs::path abandoned = temporary("z.mp4", host, gone);
    ASSERT_EQ(ExportRun(Quoted(dir / "a.kof") + destination).exitCode, 0);
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(elsewhere));
  }
}
