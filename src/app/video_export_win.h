#pragma once
// File > Export video: the export box, the Save box, then kof-export.exe from the
// player's own folder as a child process while the film plays on (the job,
// video_export_job_win.h). Its progress reaches the main window, which shows it in a
// small progress box with Cancel. Cancel closes the child's standard input, which
// kof-export takes as a request to stop and remove what it wrote. At the end a note
// above the panel names the file; a click on it opens its folder with the file
// selected. A failure shows kof-export's own message.
#include <windows.h>

#include <filesystem>
#include <memory>

#include "session/video_export.h"
#include "app/video_export_job_win.h"
#include "controls/note_window_win.h"

class TWinPlayer;

struct TVideoExport {
  std::unique_ptr<TVideoExportJob> Job;
  std::unique_ptr<TNoteWindow> Note;
  std::filesystem::path Saved;  // the file the note names
  bool NoteOffersFolder = false;  // the note shown is the saved video's
  TVideoExportChoice LastChoice;  // the box opens with it
};

// Whether kof-export.exe is beside the player.
bool VideoExportAvailable(const TWinPlayer& player);
// File > Export video (Ctrl+E): the boxes, then the export; with one running, its
// progress box comes to the front.
void ExportVideo(TWinPlayer& player);
// WM_EXPORTPROGRESS and WM_EXPORTENDED.
void ShowExportProgress(TWinPlayer& player, LPARAM share);
void FinishVideoExport(TWinPlayer& player);
// The player closes: a running export is cancelled and waited for, waitMs at most, then
// ended.
void CancelVideoExport(TWinPlayer& player, DWORD waitMs = TVideoExportJob::kStopWaitMs);
// The progress box's keys (Tab, Enter, Escape) from the message loop; true when taken.
bool TakeExportBoxMessage(const TWinPlayer& player, MSG& message);
// The saved video's note is clicked, or Ctrl+Shift+E pressed while it shows: the folder
// opens with the file selected, and the note goes.
void ShowSavedVideoInFolder(TWinPlayer& player);
// A disabled Export video item was selected in a menu: the note says why.
void ExplainExportUnavailable(TWinPlayer& player);
