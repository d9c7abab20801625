#pragma once
// What kind of file a stream or a path is, asked the same way on every
// platform, and the reason an fopen failed, told the same way too.

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

struct FileStatus {
    bool exists = false;
    bool directory = false;
    bool regular = false;
    // Bytes of a regular file; -1 for anything else.
    std::int64_t size = -1;
    // Which file it is; Windows has no inodes, and gives 0.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

#ifdef _WIN32
using PlatformStat = struct _stat64;
#else
using PlatformStat = struct stat;
#endif

inline FileStatus ToFileStatus(const PlatformStat& status) {
    FileStatus file;
    file.exists = true;
#ifdef _WIN32
    file.directory = (status.st_mode & _S_IFMT) == _S_IFDIR;
    file.regular = (status.st_mode & _S_IFMT) == _S_IFREG;
#else
    file.directory = S_ISDIR(status.st_mode);
    file.regular = S_ISREG(status.st_mode);
#endif
    file.size = file.regular ? static_cast<std::int64_t>(status.st_size) : -1;
    file.device = static_cast<std::uint64_t>(status.st_dev);
    file.inode = static_cast<std::uint64_t>(status.st_ino);
    return file;
}

// Of the file the stream is open on, so nothing can change between the open
// and the question.
inline FileStatus StatusOf(std::FILE* stream) {
    PlatformStat status;
#ifdef _WIN32
    const bool known = _fstat64(_fileno(stream), &status) == 0;
#else
    const bool known = fstat(fileno(stream), &status) == 0;
#endif
    return known ? ToFileStatus(status) : FileStatus();
}

// Of what the path names, following links.
inline FileStatus StatusOf(const char* path) {
    PlatformStat status;
#ifdef _WIN32
    const bool known = _stat64(path, &status) == 0;
#else
    const bool known = stat(path, &status) == 0;
#endif
    return known ? ToFileStatus(status) : FileStatus();
}

// Of the path itself: a symbolic link is not followed, and shows as neither
// a directory nor a regular file. Windows has no lstat; there it is
// StatusOf(path).
inline FileStatus LinkStatusOf(const char* path) {
#ifdef _WIN32
    return StatusOf(path);
#else
    PlatformStat status;
    return lstat(path, &status) == 0 ? ToFileStatus(status) : FileStatus();
#endif
}

// Windows refuses to open a directory with EACCES, where Linux says EISDIR.
inline int OpenError(const char* path, int error) {
#ifdef _WIN32
    if (error == EACCES && StatusOf(path).directory) {
        return EISDIR;
    }
#else
    (void)path;
#endif
    return error;
}
