// d88info end to end: what it lists of disks and tracks, what it says of
// each item of the plan, and its command line.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "image/d88image.h"
#include "info/describe.h"
#include "tests/test_support.h"
#include "tool/plan.h"

namespace d88test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// The line that d88info prints for a plan item, or "" when there is none.
std::string ItemLine(const std::vector<std::string>& lines, const std::string& name) {
    for (const std::string& line : lines) {
        if (line.rfind("  " + name + " ", 0) == 0) {
            return line;
        }
    }
    return "";
}

RunResult RunInfo(const Bytes& image) {
    TempDir work;
    WriteFile(work.File("image.d88"), image);
    return RunProgram(D88InfoPath(), {"d88info", "image.d88"}, work.Path());
}

TEST(Info, ListsEveryDiskAndItsTracks) {
    Disk first = Standard2D(true);
    first.name = "GAME \x01\xFF";
    first.mediaType = 0x10;
    Disk second;
    second.name = "B\"\\";
    second.mediaType = 0x7F;
    second.tracks[40] = StandardTrack(40);
    const RunResult run = RunInfo(BuildImage({first, second}));
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);

    EXPECT_EQ(lines.at(0), "2 disks");
    EXPECT_EQ(lines.at(1), "disk 0: name \"GAME \\x01\\xFF\", media 0x10 (2DD)");
    // Skewed records are listed in the order they are stored.
    EXPECT_EQ(lines.at(2),
              "  track   0: 16 records, C 0 H 0, N 1, R 1 4 7 10 13 16 3 6 9 12 15 2 5 8 11 14");
    EXPECT_EQ(lines.at(81),
              "  track  79: 16 records, C 39 H 1, N 1, R 1 4 7 10 13 16 3 6 9 12 15 2 5 8 11 14");
    EXPECT_EQ(lines.at(82), "disk 1: name \"B\\x22\\x5C\", media 0x7F");
    EXPECT_EQ(lines.at(83),
              "  track  40: 16 records, C 20 H 0, N 1, R 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16");
    EXPECT_EQ(lines.at(84), "what d88cut would write from disk 0:");
    ASSERT_EQ(lines.size(), 85u + kPlanSize);
    for (std::size_t i = 85; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find(" bytes: cut whole"), std::string::npos) << lines[i];
    }
}

TEST(Info, NamesEveryMediaType) {
    const struct {
        std::uint8_t type;
        const char* line;
    } cases[] = {
        {0x00, "disk 0: name \"M\", media 0x00 (2D)"},
        {0x10, "disk 0: name \"M\", media 0x10 (2DD)"},
        {0x20, "disk 0: name \"M\", media 0x20 (2HD)"},
        {0x30, "disk 0: name \"M\", media 0x30 (1D)"},
        {0x40, "disk 0: name \"M\", media 0x40 (1DD)"},
        {0x50, "disk 0: name \"M\", media 0x50"},
        {0xFF, "disk 0: name \"M\", media 0xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Disk disk;
        disk.name = "M";
        disk.mediaType = c.type;
        const RunResult run = RunInfo(BuildDisk(disk));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(Lines(run.out).at(1), c.line);
    }
}

TEST(Info, MarksRecordsThatDisagreeWithTheirTrack) {
    Disk disk;
    // Track 5 is C 2 H 1.
    disk.tracks[5] = {Record(2, 1, 1, 1), Record(9, 0, 2, 1), Record(2, 1, 3, 1)};
    disk.tracks[6] = {Record(3, 0, 1, 1), Record(3, 0, 2, 2)};
    disk.tracks[7] = {Record(3, 1, 1, 1), Record(0, 0, 2, 2)};
    disk.tracks[8] = {Record(4, 0, 7, 3)};
    // Records whose counts never end the walk before the list is full; R
    // wraps to 0 at the 256th.
    for (int r = 1; r <= 300; ++r) {
        disk.tracks[9].push_back(WithCount(Record(4, 1, r, 1), 300));
    }
    const RunResult run = RunInfo(BuildDisk(disk));
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);

    EXPECT_TRUE(HasLine(lines, "  track   5: 3 records, N 1, R 1 2(C 9 H 0) 3")) << run.out;
    EXPECT_TRUE(HasLine(lines, "  track   6: 2 records, C 3 H 0, R 1(N 1) 2(N 2)")) << run.out;
    EXPECT_TRUE(HasLine(lines, "  track   7: 2 records, R 1(N 1) 2(C 0 H 0 N 2)")) << run.out;
    EXPECT_TRUE(HasLine(lines, "  track   8: 1 record, C 4 H 0, N 3, R 7")) << run.out;
    std::string longest = "  track   9: over 256 records, C 4 H 1, N 1, R";
    for (int r = 1; r <= 256; ++r) {
        longest += " " + std::to_string(r % 256);
    }
    EXPECT_TRUE(HasLine(lines, longest + " ...")) << run.out;
}

TEST(Info, ListsATrackOfExactlyTheLongestListWhole) {
    Disk disk;
    for (int r = 0; r < kMaxListedRecords; ++r) {
        disk.tracks[0].push_back(Record(0, 0, r, 1));
    }
    const RunResult run = RunInfo(BuildDisk(disk));
    ASSERT_EQ(run.status, 0);
    std::string whole = "  track   0: 256 records, C 0 H 0, N 1, R";
    for (int r = 0; r < kMaxListedRecords; ++r) {
        whole += " " + std::to_string(r);
    }
    EXPECT_TRUE(HasLine(Lines(run.out), whole)) << run.out;
}

TEST(Info, SaysWhatD88CutWouldWriteOfEachItem) {
    const struct {
        const char* what;
        std::function<void(Disk&)> change;
        std::string item;
        std::string line;
    } cases[] = {
        {"track 2 missing", [](Disk& d) { d.tracks.erase(2); }, "PROG",
         "  PROG  32768 bytes: skipped; track 2 C 1 H 0 R 1 N 1 not found"},
        {"PROG stops at a missing track", [](Disk& d) { d.tracks.erase(9); }, "PROG",
         "  PROG  32768 bytes: cut short, 28672 of 32768 bytes read, the rest zeros; "
         "track 9 C 4 H 1 R 1 N 1 not found"},
        {"the last sector of MUS06 missing", [](Disk& d) { MustRemove(d, 27, 14); }, "MUS06",
         "  MUS06   768 bytes: cut short, 512 of 768 bytes read, the rest zeros; "
         "track 27 C 13 H 1 R 14 N 1 not found"},
        {"MUS07 missing its sector on track 28", [](Disk& d) { MustRemove(d, 28, 1); }, "MUS07",
         "  MUS07   768 bytes: cut short, 512 of 768 bytes read, the rest zeros; "
         "track 28 C 14 H 0 R 1 N 1 not found"},
        {"a first sector shorter than 256 bytes",
         [](Disk& d) { MustFind(d, 27, 5).data.resize(255); }, "MUS02",
         "  MUS02   256 bytes: skipped; track 27 C 13 H 1 R 5 N 1 holds only 255 of 256 bytes"},
        {"a first sector of the wrong size code", [](Disk& d) { MustFind(d, 29, 1).n = 2; }, "OP",
         "  OP     3840 bytes: skipped; track 29 C 14 H 1 R 1 N 1 not found"},
        {"a sector on the wrong side", [](Disk& d) { MustFind(d, 29, 15).h = 0; }, "OP",
         "  OP     3840 bytes: cut short, 3584 of 3840 bytes read, the rest zeros; "
         "track 29 C 14 H 1 R 15 N 1 not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Disk disk = Standard2D(true);
        c.change(disk);
        TempDir cwd;
        const std::string image = cwd.File("image.d88");
        WriteFile(image, BuildDisk(disk));
        const RunResult info = RunProgram(D88InfoPath(), {"d88info", image}, cwd.Path());
        ASSERT_EQ(info.status, 0);
        const std::vector<std::string> lines = Lines(info.out);
        EXPECT_EQ(ItemLine(lines, c.item), c.line);

        // d88cut, on the same image, writes exactly the items not skipped.
        const RunResult cut = RunD88Cut({D88CutPath(), image}, cwd.Path());
        ASSERT_EQ(cut.status, 0);
        const Plan plan = MakePlan();
        for (std::int32_t i = 0; i < plan.count; ++i) {
            const std::string name = plan.items[i].name;
            const std::string line = ItemLine(lines, name);
            if (name != c.item) {
                EXPECT_NE(line.find(": cut whole"), std::string::npos) << line;
            }
            EXPECT_EQ(Exists(cwd.File(name)), line.find(": skipped") == std::string::npos) << line;
        }
    }
}

TEST(Info, ImagesWithoutADisk0SkipEveryItem) {
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"a partial header", Bytes(kDiskHeaderSize - 1, 0x41)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult run = RunInfo(c.bytes);
        EXPECT_EQ(run.status, 0);
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 2u + kPlanSize) << run.out;
        EXPECT_EQ(lines[0], "0 disks");
        EXPECT_EQ(lines[2], "  PROG  32768 bytes: skipped; there is no disk 0");
        EXPECT_EQ(lines.back(), "  MUS09   512 bytes: skipped; there is no disk 0");
    }
}

TEST(Info, CommandLineErrorsGiveOneLineAndStatus1) {
    TempDir cwd;
    WriteFile(cwd.File("image.d88"), BuildDisk(PlanDisk()));
    RunOptions lost;
    lost.unwritableOutput = true;
    const struct {
        const char* what;
        std::vector<std::string> argv;
        RunOptions options;
        std::string err;
    } cases[] = {
        {"no argument", {"d88info"}, {}, "Usage: d88info d88file\n"},
        {"two arguments", {"./d88info", "a.d88", "b.d88"}, {}, "Usage: ./d88info d88file\n"},
        {"a missing image",
         {"d88info", "missing.d88"},
         {},
         "d88info: cannot open missing.d88: No such file or directory\n"},
        {"a directory", {"d88info", "."}, {}, "d88info: cannot open .: Is a directory\n"},
        {"output that cannot be written",
         {"d88info", "image.d88"},
         lost,
#ifdef _WIN32
         "d88info: cannot write the output: Bad file descriptor\n"},
#else
         "d88info: cannot write the output: No space left on device\n"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RunResult run = RunProgram(D88InfoPath(), c.argv, cwd.Path(), c.options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }
}

}  // namespace
}  // namespace d88test
