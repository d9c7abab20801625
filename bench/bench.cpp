// Measures d88cut and the d88image reader and prints a small table:
//  (a) a whole d88cut run on the sample image against bench/reference.cpp,
//  (b) the reader's throughput on a 64-disk image against one fread,
//  (c) d88cut on hostile images of 1, 8 and 64 MiB, per MiB,
//  (d) the peak memory of a d88cut run.
// Usage: d88cut_bench [WORK_FOLDER]  (default: a fresh folder under /tmp)

#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "builder/d88_builder.h"
#include "image/d88image.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using d88builder::Bytes;

namespace {

[[noreturn]] void Die(const std::string& what) {
    std::fprintf(stderr, "d88cut_bench: %s\n", what.c_str());
    std::exit(1);
}

void StartChild(const std::string& program, const std::string& argument, const std::string& cwd) {
    if (chdir(cwd.c_str()) != 0 || freopen("/dev/null", "w", stdout) == nullptr) {
        _exit(127);
    }
    execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

pid_t Fork() {
    // The child would flush a copy of what is still buffered here.
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        Die("fork failed");
    }
    return pid;
}

void CheckExit(int status, const std::string& what) {
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        Die(what + " failed");
    }
}

// Runs a program with one argument in `cwd`, its standard output discarded;
// returns the seconds it took.
double Time(const std::string& program, const std::string& argument, const std::string& cwd) {
    const auto start = Clock::now();
    const pid_t pid = Fork();
    if (pid == 0) {
        StartChild(program, argument, cwd);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) {
        Die("waitpid failed");
    }
    CheckExit(status, program + " " + argument);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The peak resident memory of the program itself. A forked child's
// ru_maxrss also counts the parent's pages it held before exec, so this
// stops the program as it exits and reads VmHWM of its own address space.
long PeakMemoryKiB(const std::string& program, const std::string& argument,
                   const std::string& cwd) {
    const pid_t pid = Fork();
    if (pid == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        StartChild(program, argument, cwd);
    }
    int status = 0;
    // Stopped by the exec.
    if (waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status)) {
        Die("cannot trace " + program);
    }
    ptrace(PTRACE_SETOPTIONS, pid, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACEEXIT));
    long peak = -1;
    int signal = 0;
    for (;;) {
        ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
        if (waitpid(pid, &status, 0) != pid) {
            Die("waitpid failed");
        }
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            break;
        }
        signal = 0;
        if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
            std::ifstream proc("/proc/" + std::to_string(pid) + "/status");
            for (std::string line; std::getline(proc, line);) {
                if (line.rfind("VmHWM:", 0) == 0) {
                    peak = std::strtol(line.c_str() + 6, nullptr, 10);
                }
            }
        } else if (WIFSTOPPED(status) && WSTOPSIG(status) != SIGTRAP) {
            signal = WSTOPSIG(status);
        }
    }
    CheckExit(status, program + " " + argument);
    if (peak < 0) {
        Die("no VmHWM for " + program);
    }
    return peak;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Write(const std::string& path, const Bytes& bytes) {
    if (!d88builder::SaveFile(path, bytes)) {
        Die("cannot write " + path);
    }
}

Bytes Read(const std::string& path) {
    Bytes bytes(fs::file_size(path));
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr || std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) {
        Die("cannot read " + path);
    }
    std::fclose(in);
    return bytes;
}

void SameFiles(const std::string& a, const std::string& b) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(a)) {
        names.push_back(entry.path().filename().string());
    }
    if (names.size() != 12) {
        Die("d88cut wrote " + std::to_string(names.size()) + " files, not 12");
    }
    for (const std::string& name : names) {
        if (Read(a + "/" + name) != Read(b + "/" + name)) {
            Die("d88cut and the reference differ in " + name);
        }
    }
}

void WholeRun(const std::string& work, long& sampleRss) {
    const std::string image = work + "/sample.d88";
    if (std::system((std::string(MAKE_SAMPLE_PATH) + " " + image).c_str()) != 0) {
        Die("make_sample failed");
    }
    const std::string tool = work + "/tool";
    const std::string reference = work + "/reference";
    fs::create_directories(tool);
    fs::create_directories(reference);
    Time(D88CUT_PATH, image, tool);
    Time(REFERENCE_PATH, image, reference);
    SameFiles(tool, reference);

    constexpr int kWarmUp = 10;
    constexpr int kPairs = 61;
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int i = 0; i < kWarmUp + kPairs; ++i) {
        // Alternate which goes first, so neither always runs on a warmer cache.
        double a = 0;
        double b = 0;
        if (i % 2 == 0) {
            a = Time(D88CUT_PATH, image, tool);
            b = Time(REFERENCE_PATH, image, reference);
        } else {
            b = Time(REFERENCE_PATH, image, reference);
            a = Time(D88CUT_PATH, image, tool);
        }
        if (i >= kWarmUp) {
            ours.push_back(a);
            theirs.push_back(b);
        }
    }
    sampleRss = PeakMemoryKiB(D88CUT_PATH, image, tool);
    const double tool_ms = Median(ours) * 1e3;
    const double reference_ms = Median(theirs) * 1e3;
    std::printf("(a) whole run on the sample image, median of %d interleaved pairs\n", kPairs);
    std::printf("    %-34s %8.2f ms\n", "d88cut", tool_ms);
    std::printf("    %-34s %8.2f ms\n", "reference (image read into memory)", reference_ms);
    std::printf("    %-34s %8.2f    (goal: at most 1.25)\n\n", "ratio", tool_ms / reference_ms);
}

void Throughput(const std::string& work) {
    const std::string path = work + "/64-disks.d88";
    Write(path,
          d88builder::BuildImage(std::vector<d88builder::Disk>(64, d88builder::Standard2D(true))));
    constexpr std::int32_t kDiskData = 80 * 16 * 256;
    std::vector<std::uint8_t> buffer(kDiskData);
    const double fileBytes = static_cast<double>(fs::file_size(path));

    // Allocated once, so the fread timing is of the read alone.
    Bytes all(static_cast<std::size_t>(fileBytes));
    std::vector<double> reader;
    std::vector<double> whole;
    for (int round = 0; round < 7; ++round) {
        auto start = Clock::now();
        D88Image image;
        if (!image.Open(path.c_str()) || image.GetDiskCount() != 64) {
            Die("cannot open the 64-disk image");
        }
        for (std::int32_t disk = 0; disk < 64; ++disk) {
            if (!image.SelectDisk(disk) ||
                image.ReadSectors(0, 0, 0, 1, 1, buffer.data(), kDiskData) != kDiskData) {
                Die("short read of the 64-disk image");
            }
        }
        image.Open(nullptr);
        reader.push_back(std::chrono::duration<double>(Clock::now() - start).count());

        start = Clock::now();
        std::FILE* in = std::fopen(path.c_str(), "rb");
        if (in == nullptr || std::fread(all.data(), 1, all.size(), in) != all.size()) {
            Die("cannot read the 64-disk image");
        }
        std::fclose(in);
        whole.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    const double data = 64.0 * kDiskData;
    std::printf(
        "(b) every sector of a 64-disk 2D image (%.1f MB of sector data, %.1f MB file), "
        "median of 7\n",
        data / 1e6, fileBytes / 1e6);
    std::printf("    %-34s %8.0f MB/s of sector data\n", "ReadSectors, disk by disk",
                data / Median(reader) / 1e6);
    std::printf("    %-34s %8.0f MB/s of file\n", "one fread of the whole file",
                fileBytes / Median(whole) / 1e6);
    // Both over the file's bytes, so the two walk the same distance.
    const double fraction = Median(whole) / Median(reader);
    std::printf("    %-34s   1/%-5.1f (goal: at least 1/20)\n\n", "ReadSectors as a part of fread",
                1 / fraction);
}

void Hostile(const std::string& work, long& hostileRss) {
    const struct {
        const char* what;
        d88builder::Hostile kind;
    } kinds[] = {
        {"records claiming 65,535 sectors", d88builder::Hostile::kMaxCount},
        {"endless walk, nothing found", d88builder::Hostile::kEndlessWalk},
        {"endless walk, all found at the end", d88builder::Hostile::kEndlessWalkFound},
    };
    const int sizes[3] = {1, 8, 64};
    const std::string cwd = work + "/hostile";
    fs::create_directories(cwd);
    std::printf("(c) d88cut on hostile images, ms per MiB of image (median of 3)\n");
    std::printf("    %-34s %9s %9s %9s\n", "", "1 MiB", "8 MiB", "64 MiB");
    double perMiB[3][3] = {};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto& kind = kinds[k];
        std::printf("    %-34s", kind.what);
        for (std::size_t m = 0; m < 3; ++m) {
            const int mib = sizes[m];
            const std::string path = work + "/hostile.d88";
            Write(path, d88builder::HostileImage(static_cast<std::size_t>(mib) << 20, kind.kind));
            std::vector<double> times;
            for (int i = 0; i < 3; ++i) {
                times.push_back(Time(D88CUT_PATH, path, cwd));
            }
            hostileRss = std::max(hostileRss, PeakMemoryKiB(D88CUT_PATH, path, cwd));
            perMiB[k][m] = Median(times) * 1e3 / mib;
            std::printf(" %9.2f", perMiB[k][m]);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    std::printf("    %-34s", "all found / nothing found");
    for (std::size_t m = 0; m < 3; ++m) {
        std::printf(" %9.2f", perMiB[2][m] / perMiB[1][m]);
    }
    std::printf("    (goal: at most 2.5)\n\n");
}

}  // namespace

int main(int argc, char* argv[]) {
    std::string work;
    if (argc > 1) {
        work = argv[1];
        fs::create_directories(work);
    } else {
        std::string pattern = (fs::temp_directory_path() / "d88cut-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            Die("mkdtemp failed");
        }
        work = pattern;
    }
    long sampleRss = 0;
    long hostileRss = 0;
    WholeRun(work, sampleRss);
    Throughput(work);
    Hostile(work, hostileRss);
    std::printf("(d) peak memory (maximum resident set) of a d88cut run\n");
    std::printf("    %-34s %8ld KiB\n", "on the sample image", sampleRss);
    std::printf("    %-34s %8ld KiB\n", "on the hostile images, at most", hostileRss);
    if (argc <= 1) {
        fs::remove_all(work);
    }
    return 0;
}
