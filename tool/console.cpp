#include "tool/console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

const char* ProgramName(int argc, char* const argv[], const char* fallback) {
    return argc > 0 && argv[0] != nullptr ? argv[0] : fallback;
}

bool FinishOutput(const char* program) {
    errno = 0;
    // The error flag also catches a write that failed earlier in the run,
    // when the stream's buffer was flushed on its own.
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return true;
    }
    const int error = errno != 0 ? errno : EIO;
    std::fprintf(stderr, "%s: cannot write the output: %s\n", program, std::strerror(error));
    return false;
}
