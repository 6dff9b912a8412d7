#pragma once
// A film file as the page's workers open it: a film behind a player (the trailer at its
// end) or a plain one.
#include <filesystem>

#include "film/segment_list.h"

// Loads the film at path into segments, unpacking into folder. Throws EkoError when the
// file cannot be read.
void LoadFilmFile(TSegmentList& segments, const std::filesystem::path& path, const std::filesystem::path& folder);
