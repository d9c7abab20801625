// d88info: shows what a D88 image holds and what d88cut would cut from it.

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <langinfo.h>
#endif

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "image/file_status.h"
#include "info/describe.h"
#include "tool/console.h"

namespace {

void PrintUsage(std::FILE* out, int argc, char* argv[]) {
    std::fprintf(out, "Usage: %s d88file\n", ProgramName(argc, argv, "d88info"));
}

// Where the console takes UTF-8, disk names are shown decoded.
bool ConsoleTakesUtf8() {
#ifdef _WIN32
    return GetConsoleOutputCP() == CP_UTF8;
#else
    const char* codeset = std::setlocale(LC_ALL, "") != nullptr ? nl_langinfo(CODESET) : nullptr;
    return codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout, argc, argv);
        std::fputs(
            "Shows the disks of a D88 floppy-disk image with the IDs of each track's records,\n"
            "marks what is odd about them, and says what d88cut would cut from disk 0.\n"
            "  --help     show this and exit\n"
            "  --version  show the version and exit\n",
            stdout);
        return FinishOutput("d88info") ? 0 : 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("d88info %s\n", D88CUT_VERSION);
        return FinishOutput("d88info") ? 0 : 1;
    }
    // An option it does not know, unless a file has that name.
    const FileStatus file = argc == 2 ? StatusOf(argv[1]) : FileStatus();
    if (argc != 2 || (argv[1][0] == '-' && !file.exists)) {
        PrintUsage(stderr, argc, argv);
        return 1;
    }
    D88Image image;
    if (!image.Open(argv[1])) {
        std::fprintf(stderr, "d88info: cannot open %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    DescribeOptions options;
    options.fileSize = file.size;
    options.utf8Names = ConsoleTakesUtf8();
    DescribeImage(image, options, stdout);
    return FinishOutput("d88info") ? 0 : 1;
}
