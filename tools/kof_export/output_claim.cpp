#include "kof_export/output_claim.h"

#include <system_error>

#include "film/ko_error.h"
#include "kof_export/interruption.h"
#include "kof_export/output_names.h"
#include "kof_export/rename_if_free.h"
#include "kof_export/video_source.h"
#include "kof_common/utf8_path.h"

namespace fs = std::filesystem;

namespace {
// The temporary video is not needed: the film's video is there already.
Published KeepHolder(const fs::path& temporary) {
  std::error_code ignored;
  fs::remove(temporary, ignored);
  return Published::AlreadyThere;
}

Published PublishBesideOthers(const fs::path& temporary, const fs::path& out, const std::string& fingerprint) {
  const auto settle = [&]() -> std::optional<Published> {
    const auto holder = HolderOf(out, fingerprint);
    if (!holder) return std::nullopt;
    if (!holder->sameFilm) throw EkoError(HeldByAnotherText(holder->file));
    return KeepHolder(temporary);
  };
  if (const auto settled = settle()) return *settled;
  switch (RenameIfFree(temporary, out)) {
    case Move::Done: return Published::Written;
    case Move::Taken: break;
    case Move::Unsupported: fs::rename(temporary, out); return Published::Written;
  }
  if (const auto settled = settle()) return *settled;
  throw EkoError("cannot write " + Utf8Of(out) + ": it was taken and freed again meanwhile");
}
}  // namespace

std::optional<OutputHolder> HolderOf(const fs::path& out, const std::string& fingerprint) {
  std::optional<OutputHolder> holder;
  for (const fs::path& file : OutputsNamedLike(out)) {
    const bool same = RecordedFingerprint(file) == fingerprint;
    if (!same) return OutputHolder{file, false};
    holder = OutputHolder{file, true};
  }
  return holder;
}

std::string HeldByAnotherText(const fs::path& file) {
  return Utf8Of(file) +
         " holds no video of this film, but another film's or another program's file; --force overwrites it";
}

Published PublishVideo(const fs::path& temporary, const fs::path& out, const std::string& fingerprint,
                       Publishing publishing) {
  ThrowIfInterrupted();
  try {
    if (publishing == Publishing::KeepOthers) return PublishBesideOthers(temporary, out, fingerprint);
    fs::rename(temporary, out);
    return Published::Written;
  } catch (const std::system_error& error) {
    throw EkoError("cannot write " + Utf8Of(out) + ": " + error.code().message());
  }
}
