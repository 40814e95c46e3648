// Replacing a file so that a crash at any moment leaves either the old or
// the new content on disk, never a mixture and never an empty file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

// A regular file's bytes, read-only: the file's own pages mapped into memory
// (a copy where the file cannot be mapped), released with the last owner.
class TFileBytes {
public:
    explicit TFileBytes(std::string copy) : FCopy(std::move(copy)), FData(FCopy.data()), FSize(FCopy.size()) {}
    TFileBytes(const void* mapped, size_t size) : FData(static_cast<const char*>(mapped)), FSize(size), FMapped(true) {}
    ~TFileBytes();
    TFileBytes(const TFileBytes&) = delete;
    TFileBytes& operator=(const TFileBytes&) = delete;

    std::string_view Bytes() const { return {FData, FSize}; }

private:
    std::string FCopy;
    const char* FData;
    size_t FSize;
    bool FMapped = false;
};

// ReadRegularFile for a file that is only read, without copying its bytes:
// the same checks, the same refusals. The pages are mapped at once, so that
// reading them costs no fault each.
TFileRead MapRegularFile(const std::string& path, std::shared_ptr<const TFileBytes>& bytes, size_t maxBytes,
                         TFileIdentity* identity, std::string* error);

// The file a path names once symbolic links are followed (the path itself
// when it is no link); a dangling link gives the path it points at.
std::string ResolveLinkTarget(const std::string& path);
