// The main routine, in its fixed order: texts (in the language the user chose) and the
// language table, the temporary folder, the main window (whose creation handler loads
// and starts the film), the message loop, and the clean-up.
#include <windows.h>

#include <ole2.h>

#include "app/language_win.h"
#include "app/main_window_win.h"
#include "app/player_win.h"
#include "platform/wide_text_win.h"
#include "film/film_loader.h"
#include "film/ko_error.h"
#include "film/temp_files.h"

namespace {
// The language table of a film executable; none for a plain player.
std::string ReadOwnLanguageBlock(const TWinPlayer& player) {
  try {
    return ReadLanguageBlock(player.ProgramPath);
  } catch (const EkoError&) {
    return {};
  }
}

// A folder that cannot be made is said at once: no segment could be unpacked.
void CreateTempFolder(TWinPlayer& player) {
  try {
    player.TempFolder = CreatePlayerTempFolder();
  } catch (const EkoError& error) {
    ShowBox(nullptr, player.Texts.Message(TMessageText::kCannotCreateTempFile) + "\r\n" + error.what(),
            player.Texts.Message(TMessageText::kError), MB_OK | MB_ICONERROR);
  }
}

// One apartment for the program's life, before any window: screen readers get the
// controls' accessible objects marshalled out of it, and objects handed out stay
// connected until the end.
class TOleApartment {
public:
  TOleApartment() : FResult(OleInitialize(nullptr)) {}
  TOleApartment(const TOleApartment&) = delete;
  TOleApartment& operator=(const TOleApartment&) = delete;
  ~TOleApartment() {
    if (SUCCEEDED(FResult)) OleUninitialize();
  }

private:
  HRESULT FResult;
};

// Keys and the mouse first: when the picture runs late, the clock's next frame step is
// posted before the tick ends, and posted messages would always come ahead of input.
bool TakeNextMessage(MSG& message) {
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) return true;
  return GetMessageW(&message, nullptr, 0, 0) > 0;
}

void RunMessageLoop(TWinPlayer& player) {
  MSG message;
  while (TakeNextMessage(message)) ProcessPlayerMessage(player, message);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const TOleApartment apartment;
  TWinPlayer player(instance);
  player.LanguageBlock = ReadOwnLanguageBlock(player);
  player.Texts = TUiTexts(RememberedLanguage(player.Settings));
  player.Texts.OverlayMessageTexts(player.LanguageBlock, AnsiToUtf8);
  CreateTempFolder(player);
  HWND window = RegisterMainWindowClass(instance) ? CreateMainWindow(player) : nullptr;
  // A window can close inside its own creation (a film that ends at once with
  // /closeonfinish); its quit message is then waiting and the loop ends at once.
  const bool started = window != nullptr || player.MainWindowDestroyed;
  if (started) {
    if (window != nullptr) UpdateWindow(window);
    player.Events.Notify({TPlayerEvent::kStarted});
    player.Accelerators = CreateCommandAccelerators();
    RunMessageLoop(player);
    DestroyAcceleratorTable(player.Accelerators);
  }
  // What the settings file could not take while the player ran (another program held it).
  player.Settings.WritePending(TSettingsFile::kExitPatienceMs);
  // Failures of the last moments (a film stopped on a damaged record while closing on
  // finish) are still told.
  player.Boxes.ShowAll(nullptr);
  player.Film.Close();  // its files go; the window let go of the rest as it closed
  if (!player.TempFolder.empty()) RemovePlayerTempFolder(player.TempFolder);
  return started ? 0 : 1;
}
