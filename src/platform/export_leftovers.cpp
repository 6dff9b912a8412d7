#include "platform/export_leftovers.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>

#include "film/ko_error.h"
#include "film/temp_files.h"
#include "platform/machine_processes.h"

namespace fs = std::filesystem;

namespace {
constexpr std::string_view kMark = ".kof-";
constexpr std::string_view kEnd = ".tmp";
constexpr std::string_view kUnpackFolderMark = "koP_";

// The machine's name in eight hex digits (FNV-1a).
std::string MachineDigest() {
  uint32_t hash = 2166136261u;
  for (const unsigned char c : MachineName()) hash = (hash ^ c) * 16777619u;
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(hash));
  return digits;
}

fs::path LeftoverName(int64_t pid) {
  return std::string(kMark) + MachineDigest() + "-" + std::to_string(pid) + std::string(kEnd);
}

std::string NameOf(const fs::path& path) {
  const std::u8string name = path.filename().u8string();
  return std::string(name.begin(), name.end());
}

// The process of this machine (of that digest) that wrote a file of that name; 0 when
// the name is no leftover's or another machine's.
int64_t WriterOf(const std::string& name, const std::string& digest) {
  const std::string head = std::string(kMark) + digest + "-";
  if (!name.starts_with(head) || !name.ends_with(kEnd)) return 0;
  const std::string digits = name.substr(head.size(), name.size() - head.size() - kEnd.size());
  if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoll(digits);
}

// Nothing can be writing what the process left: it is gone, or it is this one, which
// cleans up before it writes anything.
bool Abandoned(int64_t writer) { return writer > 0 && (writer == ThisProcessId() || !ProcessRunning(writer)); }

// The process that marked the unpack folder; 0 when none did.
int64_t MarkerOf(const fs::path& folder, const std::string& digest) {
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
    if (const int64_t writer = WriterOf(NameOf(entry->path()), digest); writer > 0) return writer;
  return 0;
}
}  // namespace

fs::path TemporaryOutput(const fs::path& out, int64_t pid) { return out.parent_path() / LeftoverName(pid); }

void MarkUnpackFolder(const fs::path& folder) { std::ofstream(folder / LeftoverName(ThisProcessId())); }

void UnmarkUnpackFolder(const fs::path& folder) {
  std::error_code ignored;
  fs::remove(folder / LeftoverName(ThisProcessId()), ignored);
}

int RemoveAbandonedUnpackFolders() {
  fs::path parent;
  try {
    parent = SystemTempFolder();
  } catch (const EkoError&) {
    return 0;
  }
  const std::string digest = MachineDigest();
  int removed = 0;
  std::error_code error;
  for (fs::directory_iterator entry(parent, error), end; !error && entry != end; entry.increment(error)) {
    std::error_code ignored;
    if (!NameOf(entry->path()).starts_with(kUnpackFolderMark) || !entry->is_directory(ignored) ||
        entry->is_symlink(ignored))
      continue;
    const int64_t marker = MarkerOf(entry->path(), digest);
    if (Abandoned(marker) && RemoveTempPath(entry->path())) ++removed;
  }
  return removed;
}

int RemoveAbandonedOutputs(const fs::path& folder) {
  const std::string digest = MachineDigest();
  int removed = 0;
  std::error_code error;
  for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    if (!Abandoned(WriterOf(NameOf(entry->path()), digest)) || !entry->is_regular_file(ignored)) continue;
    removed += fs::remove(entry->path(), ignored) ? 1 : 0;
  }
  return removed;
}
