#pragma once
// Microsoft Cabinet files holding one folder with any number of members: stored
// (compression type 0), MSZIP (raw deflate per data block, each behind "CK") or LZX
// (type 3 with the window size in bits 8-12, made of LZX uncompressed blocks, one per
// data block). Data blocks carry at most 32768 uncompressed bytes and their checksum.
// A single cabinet, never a set.
#include <cstdint>
#include <string>
#include <vector>

#include "writer/film_bytes.h"

namespace filmwriter {

enum class CabCompression { Stored, MsZip, Lzx };

// MS-DOS date and time of the members unless set: 2009-04-06 17:13:36.
constexpr uint16_t kDefaultCabDate = ((2009 - 1980) << 9) | (4 << 5) | 6;
constexpr uint16_t kDefaultCabTime = (17 << 11) | (13 << 5) | (36 / 2);

struct CabMember {
  std::string name;  // stored as given (bytes up to the NUL)
  Bytes data;
  uint16_t date = kDefaultCabDate;
  uint16_t time = kDefaultCabTime;
  uint16_t attributes = 0x20;  // archive
};

struct CabinetOptions {
  CabCompression compression = CabCompression::Stored;
  int lzxWindowBits = 21;  // 15..21
  uint16_t setId = 0;
};

// The complete cabinet ("MSCF" first). Throws std::invalid_argument for more than
// 65535 members or an LZX window outside 15..21, std::runtime_error when zlib fails.
Bytes BuildCabinet(const std::vector<CabMember>& members, const CabinetOptions& options = {});

// Ways to spoil a built cabinet, for tests of the readers and of the loader.
enum class CabDamage {
  FileTableBeyondEnd,  // the member list's offset points past the end of the cabinet
  CutEntry,            // the cabinet ends inside its last member entry
  DataBlockBeyondEnd,  // the folder's first data block lies past the end
};
// The cabinet with that damage done to it (one folder, as BuildCabinet writes).
Bytes DamageCabinet(Bytes cabinet, CabDamage damage);

// Compression type word of the folder for the options (0, 1, or 3 | bits << 8).
uint16_t CabCompressionType(const CabinetOptions& options);

}  // namespace filmwriter
