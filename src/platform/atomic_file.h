// Replacing a file so that a crash at any moment leaves either the old or
// the new content on disk, never a mixture and never an empty file.
#pragma once

#include <string>

// Writes the bytes to a temporary file in the same folder, flushes it to the
// disk, renames it over the target and flushes the folder. A symbolic link at
// the path is followed, so the link stays and its target is replaced. An
// existing file keeps its permission bits; a new one is private to the user
// (0600). On failure the target is unchanged, the temporary file is removed
// and `error` (when given) holds the reason.
bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
