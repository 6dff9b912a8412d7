#include "app/video_export_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "session/access_keys.h"
#include "session/command_ids.h"
#include "app/message_boxes_win.h"
#include "session/panel_layout.h"
#include "app/player_win.h"
#include "session/resume_tracker.h"
#include "app/resume_win.h"
#include "session/video_export.h"
#include "film/segment_list.h"
#include "platform/wide_text_win.h"

namespace {
constexpr wchar_t kExportProgram[] = L"kof-export.exe";
// How long the notes stay.
constexpr uint32_t kSavedNoteMs = 8000;
constexpr uint32_t kUnavailableNoteMs = 4000;

std::filesystem::path ExportProgram(const TWinPlayer& player) { return player.ProgramPath.parent_path() / kExportProgram; }

std::wstring Text(const TWinPlayer& player, TMessageText text) { return Utf8ToWide(player.Texts.Message(text)); }

// --- The export box -----------------------------------------------------------------

struct TExportBoxState {
  TWinPlayer* Player;
  TVideoExportChoice Choice;
};

const int kRangeButtons[] = {IDC_EXPORT_WHOLE, IDC_EXPORT_SEGMENT, IDC_EXPORT_FROM_HERE};
const int kSizeButtons[] = {IDC_EXPORT_FILM_SIZE, IDC_EXPORT_HALF, IDC_EXPORT_WIDTH};

// The controls the export box's labels (kExportBoxLabels) go to, in their order.
constexpr int kLabelledControls[] = {IDC_EXPORT_FORMAT_LABEL, IDC_EXPORT_RANGE,     IDC_EXPORT_WHOLE,
                                     IDC_EXPORT_SEGMENT,      IDC_EXPORT_FROM_HERE, IDC_EXPORT_SIZE,
                                     IDC_EXPORT_FILM_SIZE,    IDC_EXPORT_HALF,      IDC_EXPORT_WIDTH,
                                     IDOK,                    IDCANCEL};
static_assert(std::size(kLabelledControls) == std::size(kExportBoxLabels));

void SetBoxTexts(HWND box, const TWinPlayer& player) {
  std::vector<std::string> labels;
  for (const TMessageText label : kExportBoxLabels) labels.push_back(player.Texts.Message(label));
  labels = WithAccessKeys(labels);
  SetWindowTextW(box, Text(player, TMessageText::kExportCaption).c_str());
  for (size_t i = 0; i < labels.size(); ++i) SetDlgItemTextW(box, kLabelledControls[i], Utf8ToWide(labels[i]).c_str());
  const std::wstring formats[] = {L"MP4 (H.264, AAC)", L"WebM (VP9, Opus)", L"GIF", L"MKV (H.264, AAC)",
                                  Text(player, TMessageText::kExportLosslessMkv)};
  for (const std::wstring& format : formats)
    SendDlgItemMessageW(box, IDC_EXPORT_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(format.c_str()));
}

// Size has no meaning for a lossless video, and the width field only with Width.
void EnableSizeControls(HWND box) {
  const auto format = static_cast<TVideoFormat>(SendDlgItemMessageW(box, IDC_EXPORT_FORMAT, CB_GETCURSEL, 0, 0));
  const bool sized = format != TVideoFormat::kLosslessMkv;
  for (const int id : kSizeButtons) EnableWindow(GetDlgItem(box, id), sized);
  EnableWindow(GetDlgItem(box, IDC_EXPORT_WIDTH_VALUE), sized && IsDlgButtonChecked(box, IDC_EXPORT_WIDTH) != 0);
}

void ShowChoice(HWND box, const TVideoExportChoice& choice) {
  SendDlgItemMessageW(box, IDC_EXPORT_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(choice.Format), 0);
  CheckRadioButton(box, IDC_EXPORT_WHOLE, IDC_EXPORT_FROM_HERE, kRangeButtons[static_cast<int>(choice.Range)]);
  CheckRadioButton(box, IDC_EXPORT_FILM_SIZE, IDC_EXPORT_WIDTH, kSizeButtons[static_cast<int>(choice.Size)]);
  if (choice.Width > 0) SetDlgItemInt(box, IDC_EXPORT_WIDTH_VALUE, static_cast<UINT>(choice.Width), FALSE);
  EnableSizeControls(box);
}

TVideoExportChoice ReadChoice(HWND box) {
  TVideoExportChoice choice;
  choice.Format = static_cast<TVideoFormat>(
      std::clamp<LRESULT>(SendDlgItemMessageW(box, IDC_EXPORT_FORMAT, CB_GETCURSEL, 0, 0), 0, 4));
  for (int i = 0; i < 3; ++i) {
    if (IsDlgButtonChecked(box, kRangeButtons[i]) != 0) choice.Range = static_cast<TVideoRange>(i);
    if (IsDlgButtonChecked(box, kSizeButtons[i]) != 0) choice.Size = static_cast<TVideoSize>(i);
  }
  BOOL read = FALSE;
  const UINT width = GetDlgItemInt(box, IDC_EXPORT_WIDTH_VALUE, &read, FALSE);
  choice.Width = read ? static_cast<int32_t>(std::min<UINT>(width, 100000)) : 0;
  return choice;
}

INT_PTR CALLBACK ExportBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<TExportBoxState*>(GetWindowLongPtrW(box, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      state = reinterpret_cast<TExportBoxState*>(lParam);
      SetBoxTexts(box, *state->Player);
      ShowChoice(box, state->Choice);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: state->Choice = ReadChoice(box); EndDialog(box, IDOK); return TRUE;
        case IDCANCEL: EndDialog(box, IDCANCEL); return TRUE;
        case IDC_EXPORT_FORMAT:
        case IDC_EXPORT_FILM_SIZE:
        case IDC_EXPORT_HALF:
        case IDC_EXPORT_WIDTH: EnableSizeControls(box); return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

// The export box with the last choice; false when the user cancels.
bool AskChoice(TWinPlayer& player, TVideoExportChoice& choice) {
  TExportBoxState state{&player, choice};
  if (DialogBoxParamW(player.Instance, L"EXPORTBOX", player.MainWindow, ExportBoxProc,
                      reinterpret_cast<LPARAM>(&state)) != IDOK)
    return false;
  choice = state.Choice;
  return true;
}

// --- The Save box -------------------------------------------------------------------

const wchar_t* FormatFilter(TVideoFormat format) {
  switch (format) {
    case TVideoFormat::kMp4: return L"MP4 (*.mp4)\0*.mp4\0";
    case TVideoFormat::kWebM: return L"WebM (*.webm)\0*.webm\0";
    case TVideoFormat::kGif: return L"GIF (*.gif)\0*.gif\0";
    case TVideoFormat::kMkv:
    case TVideoFormat::kLosslessMkv: return L"MKV (*.mkv)\0*.mkv\0";
  }
  return L"";
}

std::filesystem::path AskOutput(const TWinPlayer& player, const std::filesystem::path& film,
                                const TVideoExportChoice& choice, const TVideoExportPlace& place) {
  std::wstring fileName(32768, L'\0');
  const std::wstring proposed = Utf8ToWide(ProposedVideoName(WideToUtf8(film.stem().wstring()), choice, place));
  std::copy(proposed.begin(), proposed.end(), fileName.begin());
  const std::wstring title = Text(player, TMessageText::kExportCaption);
  const std::wstring folder = film.parent_path().wstring();
  const std::wstring extension = Utf8ToWide(VideoExtension(choice.Format) + 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = player.MainWindow;
  dialog.lpstrFilter = FormatFilter(choice.Format);
  dialog.lpstrFile = fileName.data();
  dialog.nMaxFile = static_cast<DWORD>(fileName.size());
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  dialog.lpstrDefExt = extension.c_str();
  if (!GetSaveFileNameW(&dialog)) return {};
  fileName.resize(wcslen(fileName.c_str()));
  return fileName;
}

// --- The progress box ---------------------------------------------------------------

// The box's job comes with WM_INITDIALOG; the job outlives the box, which it destroys.
INT_PTR CALLBACK ProgressBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(box, DWLP_USER, lParam);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    if (auto* job = reinterpret_cast<TVideoExportJob*>(GetWindowLongPtrW(box, DWLP_USER))) job->Cancel();
    EnableWindow(GetDlgItem(box, IDCANCEL), FALSE);
    return TRUE;
  }
  return FALSE;
}

HWND OpenProgressBox(const TWinPlayer& player, TVideoExportJob& job) {
  HWND box = CreateDialogParamW(player.Instance, L"EXPORTPROGRESS", player.MainWindow, ProgressBoxProc,
                                reinterpret_cast<LPARAM>(&job));
  if (box == nullptr) return nullptr;
  SetWindowTextW(box, Text(player, TMessageText::kExportCaption).c_str());
  const std::string cancel = WithAccessKeys({player.Texts.Message(TMessageText::kCancel)}).front();
  SetDlgItemTextW(box, IDCANCEL, Utf8ToWide(cancel).c_str());
  SetDlgItemTextW(box, IDC_EXPORT_PROGRESS_TEXT,
                  Utf8ToWide(player.Texts.Format(TMessageText::kExportProgressFmt, std::string("0%"))).c_str());
  return box;
}

// --- The end ------------------------------------------------------------------------

void OpenFolderOf(const std::filesystem::path& file) {
  const std::wstring parameters = L"/select,\"" + file.wstring() + L"\"";
  ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void ShowNote(TWinPlayer& player, const std::wstring& text, uint32_t ms, bool opensFolder) {
  TVideoExport& exporting = player.Export;
  if (player.MainWindow == nullptr) return;
  if (!exporting.Note) exporting.Note = std::make_unique<TNoteWindow>(player.MainWindow, player.Scale, kStripColour);
  exporting.Note->SetText(text);
  exporting.NoteOffersFolder = opensFolder;
  exporting.Note->OnClick = [&player] {
    ShowSavedVideoInFolder(player);  // only for the saved video's note
    if (player.Export.Note) player.Export.Note->Hide();
  };
  ShowNoteAboveThePanel(player, *exporting.Note);
  exporting.Note->Announce();
  exporting.Note->HideAfter(ms);
}

// Where the film is as the user asks: the segment and the time of its picture.
TVideoExportPlace PlaceNow(const TWinPlayer& player) {
  TVideoExportPlace place;
  place.Segment = std::max(player.Engine.CurrentSegment(), 0);
  if (const TSegmentInfo* segment = player.Engine.CurrentSegmentInfo(); segment && segment->FramesPerSecond > 0)
    place.Seconds = std::max(player.Engine.ShownFrame(), 0) / static_cast<double>(segment->FramesPerSecond);
  return place;
}

// The width of what is exported: the segment's, or the widest segment's for the film.
int32_t ExportedWidth(const TWinPlayer& player, TVideoRange range, int32_t segmentIndex) {
  int32_t width = 0;
  for (int32_t i = 0; i < player.Film.Segments().Count(); ++i)
    if (const TSegmentInfo* segment = player.Film.Segments().Get(i))
      if (range == TVideoRange::kWholeFilm || i == segmentIndex) width = std::max(width, segment->Width);
  return width;
}
}  // namespace

bool VideoExportAvailable(const TWinPlayer& player) {
  std::error_code error;
  return std::filesystem::is_regular_file(ExportProgram(player), error);
}

void ExportVideo(TWinPlayer& player) {
  if (player.Export.Job) {
    if (player.Export.Job->ProgressBox != nullptr) SetForegroundWindow(player.Export.Job->ProgressBox);
    return;
  }
  if (player.Film.Segments().Count() < 1) return;
  if (!VideoExportAvailable(player)) return ExplainExportUnavailable(player);
  TVideoExportPlace place = PlaceNow(player);
  TVideoExportChoice choice = player.Export.LastChoice;
  if (!AskChoice(player, choice)) return;
  player.Export.LastChoice = choice;
  place.Width = ExportedWidth(player, choice.Range, place.Segment);
  const std::filesystem::path output = AskOutput(player, player.Film.Path(), choice, place);
  if (output.empty()) return;
  auto job = std::make_unique<TVideoExportJob>();
  job->Output = output;
  const auto args =
      VideoExportArguments(choice, place, WideToUtf8(player.Film.Path().wstring()), WideToUtf8(output.wstring()));
  if (!job->Start(ExportProgram(player), args, player.MainWindow)) {
    const std::string why = job->StartError();
    const std::string reason = WideToUtf8(ExportProgram(player).wstring()) + (why.empty() ? "" : ": " + why);
    ShowBox(player.MainWindow, player.Texts.Format(TMessageText::kExportFailedFmt, reason),
            player.Texts.Message(TMessageText::kError), MB_OK | MB_ICONERROR);
    return;
  }
  job->ProgressBox = OpenProgressBox(player, *job);
  player.Export.Job = std::move(job);
}

void ShowExportProgress(TWinPlayer& player, LPARAM millionths) {
  TVideoExportJob* job = player.Export.Job.get();
  if (job == nullptr || job->ProgressBox == nullptr || job->Cancelled) return;
  const double share = static_cast<double>(millionths) / 1e6;
  std::string text = player.Texts.Format(TMessageText::kExportProgressFmt, std::to_string(ExportPercent(share)) + "%");
  const double elapsed = static_cast<double>(GetTickCount64() - job->Started) / 1000.0;
  if (const auto left = ExportSecondsLeft(share, elapsed))
    text += ", " + player.Texts.Format(TMessageText::kExportTimeLeftFmt, ClockText(*left));
  SetDlgItemTextW(job->ProgressBox, IDC_EXPORT_PROGRESS_TEXT, Utf8ToWide(text).c_str());
}

void FinishVideoExport(TWinPlayer& player) {
  std::unique_ptr<TVideoExportJob> job = std::move(player.Export.Job);
  if (!job) return;
  const DWORD code = job->ExitCode();
  const bool cancelled = job->Cancelled;
  const std::filesystem::path output = job->Output;
  const std::string errors = job->LastErrors();
  job.reset();
  if (cancelled) return;
  if (code == 0) {
    player.Export.Saved = output;
    const std::string name = WideToUtf8(output.filename().wstring());
    ShowNote(player,
             Utf8ToWide(ExportSavedText(player.Texts, name, ExportWarnings(errors))) + L"\n" +
                 Text(player, TMessageText::kExportShowInFolder),
             kSavedNoteMs, true);
    return;
  }
  ShowBox(player.MainWindow, player.Texts.Format(TMessageText::kExportFailedFmt, errors),
          player.Texts.Message(TMessageText::kError), MB_OK | MB_ICONERROR);
}

void CancelVideoExport(TWinPlayer& player, DWORD waitMs) {
  if (!player.Export.Job) return;
  player.Export.Job->Cancel();
  player.Export.Job->StopWaitMs = waitMs;
  player.Export.Job.reset();
}

bool TakeExportBoxMessage(const TWinPlayer& player, MSG& message) {
  const TVideoExportJob* job = player.Export.Job.get();
  return job != nullptr && job->ProgressBox != nullptr && IsDialogMessageW(job->ProgressBox, &message);
}

void ShowSavedVideoInFolder(TWinPlayer& player) {
  TVideoExport& exporting = player.Export;
  if (!exporting.Note || !exporting.Note->Visible() || !exporting.NoteOffersFolder || exporting.Saved.empty()) return;
  OpenFolderOf(exporting.Saved);
  exporting.Note->Hide();
}

void ExplainExportUnavailable(TWinPlayer& player) {
  ShowNote(player, Text(player, TMessageText::kExportUnavailable), kUnavailableNoteMs, false);
}
