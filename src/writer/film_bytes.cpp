#include "writer/film_bytes.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace filmwriter {

void PutU8(Bytes& out, uint8_t value) { out.push_back(value); }

void PutU16(Bytes& out, uint16_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void PutU32(Bytes& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(value >> shift));
}

void PutI32(Bytes& out, int32_t value) { PutU32(out, uint32_t(value)); }

void PutU64(Bytes& out, uint64_t value) {
  for (int shift = 0; shift < 64; shift += 8) out.push_back(uint8_t(value >> shift));
}

void PutF32(Bytes& out, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutU32(out, bits);
}

void PutBytes(Bytes& out, const Bytes& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void PutText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

void PatchU32(Bytes& out, size_t offset, uint32_t value) {
  if (offset + 4 > out.size()) throw std::out_of_range("PatchU32 past the end");
  for (int i = 0; i < 4; ++i) out[offset + size_t(i)] = uint8_t(value >> (8 * i));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) PutBytes(out, part);
  return out;
}

void WriteBytesToFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

Bytes ReadBytesFromFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace filmwriter
