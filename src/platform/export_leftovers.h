#pragma once
// What an export (kof-export) writes before it is complete, named after the machine and
// the process that write it, so that what a killed process left can be told from what a
// running one is still writing: the temporary output beside OUT,
// ".kof-MMMMMMMM-PID.tmp", and the folder it unpacks the film into (a "koP_" folder of
// the system temporary folder, film/temp_files.h), marked by an empty file of that name
// inside. MMMMMMMM is a digest of the machine's name: the name stays short beside an
// output whose own name is as long as the file system allows, and machines that share a
// folder leave each other's files alone, since their processes cannot be seen from here.
#include <cstdint>
#include <filesystem>

// folder-of-out/.kof-MMMMMMMM-PID.tmp: where process pid of this machine writes out.
std::filesystem::path TemporaryOutput(const std::filesystem::path& out, int64_t pid);

// Marks folder as the one this process unpacks into, and takes the mark away again
// (before the folder is removed). A folder without a mark is never removed by others.
void MarkUnpackFolder(const std::filesystem::path& folder);
void UnmarkUnpackFolder(const std::filesystem::path& folder);

// Removes the temporary outputs in folder that a process of this machine left and that
// no running process but this one can be writing: the process named is gone, or is this
// one, which has written nothing yet. Returns how many went.
int RemoveAbandonedOutputs(const std::filesystem::path& folder);
// Removes the unpack folders in the system temporary folder whose marking process is
// gone (or is this one). Folders without a mark (the player's own) stay. Returns how
// many went.
int RemoveAbandonedUnpackFolders();
