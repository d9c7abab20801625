#include "tool/cut.h"

#include <cerrno>
#include <cstring>

D88Image g_image;
std::uint8_t g_cutBuffer[kCutBufferSize];
std::FILE* g_outFile = nullptr;
bool g_writeFailed = false;

namespace {

void ReportWriteFailure(const char* name, int error) {
    std::fprintf(stderr, "d88cut: cannot write %s: %s\n", name, std::strerror(error));
    g_writeFailed = true;
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
        ReportWriteFailure(name, errno);
        return true;
    }
    errno = 0;
    const std::size_t size = static_cast<std::size_t>(length);
    bool written = std::fwrite(g_cutBuffer + skip, 1, size, g_outFile) == size;
    int error = errno;
    if (std::fclose(g_outFile) != 0 && written) {
        written = false;
        error = errno;
    }
    g_outFile = nullptr;
    if (!written) {
        ReportWriteFailure(name, error != 0 ? error : EIO);
    }
    return true;
}
