#pragma once
// The sound player over the Media Control Interface (wide API): opens a segment's
// sound file by element name (the system picks the device from the extension), plays,
// pauses, seeks and reports length and position in milliseconds or samples, and sets
// the volume. One instance for the program, used on the UI thread.
//
// The commands themselves run on a thread of the player's own, and the UI thread waits
// for each for a bounded time: Wine's MP3 pipeline can deadlock inside MCI_CLOSE at a
// film's end, and the window must not freeze with it. A device whose command does not
// return in time is given up: the player counts as closed, nothing is sent to that
// device again, and the next Open gets a fresh thread.
//
// Commands wait for completion, except Play, which asks for a notification (received
// by no window) and returns at once; OverrideWait and OverrideNotify change that for
// the next command only. Every command stores its MCI result as LastError(); only a
// failed Open is told to the user, through OnOpenFailed.
//
// Two things go beyond the bare commands, for drivers that do less than Windows' own
// (Wine's MPEG video driver cannot seek to a position nor report the volume): a Seek
// the device refuses makes the next Play start from that position, and the volume
// the player was asked for is reported when the device cannot tell. The volume asked
// for also holds for every device opened later, so it survives segment changes.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/bounded_worker.h"
#include "platform/media_player_rules.h"
#include "playback/playback_services.h"

class TMediaPlayer : public TSoundDevice {
public:
  TMediaPlayer() = default;
  // Closes the devices it holds (a device that gave no answer is left).
  ~TMediaPlayer() override;
  TMediaPlayer(const TMediaPlayer&) = delete;
  TMediaPlayer& operator=(const TMediaPlayer&) = delete;

  void SetFileName(const std::filesystem::path& fileName) override { FFileName = fileName; }
  bool HasFileName() const override { return !FFileName.empty(); }
  const std::filesystem::path& FileName() const { return FFileName; }

  // Closes an open device, then opens the file (MCI_OPEN with the element name). A
  // device that refuses to close is kept, and closed with the player, rather than lost.
  // Returns false when the file cannot be opened, after giving OnOpenFailed the error
  // text; the player then stays closed and keeps the name, and later commands fail and
  // only store their error.
  bool Open() override;
  // Told why a file could not be opened (the shell shows it in a box with no owner,
  // captioned "Error", once no tick runs). Nothing is shown without it.
  std::function<void(const std::wstring& errorText)> OnOpenFailed;
  bool IsOpen() const override { return FOpened; }
  // Nothing without a device; the device is forgotten only when MCI_CLOSE succeeds.
  void Close() override;
  // Plays from the current position, or from the position of a Seek the device
  // refused (MCI_FROM).
  void Play() override;
  void Pause() override;
  // Stops, with the short waits before and after that let the device settle before it
  // is closed (the engine stops a device only to close it).
  void Stop() override;
  // TSoundDevice::kTimeFormatMilliseconds or kTimeFormatSamples (MCI_SET, no wait).
  void SetTimeFormat(uint32_t format) override;
  void Seek(uint32_t position) override;
  // In the time format set last; 0 when the device cannot tell.
  uint32_t Length() override;
  uint32_t Position() override;

  // The device's volume, 0 .. 1000; the volume last asked for (initially 1000) when
  // the device cannot tell.
  uint32_t Volume();
  // Sets the device's volume (0 .. 1000) and keeps it for the devices opened later.
  void SetVolume(uint32_t volume);
  // For the volume slider: Volume() as a percentage (VolumePercent); 100 without a
  // file name.
  double GetVolumePercent();
  // Sets the volume from a percentage, limited to 0 .. 100 (VolumeForPercent).
  void SetVolumePercent(double percent);

  // One-shot overrides of the wait and notify flags, used by the next command.
  void OverrideWait(bool wait) { FOverrides.Wait = wait; }
  void OverrideNotify(bool notify) { FOverrides.Notify = notify; }

  // The MCI result of the last command (0: success; MCIERR_DEVICE_NOT_READY when it
  // gave no answer in time).
  uint32_t LastError() const { return FLastError; }
  // The system's text for LastError(), or "Unknown error code" when it has none.
  std::wstring ErrorText() const;
  // The open device; 0 when closed.
  MCIDEVICEID DeviceId() const { return FDevice; }
  // How many devices were given up for want of an answer.
  int DevicesGivenUp() const { return FCommands.GivenUp(); }

private:
  // Sends command with a copy of parameters to device on the commands' thread and gives
  // back the result and the parameters as the driver left them. element, when given,
  // is the name an MCI_OPEN_PARMSW points to.
  template <class TParameters>
  uint32_t SendTo(MCIDEVICEID device, UINT command, DWORD flags, TParameters& parameters,
                  std::wstring element = {});
  // Sends command to the open device and stores the result.
  template <class TParameters>
  uint32_t Send(UINT command, DWORD flags, TParameters& parameters);
  // Closes device, waiting; false when it refused or gave no answer.
  bool CloseDevice(MCIDEVICEID device);
  uint32_t Status(DWORD flags, DWORD item);
  DWORD DefaultFlags() { return TakeCommandFlags(FOverrides, false); }

  std::filesystem::path FFileName;
  TBoundedWorker FCommands;
  bool FOpened = false;
  MCIDEVICEID FDevice = 0;
  std::vector<MCIDEVICEID> FUnclosed;  // devices that refused to close
  uint32_t FLastError = 0;
  TMciOverrides FOverrides;
  // Where the next Play starts when the device refused the last Seek.
  std::optional<uint32_t> FPlayFrom;
  uint32_t FVolume = kMaxVolume;
};
