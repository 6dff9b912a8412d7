// kof export stopped from outside, as a terminal, a shell or a machine stops it:
// Ctrl+C to one export, to a batch and to a shell's loop over films, and SIGKILL to a
// batch's worker or to one export. Nothing partial is left behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/export_leftovers.h"
#include "support/decoded_video.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"
#include "writer/film_writer.h"

using namespace filmwriter;
namespace fs = std::filesystem;

namespace {
// 300 pictures of 384 x 256 to export from 100 frames: each film takes far longer than
// a signal takes to arrive.
Bytes SlowFilm() {
  SegmentSpec spec;
  spec.data.samplesPerFrame = 3;
  std::vector<CursorSample> track;
  for (int k = 0; k < 100; ++k) {
    spec.data.pictures.push_back(Picture::Filled(384, 256, 0xFFFFFF - uint32_t(k)));
    for (int s = 0; s < 3; ++s) track.push_back({0, uint16_t(k + 20 * s), uint16_t(k)});
  }
  spec.data.cursorTrack = track;
  return BuildFilm({spec});
}

// The temporary videos being written in folder.
std::vector<std::string> PartialFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name.starts_with(".kof-") && name.ends_with(".tmp")) names.push_back(name);
  }
  return names;
}

// The process that writes a temporary video: its name ends in "-PID.tmp".
pid_t WriterOf(const std::string& partial) { return pid_t(std::stol(partial.substr(partial.rfind('-') + 1))); }

// Waits until a temporary video is in folder (and, when given, the complete file too);
// false when the process ended first or a minute passed.
bool AwaitPartialFile(pid_t process, const fs::path& folder, const fs::path& complete = {}) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int status = 0;
  while (PartialFiles(folder).empty() || (!complete.empty() && !fs::exists(complete))) {
    if (waitpid(process, &status, WNOHANG) != 0 || std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

bool DiedOf(int status, int signal) { return WIFSIGNALED(status) && WTERMSIG(status) == signal; }

// Waits for a process to end; its status.
int Waited(pid_t process) {
  int status = 0;
  EXPECT_EQ(waitpid(process, &status, 0), process);
  return status;
}

// A folder with a.kof, a film slow to export, b.kof, a small one, and the folders out
// (for the videos) and tmp (kof's temporary folder).
class KofExportStopped : public ::testing::Test {
 protected:
  KofExportStopped() {
    WriteBytesToFile(dir / "a.kof", slow);
    WriteBytesToFile(dir / "b.kof", BuildFilm({SmallSegment("b")}));
    fs::create_directories(out);
    fs::create_directories(tmp);
  }
  // kof with args, its temporary folder tmp and standard error into errors.
  pid_t StartKof(const std::vector<std::string>& args) const { return StartProgram(RZ_KOF_PATH, args, tmp, errors); }
  std::string Errors() const {
    const Bytes said = ReadBytesFromFile(errors);
    return std::string(said.begin(), said.end());
  }

  TempDir dir;
  const Bytes slow = SlowFilm();
  const fs::path out = dir / "out", tmp = dir / "tmp", errors = dir / "errors.txt";
};
}  // namespace

// Ctrl+C while a video is being written, by one export or by a batch's workers: kof
// ends by SIGINT itself, and neither a partial video nor an unpacked segment is left.
TEST_F(KofExportStopped, InterruptionLeavesNoPartialFile) {
  for (const char* name : {"c.kof", "d.kof"}) WriteBytesToFile(dir / name, slow);
  const std::vector<std::string> one = {"export", (dir / "a.kof").string(), "-o", (out / "a.mp4").string()};
  const std::vector<std::string> batch = {"export", (dir / "a.kof").string(), (dir / "c.kof").string(),
                                          (dir / "d.kof").string(), "--out-dir", out.string(), "--format", "mp4",
                                          "-j", "2"};
  for (const auto& args : {one, batch}) {
    SCOPED_TRACE(args.size() == one.size() ? "one film" : "a batch");
    const pid_t kof = StartKof(args);
    ASSERT_TRUE(AwaitPartialFile(kof, out)) << "a video on its way";
    kill(kof, SIGINT);
    const int status = Waited(kof);
    EXPECT_TRUE(DiedOf(status, SIGINT)) << status;
    EXPECT_TRUE(fs::is_empty(out)) << "no partial file, and a batch's workers were stopped, not left to finish";
    EXPECT_TRUE(fs::is_empty(tmp)) << "the unpacked segments are removed";
  }
}

// Ctrl+C at a terminal reaches the shell and kof alike. A shell stops its loop only
// when the command it waited for died of the signal; one that exited, even with 130,
// counts as having dealt with it, and the next film would start.
TEST_F(KofExportStopped, CtrlCStopsAShellLoopOverFilms) {
  const std::string loop = "for film in a b; do \"$0\" export \"$1/$film.kof\" -o \"$2/$film.mp4\"; done";
  const pid_t shell = StartProgram("/bin/bash", {"-c", loop, RZ_KOF_PATH, dir.path().string(), out.string()}, tmp,
                                   errors, true);
  ASSERT_TRUE(AwaitPartialFile(shell, out)) << "the first film on its way";
  kill(-shell, SIGINT);
  const int status = Waited(shell);
  EXPECT_TRUE(DiedOf(status, SIGINT)) << status;
  EXPECT_TRUE(fs::is_empty(out)) << "the second film was not started";
  EXPECT_TRUE(fs::is_empty(tmp));
}

// A worker ended at once, with no chance to clean up (SIGKILL, a crash, the
// out-of-memory killer): the batch removes its temporary video and unpacked segments,
// reports the film and goes on with the others.
TEST_F(KofExportStopped, AWorkerKilledMidExportLeavesNothing) {
  const pid_t kof = StartKof({"export", (dir / "a.kof").string(), (dir / "b.kof").string(), "--out-dir", out.string(),
                              "--format", "mp4", "-j", "2"});
  ASSERT_TRUE(AwaitPartialFile(kof, out, out / "b.mp4")) << "a's video on its way, b's done";
  ASSERT_EQ(kill(WriterOf(PartialFiles(out).front()), SIGKILL), 0);
  const int status = Waited(kof);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(Errors().find("kof: " + (dir / "a.kof").string() + ": its export ended by signal 9"), std::string::npos)
      << Errors();
  EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 1) << "b's video, nothing of a's";
  EXPECT_EQ(DecodeVideo(out / "b.mp4").pictures.size(), 2u);
  EXPECT_TRUE(fs::is_empty(tmp)) << "a's unpacked segments are removed";
}

namespace {
// kof export with --progress as the player runs it: standard input and output are pipes.
struct PipedKof {
  pid_t pid = -1;
  int input = -1;   // kof's standard input, written here
  FILE* output = nullptr;  // kof's standard output, read here
};

// With errors, standard error goes into that file.
PipedKof StartPipedKof(const std::vector<std::string>& args, const fs::path& errors = {}) {
  int in[2], out[2];
  PipedKof kof;
  if (pipe(in) != 0 || pipe(out) != 0) return kof;
  kof.pid = fork();
  if (kof.pid == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    if (!errors.empty()) dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    for (const int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    std::vector<char*> argv{const_cast<char*>(RZ_KOF_PATH), const_cast<char*>("export")};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(RZ_KOF_PATH, argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  kof.input = in[1];
  kof.output = fdopen(out[0], "r");
  return kof;
}

// The next progress line, "DONE TOTAL"; false at the end of the output.
bool NextProgress(FILE* output, double& done, double& total) {
  char line[128];
  if (std::fgets(line, sizeof(line), output) == nullptr) return false;
  return std::sscanf(line, "%lf %lf", &done, &total) == 2;
}

// Reads kof's output to its end and waits for it; its status.
int Finish(PipedKof& kof) {
  for (double done, total; NextProgress(kof.output, done, total);) {
  }
  int status = 0;
  EXPECT_EQ(waitpid(kof.pid, &status, 0), kof.pid);
  std::fclose(kof.output);
  return status;
}

std::vector<std::string> FoldersIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
}  // namespace

// One export ended at once (the player's last resort for one that does not stop) leaves
// its temporary video and its unpacked film: the next export removes them; the folders
// of a process that still runs and the unmarked ones (a player's) stay.
TEST_F(KofExportStopped, WhatAKilledExportLeftIsRemovedByTheNextExport) {
  fs::create_directories(tmp / "koP_0100");
  fs::create_directories(tmp / "koP_0101");
  MarkUnpackFolder(tmp / "koP_0101");  // this test's own, and it runs
  const pid_t kof = StartKof({"export", (dir / "a.kof").string(), "-o", (out / "a.mp4").string()});
  ASSERT_TRUE(AwaitPartialFile(kof, out)) << "a's video on its way";
  ASSERT_EQ(kill(WriterOf(PartialFiles(out).front()), SIGKILL), 0);
  Waited(kof);
  ASSERT_EQ(FoldersIn(tmp).size(), 3u) << "its unpacked film beside the two";
  const int status = Waited(StartKof({"export", (dir / "b.kof").string(), "-o", (out / "b.mp4").string()}));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(PartialFiles(out).empty());
  EXPECT_EQ(FoldersIn(tmp), (std::vector<std::string>{"koP_0100", "koP_0101"}));
}

// The player's Cancel is the end of kof's standard input. Cancel after the first progress
// line stops the export with the old OUT left as it was. Cancel just as the last picture
// is done: until the complete video is moved to OUT the export is cancelled, says so and
// leaves OUT as it was; once it is moved, the export has succeeded. Whenever the stop
// lands, kof never ends by the signal with a new OUT in place, nor exits 0 with the old
// one, and leaves no partial file. Without a stop, the progress lines grow to the whole.
TEST_F(KofExportStopped, CancelThroughStandardInputLeavesTheOldOutputOrSucceeds) {
  const fs::path video = out / "a.webm";
  const Bytes old(5, 'o');  // the user's file, which they agreed to overwrite
  constexpr int kFirstLine = -2, kNoStop = -1;
  for (const int delayMs : {kFirstLine, 0, 10, 50, 200, kNoStop}) {
    SCOPED_TRACE(delayMs == kNoStop      ? "no stop"
                 : delayMs == kFirstLine ? "after the first progress line"
                                         : std::to_string(delayMs) + " ms after the last progress line");
    WriteBytesToFile(video, old);
    PipedKof kof = StartPipedKof({(dir / "a.kof").string(), "--progress", "-o", video.string()}, errors);
    ASSERT_GT(kof.pid, 0);
    double done = 0, total = 1, last = 0;
    while (done < total && NextProgress(kof.output, done, total) && delayMs != kFirstLine) {
      EXPECT_GE(done, last);
      EXPECT_LE(done, total + 1e-9);
      last = done;
    }
    if (delayMs == kFirstLine) {
      close(kof.input);
      EXPECT_TRUE(DiedOf(Finish(kof), SIGTERM));
      EXPECT_EQ(ReadBytesFromFile(video), old);
      EXPECT_TRUE(PartialFiles(out).empty());
      continue;
    }
    EXPECT_NEAR(done, total, 1e-6) << "the last line tells the whole";
    EXPECT_NEAR(total, 10.0, 0.5) << "seconds of film: 100 frames at 10 a second";
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(delayMs, 0)));
    if (delayMs >= 0) close(kof.input);
    const int status = Finish(kof);
    if (delayMs < 0) close(kof.input);
    if (DiedOf(status, SIGTERM)) {
      EXPECT_GE(delayMs, 0);
      EXPECT_EQ(ReadBytesFromFile(video), old);
      EXPECT_NE(Errors().find("kof: interrupted; " + video.string() + " is not written"), std::string::npos)
          << Errors();
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      EXPECT_EQ(DecodeVideo(video).pictures.size(), 300u);
    }
    EXPECT_TRUE(PartialFiles(out).empty());
  }
}
