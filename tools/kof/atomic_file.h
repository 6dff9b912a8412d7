#pragma once
// A file written whole or not at all: through a temporary file beside it, flushed to
// the disk, and a rename over the name, so that a reader (or a crash) never finds half
// a file under it.
#include <cstdint>
#include <filesystem>
#include <vector>

// Writes bytes to out, replacing what was there. Throws std::runtime_error ("cannot
// write OUT: reason") when it cannot; out is then left as it was.
void WriteFileAtomically(const std::filesystem::path& out, const std::vector<uint8_t>& bytes);
