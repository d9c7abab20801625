// d88info: shows what a D88 image holds and what d88cut would cut from it.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "info/describe.h"

int main(int argc, char* argv[]) {
    const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "d88info";
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s d88file\n", program);
        return 1;
    }
    // A directory opens for reading on Linux, and would pass for an empty image.
    struct stat status;
    if (stat(argv[1], &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fprintf(stderr, "d88info: cannot open %s: %s\n", argv[1], std::strerror(EISDIR));
        return 1;
    }
    D88Image image;
    if (!image.Open(argv[1])) {
        std::fprintf(stderr, "d88info: cannot open %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    DescribeImage(image, stdout);
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "d88info: cannot write the output: %s\n",
                     std::strerror(errno != 0 ? errno : EIO));
        return 1;
    }
    return 0;
}
