#pragma once
// Writing a film's text index beside it.
#include <filesystem>

#include "text/text_index.h"

// Writes the index through a temporary file that becomes out only when complete. A stop
// noted before then (interruption.h) leaves out as it was and no temporary file, and
// throws ExportInterrupted; throws EkoError when the file cannot be written.
void WriteTextIndex(const TTextIndex& index, const std::filesystem::path& out);
