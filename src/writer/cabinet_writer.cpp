#include "writer/cabinet_writer.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

#include "writer/lzx_blocks.h"

namespace filmwriter {

namespace {
constexpr size_t kBlockLimit = 32768;
constexpr size_t kHeaderSize = 36;
constexpr size_t kFolderSize = 8;
constexpr size_t kDataHeaderSize = 8;

// The data block checksum: the packed bytes XOR-ed as little-endian 32-bit words
// (a short tail taken most significant byte first), then the two size fields.
uint32_t BlockChecksum(const uint8_t* data, size_t size, uint32_t sum) {
  size_t i = 0;
  for (; i + 4 <= size; i += 4)
    sum ^= uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 | uint32_t(data[i + 2]) << 16 |
           uint32_t(data[i + 3]) << 24;
  uint32_t tail = 0;
  for (; i < size; ++i) tail = (tail << 8) | data[i];
  return sum ^ tail;
}

// One MSZIP data block: "CK", then the block as a complete raw deflate stream.
Bytes MsZipBlock(const uint8_t* data, size_t size) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  Bytes out = {'C', 'K'};
  out.resize(2 + deflateBound(&z, uLong(size)));
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = uInt(size);
  z.next_out = out.data() + 2;
  z.avail_out = uInt(out.size() - 2);
  const int result = deflate(&z, Z_FINISH);
  const size_t written = z.total_out;
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate did not finish");
  out.resize(2 + written);
  return out;
}

// The folder's data blocks: each holds the packed form of up to 32768 bytes.
std::vector<std::pair<Bytes, size_t>> PackBlocks(const Bytes& folder, const CabinetOptions& options) {
  std::vector<std::pair<Bytes, size_t>> blocks;
  for (size_t start = 0; start < folder.size(); start += kBlockLimit) {
    const size_t size = std::min(kBlockLimit, folder.size() - start);
    const uint8_t* data = folder.data() + start;
    switch (options.compression) {
      case CabCompression::Stored: blocks.emplace_back(Bytes(data, data + size), size); break;
      case CabCompression::MsZip: blocks.emplace_back(MsZipBlock(data, size), size); break;
      case CabCompression::Lzx:
        blocks.emplace_back(LzxUncompressedFrame(data, size, start == 0), size);
        break;
    }
  }
  return blocks;
}
}  // namespace

uint16_t CabCompressionType(const CabinetOptions& options) {
  switch (options.compression) {
    case CabCompression::Stored: return 0;
    case CabCompression::MsZip: return 1;
    case CabCompression::Lzx: return uint16_t(3 | (options.lzxWindowBits << 8));
  }
  return 0;
}

Bytes BuildCabinet(const std::vector<CabMember>& members, const CabinetOptions& options) {
  if (members.size() > 0xFFFF) throw std::invalid_argument("too many cabinet members");
  if (options.compression == CabCompression::Lzx &&
      (options.lzxWindowBits < 15 || options.lzxWindowBits > 21))
    throw std::invalid_argument("LZX window must be 15..21 bits");

  // All members one after the other form the folder's uncompressed data.
  Bytes folder;
  Bytes files;
  for (const CabMember& member : members) {
    PutU32(files, uint32_t(member.data.size()));
    PutU32(files, uint32_t(folder.size()));  // offset in the folder
    PutU16(files, 0);                        // folder index
    PutU16(files, member.date);
    PutU16(files, member.time);
    PutU16(files, member.attributes);
    PutText(files, member.name);
    PutU8(files, 0);
    PutBytes(folder, member.data);
  }
  const auto blocks = PackBlocks(folder, options);
  if (blocks.size() > 0xFFFF) throw std::invalid_argument("folder too large for one cabinet");

  const size_t filesOffset = kHeaderSize + kFolderSize;
  const size_t dataOffset = filesOffset + files.size();
  size_t total = dataOffset;
  for (const auto& block : blocks) total += kDataHeaderSize + block.first.size();

  Bytes cab;
  PutText(cab, "MSCF");
  PutU32(cab, 0);
  PutU32(cab, uint32_t(total));
  PutU32(cab, 0);
  PutU32(cab, uint32_t(filesOffset));
  PutU32(cab, 0);
  PutU8(cab, 3);  // version 1.3
  PutU8(cab, 1);
  PutU16(cab, 1);  // folders
  PutU16(cab, uint16_t(members.size()));
  PutU16(cab, 0);  // flags: no previous or next cabinet, no reserve
  PutU16(cab, options.setId);
  PutU16(cab, 0);  // number in the set

  PutU32(cab, uint32_t(dataOffset));
  PutU16(cab, uint16_t(blocks.size()));
  PutU16(cab, CabCompressionType(options));

  PutBytes(cab, files);
  for (const auto& [packed, size] : blocks) {
    Bytes sizes;
    PutU16(sizes, uint16_t(packed.size()));
    PutU16(sizes, uint16_t(size));
    PutU32(cab, BlockChecksum(sizes.data(), 4, BlockChecksum(packed.data(), packed.size(), 0)));
    PutBytes(cab, sizes);
    PutBytes(cab, packed);
  }
  return cab;
}

Bytes DamageCabinet(Bytes cabinet, CabDamage damage) {
  constexpr size_t kFilesOffsetField = 16, kDataOffsetField = kHeaderSize;
  const auto put32 = [&cabinet](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) cabinet[at + i] = uint8_t(value >> (8 * i));
  };
  const size_t size = cabinet.size();
  switch (damage) {
    case CabDamage::FileTableBeyondEnd: put32(kFilesOffsetField, uint32_t(size + 64)); break;
    case CabDamage::DataBlockBeyondEnd: put32(kDataOffsetField, uint32_t(size + 64)); break;
    case CabDamage::CutEntry: {
      // The last entry starts after its predecessors' 16 bytes and names; cut 6 bytes
      // into its fixed fields.
      size_t entry = kHeaderSize + kFolderSize, last = entry;
      const size_t count = size_t(cabinet[28]) | size_t(cabinet[29]) << 8;
      for (size_t i = 0; i < count; ++i) {
        last = entry;
        entry += 16;
        while (entry < size && cabinet[entry] != 0) ++entry;
        ++entry;
      }
      cabinet.resize(std::min(size, last + 6));
      break;
    }
  }
  return cabinet;
}

}  // namespace filmwriter
