#pragma once
// The names kof export writes under in a folder: OUT itself, and the temporary file
// beside it that becomes OUT when complete. A temporary name carries the machine and
// the process that write it, so that a later run can tell a file abandoned by a process
// that was killed from one still being written, also when machines share the folder.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The name as a case-insensitive file system compares it: letters of any script in
// lower case (UTF-8; bytes that are not UTF-8 stay as they are).
std::string FoldedName(const std::string& name);

// OUT.kof-export-HOST-PID: where process pid of this machine writes OUT.
std::filesystem::path TemporaryOutput(const std::filesystem::path& out, int64_t pid);

// The files of OUT's folder named as OUT but for case, OUT itself when it exists. Temporary
// outputs are not among them.
std::vector<std::filesystem::path> OutputsNamedLike(const std::filesystem::path& out);

// Removes the temporary outputs in folder that a process of this machine left and that
// no running process but this one can be writing: the process named in the name is
// gone, or is this one, which has written nothing yet. Files named after another
// machine stay, since its processes cannot be seen from here. Returns how many went.
int RemoveAbandonedOutputs(const std::filesystem::path& folder);
