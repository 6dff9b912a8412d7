#pragma once
// The names kof export writes under in a folder, as a case-insensitive file system sees
// them. (The temporary file that becomes OUT when complete: platform/export_leftovers.h.)
#include <filesystem>
#include <string>
#include <vector>

// The name as a case-insensitive file system compares it: letters of any script in
// lower case (UTF-8; bytes that are not UTF-8 stay as they are).
std::string FoldedName(const std::string& name);
// The whole path folded so: absolute, with "." and ".." and symbolic links of the folders
// that exist resolved, so that two ways of naming one file give one text.
std::string FoldedPath(const std::filesystem::path& path);

// The files of OUT's folder named as OUT but for case, OUT itself when it exists.
std::vector<std::filesystem::path> OutputsNamedLike(const std::filesystem::path& out);
