#include "kof_export/text_index_file.h"

#include <fstream>
#include <system_error>

#include "film/ko_error.h"
#include "kof_export/interruption.h"
#include "platform/export_leftovers.h"
#include "platform/machine_processes.h"
#include "kof_common/utf8_path.h"

namespace fs = std::filesystem;

void WriteTextIndex(const TTextIndex& index, const fs::path& out) {
  const fs::path temporary = TemporaryOutput(out, ThisProcessId());
  const std::string document = TextIndexDocument(index);
  std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
  file.write(document.data(), std::streamsize(document.size()));
  file.close();
  std::error_code error;
  if (!file) {
    fs::remove(temporary, error);
    throw EkoError("cannot write " + Utf8Of(out));
  }
  if (const int signal = InterruptingSignal(); signal != 0) {
    fs::remove(temporary, error);
    throw ExportInterrupted(signal);
  }
  fs::rename(temporary, out, error);
  if (error) {
    fs::remove(temporary, error);
    throw EkoError("cannot write " + Utf8Of(out) + ": " + error.message());
  }
}
