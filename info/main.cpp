// d88info: shows what a D88 image holds and what d88cut would cut from it.

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "info/describe.h"
#include "tool/console.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s d88file\n", ProgramName(argc, argv, "d88info"));
        return 1;
    }
    D88Image image;
    if (!image.Open(argv[1])) {
        std::fprintf(stderr, "d88info: cannot open %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    DescribeImage(image, stdout);
    return FinishOutput("d88info") ? 0 : 1;
}
