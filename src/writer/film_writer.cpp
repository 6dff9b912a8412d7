#include "writer/film_writer.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace filmwriter {

namespace {
uint32_t PackingBits(Packing packing) {
  return packing == Packing::Lzma || packing == Packing::LzmaUnknownSize ? kPackingLzma
                                                                          : kPackingCabinet;
}

std::string DefaultMemberName(size_t segment) {
  char name[40];
  std::snprintf(name, sizeof name, "koS_20090406171337%03u.dat", unsigned(segment % 1000));
  return name;
}

template <typename T>
void Override(T& field, const std::optional<T>& value) {
  if (value) field = *value;
}

// The header as the recorder would write it, then the test's overrides.
SegmentHeader MakeHeader(const SegmentSpec& spec, const DataFile& data, size_t packedSize) {
  SegmentHeader h;
  h.version = spec.version;
  const bool hasPicture = !spec.data.pictures.empty();
  h.width = spec.width != 0 || !hasPicture ? spec.width : spec.data.pictures.front().width;
  h.height = spec.height != 0 || !hasPicture ? spec.height : spec.data.pictures.front().height;
  h.bitsPerPixel = spec.bitsPerPixel;
  h.framesPerSecond = spec.framesPerSecond;
  h.flags = spec.flags | spec.soundKind | PackingBits(spec.packing) |
            (spec.data.samplesPerFrame == 3 ? kFlagThreeCursorSamples : 0);
  h.frameCount = data.frameCount;
  h.cursorCount = data.cursorCount;
  h.cursorTrackSize = data.cursorTrackSize;
  h.extraSize = data.extraSize;
  h.frameDataSize = data.frameDataSize;
  h.packedSize = int32_t(packedSize);
  h.packedOffset = kSegmentHeaderSize;
  h.soundSize = int32_t(spec.sound.size());
  h.soundOffset = kSegmentHeaderSize + int32_t(packedSize);

  const HeaderOverrides& o = spec.header;
  Override(h.version, o.version);
  Override(h.width, o.width);
  Override(h.height, o.height);
  Override(h.bitsPerPixel, o.bitsPerPixel);
  Override(h.framesPerSecond, o.framesPerSecond);
  Override(h.flags, o.flags);
  Override(h.frameCount, o.frameCount);
  Override(h.cursorCount, o.cursorCount);
  Override(h.cursorTrackSize, o.cursorTrackSize);
  Override(h.extraSize, o.extraSize);
  Override(h.frameDataSize, o.frameDataSize);
  Override(h.packedSize, o.packedSize);
  Override(h.packedOffset, o.packedOffset);
  Override(h.soundSize, o.soundSize);
  Override(h.soundOffset, o.soundOffset);
  return h;
}

std::vector<size_t> LayoutOrder(const FilmOptions& options, size_t count) {
  std::vector<size_t> order = options.layoutOrder;
  if (order.empty()) {
    for (size_t i = 0; i < count; ++i) order.push_back(i);
    return order;
  }
  std::vector<size_t> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 0; i < sorted.size(); ++i)
    if (sorted.size() != count || sorted[i] != i)
      throw std::invalid_argument("layout order must name every segment once");
  return order;
}
}  // namespace

Bytes EncodeSegmentHeader(const SegmentHeader& h) {
  Bytes out;
  PutU8(out, h.version);
  PutI32(out, h.width);
  PutI32(out, h.height);
  PutU8(out, h.bitsPerPixel);
  PutF32(out, h.framesPerSecond);
  PutU32(out, h.flags);
  PutI32(out, h.frameCount);
  PutI32(out, h.cursorCount);
  PutI32(out, h.cursorTrackSize);
  PutI32(out, h.extraSize);
  PutI32(out, h.frameDataSize);
  PutI32(out, h.packedSize);
  PutI32(out, h.packedOffset);
  PutI32(out, h.soundSize);
  PutI32(out, h.soundOffset);
  return out;
}

Bytes PackDataFile(const Bytes& dataFile, const SegmentSpec& spec, const std::string& memberName) {
  switch (spec.packing) {
    case Packing::Lzma: return BuildLzmaAlone(dataFile, LzmaSize::Known);
    case Packing::LzmaUnknownSize: return BuildLzmaAlone(dataFile, LzmaSize::Unknown);
    case Packing::Stored:
    case Packing::MsZip:
    case Packing::Lzx: break;
  }
  CabinetOptions options;
  options.compression = spec.packing == Packing::Stored ? CabCompression::Stored
                        : spec.packing == Packing::MsZip ? CabCompression::MsZip
                                                         : CabCompression::Lzx;
  options.lzxWindowBits = spec.lzxWindowBits;
  std::vector<CabMember> members = spec.otherMembers;
  members.push_back(CabMember{memberName, dataFile, spec.memberDate, spec.memberTime,
                              spec.memberAttributes});
  return BuildCabinet(members, options);
}

BuiltFilm BuildFilmDetailed(const std::vector<SegmentSpec>& segments, const FilmOptions& options) {
  BuiltFilm film;
  film.segments.resize(segments.size());
  // Segment blocks (header, packed block, sound block) in layout order.
  const size_t indexEnd = 4 + kIndexEntrySize * segments.size();
  Bytes body;
  for (size_t i : LayoutOrder(options, segments.size())) {
    const SegmentSpec& spec = segments[i];
    BuiltSegment& built = film.segments[i];
    built.data = spec.prebuiltData ? *spec.prebuiltData : BuildDataFile(spec.data);
    built.memberName = spec.memberName.empty() ? DefaultMemberName(i) : spec.memberName;
    built.packedBlock = spec.packedBlock ? *spec.packedBlock
                                         : PackDataFile(built.data.bytes, spec, built.memberName);
    built.header = MakeHeader(spec, built.data, built.packedBlock.size());
    built.headerOffset = uint32_t(indexEnd + body.size());
    PutBytes(body, EncodeSegmentHeader(built.header));
    PutBytes(body, built.packedBlock);
    PutBytes(body, spec.sound);
  }

  PutI32(film.bytes, options.segmentCount.value_or(int32_t(segments.size())));
  for (size_t i = 0; i < segments.size(); ++i) {
    PutU32(film.bytes, segments[i].headerOffset.value_or(film.segments[i].headerOffset));
    PutU16(film.bytes, segments[i].indexKind);
  }
  PutBytes(film.bytes, body);
  return film;
}

Bytes BuildFilm(const std::vector<SegmentSpec>& segments, const FilmOptions& options) {
  return BuildFilmDetailed(segments, options).bytes;
}

Bytes WithTrailer(const Bytes& film, std::optional<int32_t> filmLengthField) {
  Bytes out = film;
  PutI32(out, filmLengthField.value_or(int32_t(film.size())));
  return out;
}

Bytes AppendedFilm(const Bytes& executable, const std::string& languageText, const Bytes& film,
                   const AppendOptions& options) {
  Bytes out = executable;
  PutText(out, languageText);
  PutI32(out, options.languageLengthField.value_or(int32_t(languageText.size())));
  PutBytes(out, film);
  PutI32(out, options.filmLengthField.value_or(int32_t(film.size())));
  return out;
}

}  // namespace filmwriter
