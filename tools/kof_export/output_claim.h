#pragma once
// Whose video holds an output's name. A batch writes a film's video only where no other
// film's video is (unless --force): names that differ only in case count as one, as a
// case-insensitive file system (Windows, macOS, a USB stick) would take them. The check
// is made when the batch is planned and again when the video is complete, since other
// runs (xargs -P, a job runner's machines) write into the same folder meanwhile.
#include <filesystem>
#include <optional>
#include <string>

struct OutputHolder {
  std::filesystem::path file;  // OUT, or a name that differs from it only in case
  bool sameFilm = false;       // a video made from the film of the fingerprint asked about
};

// The file that holds OUT's name, if any: one of another film (or of no known film)
// before one of this film.
std::optional<OutputHolder> HolderOf(const std::filesystem::path& out, const std::string& fingerprint);

// "FILE holds the video of another film ...; --force overwrites it".
std::string HeldByAnotherText(const std::filesystem::path& file);

enum class Publishing { Replace, KeepOthers };
enum class Published { Written, AlreadyThere };

// Moves the complete temporary video to OUT. With KeepOthers a file that holds OUT's
// name stays: when it is this film's video, the temporary file is removed
// (AlreadyThere); otherwise EkoError(HeldByAnotherText) is thrown. Throws EkoError
// ("cannot write OUT: reason") when the move fails, and ExportInterrupted, moving
// nothing, once a stop has come (interruption.h): up to the move the export can still
// be cancelled and leave OUT as it was; after it, the export has succeeded.
Published PublishVideo(const std::filesystem::path& temporary, const std::filesystem::path& out,
                       const std::string& fingerprint, Publishing publishing);
