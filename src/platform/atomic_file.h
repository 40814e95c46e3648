// Replacing a file so that a crash at any moment leaves either the old or
// the new content on disk, never a mixture and never an empty file.
#pragma once

#include <cstdint>
#include <string>

// Writes the bytes to a temporary file in the same folder, flushes it to the
// disk, renames it over the target and flushes the folder. A symbolic link at
// the path is followed, so the link stays and its target is replaced. An
// existing file keeps its permission bits; a new one is private to the user
// (0600). Anything but a regular file at the target (a FIFO, a device, a
// folder) is refused, never replaced. On failure the target is unchanged, the temporary file is removed
// and `error` (when given) holds the reason.
bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// What identifies one version of a file on disk: a replacement or any write
// changes it.
struct TFileIdentity {
    bool Exists = false;
    uint64_t Device = 0, Inode = 0, Size = 0;
    int64_t ModifiedNs = 0, ChangedNs = 0;
    bool operator==(const TFileIdentity&) const = default;
};
// The identity of the file at the path (symbolic links followed).
TFileIdentity FileIdentityOf(const std::string& path);

enum class TFileRead { Ok, Missing, Refused };
// Reads a data file: it must be a regular file (a symbolic link to one is
// fine) of at most `maxBytes`. Opening never blocks (a FIFO or a device at
// the path is refused, not read). `identity` receives the identity of what
// was read; `error` the reason for a refusal.
TFileRead ReadRegularFile(const std::string& path, std::string& bytes, size_t maxBytes, TFileIdentity* identity,
                          std::string* error);

// The file a path names once symbolic links are followed (the path itself
// when it is no link); a dangling link gives the path it points at.
std::string ResolveLinkTarget(const std::string& path);
