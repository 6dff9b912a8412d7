#include "platform/media_player_win.h"

#include <digitalv.h>

#include <chrono>
#include <memory>
#include <type_traits>
#include <utility>

static_assert(kMciNotify == MCI_NOTIFY && kMciWait == MCI_WAIT);

namespace {
// How long the UI thread waits for the driver. Opening starts Wine's media pipeline,
// which takes seconds on a busy machine; the other commands answer in milliseconds.
constexpr std::chrono::seconds kOpenLimit{20};
constexpr std::chrono::seconds kCommandLimit{5};
}  // namespace

TMediaPlayer::~TMediaPlayer() {
  if (FDevice != 0) CloseDevice(FDevice);
  for (const MCIDEVICEID device : FUnclosed) CloseDevice(device);
}

template <class TParameters>
uint32_t TMediaPlayer::SendTo(MCIDEVICEID device, UINT command, DWORD flags, TParameters& parameters,
                              std::wstring element) {
  // The call owns what the driver reads and writes, since a call given up on may
  // return long after this one has.
  struct TCall {
    TParameters Parameters;
    std::wstring Element;
    uint32_t Result = 0;
  };
  auto call = std::make_shared<TCall>(TCall{parameters, std::move(element)});
  const auto limit = command == MCI_OPEN ? kOpenLimit : kCommandLimit;
  const bool answered = FCommands.Run(
      [call, device, command, flags] {
        if constexpr (std::is_same_v<TParameters, MCI_OPEN_PARMSW>) call->Parameters.lpstrElementName = call->Element.c_str();
        call->Result = mciSendCommandW(device, command, flags, reinterpret_cast<DWORD_PTR>(&call->Parameters));
      },
      limit);
  if (!answered) return MCIERR_DEVICE_NOT_READY;
  parameters = call->Parameters;
  if constexpr (std::is_same_v<TParameters, MCI_OPEN_PARMSW>) parameters.lpstrElementName = nullptr;
  return call->Result;
}

template <class TParameters>
uint32_t TMediaPlayer::Send(UINT command, DWORD flags, TParameters& parameters) {
  // A device that gave no answer is never asked again: its thread may hold locks of the
  // driver's that every later command would wait for.
  if (FDevice == 0) return FLastError = MCIERR_INVALID_DEVICE_ID;
  const int givenUp = FCommands.GivenUp();
  FLastError = SendTo(FDevice, command, flags, parameters);
  if (FCommands.GivenUp() != givenUp) {
    FDevice = 0;
    FOpened = false;
  }
  return FLastError;
}

bool TMediaPlayer::CloseDevice(MCIDEVICEID device) {
  MCI_GENERIC_PARMS close{};
  return SendTo(device, MCI_CLOSE, MCI_WAIT, close) == 0;
}

bool TMediaPlayer::Open() {
  Close();
  // A device that refused to close is kept, to be closed with the player, not lost.
  if (FDevice != 0) FUnclosed.push_back(std::exchange(FDevice, 0));
  FOpened = false;
  MCI_OPEN_PARMSW open{};
  // Sent to no device yet: the system picks one for the element's extension.
  FLastError = SendTo(0, MCI_OPEN, DefaultFlags() | MCI_OPEN_ELEMENT, open, FFileName.wstring());
  if (FLastError != 0) {
    if (OnOpenFailed) OnOpenFailed(ErrorText());
    return false;
  }
  FDevice = open.wDeviceID;
  FOpened = true;
  FPlayFrom.reset();
  if (FVolume != kMaxVolume) SetVolume(FVolume);
  return true;
}

void TMediaPlayer::Close() {
  if (FDevice == 0) return;
  MCI_GENERIC_PARMS close{};
  if (Send(MCI_CLOSE, DefaultFlags(), close) != 0) return;
  FOpened = false;
  FDevice = 0;
}

void TMediaPlayer::Play() {
  MCI_PLAY_PARMS play{};
  DWORD flags = TakeCommandFlags(FOverrides, true);
  if (FPlayFrom) {
    play.dwFrom = *FPlayFrom;
    flags |= MCI_FROM;
    FPlayFrom.reset();
  }
  Send(MCI_PLAY, flags, play);
}

void TMediaPlayer::Pause() {
  MCI_GENERIC_PARMS pause{};
  Send(MCI_PAUSE, DefaultFlags(), pause);
}

void TMediaPlayer::Stop() {
  Sleep(1);
  MCI_GENERIC_PARMS stop{};
  Send(MCI_STOP, DefaultFlags(), stop);
  Sleep(10);
}

void TMediaPlayer::SetTimeFormat(uint32_t format) {
  MCI_SET_PARMS set{};
  set.dwTimeFormat = format;
  Send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_NOTIFY, set);
}

void TMediaPlayer::Seek(uint32_t position) {
  MCI_SEEK_PARMS seek{};
  seek.dwTo = position;
  if (Send(MCI_SEEK, DefaultFlags() | MCI_TO, seek) != 0 && FOpened)
    FPlayFrom = position;
  else
    FPlayFrom.reset();
}

uint32_t TMediaPlayer::Status(DWORD flags, DWORD item) {
  MCI_STATUS_PARMS status{};
  status.dwItem = item;
  return Send(MCI_STATUS, flags | MCI_STATUS_ITEM, status) == 0 ? static_cast<uint32_t>(status.dwReturn) : 0;
}

uint32_t TMediaPlayer::Length() { return Status(MCI_WAIT, MCI_STATUS_LENGTH); }

uint32_t TMediaPlayer::Position() { return Status(MCI_WAIT, MCI_STATUS_POSITION); }

uint32_t TMediaPlayer::Volume() {
  const uint32_t volume = Status(0, MCI_DGV_STATUS_VOLUME);
  return FLastError == 0 ? volume : FVolume;
}

void TMediaPlayer::SetVolume(uint32_t volume) {
  MCI_DGV_SETAUDIO_PARMSW audio{};
  audio.dwItem = MCI_DGV_SETAUDIO_VOLUME;
  audio.dwValue = volume;
  FVolume = volume < kMaxVolume ? volume : kMaxVolume;
  Send(MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE, audio);
}

double TMediaPlayer::GetVolumePercent() { return HasFileName() ? VolumePercent(Volume()) : 100; }

void TMediaPlayer::SetVolumePercent(double percent) { SetVolume(VolumeForPercent(percent)); }

std::wstring TMediaPlayer::ErrorText() const {
  std::wstring text(4096, L'\0');
  if (!mciGetErrorStringW(FLastError, text.data(), static_cast<UINT>(text.size())) || text[0] == L'\0')
    return L"Unknown error code";
  text.resize(text.find(L'\0'));
  return text;
}
