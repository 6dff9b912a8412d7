#include "output_names.h"

#include <system_error>

#include "film/temp_files.h"
#include "machine_processes.h"
#include "text/utf8_text.h"
#include "unicode_case.h"
#include "utf8_path.h"

namespace fs = std::filesystem;

namespace {
// The process that writes a temporary output of this machine, from its name; 0 when
// the name is not one, or names another machine.
int64_t WriterOf(const std::string& name, const std::string& host) {
  const auto writer = TemporaryOutputWriter(name);
  return writer && writer->Host == host ? writer->Pid : 0;
}
}  // namespace

std::string FoldedName(const std::string& name) { return MappedText(name, LowerCase); }

fs::path TemporaryOutput(const fs::path& out, int64_t pid) {
  return out.parent_path() / PathOfUtf8(TemporaryOutputName(Utf8Of(out.filename()), MachineName(), pid));
}

std::vector<fs::path> OutputsNamedLike(const fs::path& out) {
  std::vector<fs::path> found;
  const std::string wanted = FoldedName(Utf8Of(out.filename()));
  std::error_code error;
  const fs::path folder = out.has_parent_path() ? out.parent_path() : fs::path(".");
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
    if (FoldedName(Utf8Of(entry->path().filename())) == wanted)
      found.push_back(out.parent_path() / entry->path().filename());
  return found;
}

int RemoveAbandonedOutputs(const fs::path& folder) {
  const std::string host = MachineName();
  int removed = 0;
  std::error_code error;
  for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const int64_t writer = WriterOf(Utf8Of(entry->path().filename()), host);
    if (writer <= 0 || (writer != ThisProcessId() && ProcessRunning(writer)) || !entry->is_regular_file()) continue;
    std::error_code ignored;
    removed += fs::remove(entry->path(), ignored) ? 1 : 0;
  }
  return removed;
}
