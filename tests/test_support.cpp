#include "tests/test_support.h"

#ifdef _WIN32
#include <io.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace d88test {

TempDir::TempDir() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
#ifdef _WIN32
    // No mkdtemp: try fresh random names until one can be created.
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
        const std::filesystem::path candidate =
            base / ("d88cut-test-" + std::to_string(random() % 100000000u));
        if (std::filesystem::create_directory(candidate)) {
            path = candidate.string();
        }
    }
    if (path.empty()) {
        throw std::runtime_error("cannot make a temporary folder");
    }
#else
    std::string pattern = (base / "d88cut-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path = pattern;
#endif
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
    if (!RemoveSector(disk, track, r)) {
        throw std::runtime_error("no sector R " + std::to_string(r) + " on track " +
                                 std::to_string(track));
    }
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

namespace {

// The console's line ends are the platform's: "\r\n" on Windows. The
// results keep them as they came and also give the text with "\n".
std::string WithNewlines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out += text[i];
        }
    }
    return out;
}

RunResult Collect(int status, const std::string& outPath, const std::string& errPath) {
    RunResult result;
    result.status = status;
    const Bytes out = ReadFile(outPath);
    const Bytes err = ReadFile(errPath);
    result.rawOut.assign(out.begin(), out.end());
    result.rawErr.assign(err.begin(), err.end());
    result.out = WithNewlines(result.rawOut);
    result.err = WithNewlines(result.rawErr);
    return result;
}

#ifdef _WIN32

std::wstring Widen(const std::string& text) {
    return std::filesystem::u8path(text).wstring();
}

// One argument as the C runtime splits a command line: quoted when it holds
// a space or a quote, with backslashes doubled only before a quote.
std::wstring Quote(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t ch : arg) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(ch == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += ch;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

HANDLE OpenForChild(const std::string& path, DWORD access) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

#endif

}  // namespace

RunResult RunProgram(const std::string& program, const std::vector<std::string>& argv,
                     const std::string& cwd, const RunOptions& options) {
    TempDir capture;
    const std::string outPath = capture.File("stdout");
    const std::string errPath = capture.File("stderr");
    WriteFile(outPath, {});
    WriteFile(errPath, {});
    std::fflush(nullptr);
#ifdef _WIN32
    if (options.fileSizeLimit != 0 || !options.environment.empty()) {
        throw std::runtime_error("no file-size limit or environment on Windows");
    }
    std::wstring commandLine;
    for (const std::string& arg : argv) {
        commandLine += (commandLine.empty() ? L"" : L" ") + Quote(Widen(arg));
    }
    // A handle that can only read stands for an output that refuses writes.
    const HANDLE out =
        OpenForChild(outPath, options.unwritableOutput ? GENERIC_READ : GENERIC_WRITE);
    const HANDLE err = options.combineOutput ? out : OpenForChild(errPath, GENERIC_WRITE);
    const HANDLE in = OpenForChild("NUL", GENERIC_READ);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    const bool started =
        out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
        CreateProcessW(Widen(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                       nullptr, Widen(cwd).c_str(), &startup, &process);
    DWORD code = 0;
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (HANDLE handle : {out, options.combineOutput ? INVALID_HANDLE_VALUE : err, in}) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    if (!started) {
        throw std::runtime_error("cannot start " + program);
    }
    return Collect(static_cast<int>(code), outPath, errPath);
#else
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        const int out = options.unwritableOutput ? open("/dev/full", O_WRONLY)
                                                 : open(outPath.c_str(), O_WRONLY | O_TRUNC);
        const int err = open(errPath.c_str(), O_WRONLY | O_TRUNC);
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
        for (const std::string& setting : options.environment) {
            putenv(const_cast<char*>(setting.c_str()));
        }
        execv(program.c_str(), args.data());
        _exit(127);
    }
    int wstatus = 0;
    if (waitpid(pid, &wstatus, 0) != pid) {
        throw std::runtime_error("waitpid failed");
    }
    return Collect(WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1, outPath, errPath);
#endif
}

int LowestFreeDescriptor() {
#ifdef _WIN32
    const int copy = _dup(_fileno(stderr));
    if (copy >= 0) {
        _close(copy);
    }
#else
    const int copy = dup(fileno(stderr));
    if (copy >= 0) {
        close(copy);
    }
#endif
    return copy;
}

}  // namespace d88test
