#include "film/film_identity.h"

#include <cstdio>

#include "film/film_loader.h"
#include "film/ko_error.h"
#include "film/ko_stream.h"

namespace {
// FNV-1a, 64 bits: enough to tell versions of one film apart, not a defence against
// someone forging one.
class TIdentityHash {
public:
  void Add(const void* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      FValue ^= static_cast<const uint8_t*>(bytes)[i];
      FValue *= 0x100000001B3ull;
    }
  }
  void Add(int64_t value) {
    for (int shift = 0; shift < 64; shift += 8) {
      const uint8_t byte = uint8_t(uint64_t(value) >> shift);
      Add(&byte, 1);
    }
  }
  std::string Hex() const {
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(FValue));
    return text;
  }

private:
  uint64_t FValue = 0xCBF29CE484222325ull;
};
}  // namespace

std::string FilmIdentity(const std::filesystem::path& film) {
  try {
    TkoFileStream stream(film, kModeReadShared);
    TIdentityHash hash;
    hash.Add(stream.GetSize());
    const int64_t filmStart = AppendedFilmStart(stream).value_or(0);
    hash.Add(filmStart);
    WalkFilmIndex(stream, filmStart, [&](const TFilmIndexEntry& entry) {
      hash.Add(entry.Kind);
      hash.Add(entry.HeaderPosition);
      uint8_t header[kSegmentHeaderSize];
      if (entry.Header && stream.SetPosition(int32_t(entry.HeaderPosition)) == entry.HeaderPosition &&
          stream.Read(header, kSegmentHeaderSize) == kSegmentHeaderSize)
        hash.Add(header, sizeof(header));
    });
    return hash.Hex();
  } catch (const EkoError&) {
    return "";
  }
}
