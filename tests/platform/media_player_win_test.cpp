// The media player on the system's MCI with a silent MP3 from the film writer: it
// opens, reports its length, plays from a sought position, pauses, keeps its volume
// and never leaves a device open; a file that cannot be opened is told to its owner,
// without a box of its own.
#include "platform/media_player_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/temp_dir.h"
#include "writer/mp3_silence.h"

namespace {
// The number of devices this process has open.
DWORD OpenDevices() {
  DWORD count = 0;
  MCI_SYSINFO_PARMSW info{};
  info.lpstrReturn = reinterpret_cast<LPWSTR>(&count);
  info.dwRetSize = sizeof(count);
  mciSendCommandW(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_QUANTITY | MCI_SYSINFO_OPEN,
                  reinterpret_cast<DWORD_PTR>(&info));
  return count;
}
}  // namespace

TEST(MediaPlayer, PlaysASilentMp3FromASoughtPositionAndClosesWhatItOpened) {
  TempDir dir;
  filmwriter::WriteBytesToFile(dir / "koS_1.mp3", filmwriter::SilentMp3(2000));  // 84 frames: 2016 ms
  {
    TMediaPlayer player;
    EXPECT_EQ(player.GetVolumePercent(), 100) << "no file: full volume";
    player.SetFileName(dir / "koS_1.mp3");
    ASSERT_TRUE(player.Open()) << player.LastError();
    ASSERT_TRUE(player.Open()) << "opening again closes the device first";
    EXPECT_TRUE(player.IsOpen());
    EXPECT_EQ(OpenDevices(), 1u);
    player.SetTimeFormat(TSoundDevice::kTimeFormatMilliseconds);
    EXPECT_NEAR(player.Length(), 84 * 24, 30);

    player.Seek(500);  // refused by Wine's driver: Play then starts there
    player.Play();
    Sleep(400);
    const uint32_t playing = player.Position();
    Sleep(300);
    const uint32_t later = player.Position();
    std::printf("media player: at %u ms after 400 ms from 500, at %u ms after 700 ms\n", playing, later);
    EXPECT_GT(playing, 700u);
    EXPECT_GT(later, playing + 150);
    EXPECT_LT(later, 1500u);
    player.Pause();
    const uint32_t paused = player.Position();
    Sleep(200);
    EXPECT_NEAR(player.Position(), paused, 25);

    for (const double percent : {40.0, 150.0, 73.9}) {
      player.SetVolumePercent(percent);
      EXPECT_EQ(player.LastError(), 0u);
      EXPECT_DOUBLE_EQ(player.GetVolumePercent(), VolumePercent(VolumeForPercent(percent))) << percent;
    }
    ASSERT_TRUE(player.Open());
    EXPECT_EQ(player.Volume(), 739u) << "the volume holds for the next device";
    player.Close();
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(OpenDevices(), 0u);
    ASSERT_TRUE(player.Open());
    player.Play();
  }
  EXPECT_EQ(OpenDevices(), 0u) << "destroyed while playing";
}

TEST(MediaPlayer, AFileThatCannotBeOpenedIsToldWithoutABoxAndLeavesThePlayerClosed) {
  TempDir dir;
  TMediaPlayer player;
  player.SetFileName(dir / "missing.mp3");
  std::vector<std::wstring> told;
  player.OnOpenFailed = [&told](const std::wstring& text) { told.push_back(text); };
  // A box would hold the caller in its loop (a tick, when a segment starts in one):
  // one that shows up is answered and counted.
  bool boxShown = false;
  std::atomic<bool> returned{false};
  std::thread answerer([&] {
    for (; !returned; Sleep(10)) {
      HWND box = FindWindowW(L"#32770", L"Error");
      DWORD process = 0;
      if (box == nullptr || (GetWindowThreadProcessId(box, &process), process != GetCurrentProcessId())) continue;
      boxShown = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
  });
  EXPECT_FALSE(player.Open());
  returned = true;
  answerer.join();
  EXPECT_FALSE(boxShown);
  EXPECT_NE(player.LastError(), 0u);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], player.ErrorText());
  EXPECT_FALSE(told[0].empty());
  EXPECT_FALSE(player.IsOpen());
  EXPECT_TRUE(player.HasFileName()) << "the name is kept";
  EXPECT_EQ(OpenDevices(), 0u);
  player.Play();
  EXPECT_NE(player.LastError(), 0u) << "later commands only store their error";
}
