#pragma once
// Temporary folders, whole-file reads and writes, and running d88cut and
// d88info as processes, for the tests.

#include <string>
#include <vector>

#include "tests/d88_builder.h"

namespace d88test {

// A fresh folder, removed with everything in it when the holder goes, also
// when an assertion has failed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> List() const;

private:
    std::string path_;
};

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);
bool Exists(const std::string& path);

struct RunResult {
    int status = -1;  // exit status, or -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs the built d88cut with these arguments (program name first) in the
// folder cwd, capturing its output outside that folder.
RunResult RunD88Cut(const std::vector<std::string>& argv, const std::string& cwd);
// Runs the program at this path the same way.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& argv,
                     const std::string& cwd);
// The paths of the built programs.
std::string D88CutPath();
std::string D88InfoPath();

}  // namespace d88test
