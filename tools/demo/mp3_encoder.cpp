#include "mp3_encoder.h"

#include <lame/lame.h>

#include <memory>
#include <stdexcept>

namespace demo {
namespace {
struct LameCloser {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

Lame OpenEncoder(int sampleRate) {
  Lame lame(lame_init());
  if (!lame) throw std::runtime_error("the MP3 encoder cannot start");
  lame_set_num_channels(lame.get(), 1);
  lame_set_mode(lame.get(), MONO);
  lame_set_in_samplerate(lame.get(), sampleRate);
  lame_set_out_samplerate(lame.get(), sampleRate);
  lame_set_brate(lame.get(), 64);
  lame_set_quality(lame.get(), 5);
  lame_set_bWriteVbrTag(lame.get(), 0);  // no Xing/LAME header frame
  if (lame_init_params(lame.get()) < 0) throw std::runtime_error("the MP3 encoder refuses its settings");
  return lame;
}
}  // namespace

filmwriter::Bytes EncodeMp3(const std::vector<int16_t>& samples, int sampleRate) {
  const Lame lame = OpenEncoder(sampleRate);
  // LAME's own bound for one call: 1.25 x samples + 7200 bytes.
  filmwriter::Bytes out(samples.size() * 5 / 4 + 7200);
  const int encoded = lame_encode_buffer(lame.get(), samples.data(), samples.data(), int(samples.size()),
                                         out.data(), int(out.size()));
  if (encoded < 0) throw std::runtime_error("the MP3 encoder failed");
  const int flushed = lame_encode_flush(lame.get(), out.data() + encoded, int(out.size()) - encoded);
  if (flushed < 0) throw std::runtime_error("the MP3 encoder failed at the end");
  out.resize(size_t(encoded + flushed));
  return out;
}

}  // namespace demo
