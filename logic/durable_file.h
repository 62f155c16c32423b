// Files written so that a failure never costs the old content: the bytes go
// to a new file beside the target, every write is checked, the new file is
// forced to the disk and only then renamed over the target, and the rename
// itself is forced to the disk by syncing the folder.
#pragma once

#include <string>
#include <string_view>

// Writes all of `bytes` to an open descriptor, resuming after interrupted and
// partial writes; false with errno set when a write fails.
bool WriteAllBytes(int descriptor, std::string_view bytes);

// Forces the folder holding `path` to the disk, so that a rename or a new
// name in it survives a crash. Folders that cannot be synced (some file
// systems refuse) are not an error: the data itself was synced already.
void SyncFolderOf(const std::string& path);

// Replaces `target` (a regular file or a new name) with exactly `bytes`.
// Afterwards the file holds either all of the new bytes or its old content.
// The new file gets the permission bits `keepMode` (an existing target's),
// or, when that is negative, those of any new file under the creation mask.
// Returns the system's reason on failure and an empty string on success.
std::string ReplaceFileDurably(const std::string& target, std::string_view bytes, int keepMode = -1);
