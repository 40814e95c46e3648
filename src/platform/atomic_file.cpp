#include "platform/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Follows a symbolic link at the path (a dangling one too) so the rename
// replaces the file it points at rather than the link.
std::string ResolveTarget(const std::string& path) {
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
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);
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
