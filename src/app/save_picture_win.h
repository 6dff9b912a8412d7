#pragma once
// "Save picture...": the picture as the player shows it, pointer included, at the
// film's own size, written as PNG through the Save dialog and the Windows Imaging
// Component.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "playback/ko_picture.h"

class TWinPlayer;

// A picture copied as 24-bit blue-green-red rows, each padded to 4 bytes.
struct TPictureCopy {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Stride = 0;
  std::vector<uint8_t> Pixels;
};
TPictureCopy CopyPicture(const TkoPictureView& picture);

// Writes the copy to path as a PNG file. Returns "" or a line saying what failed; a
// file it began is deleted again when it fails.
std::string WritePng(const TPictureCopy& picture, const std::filesystem::path& path);

// The command: while playing or paused, copies the picture shown (playback goes on
// behind the dialog), asks for a file name with the Save dialog (proposing
// segNNN_frameNNNNN.png, as kof frames names frames) and writes the PNG; a failure is
// shown with the "CannotSavePictureFmt" text. Nothing while stopped.
void SavePicture(TWinPlayer& player);
