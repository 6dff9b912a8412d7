// The video export job on real child processes (export_child_win.cpp): progress lines
// reach the window, Cancel stops a child that listens, destroying a job ends one that
// does not within the job's stop wait and removes what it left, and the warnings of a
// child that ends well are kept.
#include "app/video_export_job_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>

#include "session/video_export.h"
#include "film/temp_files.h"
#include "platform/export_leftovers.h"

namespace {
std::filesystem::path ChildProgram() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path() / L"rz_export_child.exe";
}

// A message-only window to receive the job's messages on this thread.
class TMessageWindow {
 public:
  TMessageWindow()
      : FWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~TMessageWindow() { DestroyWindow(FWindow); }
  HWND Handle() const { return FWindow; }
  // The lParam of the next message of that kind within ms; -1 when none came.
  LPARAM Wait(UINT kind, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    MSG message;
    while (GetTickCount64() < end) {
      if (PeekMessageW(&message, FWindow, kind, kind, PM_REMOVE)) return message.lParam;
      Sleep(10);
    }
    return -1;
  }

 private:
  HWND FWindow;
};

ULONGLONG MsToDestroy(std::unique_ptr<TVideoExportJob>& job) {
  const ULONGLONG start = GetTickCount64();
  job.reset();
  return GetTickCount64() - start;
}

TEST(VideoExportJob, ReportsProgressAndCancelStopsAListeningChild) {
  TMessageWindow window;
  auto job = std::make_unique<TVideoExportJob>();
  ASSERT_TRUE(job->Start(ChildProgram(), {"obedient"}, window.Handle()));
  EXPECT_EQ(window.Wait(WM_EXPORTPROGRESS, 20000), 250000);
  job->Cancel();
  EXPECT_TRUE(job->Cancelled);
  EXPECT_NE(window.Wait(WM_EXPORTENDED, 20000), -1);
  EXPECT_EQ(job->ExitCode(), 3u);
  EXPECT_EQ(job->LastErrors(), "stopped");
  EXPECT_LT(MsToDestroy(job), 2000u);
}

TEST(VideoExportJob, DestroyingEndsAChildThatDoesNotStopWithinTheWaitAndRemovesWhatItLeft) {
  // Destroying a running job, whether Cancel came first or not: closing the input is
  // asked, and the child that ignores it is ended after the wait. Its temporary output
  // and its unpacked film go; another process's temporary output of the same video stays.
  const TTempPath folder(CreatePlayerTempFolder());
  const std::filesystem::path out = folder.Path() / L"lesson.mp4";
  const std::filesystem::path named = out.wstring() + L".unpacked";  // where the child says it unpacked
  const std::filesystem::path others = TemporaryOutput(out, 1);  // another process's
  std::ofstream(others) << "another export";
  for (const bool cancelledFirst : {false, true}) {
    SCOPED_TRACE(cancelledFirst ? "cancelled first" : "destroyed at once");
    TMessageWindow window;
    auto job = std::make_unique<TVideoExportJob>();
    job->StopWaitMs = 300;
    job->Output = out;
    ASSERT_TRUE(job->Start(ChildProgram(), {"stubborn", out.string()}, window.Handle()));
    EXPECT_EQ(window.Wait(WM_EXPORTPROGRESS, 20000), 250000);
    std::string unpacked;
    std::getline(std::ifstream(named), unpacked);
    ASSERT_TRUE(std::filesystem::is_directory(unpacked)) << unpacked;
    if (cancelledFirst) job->Cancel();
    const ULONGLONG ms = MsToDestroy(job);
    EXPECT_GE(ms, 250u);
    EXPECT_LT(ms, 5000u);
    EXPECT_NE(window.Wait(WM_EXPORTENDED, 5000), -1);
    EXPECT_FALSE(std::filesystem::exists(unpacked)) << unpacked;
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) left.push_back(entry.path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector{others, named}));
    std::filesystem::remove(named);
  }
}

TEST(VideoExportJob, KeepsTheWarningsOfAChildThatEndsWell) {
  TMessageWindow window;
  TVideoExportJob job;
  ASSERT_TRUE(job.Start(ChildProgram(), {"warns"}, window.Handle()));
  EXPECT_NE(window.Wait(WM_EXPORTENDED, 20000), -1);
  EXPECT_EQ(job.ExitCode(), 0u);
  EXPECT_EQ(ExportWarnings(job.LastErrors()),
            (std::vector<std::string>{
                "segment 2: its frame rate is 0; skipped",
                "segment 3: a frame record is damaged; the rest of it is skipped (4 of 9 pictures exported)"}));
}

TEST(VideoExportJob, AMissingProgramIsNotStarted) {
  TVideoExportJob job;
  EXPECT_FALSE(job.Start(ChildProgram().parent_path() / L"no-such-program.exe", {}, nullptr));
}
}  // namespace
