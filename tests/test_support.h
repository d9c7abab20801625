#pragma once
// Temporary folders, whole-file reads and writes, guarded buffers, what
// d88cut should write, and running d88cut and d88info as processes, for the
// tests.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "builder/d88_builder.h"

namespace d88test {

using namespace d88builder;

// A fresh folder, removed with everything in it when the holder goes, also
// when an assertion has failed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> List() const;

private:
    std::string path;
};

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);
bool Exists(const std::string& path);

// The builder's edits for a sector that the test knows is there; throws,
// failing the test, when it is not.
Sector& MustFind(Disk& disk, int track, int r);
void MustRemove(Disk& disk, int track, int r);

// Room for `size` bytes with guard bytes behind it, to see whether a read
// wrote past what it was given.
class GuardedBuffer {
public:
    static constexpr std::uint8_t kGuard = 0xCC;

    explicit GuardedBuffer(std::size_t size) : bytes(size + 64, kGuard), room(size) {}
    std::uint8_t* Data() { return bytes.data(); }
    std::int32_t Size() const { return static_cast<std::int32_t>(room); }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    // The first `count` bytes.
    Bytes Head(std::size_t count) const {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
    }
    // True when nothing was written from byte `from` on.
    bool UntouchedFrom(std::size_t from) const {
        return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                           [](std::uint8_t b) { return b == kGuard; });
    }
    // True when nothing was written past the room.
    bool GuardsIntact() const { return UntouchedFrom(room); }

private:
    Bytes bytes;
    std::size_t room;
};

// One file that d88cut writes from a Standard2D disk: its name, its first
// sector counted from track 0, R 1, at 16 to a track, and its size.
struct ExpectedItem {
    std::string name;
    int sector;
    int length;
};

// Every file, in the order d88cut writes them.
const std::vector<ExpectedItem>& ExpectedPlan();

struct RunResult {
    int status = -1;  // exit status, or -1 when the process did not exit normally
    // What the process wrote, its line ends made "\n"...
    std::string out;
    std::string err;
    // ...and as it came: "\r\n" on Windows.
    std::string rawOut;
    std::string rawErr;
};

struct RunOptions {
    // Standard error goes into `out` with standard output, as with 2>&1.
    bool combineOutput = false;
    // The largest file, in bytes, that the process may write; 0 for no
    // limit. Not on Windows, which has no such limit.
    std::uint64_t fileSizeLimit = 0;
    // Standard output refuses every write: /dev/full, or on Windows a handle
    // open only for reading.
    bool unwritableOutput = false;
    // NAME=VALUE settings added to the environment. Not on Windows.
    std::vector<std::string> environment;
};

#ifdef _WIN32
constexpr bool kCanLimitFileSize = false;
#else
constexpr bool kCanLimitFileSize = true;
#endif

// Runs the built d88cut with these arguments (program name first) in the
// folder cwd, capturing its output outside that folder.
RunResult RunD88Cut(const std::vector<std::string>& argv, const std::string& cwd,
                    const RunOptions& options = {});
// Runs the program at this path the same way.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& argv,
                     const std::string& cwd, const RunOptions& options = {});
// The number the next file opened would get; it grows if a file is left open.
int LowestFreeDescriptor();

// The paths of the built programs.
std::string D88CutPath();
std::string D88InfoPath();

}  // namespace d88test
