// The command line, the open-failure line and the exit status of d88cut.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/d88image.h"
#include "tests/test_support.h"
#include "tool/console.h"

namespace d88test {
namespace {

const std::string kOpenFailure =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x83\x49\x81\x5B\x83\x76\x83\x93"
    "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x2E\x0A";

TEST(Command, WrongArgumentCountPrintsUsage) {
    const struct {
        const char* what;
        std::vector<std::string> argv;
        std::string err;
    } cases[] = {
        {"no argument", {D88CutPath()}, "Usage: " + D88CutPath() + " [d88file]\n"},
        {"two arguments",
         {D88CutPath(), "a.d88", "b.d88"},
         "Usage: " + D88CutPath() + " [d88file]\n"},
        {"program name as given", {"my name", "a.d88", "-v"}, "Usage: my name [d88file]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cwd;
        const RunResult run = RunD88Cut(c.argv, cwd.Path());
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
        EXPECT_TRUE(cwd.List().empty());
    }
}

TEST(Command, UsageNamesTheToolWhenGivenNoProgramName) {
    char* none[] = {nullptr};
    EXPECT_STREQ(ProgramName(0, none, "d88cut"), "d88cut");
    char name[] = "./d88cut-1.0";
    char* given[] = {name, nullptr};
    EXPECT_STREQ(ProgramName(1, given, "d88cut"), "./d88cut-1.0");
}

TEST(Command, ImageThatCannotBeOpenedIsReportedInShiftJis) {
    TempDir cwd;
    TempDir folder;
    for (const std::string& path : {cwd.File("missing.d88"), folder.Path(), std::string(".")}) {
        SCOPED_TRACE(path);
        const RunResult run = RunD88Cut({D88CutPath(), path}, cwd.Path());
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, kOpenFailure);
        EXPECT_TRUE(cwd.List().empty());
    }
}

TEST(Command, ImageWithoutDisksCutsNothingAndSucceeds) {
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"a partial header", Bytes(kDiskHeaderSize - 1, 0x41)},
        {"a disk without tracks", BuildDisk(Disk{})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cwd;
        WriteFile(cwd.File("image.d88"), c.bytes);
        const RunResult run = RunD88Cut({D88CutPath(), "image.d88"}, cwd.Path());
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(cwd.List(), std::vector<std::string>{"image.d88"});
    }
}

}  // namespace
}  // namespace d88test
