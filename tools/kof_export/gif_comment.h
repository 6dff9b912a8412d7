#pragma once
// GIF89a's comment extension: text a GIF carries beside its pictures, which viewers
// pass over. kof export keeps there what other formats keep in their metadata.
#include <filesystem>
#include <string>
#include <vector>

// Puts a comment holding text just before the GIF's trailer. Throws EkoError when the
// file cannot be written or does not end as a GIF does.
void AppendGifComment(const std::filesystem::path& gif, const std::string& text);

// The GIF's comments in order; empty for a file that is not a GIF. A damaged GIF gives
// the comments before the damage.
std::vector<std::string> GifComments(const std::filesystem::path& gif);
