#include "app/player_win.h"

#include "platform/wide_text_win.h"

TWinPlayer::TWinPlayer(HINSTANCE instance)
    : Instance(instance),
      FrameHost(*this),
      Frames(&FrameHost, &PictureMemory),
      Presenter(Engine, Frames, PictureMemory, [this] { return PlaybackShell.PanelShown(); }),
      PlaybackShell(*this),
      Engine(TPlaybackServices{Timer, Sound, Frames, Presenter, PlaybackShell, Events}) {
  wchar_t path[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  ProgramPath = std::wstring(path, length);
  Events.Listen([this](const TPlayerNotice& notice) {
    if (notice.Event == TPlayerEvent::kStop) NoteResumeStop(*this);
  });
  // Told like the engine's failures: a sound file is opened at a segment's start, which
  // a tick may run, and no box's loop may run inside a tick.
  Sound.OnOpenFailed = [this](const std::wstring& errorText) {
    Boxes.Add({WideToUtf8(errorText), "Error", MB_OK, nullptr, true});
    RequestBoxes(*this);
  };
}

namespace {
// A property of its own, not the window data, which other windows use for their objects.
constexpr wchar_t kPlayerProperty[] = L"roRezodu.Player";
}  // namespace

void AttachPlayer(HWND mainWindow, TWinPlayer* player) {
  if (player != nullptr) {
    SetPropW(mainWindow, kPlayerProperty, player);
  } else {
    RemovePropW(mainWindow, kPlayerProperty);
  }
}

TWinPlayer* PlayerOf(HWND window) {
  // Children and owned windows (notes, tooltips) lead to the main window.
  const HWND main = window != nullptr ? GetAncestor(window, GA_ROOTOWNER) : nullptr;
  return main != nullptr ? static_cast<TWinPlayer*>(GetPropW(main, kPlayerProperty)) : nullptr;
}

std::string AnsiToUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return WideToUtf8(wide);
}
