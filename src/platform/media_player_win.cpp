#include "platform/media_player_win.h"

#include <digitalv.h>

static_assert(kMciNotify == MCI_NOTIFY && kMciWait == MCI_WAIT);

TMciDevice::~TMciDevice() {
  if (FId == 0) return;
  MCI_GENERIC_PARMS close{};
  mciSendCommandW(FId, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
}

uint32_t TMediaPlayer::Send(UINT command, DWORD flags, void* parameters) {
  FLastError = mciSendCommandW(FDevice.Id(), command, flags, reinterpret_cast<DWORD_PTR>(parameters));
  return FLastError;
}

bool TMediaPlayer::Open() {
  Close();
  // A device that refused to close is kept, to be closed with the player, not lost.
  if (FDevice.Id() != 0) FUnclosed.push_back(std::move(FDevice));
  FOpened = false;
  const std::wstring element = FFileName.wstring();
  MCI_OPEN_PARMSW open{};
  open.lpstrElementName = element.c_str();
  // Sent to no device yet: the system picks one for the element's extension.
  FLastError = mciSendCommandW(0, MCI_OPEN, DefaultFlags() | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
  if (FLastError != 0) {
    if (OnOpenFailed) OnOpenFailed(ErrorText());
    return false;
  }
  FDevice = TMciDevice(open.wDeviceID);
  FOpened = true;
  FPlayFrom.reset();
  if (FVolume != kMaxVolume) SetVolume(FVolume);
  return true;
}

void TMediaPlayer::Close() {
  if (FDevice.Id() == 0) return;
  MCI_GENERIC_PARMS close{};
  if (Send(MCI_CLOSE, DefaultFlags(), &close) != 0) return;
  FOpened = false;
  FDevice.Release();
}

void TMediaPlayer::Play() {
  MCI_PLAY_PARMS play{};
  DWORD flags = TakeCommandFlags(FOverrides, true);
  if (FPlayFrom) {
    play.dwFrom = *FPlayFrom;
    flags |= MCI_FROM;
    FPlayFrom.reset();
  }
  Send(MCI_PLAY, flags, &play);
}

void TMediaPlayer::Pause() {
  MCI_GENERIC_PARMS pause{};
  Send(MCI_PAUSE, DefaultFlags(), &pause);
}

void TMediaPlayer::Stop() {
  MCI_GENERIC_PARMS stop{};
  Send(MCI_STOP, DefaultFlags(), &stop);
}

void TMediaPlayer::SetTimeFormat(uint32_t format) {
  MCI_SET_PARMS set{};
  set.dwTimeFormat = format;
  Send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_NOTIFY, &set);
}

void TMediaPlayer::Seek(uint32_t position) {
  MCI_SEEK_PARMS seek{};
  seek.dwTo = position;
  if (Send(MCI_SEEK, DefaultFlags() | MCI_TO, &seek) != 0 && FOpened)
    FPlayFrom = position;
  else
    FPlayFrom.reset();
}

uint32_t TMediaPlayer::Status(DWORD flags, DWORD item) {
  MCI_STATUS_PARMS status{};
  status.dwItem = item;
  return Send(MCI_STATUS, flags | MCI_STATUS_ITEM, &status) == 0 ? static_cast<uint32_t>(status.dwReturn) : 0;
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
  Send(MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE, &audio);
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
