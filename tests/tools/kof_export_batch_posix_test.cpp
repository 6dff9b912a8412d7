// kof export over many films as a user runs it, and interrupted: what is written,
// what is reported, and that nothing partial is left behind.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

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

namespace {
// Starts kof with the arguments, SIGINT at its default, TMPDIR set and standard error
// into a file; returns its process id.
pid_t StartKof(const std::vector<std::string>& args, const fs::path& tmp, const fs::path& errors) {
  std::vector<std::string> env = {"TMPDIR=" + tmp.string()};
  for (char** e = environ; *e != nullptr; ++e)
    if (!std::string(*e).starts_with("TMPDIR=")) env.emplace_back(*e);
  std::vector<char*> argv{const_cast<char*>(RZ_KOF_PATH)}, envp;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, RZ_KOF_PATH, &actions, &attributes, argv.data(), envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return pid;
}

size_t PartialFiles(const fs::path& folder) {
  return size_t(std::count_if(fs::directory_iterator(folder), {}, [](const fs::directory_entry& e) {
    return e.path().filename().string().find(".kof-export-") != std::string::npos;
  }));
}
}  // namespace

// Ctrl+C while a video is being written, by one export or by a batch's workers: kof
// ends with 128 + SIGINT, and neither a partial video nor an unpacked segment is left.
// Each film takes far longer to export than the signal takes to arrive.
TEST(KofExport, InterruptionLeavesNoPartialFile) {
  TempDir dir;
  SegmentSpec spec;
  spec.data.samplesPerFrame = 3;  // 300 pictures to export from 100 frames
  std::vector<CursorSample> track;
  for (int k = 0; k < 100; ++k) {
    spec.data.pictures.push_back(Picture::Filled(384, 256, 0xFFFFFF - uint32_t(k)));
    for (int s = 0; s < 3; ++s) track.push_back({0, uint16_t(k + 20 * s), uint16_t(k)});
  }
  spec.data.cursorTrack = track;
  const Bytes film = BuildFilm({spec});
  for (const char* name : {"a.kof", "b.kof", "c.kof"}) WriteBytesToFile(dir / name, film);
  const fs::path out = dir / "out", tmp = dir / "tmp";
  const std::vector<std::string> one = {(dir / "a.kof").string(), "-o", (out / "a.mp4").string()};
  const std::vector<std::string> batch = {(dir / "a.kof").string(), (dir / "b.kof").string(),
                                          (dir / "c.kof").string(), "--out-dir", out.string(), "--format", "mp4",
                                          "-j", "2"};
  for (const auto& args : {one, batch}) {
    SCOPED_TRACE(args.size() == one.size() ? "one film" : "a batch");
    fs::create_directories(out);
    fs::create_directories(tmp);
    std::vector<std::string> command = {"export"};
    command.insert(command.end(), args.begin(), args.end());
    const pid_t kof = StartKof(command, tmp, dir / "errors.txt");
    int status = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (PartialFiles(out) == 0 && waitpid(kof, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GE(PartialFiles(out), 1u) << "a video on its way";
    kill(kof, SIGINT);
    ASSERT_EQ(waitpid(kof, &status, 0), kof);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGINT) << status;
    EXPECT_TRUE(fs::is_empty(out)) << "no partial file, and a batch's workers were stopped, not left to finish";
    EXPECT_TRUE(fs::is_empty(tmp)) << "the unpacked segments are removed";
    fs::remove_all(out);
    fs::remove_all(tmp);
  }
}
