#pragma once
// What tells one version of a film from another, for what is kept about a film beside it
// (its text index): a hash of the file's size, the film's index and every segment's
// header. Those headers hold each segment's frame count and the sizes and places of its
// packed data and sound, so a film recorded again or cut differs; reading them costs a
// few bytes a segment, not the film.
#include <filesystem>
#include <string>

// 16 lowercase hex digits; "" when the file cannot be opened. A film behind another
// file (a film executable) is found through its trailer, as the players find it.
std::string FilmIdentity(const std::filesystem::path& film);
