#pragma once
// File > Export video: the export box, the Save box, then kof-export.exe from the
// player's own folder as a child process while the film plays on. A thread reads the
// progress lines kof-export writes (kof export --progress) and posts them to the main
// window, which shows them in a small progress box with Cancel. Cancel closes the
// child's standard input, which kof-export takes as a request to stop and remove what
// it wrote. At the end a note above the panel names the file; a click on it opens its
// folder with the file selected. A failure shows kof-export's own message.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "app/video_export.h"
#include "controls/note_window_win.h"

class TPlayer;

// Posted to the main window by the export's reader thread: a share done (lParam, in
// millionths), and the child's end.
constexpr UINT WM_EXPORTPROGRESS = WM_APP + 4;
constexpr UINT WM_EXPORTENDED = WM_APP + 5;

// One running export: the child process, its pipes and threads, and the progress box.
// Destroying a job never waits long: a child still running is asked to stop, given
// kStopWaitMs to remove what it wrote, then ended.
struct TVideoExportJob {
  static constexpr DWORD kStopWaitMs = 10000;

  TVideoExportJob() = default;
  TVideoExportJob(const TVideoExportJob&) = delete;
  TVideoExportJob& operator=(const TVideoExportJob&) = delete;
  ~TVideoExportJob();

  // Asks the child to stop by closing its standard input; it ends on its own.
  void Cancel();

  std::filesystem::path Output;
  HANDLE Process = nullptr;
  HANDLE Input = nullptr;  // the child's standard input; closed to cancel
  HANDLE Progress = nullptr;  // its standard output, read by Reader
  HANDLE Errors = nullptr;   // its standard error, read by ErrorReader
  std::thread Reader, ErrorReader;
  std::string ErrorText;  // written by ErrorReader, read after it is joined
  HWND ProgressBox = nullptr;
  ULONGLONG Started = 0;
  bool Cancelled = false;
};

struct TVideoExport {
  std::unique_ptr<TVideoExportJob> Job;
  std::unique_ptr<TNoteWindow> Note;
  std::filesystem::path Saved;  // the file the note names
  TVideoExportChoice LastChoice;  // the box opens with it
};

// Whether kof-export.exe is beside the player.
bool VideoExportAvailable(const TPlayer& player);
// File > Export video (Ctrl+E): the boxes, then the export; with one running, its
// progress box comes to the front.
void ExportVideo(TPlayer& player);
// WM_EXPORTPROGRESS and WM_EXPORTENDED.
void ShowExportProgress(TPlayer& player, LPARAM share);
void FinishVideoExport(TPlayer& player);
// The player closes: a running export is cancelled and waited for (kStopWaitMs at most).
void CancelVideoExport(TPlayer& player);
// The progress box's keys (Tab, Enter, Escape) from the message loop; true when taken.
bool TakeExportBoxMessage(const TPlayer& player, MSG& message);
// A disabled Export video item was selected in a menu: the note says why.
void ExplainExportUnavailable(TPlayer& player);
