#include "kof_export/video_source.h"

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/sha.h>
}

#include <fstream>
#include <memory>
#include <vector>

#include "kof_export/ff_holders.h"
#include "film/ko_error.h"
#include "kof_export/gif_comment.h"
#include "kof_common/utf8_path.h"

namespace {
constexpr const char* kRecordStart = "kof export source ";
constexpr int kShaBits = 256;

struct ShaFree {
  void operator()(AVSHA* sha) const { av_free(sha); }
};

std::string Hex(const uint8_t* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < count; ++i) text += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
  return text;
}

// The fingerprint in a comment, when it is a source record.
std::optional<std::string> FingerprintIn(const std::string& comment) {
  if (!comment.starts_with(kRecordStart)) return std::nullopt;
  return comment.substr(std::char_traits<char>::length(kRecordStart));
}

std::optional<std::string> CommentTag(const std::filesystem::path& video) {
  AVFormatContext* context = nullptr;
  if (avformat_open_input(&context, ff::FileUrl(video).c_str(), nullptr, nullptr) < 0) return std::nullopt;
  const ff::Input input(context);
  const AVDictionaryEntry* comment = av_dict_get(context->metadata, "comment", nullptr, 0);
  if (comment == nullptr) return std::nullopt;
  return comment->value;
}

bool IsGif(const std::filesystem::path& file) {
  char signature[4] = {};
  std::ifstream in(file, std::ios::binary);
  return in.read(signature, 4) && std::string(signature, 4) == "GIF8";
}
}  // namespace

std::string FilmFingerprint(const std::filesystem::path& film) {
  const std::unique_ptr<AVSHA, ShaFree> sha(av_sha_alloc());
  if (sha == nullptr) throw std::bad_alloc();
  av_sha_init(sha.get(), kShaBits);
  std::ifstream in(film, std::ios::binary);
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), std::streamsize(buffer.size())) || in.gcount() > 0)
    av_sha_update(sha.get(), reinterpret_cast<const uint8_t*>(buffer.data()), size_t(in.gcount()));
  if (!in.eof()) throw EkoError("cannot read " + Utf8Of(film));
  uint8_t digest[kShaBits / 8];
  av_sha_final(sha.get(), digest);
  return "sha256:" + Hex(digest, sizeof(digest));
}

std::string SourceRecord(const std::string& fingerprint) { return kRecordStart + fingerprint; }

std::optional<std::string> RecordedFingerprint(const std::filesystem::path& video) {
  if (!IsGif(video)) {
    const auto comment = CommentTag(video);
    return comment ? FingerprintIn(*comment) : std::nullopt;
  }
  for (const std::string& comment : GifComments(video))
    if (auto fingerprint = FingerprintIn(comment)) return fingerprint;
  return std::nullopt;
}
