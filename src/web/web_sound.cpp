#include "web/web_sound.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "film/ko_stream.h"
#include "web/mp3_length.h"
#include "web/web_events.h"

namespace {
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
}  // namespace

bool TWebSoundDevice::Open() {
  Close();
  const std::vector<uint8_t> bytes = ReadWholeFile(FFileName);
  const std::optional<TMp3Length> length = ReadMp3Length(bytes.data(), bytes.size());
  if (!length) {
    FPage.Send(MessageEvent(kSoundErrorCaption, "The sound file " + PathText(FFileName) + " holds no MP3 stream",
                            "error"));
    return false;
  }
  FSampleRate = length->SampleRate;
  FSamples = length->Samples;
  FLengthMs = length->Milliseconds();
  FClock.Reset();
  FClock.SetLength(FLengthMs);
  FOpen = true;
  FPage.Send(SoundEvent("open", PathText(FFileName)));
  return true;
}

void TWebSoundDevice::Close() {
  if (!FOpen) return;
  FOpen = false;
  FClock.Seek(0);
  FPage.Send(SoundEvent("close"));
}

void TWebSoundDevice::Failed() {
  if (!FOpen) return;
  FOpen = false;
  FClock.Seek(0);
}

void TWebSoundDevice::Play() {
  if (!FOpen) return;
  const double from = FClock.Position(FPage.NowMs());
  const uint32_t request = FClock.Play(from);
  FPage.Send(SoundEvent("play", {}, from, request));
}

void TWebSoundDevice::Pause() {
  if (!FOpen || !FClock.Playing()) return;
  FClock.Pause(FPage.NowMs());
  FPage.Send(SoundEvent("pause"));
}

void TWebSoundDevice::Seek(uint32_t position) {
  if (!FOpen) return;
  const bool wasPlaying = FClock.Playing();
  FClock.Seek(ToMilliseconds(position));
  if (wasPlaying) FPage.Send(SoundEvent("pause"));
}

uint32_t TWebSoundDevice::Length() {
  if (!FOpen) return 0;
  return FFormat == kTimeFormatSamples ? uint32_t(FSamples) : uint32_t(std::lround(FLengthMs));
}

uint32_t TWebSoundDevice::Position() {
  return FOpen ? FromMilliseconds(FClock.Position(FPage.NowMs())) : 0;
}

double TWebSoundDevice::ToMilliseconds(uint32_t position) const {
  if (FFormat != kTimeFormatSamples) return position;
  return FSampleRate > 0 ? double(position) * 1000.0 / FSampleRate : 0.0;
}

uint32_t TWebSoundDevice::FromMilliseconds(double milliseconds) const {
  const double value = FFormat == kTimeFormatSamples ? milliseconds * FSampleRate / 1000.0 : milliseconds;
  return uint32_t(std::lround(value));
}
