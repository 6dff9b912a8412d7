#include "kof_export/output_names.h"

#include <system_error>

#include "text/utf8_text.h"
#include "kof_export/unicode_case.h"
#include "kof_common/utf8_path.h"

namespace fs = std::filesystem;

std::string FoldedName(const std::string& name) { return MappedText(name, LowerCase); }

std::string FoldedPath(const fs::path& path) {
  std::error_code error;
  fs::path whole = fs::weakly_canonical(fs::absolute(path, error), error);
  if (error) whole = fs::absolute(path, error).lexically_normal();
  return FoldedName(Utf8Of(whole));
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
