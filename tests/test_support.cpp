#include "tests/test_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>

namespace d88test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "d88cut-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests make entries read-only or unwritable; give them back first.
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

std::vector<std::string> TempDir::List() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    if (!SaveFile(path, bytes)) {
        throw std::runtime_error("cannot write " + path);
    }
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

Sector& MustFind(Disk& disk, int track, int r) {
    Sector* sector = FindSector(disk, track, r);
    if (sector == nullptr) {
        throw std::runtime_error("no sector R " + std::to_string(r) + " on track " +
                                 std::to_string(track));
    }
    return *sector;
}

void MustRemove(Disk& disk, int track, int r) {
    MustFind(disk, track, r);
    RemoveSector(disk, track, r);
}

const std::vector<ExpectedItem>& ExpectedPlan() {
    static const std::vector<ExpectedItem> items = {
        {"PROG", 32, 32768}, {"OP", 464, 3840},   {"MUS00", 432, 512}, {"MUS01", 434, 512},
        {"MUS02", 436, 256}, {"MUS03", 437, 256}, {"MUS04", 438, 512}, {"MUS05", 440, 768},
        {"MUS06", 443, 768}, {"MUS07", 446, 768}, {"MUS08", 449, 768}, {"MUS09", 452, 512},
    };
    return items;
}

std::string D88CutPath() {
    return D88CUT_PATH;
}

std::string D88InfoPath() {
    return D88INFO_PATH;
}

RunResult RunD88Cut(const std::vector<std::string>& argv, const std::string& cwd,
                    const RunOptions& options) {
    return RunProgram(D88CUT_PATH, argv, cwd, options);
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& argv,
                     const std::string& cwd, const RunOptions& options) {
    TempDir capture;
    const std::string outPath = capture.File("stdout");
    const std::string errPath = capture.File("stderr");
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 ||
            dup2(options.combineOutput ? out : err, 2) < 0 || chdir(cwd.c_str()) != 0) {
            _exit(127);
        }
        if (options.fileSizeLimit != 0) {
            // A write past the limit then fails with EFBIG instead of a signal.
            const rlimit limit = {options.fileSizeLimit, options.fileSizeLimit};
            if (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                _exit(127);
            }
        }
        execv(program.c_str(), args.data());
        _exit(127);
    }
    int wstatus = 0;
    if (waitpid(pid, &wstatus, 0) != pid) {
        throw std::runtime_error("waitpid failed");
    }
    RunResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    const Bytes out = ReadFile(outPath);
    const Bytes err = ReadFile(errPath);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    return result;
}

}  // namespace d88test
