#include "tool/cut.h"

#include <cerrno>
#include <cstring>

#include "image/file_status.h"

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

// Removes a file that this run created or replaced but could not write
// whole, so that no file under an item's name holds less than the item.
// Only the regular file that was written, as `opened` describes it: never a
// device, and never a symbolic link or what it points to.
void RemoveIncomplete(const char* name, const FileStatus& opened) {
    const FileStatus now = LinkStatusOf(name);
    if (opened.regular && now.regular && now.device == opened.device && now.inode == opened.inode) {
        std::remove(name);
    }
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
    // Asked before the close, while the stream still names the file it wrote.
    const FileStatus opened = StatusOf(g_outFile);
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
