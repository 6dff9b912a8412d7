#include "kof_export/gif_comment.h"

#include <fstream>

#include "film/ko_error.h"
#include "kof_common/utf8_path.h"

namespace {
constexpr int kExtension = 0x21, kCommentLabel = 0xFE, kImage = 0x2C, kTrailer = 0x3B;
constexpr size_t kMaxSubBlock = 255;

// Reads data sub-blocks up to their terminator, keeping their bytes in kept when given.
// False when the file ends first.
bool ReadSubBlocks(std::istream& in, std::string* kept) {
  for (;;) {
    const int size = in.get();
    if (size == 0) return true;
    if (size == std::char_traits<char>::eof()) return false;
    std::string block(size_t(size), '\0');
    if (!in.read(block.data(), size)) return false;
    if (kept != nullptr) kept->append(block);
  }
}

// Passes over a colour table that the packed byte announces.
bool SkipColourTable(std::istream& in, int packed) {
  if ((packed & 0x80) == 0) return true;
  return bool(in.ignore(3 << ((packed & 7) + 1)));
}

bool ReadHeader(std::istream& in) {
  char signature[6];
  unsigned char screen[7];
  if (!in.read(signature, 6) || !in.read(reinterpret_cast<char*>(screen), 7)) return false;
  const std::string text(signature, 6);
  return (text == "GIF87a" || text == "GIF89a") && SkipColourTable(in, screen[4]);
}
}  // namespace

void AppendGifComment(const std::filesystem::path& gif, const std::string& text) {
  std::fstream file(gif, std::ios::in | std::ios::out | std::ios::binary);
  if (!file.seekg(-1, std::ios::end) || file.get() != kTrailer) throw EkoError("cannot write " + Utf8Of(gif));
  std::string block = {char(kExtension), char(kCommentLabel)};
  for (size_t at = 0; at < text.size(); at += kMaxSubBlock) {
    const std::string part = text.substr(at, kMaxSubBlock);
    block += char(part.size()) + part;
  }
  block += {'\0', char(kTrailer)};
  if (!file.seekp(-1, std::ios::end) || !file.write(block.data(), std::streamsize(block.size())) || !file.flush())
    throw EkoError("cannot write " + Utf8Of(gif));
}

std::vector<std::string> GifComments(const std::filesystem::path& gif) {
  std::vector<std::string> comments;
  std::ifstream in(gif, std::ios::binary);
  if (!ReadHeader(in)) return comments;
  for (;;) {
    const int introducer = in.get();
    if (introducer == kExtension) {
      std::string text;
      const bool comment = in.get() == kCommentLabel;
      if (!ReadSubBlocks(in, comment ? &text : nullptr)) return comments;
      if (comment) comments.push_back(text);
    } else if (introducer == kImage) {
      unsigned char descriptor[9];
      if (!in.read(reinterpret_cast<char*>(descriptor), 9) || !SkipColourTable(in, descriptor[8]) || !in.ignore(1) ||
          !ReadSubBlocks(in, nullptr))
        return comments;
    } else {
      return comments;  // the trailer, the file's end, or damage
    }
  }
}
