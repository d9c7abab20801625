#pragma once
// What the fuzz targets share: a failed check that libFuzzer reports as a
// crash, and an in-memory file that the reader opens by path.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Open reads it through /proc/self/fd.
struct MemoryFile {
    MemoryFile() {
        fd = memfd_create("d88cut_fuzzer", 0);
        Check(fd >= 0, "memfd_create");
        std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    }
    void Set(const std::uint8_t* data, std::size_t size) {
        Check(ftruncate(fd, 0) == 0, "ftruncate");
        std::size_t done = 0;
        while (done < size) {
            const ssize_t written = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
            Check(written > 0, "pwrite");
            done += static_cast<std::size_t>(written);
        }
    }
    int fd = -1;
    char path[64] = {};
};
