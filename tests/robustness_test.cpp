// Damaged and hostile images: every call returns, nothing is written past a
// buffer, and a damaged file never yields more than the whole one.

#include "image/d88image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace d88test {
namespace {

// The reads d88cut makes, as runs: PROG, OP, and the MUS items as one run.
struct Run {
    std::int32_t track, c, h, r, length;
};
const Run kPlanRuns[] = {{2, 1, 0, 1, 0x8000}, {29, 14, 1, 1, 0xF00}, {27, 13, 1, 1, 22 * 256}};

struct Outcome {
    bool selected = false;
    std::vector<Bytes> runs;  // the bytes each run counted
    std::vector<Bytes> ids;   // ReadSectorIds of each plan track
};

// Makes every read into a buffer with guard bytes behind it; fails the test
// if any guard byte changes.
Outcome ReadAll(D88Image& image) {
    Outcome outcome;
    outcome.selected = image.SelectDisk(0);
    image.SetSectorRange(1, 16);
    for (const Run& run : kPlanRuns) {
        GuardedBuffer buffer(static_cast<std::size_t>(run.length));
        const std::int32_t got =
            image.ReadSectors(run.track, run.c, run.h, run.r, 1, buffer.Data(), run.length);
        EXPECT_TRUE(got >= 0 && got <= run.length);
        EXPECT_TRUE(buffer.GuardsIntact());
        outcome.runs.push_back(buffer.Head(static_cast<std::size_t>(std::max(got, 0))));
    }
    for (int track : PlanTracks()) {
        GuardedBuffer buffer(64);
        const std::int32_t got = image.ReadSectorIds(track, buffer.Data(), buffer.Size());
        EXPECT_TRUE(got >= 0 && got <= 64 && got % 4 == 0);
        EXPECT_TRUE(buffer.GuardsIntact());
        outcome.ids.push_back(buffer.Head(static_cast<std::size_t>(std::max(got, 0))));
    }
    return outcome;
}

bool IsPrefix(const Bytes& part, const Bytes& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

TEST(Robustness, EveryTruncationOfThePlanImageReadsNoMoreThanTheWhole) {
    TempDir dir;
    const std::string path = dir.File("plan.d88");
    const Bytes whole = BuildDisk(PlanDisk());
    WriteFile(path, whole);
    D88Image image;
    ASSERT_TRUE(image.Open(path.c_str()));
    const Outcome full = ReadAll(image);
    ASSERT_TRUE(full.selected);
    ASSERT_EQ(full.runs[0].size(), 0x8000u);

    // From the whole length down to nothing, so the file only ever shrinks.
    for (std::size_t size = whole.size() + 1; size-- > 0;) {
        std::filesystem::resize_file(path, size);
        ASSERT_TRUE(image.Open(path.c_str())) << size;
        const Outcome cut = ReadAll(image);
        ASSERT_EQ(cut.selected, size >= static_cast<std::size_t>(kDiskHeaderSize)) << size;
        for (std::size_t i = 0; i < full.runs.size(); ++i) {
            ASSERT_TRUE(IsPrefix(cut.runs[i], full.runs[i])) << "run " << i << ", size " << size;
        }
        for (std::size_t i = 0; i < full.ids.size(); ++i) {
            ASSERT_TRUE(IsPrefix(cut.ids[i], full.ids[i]))
                << "track list " << i << ", size " << size;
        }
        if (::testing::Test::HasFailure()) {
            FAIL() << "at size " << size;
        }
    }
}

TEST(Robustness, HostileImagesEndAndCutOnlyWhatIsThere) {
    const struct {
        const char* what;
        Hostile kind;
        bool cuts;
    } cases[] = {
        {"records claiming 65,535 sectors", Hostile::kMaxCount, false},
        {"counts that never end a walk", Hostile::kEndlessWalk, false},
        {"the same, every wanted sector at the end", Hostile::kEndlessWalkFound, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cwd;
        WriteFile(cwd.File("hostile.d88"), HostileImage(1 << 20, c.kind));
        const RunResult run = RunD88Cut({D88CutPath(), "hostile.d88"}, cwd.Path());
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        if (c.cuts) {
            EXPECT_EQ(cwd.List().size(), 13u);
            Bytes op;
            for (int r = 1; r <= 15; ++r) {
                const Bytes data = SectorData(29, r);
                op.insert(op.end(), data.begin(), data.end());
            }
            EXPECT_EQ(ReadFile(cwd.File("OP")), op);
        } else {
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(cwd.List(), std::vector<std::string>{"hostile.d88"});
        }
    }
}

}  // namespace
}  // namespace d88test
