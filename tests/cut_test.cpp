// The whole run of d88cut: which items it cuts, what their files hold, and
// what it says.

#include "tool/cut.h"

#include <gtest/gtest.h>
#include <unistd.h>

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

TEST(Cut, ReportsAnOutputThatCannotBeWrittenAndGoesOn) {
    const struct {
        const char* what;
        std::string name;
        std::function<void(const std::string&)> block;
        std::string err;
    } cases[] = {
        {"cannot be created", "OP",
         [](const std::string& path) { std::filesystem::create_directory(path); },
         "d88cut: cannot write OP: Is a directory\n"},
        {"fails as it is written out", "MUS05",
         [](const std::string& path) { std::filesystem::create_symlink("/dev/full", path); },
         "d88cut: cannot write MUS05: No space left on device\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cwd;
        WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
        c.block(cwd.File(c.name));
        const RunResult run = RunD88Cut({D88CutPath(), "image.d88"}, cwd.Path());
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, ProgressLines(FullPlan()));
        EXPECT_EQ(run.err, c.err);
        for (const Item& item : FullPlan()) {
            if (item.name != c.name) {
                EXPECT_EQ(ReadFile(cwd.File(item.name)), item.content) << item.name;
            }
        }
        // What stood in the way is left as it was: neither the directory
        // nor the link, nor what it points to, is removed.
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(cwd.File(c.name))));
    }
}

TEST(Cut, FailuresLeaveOnlyWholeFilesAndAreReported) {
    std::vector<Item> withoutProg = FullPlan();
    withoutProg.erase(withoutProg.begin());
    std::string ordered;
    for (const Item& item : FullPlan()) {
        ordered += "cutting ... " + item.name + "\n";
        if (item.name == "OP") {
            ordered += "d88cut: cannot write OP: Is a directory\n";
        }
    }
    const struct {
        const char* what;
        std::string shell;  // how the run is started, "$0" standing for d88cut
        RunOptions options;
        std::function<void(const TempDir&)> prepare;
        std::string out;
        std::string err;
        std::vector<Item> files;  // what stands under the items' names afterwards
    } cases[] = {
        // PROG is the one item larger than the limit; the rest still fit.
        {"a full disk",
         "exec \"$0\" image.d88",
         {false, 20480},
         [](const TempDir&) {},
         ProgressLines(FullPlan()),
         "d88cut: cannot write PROG: File too large\n",
         withoutProg},
        {"a full disk over an older PROG",
         "exec \"$0\" image.d88",
         {false, 20480},
         [](const TempDir& cwd) { WriteFile(cwd.File("PROG"), Bytes(100, 'x')); },
         ProgressLines(FullPlan()),
         "d88cut: cannot write PROG: File too large\n",
         withoutProg},
        {"lost standard output",
         "exec \"$0\" image.d88 > /dev/full",
         {},
         [](const TempDir&) {},
         "",
         "d88cut: cannot write the output: No space left on device\n",
         FullPlan()},
        {"one stream, in the order things happened",
         "exec \"$0\" image.d88",
         {true, 0},
         [](const TempDir& cwd) { std::filesystem::create_directory(cwd.File("OP")); },
         ordered,
         "",
         [] {
             std::vector<Item> items = FullPlan();
             RemoveItem(items, "OP");
             return items;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cwd;
        WriteFile(cwd.File("image.d88"), BuildDisk(Standard2D()));
        c.prepare(cwd);
        const RunResult run =
            RunProgram("/bin/sh", {"sh", "-c", c.shell, D88CutPath()}, cwd.Path(), c.options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        for (const Item& item : FullPlan()) {
            const bool kept = std::any_of(c.files.begin(), c.files.end(),
                                          [&](const Item& file) { return file.name == item.name; });
            if (kept) {
                EXPECT_EQ(ReadFile(cwd.File(item.name)), item.content) << item.name;
            } else if (item.name != "OP") {
                EXPECT_FALSE(Exists(cwd.File(item.name))) << item.name;
            }
        }
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
        ASSERT_EQ(getcwd(previous, sizeof previous), previous);
        ASSERT_EQ(chdir(cwd.Path().c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previous), 0);
        g_image.Open(nullptr);
    }

    TempDir work;
    TempDir cwd;
    char previous[4096] = {};
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
