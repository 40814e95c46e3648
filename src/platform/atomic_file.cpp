#include "platform/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace {

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

// Follows a symbolic link at the path (a dangling one too) so the rename
// replaces the file it points at rather than the link.
std::string ResolveLinkTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 16; ++depth) {
        char buf[PATH_MAX];
        ssize_t n = readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0) return current;
        std::string link(buf, static_cast<size_t>(n));
        current = link.starts_with('/') ? link : FolderOf(current) + "/" + link;
    }
    return current;
}

namespace {

bool Fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string* error) {
    const std::string target = ResolveLinkTarget(path);
    const std::string folder = FolderOf(target);
    struct stat existing {};
    if (lstat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        if (error) *error = target + " is not a regular file";
        return false;
    }
    std::string temp = target + ".tmp-XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return Fail(error, "cannot create a temporary file in " + folder);

    struct stat st {};
    mode_t mode = (stat(target.c_str(), &st) == 0) ? (st.st_mode & 07777) : 0600;
    bool ok = fchmod(fd, mode) == 0 || errno == EPERM;
    ok = ok && WriteAll(fd, bytes) && fsync(fd) == 0;
    int savedErrno = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        errno = savedErrno;
        return Fail(error, "cannot write " + target);
    }
    // The rename is durable only once the folder entry is on disk.
    int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bytes.clear();
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return false;
    }
    if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    while (true) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return false;
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

namespace {

TFileIdentity IdentityOf(const struct stat& st) {
    TFileIdentity id;
    id.Exists = true;
    id.Device = static_cast<uint64_t>(st.st_dev);
    id.Inode = static_cast<uint64_t>(st.st_ino);
    id.Size = static_cast<uint64_t>(st.st_size);
    id.ModifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.ChangedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}

}  // namespace

TFileIdentity FileIdentityOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {};
    return IdentityOf(st);
}

namespace {

// Opens a data file for reading: a regular file of at most `maxBytes`,
// opened without blocking. -1 with `result` Missing or Refused otherwise.
int OpenRegularFile(const std::string& path, size_t maxBytes, struct stat& st, TFileRead& result, std::string* error) {
    auto refuse = [&](const std::string& why) {
        if (error) *error = why;
        result = TFileRead::Refused;
        return -1;
    };
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) {
            result = TFileRead::Missing;
            return -1;
        }
        return refuse(path + " cannot be opened: " + std::strerror(errno));
    }
    if (fstat(fd, &st) != 0) {
        const int err = errno;
        close(fd);
        return refuse(path + " cannot be inspected: " + std::strerror(err));
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        return refuse(path + " is not a regular file");
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        close(fd);
        return refuse(path + " is larger than " + std::to_string(maxBytes >> 20) + " MiB");
    }
    result = TFileRead::Ok;
    return fd;
}

}  // namespace

TFileBytes::~TFileBytes() {
    if (FMapped) munmap(const_cast<char*>(FData), FSize);
}

TFileRead MapRegularFile(const std::string& path, std::shared_ptr<const TFileBytes>& bytes, size_t maxBytes,
                         TFileIdentity* identity, std::string* error) {
    bytes.reset();
    struct stat st {};
    TFileRead result = TFileRead::Ok;
    const int fd = OpenRegularFile(path, maxBytes, st, result, error);
    if (fd < 0) return result;
    const size_t size = static_cast<size_t>(st.st_size);
    void* mapped = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : MAP_FAILED;
    // A file whose size moved while it was mapped is read as ReadRegularFile
    // reads it, to its end; so is one that cannot be mapped.
    struct stat after {};
    const bool same = mapped != MAP_FAILED && fstat(fd, &after) == 0 && after.st_size == st.st_size;
    close(fd);
    if (same) {
        bytes = std::make_shared<const TFileBytes>(mapped, size);
        if (identity) *identity = IdentityOf(st);
        return TFileRead::Ok;
    }
    if (mapped != MAP_FAILED) munmap(mapped, size);
    std::string copy;
    result = ReadRegularFile(path, copy, maxBytes, identity, error);
    if (result == TFileRead::Ok) bytes = std::make_shared<const TFileBytes>(std::move(copy));
    return result;
}

TFileRead ReadRegularFile(const std::string& path, std::string& bytes, size_t maxBytes, TFileIdentity* identity,
                          std::string* error) {
    bytes.clear();
    auto refuse = [&](const std::string& why) {
        if (error) *error = why;
        return TFileRead::Refused;
    };
    struct stat st {};
    TFileRead opened = TFileRead::Ok;
    const int fd = OpenRegularFile(path, maxBytes, st, opened, error);
    if (fd < 0) return opened;
    // One read of exactly the size the file has (the usual case is then a
    // single system call into a buffer of the right size); a file that grew
    // meanwhile is read on through a small buffer, one byte past the limit
    // telling that it is too large.
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    auto fail = [&](int err) {
        close(fd);
        bytes.clear();
        return refuse(path + " cannot be read: " + std::strerror(err));
    };
    while (done < bytes.size()) {
        ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno);
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    if (done == bytes.size()) {
        char more[4096];
        while (done <= maxBytes) {
            ssize_t n = read(fd, more, std::min(sizeof more, maxBytes + 1 - done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return fail(errno);
            if (n == 0) break;
            bytes.append(more, static_cast<size_t>(n));
            done += static_cast<size_t>(n);
        }
    }
    close(fd);
    bytes.resize(done);
    if (done > maxBytes) {
        bytes.clear();
        return refuse(path + " is larger than " + std::to_string(maxBytes >> 20) + " MiB");
    }
    if (identity) *identity = IdentityOf(st);
    return TFileRead::Ok;
}
