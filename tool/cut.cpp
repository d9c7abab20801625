#include "tool/cut.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "image/open_error.h"

D88Image g_image;
std::uint8_t g_cutBuffer[kCutBufferSize];
std::FILE* g_outFile = nullptr;
bool g_writeFailed = false;

namespace {

void ReportWriteFailure(const char* name, int error) {
    // Progress lines first, so that one stream of both reads in order.
    std::fflush(stdout);
    std::fprintf(stderr, "d88cut: cannot write %s: %s\n", name, std::strerror(error));
    g_writeFailed = true;
}

// What the output stream was opened on, asked before it is closed.
struct OpenedFile {
    bool regular = false;
#ifndef _WIN32
    dev_t device = 0;
    ino_t inode = 0;
#endif
};

OpenedFile Identify(std::FILE* file) {
    OpenedFile opened;
#ifdef _WIN32
    struct _stat64 status;
    opened.regular =
        _fstat64(_fileno(file), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode)) {
        opened.regular = true;
        opened.device = status.st_dev;
        opened.inode = status.st_ino;
    }
#endif
    return opened;
}

// Removes a file that this run created or replaced but could not write
// whole, so that no file under an item's name holds less than the item.
// Only the regular file that was written: never a device, and never a
// symbolic link or what it points to.
void RemoveIncomplete(const char* name, const OpenedFile& opened) {
    if (!opened.regular) {
        return;
    }
#ifndef _WIN32
    struct stat status;
    // A link has an inode of its own, so it never passes for what it points to.
    if (lstat(name, &status) != 0 || status.st_dev != opened.device ||
        status.st_ino != opened.inode) {
        return;
    }
#endif
    std::remove(name);
}

}  // namespace

bool CutFile(const char* name, std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
             std::int32_t n, std::int32_t skip, std::int32_t length) {
    if (!FitsCutBuffer(skip, length)) {
        return false;
    }
    const std::int32_t wanted = skip + length;
    const std::int32_t got = g_image.ReadSectors(track, c, h, r, n, g_cutBuffer, wanted);
    if (got == 0) {
        return false;
    }
    // What was not read must not carry an earlier item's bytes into this file.
    std::memset(g_cutBuffer + got, 0, static_cast<std::size_t>(wanted - got));

    std::printf("cutting ... %s\n", name);
    g_outFile = std::fopen(name, "wb");
    if (g_outFile == nullptr) {
        ReportWriteFailure(name, OpenError(name, errno));
        return true;
    }
    errno = 0;
    const std::size_t size = static_cast<std::size_t>(length);
    bool written = std::fwrite(g_cutBuffer + skip, 1, size, g_outFile) == size;
    int error = errno;
    const OpenedFile opened = Identify(g_outFile);
    if (std::fclose(g_outFile) != 0 && written) {
        written = false;
        error = errno;
    }
    g_outFile = nullptr;
    if (!written) {
        ReportWriteFailure(name, error != 0 ? error : EIO);
        RemoveIncomplete(name, opened);
    }
    return true;
}
