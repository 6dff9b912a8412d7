#pragma once
// Byte buffers for the film writer: little-endian appends and writing a buffer to a
// file. Everything the writer builds is a Bytes value.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace filmwriter {

using Bytes = std::vector<uint8_t>;

void PutU8(Bytes& out, uint8_t value);
void PutU16(Bytes& out, uint16_t value);
void PutU32(Bytes& out, uint32_t value);
void PutI32(Bytes& out, int32_t value);
void PutU64(Bytes& out, uint64_t value);
void PutF32(Bytes& out, float value);
void PutBytes(Bytes& out, const Bytes& bytes);
void PutText(Bytes& out, const std::string& text);  // the characters, no terminator

// Overwrites 4 bytes at offset (little-endian); throws std::out_of_range past the end.
void PatchU32(Bytes& out, size_t offset, uint32_t value);

Bytes Concat(std::initializer_list<Bytes> parts);

// Creates (or empties) the file and writes the bytes; throws std::runtime_error when
// the file cannot be written.
void WriteBytesToFile(const std::filesystem::path& path, const Bytes& bytes);
// The whole file; throws std::runtime_error when it cannot be read.
Bytes ReadBytesFromFile(const std::filesystem::path& path);

}  // namespace filmwriter
