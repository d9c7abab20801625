// The command line, the open-failure line and the exit status of d88cut.

#include <gtest/gtest.h>

#include <filesystem>
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

TEST(Command, ConsoleLinesEndAsThePlatformsDo) {
#ifdef _WIN32
    const std::string newline = "\r\n";
#else
    const std::string newline = "\n";
#endif
    TempDir cwd;
    WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
    const RunResult usage = RunD88Cut({"d88cut"}, cwd.Path());
    EXPECT_EQ(usage.rawErr, "Usage: d88cut [d88file]" + newline);
    const RunResult missing = RunD88Cut({"d88cut", "missing.d88"}, cwd.Path());
    // The Shift_JIS bytes go out as they are; only the line end changes.
    EXPECT_EQ(missing.rawErr, kOpenFailure.substr(0, kOpenFailure.size() - 1) + newline);
    const RunResult cut = RunD88Cut({"d88cut", "image.d88"}, cwd.Path());
    EXPECT_EQ(cut.rawOut.substr(0, 16 + newline.size()), "cutting ... PROG" + newline);
    EXPECT_EQ(ReadFile(cwd.File("PROG")).size(), 32768u);
}

TEST(Command, OpensAnImageInAFolderNamedInJapanese) {
    // "ディスク/ゲーム.d88", in UTF-8.
    const std::string folder = "\xE3\x83\x87\xE3\x82\xA3\xE3\x82\xB9\xE3\x82\xAF";
    const std::string name = "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0.d88";
    TempDir cwd;
    std::filesystem::create_directory(std::filesystem::u8path(cwd.File(folder)));
    const std::string image = cwd.File(folder + "/" + name);
    WriteFile(image, BuildDisk(Standard2D()));

    D88Image reader;
    ASSERT_TRUE(reader.Open(image.c_str()));
    EXPECT_EQ(reader.GetDiskCount(), 1);
    for (const std::string& path : {image, folder + "/" + name}) {
        SCOPED_TRACE(path);
        const RunResult cut = RunD88Cut({"d88cut", path}, cwd.Path());
        EXPECT_EQ(cut.status, 0) << cut.err;
        EXPECT_EQ(ReadFile(cwd.File("OP")).size(), 3840u);
        const RunResult info = RunProgram(D88InfoPath(), {"d88info", path}, cwd.Path());
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_EQ(info.out.rfind("1 disk\n", 0), 0u) << info.out;
    }
}

}  // namespace
}  // namespace d88test
