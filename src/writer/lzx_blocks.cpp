#include "writer/lzx_blocks.h"

#include <stdexcept>
#include <vector>

namespace filmwriter {

namespace {
constexpr uint32_t kUncompressedBlock = 3;

// Collects bits most significant first and emits them as 16-bit little-endian words.
class BitWriter {
public:
  void Put(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      FWord = uint16_t((FWord << 1) | ((value >> i) & 1));
      if (++FBits == 16) Flush();
    }
  }
  // Pads to the next word; a stream already on a word boundary gets a whole zero
  // word, since decoders always drop 1 to 16 bits here.
  Bytes AlignForUncompressedBlock() {
    Put(0, 16 - FBits);
    return FOut;
  }

private:
  void Flush() {
    FOut.push_back(uint8_t(FWord));
    FOut.push_back(uint8_t(FWord >> 8));
    FWord = 0;
    FBits = 0;
  }
  Bytes FOut;
  uint16_t FWord = 0;
  int FBits = 0;
};
}  // namespace

Bytes LzxUncompressedFrame(const uint8_t* data, size_t size, bool firstFrame) {
  if (size == 0 || size > 32768) throw std::invalid_argument("LZX frame of 1..32768 bytes");
  BitWriter bits;
  if (firstFrame) bits.Put(0, 1);  // no E8 translation
  bits.Put(kUncompressedBlock, 3);
  bits.Put(uint32_t(size) >> 8, 16);
  bits.Put(uint32_t(size) & 0xFF, 8);
  Bytes out = bits.AlignForUncompressedBlock();
  for (int r = 0; r < 3; ++r) PutU32(out, 1);  // R0, R1, R2
  out.insert(out.end(), data, data + size);
  if (size & 1) out.push_back(0);
  return out;
}

}  // namespace filmwriter
