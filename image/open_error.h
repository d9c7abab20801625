#pragma once
// The reason an fopen failed, told the same way on every platform: Windows
// refuses to open a directory with EACCES, where Linux says EISDIR.

#include <sys/stat.h>

#include <cerrno>

inline int OpenError(const char* path, int error) {
#ifdef _WIN32
    struct _stat64 status;
    if (error == EACCES && _stat64(path, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFDIR) {
        return EISDIR;
    }
#else
    (void)path;
#endif
    return error;
}
