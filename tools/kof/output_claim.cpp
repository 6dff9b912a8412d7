#include "output_claim.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "film/ko_error.h"
#include "output_names.h"
#include "video_source.h"

namespace fs = std::filesystem;

namespace {
enum class Move { Done, Taken, Unsupported };

// Renames without replacing what is there, atomically where the file system can.
Move RenameIfFree(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Move::Done;
  if (errno == EEXIST) return Move::Taken;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) throw std::system_error(errno, std::generic_category());
  // A file system without that rename (NFS among them) still makes a hard link only
  // where no file is.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return Move::Done;
  }
  if (errno == EEXIST) return Move::Taken;
  if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP) return Move::Unsupported;
  throw std::system_error(errno, std::generic_category());
}

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
  throw EkoError("cannot write " + out.string() + ": it was taken and freed again meanwhile");
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
  return file.string() +
         " holds no video of this film, but another film's or another program's file; --force overwrites it";
}

Published PublishVideo(const fs::path& temporary, const fs::path& out, const std::string& fingerprint,
                       Publishing publishing) {
  try {
    if (publishing == Publishing::KeepOthers) return PublishBesideOthers(temporary, out, fingerprint);
    fs::rename(temporary, out);
    return Published::Written;
  } catch (const std::system_error& error) {
    throw EkoError("cannot write " + out.string() + ": " + error.code().message());
  }
}
