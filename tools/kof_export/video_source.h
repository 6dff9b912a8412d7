#pragma once
// What a video made by kof export records about the film it was made from, so that a
// later run can tell its own video (a batch run again after an interruption) from
// another film's that holds the same name. The record is the film's SHA-256: it names
// the film by its content, whatever path, mount point, copy or time stamp the film has
// where the check runs (the machines of a job runner mount a library at different
// places; a copy gets a new time), and a film recorded again under the same name is
// told apart. `sha256sum FILM` shows the same digits. MP4, WebM and MKV carry the
// record in the file's comment tag, GIF in a comment block (gif_comment.h).
#include <filesystem>
#include <optional>
#include <string>

// "sha256:" and the film's SHA-256 in hex. Throws EkoError when the film cannot be read.
std::string FilmFingerprint(const std::filesystem::path& film);

// The comment a video carries for the film of that fingerprint.
std::string SourceRecord(const std::string& fingerprint);

// The fingerprint a video records; nothing for a file that records none (another
// program's or an older kof's video, or no video at all).
std::optional<std::string> RecordedFingerprint(const std::filesystem::path& video);
