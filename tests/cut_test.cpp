// The whole run of d88cut: which items it cuts, what their files hold, and
// what it says.

#include "tool/cut.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace d88test {
namespace {

// `count` whole sectors of a Standard2D disk from an absolute sector on.
Bytes Sectors(int first, int count) {
    Bytes out;
    for (int s = first; s < first + count; ++s) {
        const Bytes data = SectorData(s / 16, s % 16 + 1);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

struct Item {
    std::string name;
    Bytes content;
};

// What the run writes from an untouched Standard2D disk, in order.
std::vector<Item> FullPlan() {
    std::vector<Item> items;
    for (const ExpectedItem& item : ExpectedPlan()) {
        items.push_back({item.name, Sectors(item.sector, item.length / 256)});
    }
    return items;
}

std::string ProgressLines(const std::vector<Item>& items) {
    std::string lines;
    for (const Item& item : items) {
        lines += "cutting ... " + item.name + "\n";
    }
    return lines;
}

void RemoveItem(std::vector<Item>& items, const std::string& name) {
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it->name == name) {
            items.erase(it);
            return;
        }
    }
    FAIL() << "no item " << name;
}

Bytes& Content(std::vector<Item>& items, const std::string& name) {
    for (Item& item : items) {
        if (item.name == name) {
            return item.content;
        }
    }
    throw std::runtime_error("no item " + name);
}

TEST(Cut, WritesEachItemThatCanBeRead) {
    const struct {
        const char* what;
        std::function<void(Disk&)> change;
        std::function<void(std::vector<Item>&)> expect;
    } cases[] = {
        {"every sector present", [](Disk&) {}, [](std::vector<Item>&) {}},
        {"track 2 missing", [](Disk& d) { d.tracks.erase(2); },
         [](std::vector<Item>& items) { RemoveItem(items, "PROG"); }},
        // Absolute sector 445 is the last of MUS06, whose place must come out
        // as zeros, not as what MUS05 left in the buffer.
        {"the last sector of MUS06 missing", [](Disk& d) { MustRemove(d, 27, 14); },
         [](std::vector<Item>& items) {
             Bytes& mus06 = Content(items, "MUS06");
             std::fill(mus06.begin() + 512, mus06.end(), 0);
         }},
        {"PROG stops at a missing track", [](Disk& d) { d.tracks.erase(9); },
         [](std::vector<Item>& items) {
             Bytes& prog = Content(items, "PROG");
             std::fill(prog.begin() + 7 * 16 * 256, prog.end(), 0);
         }},
        {"MUS03 missing keeps the numbering", [](Disk& d) { MustRemove(d, 27, 6); },
         [](std::vector<Item>& items) { RemoveItem(items, "MUS03"); }},
        {"a first sector shorter than 256 bytes",
         [](Disk& d) { MustFind(d, 27, 5).data.resize(255); },
         [](std::vector<Item>& items) { RemoveItem(items, "MUS02"); }},
        {"a first sector of the wrong size code", [](Disk& d) { MustFind(d, 29, 1).n = 2; },
         [](std::vector<Item>& items) { RemoveItem(items, "OP"); }},
        {"MUS07 missing its sector on track 28", [](Disk& d) { MustRemove(d, 28, 1); },
         [](std::vector<Item>& items) {
             Bytes& mus07 = Content(items, "MUS07");
             std::fill(mus07.begin() + 512, mus07.end(), 0);
         }},
        {"no disk 0 tracks at all", [](Disk& d) { d.tracks.clear(); },
         [](std::vector<Item>& items) { items.clear(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Disk disk = Standard2D(true);
        c.change(disk);
        std::vector<Item> items = FullPlan();
        c.expect(items);

        TempDir work;
        TempDir cwd;
        const std::string image = work.File("image.d88");
        WriteFile(image, BuildImage({disk, Standard2D()}));
        const Bytes before = ReadFile(image);
        const RunResult run = RunD88Cut({D88CutPath(), image}, cwd.Path());

        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, ProgressLines(items));
        EXPECT_EQ(run.err, "");
        std::vector<std::string> names;
        for (const Item& item : items) {
            names.push_back(item.name);
            EXPECT_EQ(ReadFile(cwd.File(item.name)), item.content) << item.name;
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(cwd.List(), names);
        EXPECT_EQ(ReadFile(image), before);
    }
}

TEST(Cut, ReplacesAnExistingFile) {
    TempDir cwd;
    WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
    WriteFile(cwd.File("OP"), Bytes(10000, 'x'));
    const RunResult run = RunD88Cut({D88CutPath(), "image.d88"}, cwd.Path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadFile(cwd.File("OP")), Sectors(464, 15));
}

// The other items, whole, after a run in which `name` could not be written.
void ExpectTheOthersWhole(const TempDir& cwd, const std::string& name) {
    for (const Item& item : FullPlan()) {
        if (item.name != name) {
            EXPECT_EQ(ReadFile(cwd.File(item.name)), item.content) << item.name;
        }
    }
}

TEST(Cut, ReportsAnOutputThatCannotBeCreatedAndGoesOn) {
    TempDir cwd;
    WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
    std::filesystem::create_directory(cwd.File("OP"));
    const RunResult run = RunD88Cut({D88CutPath(), "image.d88"}, cwd.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, ProgressLines(FullPlan()));
    EXPECT_EQ(run.err, "d88cut: cannot write OP: Is a directory\n");
    ExpectTheOthersWhole(cwd, "OP");
    EXPECT_TRUE(std::filesystem::is_directory(cwd.File("OP")));
}

TEST(Cut, ReportsAFailedWriteAndLeavesTheLinkAlone) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a symbolic link to /dev/full";
#endif
    TempDir cwd;
    WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
    std::filesystem::create_symlink("/dev/full", cwd.File("MUS05"));
    const RunResult run = RunD88Cut({D88CutPath(), "image.d88"}, cwd.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, ProgressLines(FullPlan()));
    EXPECT_EQ(run.err, "d88cut: cannot write MUS05: No space left on device\n");
    ExpectTheOthersWhole(cwd, "MUS05");
    // Neither the link nor what it points to is removed.
    EXPECT_TRUE(std::filesystem::is_symlink(cwd.File("MUS05")));
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

TEST(Cut, AFullDiskLeavesOnlyWholeFiles) {
    if (!kCanLimitFileSize) {
        GTEST_SKIP() << "needs a limit on the size of the files a process writes";
    }
    // PROG is the one item larger than the limit; the rest still fit.
    const struct {
        const char* what;
        std::function<void(const TempDir&)> prepare;
    } cases[] = {
        {"no PROG before", [](const TempDir&) {}},
        {"an older PROG", [](const TempDir& cwd) { WriteFile(cwd.File("PROG"), Bytes(100, 'x')); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cwd;
        WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
        c.prepare(cwd);
        RunOptions options;
        options.fileSizeLimit = 20480;
        const RunResult run = RunD88Cut({D88CutPath(), "image.d88"}, cwd.Path(), options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, ProgressLines(FullPlan()));
        EXPECT_EQ(run.err, "d88cut: cannot write PROG: File too large\n");
        EXPECT_FALSE(Exists(cwd.File("PROG")));
        ExpectTheOthersWhole(cwd, "PROG");
    }
}

TEST(Cut, LostOutputFailsAndOneStreamReadsInOrder) {
    std::string ordered;
    for (const Item& item : FullPlan()) {
        ordered += "cutting ... " + item.name + "\n";
        if (item.name == "OP") {
            ordered += "d88cut: cannot write OP: Is a directory\n";
        }
    }
    RunOptions lost;
    lost.unwritableOutput = true;
    RunOptions combined;
    combined.combineOutput = true;
    const struct {
        const char* what;
        RunOptions options;
        bool blockOp;
        std::string out;
        std::string err;
    } cases[] = {
#ifdef _WIN32
        // The C runtime flushes as it goes and keeps no reason for it.
        {"lost standard output", lost, false, "",
         "d88cut: cannot write the output: Input/output error\n"},
#else
        {"lost standard output", lost, false, "",
         "d88cut: cannot write the output: No space left on device\n"},
#endif
        {"one stream, in the order things happened", combined, true, ordered, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cwd;
        WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
        if (c.blockOp) {
            std::filesystem::create_directory(cwd.File("OP"));
        }
        const RunResult run = RunD88Cut({D88CutPath(), "image.d88"}, cwd.Path(), c.options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        ExpectTheOthersWhole(cwd, "OP");
    }
}

// Runs CutFile itself, in a folder of its own.
class CutFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(work.File("image.d88"), BuildDisk(Standard2D(true)));
        ASSERT_TRUE(g_image.Open(work.File("image.d88").c_str()));
        ASSERT_TRUE(g_image.SelectDisk(0));
        g_image.SetSectorRange(1, 16);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(cwd.Path());
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        g_image.Open(nullptr);
    }

    TempDir work;
    TempDir cwd;
    std::filesystem::path previous;
};

TEST_F(CutFileTest, DropsTheSkippedBytes) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(CutFile("PART", 0, 0, 0, 1, 1, 300, 200));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "cutting ... PART\n");
    const Bytes run = Sectors(0, 2);
    EXPECT_EQ(ReadFile(cwd.File("PART")), Bytes(run.begin() + 300, run.begin() + 500));
}

TEST_F(CutFileTest, RefusesWhatDoesNotFitTheBuffer) {
    const struct {
        const char* what;
        std::int32_t skip, length;
    } cases[] = {
        {"one byte too many", 256, kCutBufferSize - 255},
        {"negative skip", -1, 256},
        {"negative length", 0, -256},
        {"a skip and a negative length that sum to a fit", 512, -256},
        {"a sum past the largest count", INT32_MAX, INT32_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(CutFile("BIG", 0, 0, 0, 1, 1, c.skip, c.length));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_FALSE(Exists(cwd.File("BIG")));
    }
}

}  // namespace
}  // namespace d88test
